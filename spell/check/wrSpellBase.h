#pragma once
// TWrightSpellBase: the non-visual spell component every spelling feature goes through. It owns
// the configuration, the open main and custom dictionaries, the phonetic map, the suggestion
// generator, the parsing engine and the ignore rules, and decides whether a word is acceptable,
// which correction a word has and which suggestions to offer.
//
// QtCore only. The spelling dialog, its controller and pop-up menus belong to widget layers
// above; this class holds them as plain QObject pointers and reaches them through events and
// virtual operations that those layers override.
//
// Lazy loading: nothing touches the disk until the first word test, suggestion or check sets
// the configuration's Loaded; the configuration then opens the dictionaries through
// FireConfigurationChanged (true).
//
// Failures are never raised: a dictionary that cannot be opened (missing, wrong format,
// damaged) is absent and the lists skip it; a word list that cannot be read is empty; missing
// registry keys are skipped. A custom dictionary that is refused is never written over (the
// dictionary class guarantees it; this class only saves dictionaries it opened).
//
// Paths: every dictionary name passes through ExpandVars (path macros, then "%ConfigID%");
// "\" and "/" both separate folders, and names are converted with NativePath before a file is
// opened. A bare name (no separator) is searched in the dictionary folders in order.

#include "rtEditWindow.h"
#include "rtStringList.h"
#include "wrConfiguration.h"
#include "wrIgnore.h"
#include "wrSpellDialogLink.h"
#include "wrSpellLanguages.h"
#include "wrTypes.h"
#include "wrUtil.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class TCustomDictionary;
class TMainDictionary;
class TMainParsingEngine;
class TPhoneticsMap;
class TRegistryStore;
class TSuggestionsGenerator;
class TWordCommonness;

// --- Event types that need more than wrTypes.h ------------------------------------------------------
using TGetStringEvent =
    std::function<void(QObject *Sender, TSpellLanguageString LanguageString, QString &Text)>;
// SpellForm: the spelling dialog form (a widget of an upper layer).
using TCustomSpellDialogEvent =
    std::function<void(QObject *Sender, QObject *&SpellForm, bool Create)>;
using TModalDialogEvent = std::function<void(QObject *Sender, QObject *AOwner)>;
using TModalDictEditEvent =
    std::function<void(QObject *Sender, QObject *AOwner, TCustomDictionary *CustomDictionary)>;
// A handler may supply its own dictionary object; the component takes ownership of it.
using TCreateCustomDictEvent = std::function<void(QObject *Sender, TCustomDictionary *&Dictionary)>;
using TPopupCreateMenuEvent =
    std::function<void(QObject *Sender, QObject *Owner, QObject *&PopupMenu)>;
using TPopupAddMenuItemEvent =
    std::function<void(QObject *Sender, QObject *Menu, QObject *SubMenu, const QString &Caption,
                       bool Enable, bool HasChildren, qint32 Tag, QObject *&MenuItem)>;
using TPopupDoMenuEvent = std::function<void(QObject *Sender, QObject *Menu, qint32 XPos,
                                             qint32 YPos, qint32 &PopupAction, QString &PopupWord)>;
using TPopupResultEvent = std::function<void(QObject *Sender, const QString &Word,
                                             QString &ResultWord, TSpellPopupOption &PopupResult)>;

// Notification lists whose listeners read extra state during Notify.
class TParserIgnoreWordEventList : public TEventList {
public:
  bool Before = false;
  qint32 State = 0;
};
class TPopupResultEventList : public TEventList {
public:
  TSpellPopupOption PopupResult = spCancel;
};

// Where the word-processor word lists are registered: the four registry keys of
// ConfigAvailableMSWordCustom. This desktop has no such registry; TWordListRegistryStore answers
// the current user's first key with LibreOffice's positive user word books.
inline constexpr const char *WordListRegistryKeys[] = {
    "Software\\Microsoft\\Shared Tools\\Proofing Tools\\Custom Dictionaries",
    "Software\\Microsoft\\Shared Tools\\Proofing Tools\\1.0\\Custom Dictionaries",
};

// One action of the running check, as the undo list keeps it.
class TWrightUndo {
public:
  qint32 FXPos = 0; // parser position of the start of the word when the action was taken
  qint32 FYPos = 0;
  QString FWord;        // the word as it was
  QString FReplacement; // the text that replaced it; empty for actions that change no text
  TSpellAction FAction = saIgnore;
  bool FAutomatic = false; // taken by the loop, not by the user
  bool FAdjust = false;    // after undoing, re-align the engine to a word start
  qint32 FData = 0;        // free for the parser and the host (UndoLast with state 0)
};

// Named arguments of the undo and counting operations.
enum TUndoAdjust : bool { uaExact = false, uaAdjust = true };
enum TUndoAutomatic : bool { uaByUser = false, uaByLoop = true };

class TWrightSpellBase : public QObject, public TWrightConfigOwner {
public:
  explicit TWrightSpellBase(QObject *AOwner = nullptr);
  // Frees everything owned; the configuration saves itself first, while the component is whole.
  ~TWrightSpellBase() override;
  TWrightSpellBase(const TWrightSpellBase &) = delete;
  TWrightSpellBase &operator=(const TWrightSpellBase &) = delete;

