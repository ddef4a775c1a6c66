#pragma once
// The user's spelling configuration: dictionaries in use, the custom dictionary that receives
// added words, the spell options, the spelling dialog's last position, folders of new
// dictionaries, quote characters and free name/value pairs of the host program. Loaded on first
// use from the storage its owner names and written back by SaveConfiguration.
//
// Storage, one section (or subkey) per expanded configuration identity:
//   csFile      an INI file (TIniFile); a save is one locked read-modify-write of the file,
//               written to a temporary file and renamed into place, so a save is never half
//               done and programs saving other sections at the same time lose nothing
//   csRegistry  the user's key-value store (TUserStore)
//   csCallback  the owner's FireReadString / FireWriteString
//   csNone      nothing is read (every load is a first run) and nothing written
//
// Keys, in the order a save writes them: "_FirstRun" ("+"), the lists "_Main", "_Custom",
// "_MSWordCustom", "_ActiveCustom", the fifteen option keys ("_soUpcase" ... "_soUser4",
// "+" sets an option), "_DialogX", "_DialogY", the list "_NewPaths", "_QuoteChars", the list
// "_UserData" and "User_<name>" per host pair. A list B is "B_count" and "B_0", "B_1", ...
//
// Failures: when the file cannot be written the save stops at the first failed key (keeping
// what came before it) and the values stay in memory. A host name that cannot be a key of the
// file or store (it holds "=" or a line break) loses only its own value.

#include "rtStringList.h"
#include "wrTypes.h"

#include <QString>
#include <memory>
#include <utility>

class TIniFile;
class TUserStore;

// What the configuration needs from the component that owns it (the check session). The owner
// outlives the configuration's last load or save: it destroys the configuration (which saves)
// before its own state goes away.
class TWrightConfigOwner {
public:
  virtual ~TWrightConfigOwner() = default;

  // Where and under which identity the configuration lives (unexpanded, as configured).
  virtual TConfigStorage ConfigStorage() = 0;
  virtual QString ConfigID() = 0;
  virtual QString ConfigFilename() = 0;
  virtual QString ConfigRegistryKey() = 0;
  // Path macros, then "%ConfigID%".
  virtual QString ExpandVars(const QString &Path) = 0;
  // "%ConfigID%" alone.
  virtual QString ExpandWrightVars(const QString &Path) = 0;

  // The values a first run starts from.
  virtual const TStringList &ConfigDefaultMain() = 0;
  virtual const TStringList &ConfigDefaultCustom() = 0;
  virtual QString ConfigDefaultActiveCustom() = 0;
  virtual TSpellOptions ConfigDefaultOptions() = 0;
  virtual bool ConfigUseMSWordCustom() = 0;
  virtual bool ConfigDefaultUseMSWordCustom() = 0;
  virtual const TStringList &ConfigAvailableMSWordCustom() = 0;
  virtual QString QuoteChars() = 0;

  // Notifications and the csCallback storage.
  virtual void FireConfigBeforeLoad(bool FirstLoad) = 0;
  virtual void FireConfigLoaded() = 0;
  virtual void FireConfigSaved() = 0;
  // A save that could not write the file or store: the values stay in memory.
  virtual void FireConfigSaveFailed() {}
  virtual void FireConfigurationChanged(bool DictionaryChange) = 0;
  // A stored value changed after the load (after FireConfigurationChanged): the owner may save
  // soon. The load's own notice does not count.
  virtual void ConfigurationEdited() {}
  virtual QString FireReadString(const QString &ConfigID, const QString &Key,
                                 const QString &Default) = 0;
  virtual void FireWriteString(const QString &ConfigID, const QString &Key,
                               const QString &Value) = 0;
};

class TWrightConfig {
public:
  TWrightConfig();
  // Saves unsaved changes.
  virtual ~TWrightConfig();
  TWrightConfig(const TWrightConfig &) = delete;
  TWrightConfig &operator=(const TWrightConfig &) = delete;

