#include "wrConfiguration.h"

#include "rtIniFile.h"
#include "rtUserStore.h"
#include "wrUtil.h"

#include <algorithm>
#include <climits>
#include <iterator>

namespace {

constexpr int kMaxListEntries = 65536;

const std::pair<TSpellOption, const char *> kOptionKeys[] = {
    {soUpcase, "_soUpcase"},
    {soNumbers, "_soNumbers"},
    {soHTML, "_soHTML"},
    {soInternet, "_soInternet"},
    {soQuoted, "_soQuoted"},
    {soAbbreviations, "_soAbbreviations"},
    {soPrimaryOnly, "_soPrimaryOnly"},
    {soRepeated, "_soRepeated"},
    {soDUalCaps, "_soDUalCaps"},
    {soLiveSpelling, "_soLiveSpelling"},
    {soLiveCorrect, "_soLiveCorrect"},
    {soUser1, "_soUser1"},
    {soUser2, "_soUser2"},
    {soUser3, "_soUser3"},
    {soUser4, "_soUser4"},
};

// A whole decimal number, or else the value of its leading digits (after an optional sign), or
// else 0.
int leadingInteger(const QString &text)
{
  bool ok = false;
  const int whole = text.toInt(&ok);
  if (ok)
    return whole;
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
    negative = text[i++] == QLatin1Char('-');
  qint64 value = 0;
  for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
    value = value * 10 + (text[i].unicode() - '0');
    if (value > qint64(INT_MAX) + 1)
      value = qint64(INT_MAX) + 1;
  }
  if (negative)
    value = -value;
  return int(qBound(qint64(INT_MIN), value, qint64(INT_MAX)));
}

} // namespace

const std::pair<TSpellOption, const char *> *TWrightConfig::OptionKeys(int &Count)
{
  Count = int(std::size(kOptionKeys));
  return kOptionKeys;
}

TWrightConfig::TWrightConfig()
{
  FNewDictionaryPaths.SetSorted(true);
  FNewDictionaryPaths.SetDuplicates(dupIgnore);
  for (TStringList *list :
       {&FMainDictionaries, &FCustomDictionaries, &FMSWordCustomDictionaries, &FNewDictionaryPaths})
    list->OnChange = [this](TStringList *sender) { ListChanged(sender); };
}

TWrightConfig::~TWrightConfig()
{
  SaveConfiguration();
  for (TStringList *list :
       {&FMainDictionaries, &FCustomDictionaries, &FMSWordCustomDictionaries, &FNewDictionaryPaths})
    list->OnChange = nullptr;
}

// --- Property writes -------------------------------------------------------------------------------

void TWrightConfig::SetActiveCustomDictionary(const QString &Value)
{
  if (Value == FActiveCustom)
    return;
  FActiveCustom = Value;
  // An empty name is "none active", not a dictionary to list.
  if (!Value.isEmpty() && FCustomDictionaries.IndexOf(Value) < 0)
    FCustomDictionaries.Add(Value);
  NotifyChanged(true);
}

void TWrightConfig::SetLoaded(bool Value)
{
  if (Value) {
    if (!FConfigLoaded)
      LoadConfiguration();
  } else if (FConfigLoaded) {
    SaveConfiguration();
    FConfigLoaded = false;
  }
}

void TWrightConfig::SetSpellOptions(TSpellOptions Value)
{
  if (Value == FSpellOptions)
    return;
  FSpellOptions = Value;
  NotifyChanged(false);
}

void TWrightConfig::SetDialogX(int Value)
{
  if (Value == FDialogX)
    return;
  FDialogX = Value;
  NotifyChanged(false);
}

void TWrightConfig::SetDialogY(int Value)
{
  if (Value == FDialogY)
    return;
  FDialogY = Value;
  NotifyChanged(false);
}

void TWrightConfig::SetQuoteChars(const QString &Value)
{
  if (Value == FQuotedLineChars)
    return;
  FQuotedLineChars = Value;
  NotifyChanged(false);
}

// --- Property reads ----------------------------------------------------------------------------------

TStringList &TWrightConfig::MainDictionaries()
{
  EnsureLoaded();
  return FMainDictionaries;
}