  // === Published properties ======================================================================
  TConfigStorage ConfigStorage() override { return FConfigStorage; }
  virtual void SetConfigStorage(TConfigStorage Value); // reloads the configuration
  QString ConfigID() override { return FConfigID; }
  virtual void SetConfigID(const QString &Value); // reloads
  QString ConfigFilename() override { return FConfigFilename; }
  virtual void SetConfigFilename(const QString &Value); // reloads when csFile
  QString ConfigRegistryKey() override { return FConfigRegistryKey; }
  virtual void SetConfigRegistryKey(const QString &Value); // reloads when csRegistry
  // Editing the list in place re-merges the folders too.
  TStringList &ConfigDictionaryDir() { return FConfigDictionaryDir; }
  virtual void SetConfigDictionaryDir(const TStringList &Value);
  TSpellOptions ConfigAvailableOptions() const { return FAvailableOptions; }
  void SetConfigAvailableOptions(TSpellOptions Value) { FAvailableOptions = Value; }
  // Captions of soUser1 to soUser4 (Index 1 to 4).
  QString ConfigUserOption(int Index) const;
  void SetConfigUserOption(int Index, const QString &Value);
  QString ConfigUserOption1() const { return FUserOption[0]; }
  void SetConfigUserOption1(const QString &Value) { FUserOption[0] = Value; }
  QString ConfigUserOption2() const { return FUserOption[1]; }
  void SetConfigUserOption2(const QString &Value) { FUserOption[1] = Value; }
  QString ConfigUserOption3() const { return FUserOption[2]; }
  void SetConfigUserOption3(const QString &Value) { FUserOption[2] = Value; }
  QString ConfigUserOption4() const { return FUserOption[3]; }
  void SetConfigUserOption4(const QString &Value) { FUserOption[3] = Value; }
  bool ConfigUseMSWordCustom() override { return FMSWord; }
  void SetConfigUseMSWordCustom(bool Value) { FMSWord = Value; }
  const TStringList &ConfigDefaultMain() override { return FDefaultMain; }
  virtual void SetConfigDefaultMain(const TStringList &Value);
  const TStringList &ConfigDefaultCustom() override { return FDefaultCustom; }
  virtual void SetConfigDefaultCustom(const TStringList &Value);
  const TStringList &ConfigDefaultActiveCustomPrevent() const
  {
    return FDefaultActiveCustomPrevent;
  }
  virtual void SetConfigDefaultActiveCustomPrevent(const TStringList &Value);
  QString ConfigDefaultActiveCustom() override { return FDefaultActiveCustom; }
  void SetConfigDefaultActiveCustom(const QString &Value) { FDefaultActiveCustom = Value; }
  TSpellOptions ConfigDefaultOptions() override { return FDefaultOptions; }
  void SetConfigDefaultOptions(TSpellOptions Value) { FDefaultOptions = Value; }
  bool ConfigDefaultUseMSWordCustom() override { return FDefaultMSWord; }
  void SetConfigDefaultUseMSWordCustom(bool Value) { FDefaultMSWord = Value; }

  QString HelpFile() const { return FHelpFile; }
  void SetHelpFile(const QString &Value) { FHelpFile = Value; }
  qint32 HelpCtxSpellDialog = 0;
  qint32 HelpCtxConfigDialog = 0;
  qint32 HelpCtxDictionariesDialog = 0;
  qint32 HelpCtxDictionaryEditDialog = 0;

  bool SuggestionsAutoReplace() const { return FLearnAutoCorrect; }
  void SetSuggestionsAutoReplace(bool Value) { FLearnAutoCorrect = Value; }
  bool SuggestionsLearning() const { return FLearnSuggestions; }
  virtual void SetSuggestionsLearning(bool Value);
  QString SuggestionsLearningDict() const { return FSuggestionsDictFN; }
  virtual void SetSuggestionsLearningDict(const QString &Value);

  bool LiveSpelling() const { return FLiveSpelling; }
  bool LiveCorrect() const { return FLiveCorrect; }
  QString QuoteChars() override { return FQuoteChars; }
  virtual void SetQuoteChars(const QString &Value); // forces a rule rebuild