  // --- Property writes ----------------------------------------------------------------------
  // When different: stored unexpanded, added to CustomDictionaries when missing there.
  virtual void SetActiveCustomDictionary(const QString &Value);
  // True loads (when not loaded yet); false saves and unloads (when loaded).
  virtual void SetLoaded(bool Value);
  virtual void SetSpellOptions(TSpellOptions Value);
  virtual void SetDialogX(int Value);
  virtual void SetDialogY(int Value);
  virtual void SetQuoteChars(const QString &Value);

  // --- Property reads: each loads the configuration first when needed -----------------------
  virtual TStringList &MainDictionaries();
  virtual TStringList &CustomDictionaries();
  virtual TStringList &MSWordCustomDictionaries();
  // The stored name expanded by the owner's ExpandVars.
  virtual QString ActiveCustomDictionary();
  virtual TSpellOptions SpellOptions();
  virtual int DialogX();
  virtual int DialogY();
  // Sorted, duplicates ignored.
  virtual TStringList &NewDictionaryPaths();
  virtual QString QuoteChars();

  // --- Operations --------------------------------------------------------------------------------
  virtual void ListChanged(TStringList *Sender);
  // With an owner and loaded: Modified, and the owner hears of it.
  virtual void NotifyChanged(bool DictionaryChange);
  virtual void TransferList(const QString &Name, TStringList &List, bool Reading);
  virtual QString ReadValue(const QString &Key, const QString &Default);
  virtual void WriteValue(const QString &Key, const QString &Value);
  virtual void LoadConfiguration();
  virtual void EnsureLoaded();
  // Host-defined pairs; names compare without regard to letter case.
  virtual QString GetConfigurationData(const QString &Name);
  virtual void SetConfigurationData(const QString &Name, const QString &Value);
  // The next load applies the first-run defaults; then ReloadConfiguration.
  virtual void ResetConfigurationDefaults();
  // When loaded: save, then load again.
  virtual void ReloadConfiguration();
  // Writes every key when modified and loaded; a failure is told to the owner
  // (FireConfigSaveFailed) and shows in SaveFailed until the next save.
  virtual void SaveConfiguration();
  bool SaveFailed() const { return FSaveFailed; }

  // --- State ------------------------------------------------------------------------------------
  bool Modified() const { return FModified; }
  void SetModified(bool Value) { FModified = Value; }
  bool Loaded() const { return FConfigLoaded; }
  TWrightConfigOwner *WrightSpell() const { return FWrightSpell; }
  void SetWrightSpell(TWrightConfigOwner *Owner) { FWrightSpell = Owner; }
  // Taken at the last load: storage kind, expanded identity, file name and registry key.
  TConfigStorage ConfigStorage() const { return FConfigStorage; }
  const QString &ConfigID() const { return FConfigID; }
  const QString &ConfigFilename() const { return FConfigFilename; }
  const QString &ConfigRegistryKey() const { return FConfigRegistryKey; }
  // The host pairs as stored (no load is triggered).
  const TStringList &UserNames() const { return FUserNames; }
  const TStringList &UserValues() const { return FUserValues; }

  // The keys of the fifteen options, in the order a save writes them.
  static const std::pair<TSpellOption, const char *> *OptionKeys(int &Count);

protected:
  TStringList FMainDictionaries;
  TStringList FCustomDictionaries;
  TStringList FMSWordCustomDictionaries;
  QString FActiveCustom;
  TSpellOptions FSpellOptions;
  int FDialogX = -1;
  int FDialogY = -1;
  TStringList FNewDictionaryPaths;
  QString FQuotedLineChars = QStringLiteral(">");
  TStringList FUserNames;
  TStringList FUserValues;
  bool FModified = false;
  bool FConfigLoaded = false;
  TWrightConfigOwner *FWrightSpell = nullptr;
  TConfigStorage FConfigStorage = csFile;
  QString FConfigID;
  QString FConfigFilename;
  QString FConfigRegistryKey;
  std::unique_ptr<TIniFile> FIniFile;
  std::unique_ptr<TUserStore> FRegIniFile;
  bool FResetNextLoad = false;
  bool FSaveFailed = false;

private:
  void OpenStorage(bool ForWriting);
  void CloseStorage(bool Commit);
  bool FLoading = false;
};