TStringList &TWrightConfig::CustomDictionaries()
{
  EnsureLoaded();
  return FCustomDictionaries;
}

TStringList &TWrightConfig::MSWordCustomDictionaries()
{
  EnsureLoaded();
  return FMSWordCustomDictionaries;
}

QString TWrightConfig::ActiveCustomDictionary()
{
  EnsureLoaded();
  return FWrightSpell ? FWrightSpell->ExpandVars(FActiveCustom) : FActiveCustom;
}

TSpellOptions TWrightConfig::SpellOptions()
{
  EnsureLoaded();
  return FSpellOptions;
}

int TWrightConfig::DialogX()
{
  EnsureLoaded();
  return FDialogX;
}

int TWrightConfig::DialogY()
{
  EnsureLoaded();
  return FDialogY;
}

TStringList &TWrightConfig::NewDictionaryPaths()
{
  EnsureLoaded();
  return FNewDictionaryPaths;
}

QString TWrightConfig::QuoteChars()
{
  EnsureLoaded();
  return FQuotedLineChars;
}

// --- Operations -------------------------------------------------------------------------------------

void TWrightConfig::ListChanged(TStringList *Sender)
{
  Q_UNUSED(Sender);
  NotifyChanged(true);
}

void TWrightConfig::NotifyChanged(bool DictionaryChange)
{
  if (!FWrightSpell || !FConfigLoaded)
    return;
  FModified = true;
  FWrightSpell->FireConfigurationChanged(DictionaryChange);
  // The load's own notice is no change of the user's.
  if (!FLoading)
    FWrightSpell->ConfigurationEdited();
}

void TWrightConfig::TransferList(const QString &Name, TStringList &List, bool Reading)
{
  const QString countKey = Name + QStringLiteral("_count");
  if (Reading) {
    const QString c = ReadValue(countKey, QStringLiteral("-"));
    if (c == QLatin1String("-"))
      return;
    bool ok = false;
    // A damaged count must not turn a load into millions of look-ups.
    const int count = std::min(c.toInt(&ok), kMaxListEntries);
    if (!ok)
      return;
    for (int i = 0; i < count; ++i) {
      const QString entry = ReadValue(Name + QLatin1Char('_') + QString::number(i), QString());
      if (!entry.isEmpty())
        List.Add(entry);
    }
    return;
  }
  WriteValue(countKey, QString::number(List.Count()));
  for (int i = 0; i < List.Count(); ++i)
    WriteValue(Name + QLatin1Char('_') + QString::number(i), List.Strings(i));
}

QString TWrightConfig::ReadValue(const QString &Key, const QString &Default)
{
  switch (FConfigStorage) {
  case csFile:
    return FIniFile ? FIniFile->ReadString(FConfigID, Key, Default) : Default;
  case csRegistry:
    return FRegIniFile ? FRegIniFile->ReadString(FConfigID, Key, Default) : Default;
  case csCallback:
    return FWrightSpell ? FWrightSpell->FireReadString(FConfigID, Key, Default) : Default;
  case csNone:
    break;
  }
  return Default;
}

void TWrightConfig::WriteValue(const QString &Key, const QString &Value)
{
  // A host name can make a key the file cannot hold ("=", a line break read back from the
  // file). Only that pair is lost; taking it for a failed file would drop every key after it
  // on this save and on every later one.
  if ((FConfigStorage == csFile || FConfigStorage == csRegistry) && !TIniFile::IsValidKey(Key))
    return;
  switch (FConfigStorage) {
  case csFile:
    // The first failed write ends the save: what was written before it is kept, the rest of
    // this save is skipped.
    if (FIniFile && !FIniFile->WriteString(FConfigID, Key, Value)) {
      FIniFile->EndUpdate();
      FIniFile.reset();
      FSaveFailed = true;
    }
    break;
  case csRegistry:
    if (FRegIniFile && !FRegIniFile->WriteString(FConfigID, Key, Value)) {
      FRegIniFile->EndUpdate();
      FRegIniFile.reset();
      FSaveFailed = true;
    }
    break;
  case csCallback:
    if (FWrightSpell)
      FWrightSpell->FireWriteString(FConfigID, Key, Value);
    break;
  case csNone:
    break;
  }
}