  TSpellDialogInitialPos DialogInitialPos() const { return FInitialPos; }
  void SetDialogInitialPos(TSpellDialogInitialPos Value) { FInitialPos = Value; }
  TSpellDialogAvoidPos DialogSelectionAvoid() const { return FAvoidPos; }
  void SetDialogSelectionAvoid(TSpellDialogAvoidPos Value) { FAvoidPos = Value; }
  bool DialogShowImmediate() const { return FImmediateDialog; }
  void SetDialogShowImmediate(bool Value) { FImmediateDialog = Value; }
  bool DialogShowModal() const { return FModalDialog; }
  void SetDialogShowModal(bool Value) { FModalDialog = Value; }
  TSpellEndMessage EndMessage() const { return FEndMessage; }
  void SetEndMessage(TSpellEndMessage Value) { FEndMessage = Value; }
  TSpellEndPosition EndCursorPosition() const { return FEndPosition; }
  void SetEndCursorPosition(TSpellEndPosition Value) { FEndPosition = Value; }
  bool EndMessageWordCount() const { return FEndMessageWordCount; }
  void SetEndMessageWordCount(bool Value) { FEndMessageWordCount = Value; }
  qint32 MaxUndo() const { return FMaxUndo; }
  void SetMaxUndo(qint32 Value) { FMaxUndo = Value; }
  qint32 MaxSuggestions() const { return FMaxSuggestions; }
  void SetMaxSuggestions(qint32 Value) { FMaxSuggestions = Value; }
  bool KeepDictionariesActive() const { return FKeepDictionariesActive; }
  virtual void SetKeepDictionariesActive(bool Value); // false unloads
  bool SynchronousCheck() const { return FProcessMessages; }
  void SetSynchronousCheck(bool Value) { FProcessMessages = Value; }
  bool UseHourglassCursor() const { return FUseHourglass; }
  void SetUseHourglassCursor(bool Value) { FUseHourglass = Value; }
  TSpellDialogCommands CommandsVisible() const { return FCommandsVisible; }
  void SetCommandsVisible(TSpellDialogCommands Value) { FCommandsVisible = Value; }
  TSpellDialogCommands CommandsEnabled() const { return FCommandsEnabled; }
  void SetCommandsEnabled(TSpellDialogCommands Value) { FCommandsEnabled = Value; }
  bool PhoneticSuggestions() const { return FUsePhoneticSuggetions; }
  void SetPhoneticSuggestions(bool Value) { FUsePhoneticSuggetions = Value; }
  // Straight through to the phonetic map.
  virtual qint32 GetPhoneticMaxDistance();
  virtual void SetPhoneticMaxDistance(qint32 Value);
  virtual qint32 GetPhoneticDivisor();
  virtual void SetPhoneticDivisor(qint32 Value);
  virtual qint32 GetPhoneticDepth();
  virtual void SetPhoneticDepth(qint32 Value);

  QString MappingDictionaryName() const { return FMappingDictionary; }
  virtual void SetMappingDictionaryName(const QString &Value);
  bool MappingAutoReplace() const { return FMappingAutoReplace; }
  void SetMappingAutoReplace(bool Value) { FMappingAutoReplace = Value; }
  bool UseExcludeWords() const { return FUseExclude; }
  void SetUseExcludeWords(bool Value) { FUseExclude = Value; }
  bool UseAutoCorrectFirst() const { return FUseAutoCorrectFirst; }
  void SetUseAutoCorrectFirst(bool Value) { FUseAutoCorrectFirst = Value; }
  bool RecheckReplacedWords() const { return FRecheckReplaced; }
  void SetRecheckReplacedWords(bool Value) { FRecheckReplaced = Value; }
  bool ResumeFromLastPosition() const { return FResumeFromLastPosition; }
  void SetResumeFromLastPosition(bool Value) { FResumeFromLastPosition = Value; }
  TCaseModification AllowedCases() const { return FAllowedCases; }
  void SetAllowedCases(TCaseModification Value) { FAllowedCases = Value; }
  TSpellLanguageType UILanguage() const { return FUILanguage; }
  virtual void SetUILanguage(TSpellLanguageType Value);
  TSpellUI UIType() const { return FSpellUIType; }
  void SetUIType(TSpellUI Value) { FSpellUIType = Value; }
  // Read-only; writing is ignored.
  QString Version() const { return QStringLiteral("1.0.0"); }
  void SetVersion(const QString &) {}

  // === Published events, in field order
  // ============================================================
  TConfigBeforeLoadEvent OnConfigBeforeLoad;
  TNotifyEvent OnConfigChanged;
  TNotifyEvent OnConfigLoaded;
  TNotifyEvent OnConfigSaved;
  TReadStringEvent OnConfigReadString;
  TWriteStringEvent OnConfigWriteString;
  TNotifyEvent OnDictionariesChanged;
  const TWordCheckEvent &OnWordCheck() const { return FOnWordCheck; }
  virtual void SetOnWordCheck(const TWordCheckEvent &Value) { FOnWordCheck = Value; }
  TWordPromptEvent OnPromptWord;
  TCustomSpellDialogEvent OnCreateSpellDialog;
  TModalDialogEvent OnShowConfigDialog;
  TModalDialogEvent OnShowCustomDictionariesDialog;
  TModalDictEditEvent OnShowEditCustomDictionaryDialog;
  TModalDialogEvent OnShowAddDictionaryDir;
  TGetStringEvent OnGetString;
  TNotifyEvent OnAddCustomIgnore;
  TNotifyEvent OnSpellDialogShow;
  TNotifyEvent OnSpellDialogHide;
  TNotifyEvent OnPositionDialog;
  TNotifyEvent OnShowEndMessage;
  TNotifyEvent OnCompleteCheck;
  TNotifyEvent OnDialogDeactivate;
  TNotifyEvent OnDialogActivate;
  TNotifyEvent OnAdjustPhoneticsMap;
  TReplaceWordEvent OnParserReplaceWord;
  TIgnoreWordEvent OnParserIgnoreWord;
  TUndoLastEvent OnParserUndoLast;
  TNotifyEvent OnBeforeChange;
  TCreateCustomDictEvent OnCreateCustomDictionary;
  TPopupDoMenuEvent OnPopupDoMenu;
  TPopupAddMenuItemEvent OnPopupAddMenuItem;
  TPopupCreateMenuEvent OnPopupCreateMenu;
  TPopupResultEvent OnPopupResult;
  TCaseModificationEvent OnCaseModification;
  const TCharReferenceEvent &OnIdentifyCharReference() const { return FOnIdentifyCharReference; }
  // Also handed to the parsing engine.
  virtual void SetOnIdentifyCharReference(const TCharReferenceEvent &Value);