void TWrightConfig::OpenStorage(bool ForWriting)
{
  FIniFile.reset();
  FRegIniFile.reset();
  if (FConfigStorage == csFile) {
    if (FConfigFilename.isEmpty())
      return;
    ForceFolders(ExtractFileDir(FConfigFilename));
    FIniFile = std::make_unique<TIniFile>(FConfigFilename);
    // A save is one locked read-modify-write; when it cannot start, the first write fails.
    if (ForWriting)
      FIniFile->BeginUpdate();
  } else if (FConfigStorage == csRegistry) {
    FRegIniFile = std::make_unique<TUserStore>(FConfigRegistryKey);
    if (ForWriting)
      FRegIniFile->BeginUpdate();
  }
}

void TWrightConfig::CloseStorage(bool Commit)
{
  if (FIniFile) {
    if (Commit && !FIniFile->EndUpdate())
      FSaveFailed = true;
    FIniFile.reset();
  }
  if (FRegIniFile) {
    if (Commit && !FRegIniFile->EndUpdate())
      FSaveFailed = true;
    FRegIniFile.reset();
  }
}

void TWrightConfig::LoadConfiguration()
{
  FConfigLoaded = false;
  if (!FWrightSpell || FLoading)
    return;
  FLoading = true;
  struct TLoadingGuard {
    bool &Flag;
    ~TLoadingGuard() { Flag = false; }
  } guard{FLoading};

  TWrightConfigOwner &owner = *FWrightSpell;
  FConfigStorage = owner.ConfigStorage();
  FConfigID = owner.ExpandVars(owner.ConfigID());
  if (FConfigStorage == csFile)
    // Installed, the program's Spell.cfg is read from and written to the user's folder; until
    // it exists there the first-run defaults apply (nothing is copied from the installation).
    FConfigFilename = ProgramDataLayout().WritableFile(owner.ExpandVars(owner.ConfigFilename()));
  else if (FConfigStorage == csRegistry)
    FConfigRegistryKey = owner.ExpandVars(owner.ConfigRegistryKey());
  OpenStorage(false);

  const bool firstRun =
      ReadValue(QStringLiteral("_FirstRun"), QStringLiteral("-")) == QLatin1String("-") ||
      FResetNextLoad;
  FResetNextLoad = false;
  owner.FireConfigBeforeLoad(firstRun);

  // The active name is compared with what it replaces; starting from none makes a load give
  // the same result whatever was loaded before (a reload after a reset included).
  FActiveCustom.clear();
  if (firstRun) {
    FMainDictionaries.Assign(owner.ConfigDefaultMain());
    FCustomDictionaries.Assign(owner.ConfigDefaultCustom());
    if (owner.ConfigUseMSWordCustom() && owner.ConfigDefaultUseMSWordCustom())
      FMSWordCustomDictionaries.Assign(owner.ConfigAvailableMSWordCustom());
    else
      FMSWordCustomDictionaries.Clear();
    SetSpellOptions(owner.ConfigDefaultOptions());
    SetDialogX(-1);
    SetDialogY(-1);
    FNewDictionaryPaths.Clear();
    SetQuoteChars(owner.QuoteChars());
    SetActiveCustomDictionary(
        ExpandNameMacros(owner.ExpandWrightVars(owner.ConfigDefaultActiveCustom())));
  } else {
    FMainDictionaries.Clear();
    TransferList(QStringLiteral("_Main"), FMainDictionaries, true);
    FCustomDictionaries.Clear();
    TransferList(QStringLiteral("_Custom"), FCustomDictionaries, true);
    FMSWordCustomDictionaries.Clear();
    TransferList(QStringLiteral("_MSWordCustom"), FMSWordCustomDictionaries, true);
    SetActiveCustomDictionary(ReadValue(QStringLiteral("_ActiveCustom"), QString()));
    TSpellOptions options;
    for (const auto &[option, key] : kOptionKeys)
      if (ReadValue(QString::fromLatin1(key), QStringLiteral("-")) == QLatin1String("+"))
        options.Include(option);
    SetSpellOptions(options);
    SetDialogX(leadingInteger(ReadValue(QStringLiteral("_DialogX"), QStringLiteral("-1"))));
    SetDialogY(leadingInteger(ReadValue(QStringLiteral("_DialogY"), QStringLiteral("-1"))));
    TransferList(QStringLiteral("_NewPaths"), FNewDictionaryPaths, true);
    SetQuoteChars(ReadValue(QStringLiteral("_QuoteChars"), QString()));
    FUserNames.Clear();
    FUserValues.Clear();
    TransferList(QStringLiteral("_UserData"), FUserNames, true);
    for (int i = 0; i < FUserNames.Count(); ++i)
      FUserValues.Add(ReadValue(QStringLiteral("User_") + FUserNames.Strings(i), QString()));
  }

  FConfigLoaded = true;
  FModified = false;
  owner.FireConfigLoaded();
  // Marks the fresh configuration modified, so the next save writes it.
  NotifyChanged(true);
  CloseStorage(false);
}