  // === Public properties
  // ==========================================================================
  TParsingEngine *ParsingEngine() const { return FParsingEngine.get(); }
  // Takes ownership; null is ignored. Wires the engine's ignore hooks and forces a rule rebuild.
  virtual void SetParsingEngine(std::unique_ptr<TParsingEngine> Value);
  TSuggestionsGenerator *SuggestionsGenerator() const { return FSuggestions.get(); }
  virtual void SetSuggestionsGenerator(std::unique_ptr<TSuggestionsGenerator> Value);
  TPhoneticsMap *PhoneticsMap() const { return FPhoneticsMap.get(); }
  virtual void SetPhoneticsMap(std::unique_ptr<TPhoneticsMap> Value);
  TControlParser *ControlParser() const { return FParser; }
  const std::vector<std::unique_ptr<TMainDictionary>> &MainDictionaries() const
  {
    return FMainDictionaries;
  }
  const std::vector<std::unique_ptr<TCustomDictionary>> &CustomDictionaries() const
  {
    return FCustomDictionaries;
  }
  const std::vector<std::unique_ptr<TCustomDictionary>> &MSWordCustomDictionaries() const
  {
    return FMSWordDictionaries;
  }
  TCustomDictionary *ActiveCustomDictionary() const { return FActiveCustom.get(); }
  TCustomDictionary *MappingCustomDictionary() const { return FMappingCustom.get(); }
  TCustomDictionary *LearningCustomDictionary() const { return FLearningCustom.get(); }
  TWrightConfig *Configuration() const { return FConfiguration.get(); }
  TCustomDictionary *InternalCustom() const { return FInternalCustom.get(); }
  QObject *DialogForm() const { return FDialogForm; }
  bool DialogShown() const { return FDialogShown; }
  bool DialogDeactivated() const { return FDeactivated; }
  bool Checking() const { return FChecking; }
  bool Working() const { return FWorking; }
  bool RepeatedWord() const { return FExecutingRepeat; }
  bool CheckCanceled() const { return FCanceled; }
  QString CurrentWord() const { return FWord; }
  qint32 WordCount() const { return FWordCount; }
  // Filled on first read after each change of folders or custom dictionaries.
  const TStringList &ConfigAvailableMain() { return GetConfigAvailableMain(); }
  const TStringList &ConfigAvailableCustom() { return GetConfigAvailableCustom(); }
  const TStringList &ConfigAvailableMSWordCustom() override
  {
    return GetConfigAvailableMSWordCustom();
  }
  // The language of the first main dictionary, 0 without one.
  quint32 TextPrimaryLanguage() { return GetTextPrimaryLanguage(); }
  bool CloseDialog() const { return FCloseDialog; }
  void SetCloseDialog(bool Value) { FCloseDialog = Value; }
  bool FreeParser() const { return FFreeParser; }
  void SetFreeParser(bool Value) { FFreeParser = Value; }
  bool AllowPossessiveIgnore() const { return FAllowPossessive; }
  void SetAllowPossessiveIgnore(bool Value) { FAllowPossessive = Value; }
  bool AllowSoundexFollowup() const { return FAllowSoundexFollowup; }
  void SetAllowSoundexFollowup(bool Value) { FAllowSoundexFollowup = Value; }
  TEventList &OnAddCustomIgnoreList() { return FOnAddCustomIgnoreList; }
  TEventList &OnConfigChangedList() { return FOnConfigChangedList; }
  TParserIgnoreWordEventList &OnParserIgnoreWordList() { return FOnParserIgnoreWordList; }
  TPopupResultEventList &OnPopupResultList() { return FOnPopupResultList; }
  const TIgnoreRules &IgnoreRules() const { return FIgnoreRules; }

  // The registry the word-list keys are read from (default: a TWordListRegistryStore).
  void SetWordListRegistry(std::shared_ptr<TRegistryStore> Store);

  // === Public operations
  // ========================================================================== The suggestion
  // generator's dictionary test.
  virtual void ExistsEvent(const QString &Word, bool &Exists);
  // The generator's prefix test: how many leading characters of Word some word ExistsEvent
  // accepts starts with (see TPrefixEvent). A class that overrides ExistsEvent, WordExists,
  // WordExistsInMain, IsPossessiveWord or ModifyCase overrides this too; answering Word.size()
  // makes the generator test every candidate.
  virtual int ExistsPrefixLength(const QString &Word);
  virtual void RunInlineIgnore(QChar CurrentChar, TControlParser *Parser, bool &Ignore);
  virtual void RunPreCheckIgnore(const QString &Word, TControlParser *Parser, bool &Ignore);
  virtual bool RunPostCheckIgnore(const QString &Word, TControlParser *Parser);
  virtual bool RunLineIgnore(const QString &Line);
  virtual void AddIgnore(std::unique_ptr<TParserIgnore> IgnoreEntry);
  virtual void ClearIgnoreList();

  // Called by the configuration after it loaded or changed.
  void FireConfigurationChanged(bool DictionaryChange) override;
  QString FireReadString(const QString &ConfigID, const QString &Key,
                         const QString &Default) override;
  void FireWriteString(const QString &ConfigID, const QString &Key, const QString &Value) override;
  void FireConfigBeforeLoad(bool FirstLoad) override;
  void FireConfigLoaded() override;
  void FireConfigSaved() override;

  // Raise the dialog events; the dialog layers override them to show their dialogs.
  virtual void InternalSetup(QObject *AOwner);
  virtual void InternalSetupCustomDictionaries(QObject *AOwner);
  virtual void InternalEditCustomDictionary(QObject *AOwner, TCustomDictionary *CustomDictionary);
  virtual void InternalSetupAddDictionaryDir(QObject *AOwner);

  // The first "%ConfigID%" becomes ConfigID expanded by ExpandPathMacros.
  QString ExpandWrightVars(const QString &Path) override;
  // ExpandPathMacros, then ExpandWrightVars.
  QString ExpandVars(const QString &Path) override;

  // Changing the set of custom dictionaries; each edits the configuration's lists, which then
  // reloads the dictionaries.
  virtual bool EnableCustomDictionary(const QString &Filename, bool Enabled);
  virtual bool EnableWordDictionary(const QString &Filename, bool Enabled);
  // Deletes the file to the trash (Prompt: the desktop asks first) and disables it; a declined
  // or failed deletion leaves it enabled (answer false).
  virtual bool RemoveCustomDictionary(const QString &Filename, bool Prompt);
  virtual bool CreateNewCustomDictionary(const QString &Filename);
  // False, with nothing changed, when the names are equal, the old dictionary is not available,
  // or the new file exists or cannot be created.
  virtual bool RenameCustomDictionary(const QString &OldFilename, const QString &NewFilename);

  // A new dictionary opened on the file, or null.
  virtual std::unique_ptr<TMainDictionary> GetMainDictionary(const QString &Filename);
  // Created empty when the file is missing; null when refused.
  virtual std::unique_ptr<TCustomDictionary> GetCustomDictionary(const QString &Filename);
  // An in-memory dictionary with every line of a plain word list as an ignore word (a
  // LibreOffice word book's header lines are skipped); null when the file does not exist.
  virtual std::unique_ptr<TCustomDictionary> GetMSWordCustomDictionary(const QString &Filename);

  void Setup();
  void SetupCustomDictionaries();
  void EditCustomDictionary(TCustomDictionary *CustomDictionary);
  void SetupAddDictionaryDir();

  // The live menu over a misspelled word. Text enters as the misspelled word and leaves as the
  // replacement for spAutoCorrect, spChangeAll and spReplace. Answers spCancel at once for an
  // empty word or while another live menu is open. The menu is built and shown through the
  // four Popup* virtuals (the widget layer overrides them with a real menu) or the OnPopup*
  // events; the component then records dictionary effects, raises OnPopupResult and notifies
  // OnPopupResultList. Add and Auto-Correct without an active custom dictionary answer spCancel.
  virtual TSpellPopupOption ShowPopupMenu(QObject *Sender, TSpellPopupOptions Options, qint32 XPos,
                                          qint32 YPos, QString &Text);

  // The interface text in UILanguage, then OnGetString may replace it.
  virtual QString GetString(TSpellLanguageString LanguageString);
  // Closes the dictionary files until next use; nothing while KeepDictionariesActive or checking.
  virtual void UnloadDictionaries();

  // Word tests: each first sets the configuration's Loaded.
  virtual bool WordExistsInMain(const QString &Word);
  virtual bool WordExists(const QString &Word);
  virtual bool WordAcceptable(const QString &Word);
  virtual bool WordExcluded(const QString &Word);
  virtual bool WordHasCorrection(const QString &Word, QString &Correction);
  // The one-word test for host code: true when accepted; Correction is set only for wcCorrected.
  virtual bool CheckWord(QObject *EventSender, const QString &Word, QString &Correction);
  // Ranked suggestions, at most MaxSuggestions; Words is replaced.
  virtual void Suggest(const QString &Word, TStringList &Words);
  virtual void LearnSuggestion(const QString &MisspelledWord, const QString &CorrectWord);

  void BeginWork();
  void EndWork();

  // === The check =================================================================================
  // Starting checks. Each answers nothing; the outcome shows in CheckCanceled, WordCount and the
  // text. With SynchronousCheck (the default) the call returns when the check has ended and
  // pumps the event loop meanwhile, so the modeless dialog, timers and painting keep working.
  // A second check while one runs is refused (the parser is freed when FreeParser).
  // Without SynchronousCheck the parser (and CheckString's variable) must outlive the check.
  virtual void CheckParser(TControlParser *Parser, TCheckType CheckType);
  virtual void CheckWinControl(QObject *Control, TCheckType CheckType);
  virtual void CheckRichEdit(QObject *Control, TCheckType CheckType);
  virtual void CheckWinControlHWND(HWND ControlHWND, TCheckType CheckType);
  // Checks the caller's variable in place (ctAll).
  virtual void CheckString(QString &Text);
  // The selected word of a live-spelling control, with a modal dialog under it and no end message.
  virtual void CheckLiveSpellWord(QObject *Control, HWND Handle);
  // Several checks that count words together and share one dialog and one end message.
  virtual void StartSequenceCheck();
  virtual void StopSequenceCheck();
  // Ends a running check at once.
  virtual void StopCheck(bool Canceled);
  virtual void ResetUndo();
  virtual void CloseSpellDialog();
  bool CanUndo() const { return GetCanUndo(); }
  const std::vector<std::unique_ptr<TWrightUndo>> &UndoList() const { return FUndoList; }