void TWrightConfig::EnsureLoaded()
{
  if (!FConfigLoaded && !FLoading)
    LoadConfiguration();
}

QString TWrightConfig::GetConfigurationData(const QString &Name)
{
  EnsureLoaded();
  const int i = FUserNames.IndexOf(Name);
  return i >= 0 && i < FUserValues.Count() ? FUserValues.Strings(i) : QString();
}

void TWrightConfig::SetConfigurationData(const QString &Name, const QString &Value)
{
  EnsureLoaded();
  if (!FConfigLoaded)
    return;
  const int i = FUserNames.IndexOf(Name);
  if (i >= 0) {
    while (FUserValues.Count() <= i)
      FUserValues.Add(QString());
    FUserValues.SetStrings(i, Value);
  } else {
    while (FUserValues.Count() < FUserNames.Count())
      FUserValues.Add(QString());
    FUserNames.Add(Name);
    FUserValues.Add(Value);
  }
  FModified = true;
  NotifyChanged(false);
}

void TWrightConfig::ResetConfigurationDefaults()
{
  FResetNextLoad = true;
  ReloadConfiguration();
}

void TWrightConfig::ReloadConfiguration()
{
  if (!FConfigLoaded)
    return;
  SaveConfiguration();
  LoadConfiguration();
}

void TWrightConfig::SaveConfiguration()
{
  if (!FModified || !FConfigLoaded)
    return;
  FSaveFailed = false;
  OpenStorage(true);
  if (FConfigStorage != csNone) {
    WriteValue(QStringLiteral("_FirstRun"), QStringLiteral("+"));
    TransferList(QStringLiteral("_Main"), FMainDictionaries, false);
    TransferList(QStringLiteral("_Custom"), FCustomDictionaries, false);
    TransferList(QStringLiteral("_MSWordCustom"), FMSWordCustomDictionaries, false);
    WriteValue(QStringLiteral("_ActiveCustom"), FActiveCustom);
    for (const auto &[option, key] : kOptionKeys)
      WriteValue(QString::fromLatin1(key),
                 FSpellOptions.Contains(option) ? QStringLiteral("+") : QStringLiteral("-"));
    WriteValue(QStringLiteral("_DialogX"), QString::number(FDialogX));
    WriteValue(QStringLiteral("_DialogY"), QString::number(FDialogY));
    TransferList(QStringLiteral("_NewPaths"), FNewDictionaryPaths, false);
    WriteValue(QStringLiteral("_QuoteChars"), FQuotedLineChars);
    TransferList(QStringLiteral("_UserData"), FUserNames, false);
    for (int i = 0; i < FUserNames.Count() && i < FUserValues.Count(); ++i)
      WriteValue(QStringLiteral("User_") + FUserNames.Strings(i), FUserValues.Strings(i));
  }
  FModified = false;
  CloseStorage(true);
  if (FWrightSpell && FSaveFailed)
    FWrightSpell->FireConfigSaveFailed();
  if (FWrightSpell)
    FWrightSpell->FireConfigSaved();
}