  // Commands of the spelling dialog: nothing outside a running check; all but Ignore, Undo,
  // ControlEdited, Help, Cancel and RepeatDelete also nothing while the word is a repeated word.
  // Each resumes the loop. Called from inside the word hook or OnPromptWord they do not nest:
  // the loop that showed the word resumes when the hook returns.
  virtual void Check_Ignore();
  virtual void Check_IgnoreAll();
  virtual void Check_Change(const QString &Word);
  // NewLine: the current line as the user edited it; an unchanged line is a caller error
  // (EAssertionFailed naming wrSpellBase).
  virtual void Check_ChangeLine(const QString &NewLine);
  virtual void Check_ChangeAll(const QString &Word);
  virtual void Check_Add();
  virtual void Check_AutoCorrect(const QString &Word);
  virtual void Check_Undo();
  virtual void Check_RepeatIgnore();
  virtual void Check_RepeatDelete();
  virtual void Check_ControlEdited();
  virtual void Check_Help();
  virtual void Check_Cancel();

  // Counting: no dialog, no changes, no events. Only ctAll and ctSelected are counted (others
  // answer 0 / false). The parser is freed when FreeParser.
  virtual qint32 GetWordCountString(const QString &CountString);
  virtual qint32 GetWordCountWinControl(QObject *Control, TCheckType CheckType);
  virtual qint32 GetWordCountParser(TControlParser *Parser, TCheckType CheckType);
  qint32 GetErrorCountString(const QString &CountString);
  qint32 GetErrorCountWinControl(QObject *Control, TCheckType CheckType);
  qint32 GetErrorCountParser(TControlParser *Parser, TCheckType CheckType);
  bool ErrorsPresentInString(const QString &CountString);
  bool ErrorsPresentInWinControl(QObject *Control, TCheckType CheckType);
  bool ErrorsPresentInParser(TControlParser *Parser, TCheckType CheckType);

  // The desktop services of a check (message boxes, busy cursor); not owned. Without one no
  // box is shown, a question answers No and the cursor stays as it is.
  TSpellCheckHost *CheckHost() const { return FCheckHost; }
  void SetCheckHost(TSpellCheckHost *Value) { FCheckHost = Value; }
  // The dialog form's interface and its bound controller, or null.
  TSpellDialogForm *DialogFormLink() const;
  TSpellDialogController *DialogController() const { return FDialogController; }

protected:
  virtual bool GetCanUndo() const { return !FUndoList.empty(); }
  virtual void BindDialogController(QObject *Form, TCustomDictionary *Dictionary);
  virtual void DialogShowHandler(QObject *Sender);
  virtual void DialogDeactivateHandler(QObject *Sender);
  virtual void DialogActivateHandler(QObject *Sender);
  // Shows the word to the controller's hook and OnPromptWord; true when someone was there to
  // answer it (a hook, the event, or a shown dialog form).
  virtual bool PresentWord();
  virtual void PlaceDialogNearSelection(bool Horizontal, bool Vertical);
  virtual void PlaceDialogBesideControl();
  virtual void PlaceDialogInitially();
  virtual void AvoidSelection();
  // Creates the dialog form; none in this class (the dialog layer overrides it).
  virtual QObject *CreateSpellDialog() { return nullptr; }
  virtual void ShowSpellDialog();
  virtual void HideSpellDialog();
  virtual void ShowEndMessage();
  // The control under check, else the component.
  virtual QObject *GetCheckedControl();
  virtual void ReplaceCurrentWord(const QString &Replacement, qint32 State);
  virtual void IgnoreCurrentWord(qint32 State);
  virtual void NotifyUndo(qint32 UndoState, TSpellAction Action, qint32 &Data);
  virtual void FireBeforeChange();
  virtual void FirePromptWord(QObject *EventSender, const QString &Word, bool Repeated);
  virtual void FireCreateSpellDialog(QObject *&SpellForm, bool Create);
  virtual void FireAddCustomIgnore();
  // With the parser's cursor just behind Word: the same word stands before it, one space apart.
  virtual bool IsRepeatedWord(const QString &Word);
  virtual void CountWords(TControlParser *Parser, TCheckType CheckType, qint32 &WordCount,
                          qint32 &ErrorCount, bool StopAtFirst, bool CountErrors);
  virtual void UndoLastAction();
  virtual void AddUndo(TSpellAction Action, const QString &Replacement, TUndoAdjust Adjust,
                       TUndoAutomatic Automatic);
  virtual void CompleteCheck();
  virtual void ContinueCheck();
  virtual void CheckSmart(TControlParser *Parser);

  // --- The live menu (slot order) -----------------------------------------------------------------
  // Records the clicked item: FPopupAction := its "Tag" property, FPopupWord := its "Caption".
  virtual void PopupItemClick(QObject *Sender);
  // OnPopupCreateMenu's menu, else a plain QObject; the widget layer answers a QMenu. Either is
  // freed when ShowPopupMenu ends. Items are children of the menu (or of their submenu header)
  // with the properties "Caption", "Enabled", "HasChildren" and "Tag".
  virtual QObject *PopupCreateMenu(QObject *Owner);
  // OnPopupAddMenuItem's item; else, unless OnPopupCreateMenu is assigned, a new item added to
  // SubMenu (when given) or Menu. May answer null.
  virtual QObject *PopupAddMenuItem(QObject *Menu, QObject *SubMenu, const QString &Caption,
                                    bool Enable, bool HasChildren, qint32 Tag);
  // Shows the menu and answers the chosen tag and caption (0 and empty when none): through
  // OnPopupDoMenu when assigned; otherwise, unless OnPopupCreateMenu is assigned, the default
  // here shows nothing (a QtCore layer has no menu to pop up) and the widget layer pops it up.
  // An override may answer through the arguments or let PopupItemClick record the click.
  virtual void PopupDoMenu(QObject *Menu, qint32 XPos, qint32 YPos, qint32 &PopupAction,
                           QString &PopupWord);

  bool IsRepeatedWordAt(TControlParser *Parser, const QString &Word);
  // The wrappers' common part: check, then free the parser when the component does not.
  void RunWrappedCheck(TControlParser *Parser, TCheckType CheckType);
  // Moves the parser by EndCursorPosition and puts the caret there.
  void MoveToEndPosition(TControlParser *Parser, int OriginalX, int OriginalY);
  // Gives a dialog form still held back its own event handlers and releases it (destruction).
  void DetachDialog();
  // A command's last step: resume the loop, or let the loop that is showing the word resume.
  void ResumeCheck();
  // True when a command may act now (a check runs; AllowRepeated: also on a repeated word).
  bool CommandAllowed(bool AllowRepeated) const;
  void SetBusy(bool Busy);

protected:
  virtual const TStringList &GetConfigAvailableMain();
  virtual const TStringList &GetConfigAvailableCustom();
  virtual const TStringList &GetConfigAvailableMSWordCustom();
  virtual quint32 GetTextPrimaryLanguage();

  virtual std::unique_ptr<TMainDictionary> ReuseMainDictionary(
      const QString &Name, std::vector<std::unique_ptr<TMainDictionary>> &OldList);
  virtual void DictionariesEdited();
  virtual void OptimizeDictionaryOrder();
  virtual void LoadDictionaries();
  // The file names (name part only) of every "*.<Ext>" in the dictionary folders, first wins.
  virtual void FindDictionaryFiles(const QString &Ext, TStringList &List);
  // Rebuilds the ignore rules from the configuration's options when they changed (or Force).
  virtual void ApplySpellOptions(bool Force);
  virtual void DictionaryDirChanged();
  virtual void FireConfigChanged();
  virtual void FireDictionariesChanged();
  virtual void FireWordCheck(QObject *EventSender, const QString &Word, TWordCheckType &CheckType,
                             QString &Replacement);
  virtual QString FireGetString(TSpellLanguageString LanguageString, const QString &Text);
  virtual bool IsPossessiveWord(const QString &Word);
  virtual QString ModifyCase(const QString &Word);
  virtual void BuildSuggestions(const QString &Word, int MaxSuggestions, TStringList &Words);
  // Sets the configuration's Loaded (first use loads it and the dictionaries).
  void EnsureConfigurationLoaded();
  void RebuildMergedDirectories();
  void ClearAvailableCaches();
  // Where a bare name would be created: the first dictionary folder.
  QString ResolveCustomPath(const QString &Filename, bool &Exists);
  // Saves open dictionaries on Path so that a new object on it reads current contents.
  void SaveOpenDictionariesOn(const QString &Path);
  // The configuration's own identity comparison of file names (separators alike).
  static bool SameFile(const QString &A, const QString &B);

  // --- Fields -------------------------------------------------------------------------------
  std::unique_ptr<TParsingEngine> FParsingEngine;
  TControlParser *FParser = nullptr;
  std::unique_ptr<TCustomDictionary> FInternalCustom;
  std::unique_ptr<TSuggestionsGenerator> FSuggestions;
  // The commonness side file of the first main dictionary, asked for once per dictionary object
  // and file name: the question (a stat and a lock) cost 4 us a suggestion request.
  std::shared_ptr<const TWordCommonness> FCommonness;
  const TMainDictionary *FCommonnessOf = nullptr;
  QString FCommonnessFile;
  std::unique_ptr<TPhoneticsMap> FPhoneticsMap;

  bool FBeforeChangeFired = false;
  bool FChecking = false;
  bool FCanceled = false;
  QString FWord;
  qint32 FWorkingRef = 0;
  bool FWorking = false;
  TSpellOptions FOldOptions;
  bool FOptionsApplied = false;
  bool FPrimaryOnly = false;
  bool FRepeated = false;
  bool FDUalCaps = false;
  bool FLiveSpelling = true;
  bool FLiveCorrect = true;

  std::vector<std::unique_ptr<TMainDictionary>> FMainDictionaries;
  std::vector<std::unique_ptr<TCustomDictionary>> FCustomDictionaries;
  std::vector<std::unique_ptr<TCustomDictionary>> FMSWordDictionaries;
  std::unique_ptr<TCustomDictionary> FActiveCustom;
  std::unique_ptr<TCustomDictionary> FMappingCustom;
  std::unique_ptr<TCustomDictionary> FLearningCustom;

  TIgnoreRules FIgnoreRules;

  bool FAllowPossessive = false;
  bool FAllowSoundexFollowup = true;
  TSpellLanguageType FUILanguage = TSpellLanguageType::ltEnglish;
  TSpellUI FSpellUIType = suiSilent;
  bool FUseExclude = true;
  bool FUseAutoCorrectFirst = true;
  bool FRecheckReplaced = true;

  QObject *FDialogForm = nullptr;
  QObject *FDialogCtrl = nullptr;
  bool FDialogShown = false;
  qint32 FWordCount = 0;
  qint32 FOptimizeCount = 100;
  qint32 FCheckingSequenceRef = 0;
  qint32 FOriginalX = 0;
  qint32 FOriginalY = 0;
  bool FDeactivated = false;

  TStringList FMergedDictionaryDir;
  QString FHelpFile;

  std::unique_ptr<TWrightConfig> FConfiguration;
  TStringList FConfigAvailableMain;
  TStringList FConfigAvailableCustom;
  TStringList FConfigAvailableMSWord;
  bool FAvailableMainValid = false;
  bool FAvailableCustomValid = false;
  bool FAvailableMSWordValid = false;
  TConfigStorage FConfigStorage = csRegistry;
  QString FConfigID;
  QString FConfigFilename;
  QString FConfigRegistryKey;
  TStringList FConfigDictionaryDir;
  TSpellOptions FAvailableOptions;
  QString FUserOption[4];
  bool FMSWord = true;
  QString FMappingDictionary;
  bool FMappingAutoReplace = true;
  bool FDefaultMSWord = false;
  TStringList FDefaultMain;
  TStringList FDefaultCustom;
  QString FDefaultActiveCustom;
  TStringList FDefaultActiveCustomPrevent;
  TSpellOptions FDefaultOptions;

  QString FLastWord;
  bool FExecutingRepeat = false;
  bool FPopupShowing = false;
  qint32 FPopupAction = 0;
  QString FPopupWord;

  QString FQuoteChars;
  TSpellDialogInitialPos FInitialPos = ipLastUserPos;
  TSpellDialogAvoidPos FAvoidPos = saAvoid;
  bool FImmediateDialog = false;
  bool FModalDialog = false;
  bool FCloseDialog = true;
  bool FFreeParser = true;
  TSpellEndMessage FEndMessage = emExceptCancel;
  TSpellEndPosition FEndPosition = epOriginal;
  bool FEndMessageWordCount = false;
  qint32 FMaxUndo = -1;
  qint32 FMaxSuggestions = -1;
  bool FKeepDictionariesActive = false;
  bool FProcessMessages = true;
  bool FUseHourglass = true;
  bool FUsePhoneticSuggetions = true;
  TSpellDialogCommands FCommandsVisible;
  TSpellDialogCommands FCommandsEnabled;
  bool FLearnSuggestions = true;
  bool FLearnAutoCorrect = false;
  QString FSuggestionsDictFN;
  bool FResumeFromLastPosition = true;
  TCaseModification FAllowedCases = cmInitialCapsOrUpcase;

  TWordCheckEvent FOnWordCheck;
  TCharReferenceEvent FOnIdentifyCharReference;

  TEventList FOnAddCustomIgnoreList;
  TEventList FOnConfigChangedList;
  TParserIgnoreWordEventList FOnParserIgnoreWordList;
  TPopupResultEventList FOnPopupResultList;

  std::shared_ptr<TRegistryStore> FWordListRegistry;

  // --- The check --------------------------------------------------------------------------
  std::vector<std::unique_ptr<TWrightUndo>> FUndoList;
  TSpellDialogController *FDialogController = nullptr;
  TNotifyEvent FOldOnShow;
  TNotifyEvent FOldOnActivate;
  TNotifyEvent FOldOnDeactivate;
  bool FOldCloseDialog = true;
  bool FOldKeepActive = false;
  bool FDialogEverShown = false; // in this check or sequence, for emNoDialog
  bool FPresenting = false;      // the loop is showing a word (PresentWord is on the stack)
  bool FResumePending = false;   // a command asked that loop to go on
  quint32 FCheckSerial = 0;      // tells a loop that its check ended and another began
  bool FBusyCursor = false;
  TSpellCheckHost *FCheckHost = nullptr;
};

// The variant placed on the main window beside the live component; adds nothing.
class TWrightSpell3Base : public TWrightSpellBase {
public:
  using TWrightSpellBase::TWrightSpellBase;
};

// The registry stand-in for the word-processor word lists: under the current user,
// WordListRegistryKeys[0] holds values "1", "2", ... naming LibreOffice's positive user word
// books ($XDG_CONFIG_HOME/libreoffice/4/user/wordbook/*.dic, sorted by name); every other key is
// absent. No LibreOffice profile gives no key.
class TWordListRegistryStore;
std::shared_ptr<TRegistryStore> NewWordListRegistryStore();
