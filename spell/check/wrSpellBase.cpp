#include "wrSpellBase.h"
#include "wrSpellBasePrivate.h"

#include "rtRegistry.h"
#include "wrCommonness.h"
#include "wrCustomDictionary.h"
#include "wrMainDictionary.h"
#include "wrParseEngine.h"
#include "wrPhoneticsMap.h"
#include "wrSuggestions.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <algorithm>
#include <array>
#include <utility>

using wrSpellBasePrivate::IsEnglish;

namespace {

// Optional sign, digits with at most one decimal separator (at least one digit), optional
// exponent. No group separators, no "inf" or "nan": those are words.
bool IsFloatNumber(const QString &Word, QChar DecimalPoint)
{
  const qsizetype n = Word.size();
  qsizetype i = 0;
  if (i < n && (Word[i] == u'+' || Word[i] == u'-'))
    ++i;
  int digits = 0;
  bool separator = false;
  for (; i < n; ++i) {
    const QChar c = Word[i];
    if (c >= u'0' && c <= u'9')
      ++digits;
    else if (c == DecimalPoint && !separator)
      separator = true;
    else
      break;
  }
  if (digits == 0)
    return false;
  if (i < n && (Word[i] == u'e' || Word[i] == u'E')) {
    ++i;
    if (i < n && (Word[i] == u'+' || Word[i] == u'-'))
      ++i;
    const qsizetype start = i;
    while (i < n && Word[i] >= u'0' && Word[i] <= u'9')
      ++i;
    if (i == start)
      return false;
  }
  return i == n;
}

} // namespace

// === Construction
// ==================================================================================

TWrightSpellBase::TWrightSpellBase(QObject *AOwner) : QObject(AOwner)
{
  FInternalCustom = std::make_unique<TCustomDictionary>();
  FSuggestions = std::make_unique<TSuggestionsGenerator>();
  FPhoneticsMap = std::make_unique<TPhoneticsMap>();
  SetParsingEngine(std::make_unique<TMainParsingEngine>());
  FConfiguration = std::make_unique<TWrightConfig>();
  FConfiguration->SetWrightSpell(this);

  FConfigStorage = csRegistry;
  FConfigID = QStringLiteral("%UserName%");
  FConfigFilename = QStringLiteral("%AppDir%\\Spell.cfg");
  FConfigRegistryKey = QStringLiteral("Software\\Linewright\\Spelling\\%AppName%");
  FAvailableOptions = TSpellOptions::Range(soLiveSpelling, soDUalCaps);
  FDefaultMain.Add(QStringLiteral("American.wdm"));
  FDefaultCustom.Add(QStringLiteral("Autocorrect.wdu"));
  FDefaultActiveCustomPrevent.Add(QStringLiteral("autocorrect.wdu"));
  FDefaultActiveCustomPrevent.Add(QStringLiteral("autocorrect-british.wdu"));
  FDefaultActiveCustom = QStringLiteral("%ConfigID%.wdu");
  FDefaultOptions = {soLiveSpelling,  soLiveCorrect, soInternet,
                     soAbbreviations, soRepeated,    soDUalCaps};
  FSuggestionsDictFN = QStringLiteral("%AppDir%\\%UserName%_sp.wdl");
  FQuoteChars = QStringLiteral(">");
  FCommandsVisible = TSpellDialogCommands::Range(sdcIgnore, sdcConfigDownloadLink);
  FCommandsEnabled = FCommandsVisible;
  FOptimizeCount = 100;

  FConfigDictionaryDir.Add(QStringLiteral("%AppDir%"));
  FConfigDictionaryDir.OnChange = [this](TStringList *) { DictionaryDirChanged(); };
  FMergedDictionaryDir.Assign(FConfigDictionaryDir);
  FWordListRegistry = NewWordListRegistryStore();
}

TWrightSpellBase::~TWrightSpellBase()
{
  // Saves while the members go have nobody to tell.
  FTellProblems = false;
  for (TCustomDictionary *d : {FActiveCustom.get(), FMappingCustom.get(), FLearningCustom.get()})
    if (d)
      d->OnSaveFailed = nullptr;
  for (auto &d : FCustomDictionaries)
    d->OnSaveFailed = nullptr;
  FConfigDictionaryDir.OnChange = nullptr;
  DetachDialog();
  // The configuration saves while the component can still answer its questions.
  FConfiguration.reset();
  if (FFreeParser)
    delete FParser;
  FParser = nullptr;
}

// === Properties
// ===================================================================================

void TWrightSpellBase::SetConfigStorage(TConfigStorage Value)
{
  FConfigStorage = Value;
  FConfiguration->ReloadConfiguration();
}

void TWrightSpellBase::SetConfigID(const QString &Value)
{
  FConfigID = Value;
  FConfiguration->ReloadConfiguration();
}

void TWrightSpellBase::SetConfigFilename(const QString &Value)
{
  FConfigFilename = Value;
  if (FConfigStorage == csFile)
    FConfiguration->ReloadConfiguration();
}

void TWrightSpellBase::SetConfigRegistryKey(const QString &Value)
{
  FConfigRegistryKey = Value;
  if (FConfigStorage == csRegistry)
    FConfiguration->ReloadConfiguration();
}

void TWrightSpellBase::SetConfigDictionaryDir(const TStringList &Value)
{
  FConfigDictionaryDir.Assign(Value); // the list's change handler re-merges
}

QString TWrightSpellBase::ConfigUserOption(int Index) const
{
  return Index >= 1 && Index <= 4 ? FUserOption[Index - 1] : QString();
}

void TWrightSpellBase::SetConfigUserOption(int Index, const QString &Value)
{
  if (Index >= 1 && Index <= 4)
    FUserOption[Index - 1] = Value;
}

void TWrightSpellBase::SetConfigDefaultMain(const TStringList &Value)
{
  FDefaultMain.Assign(Value);
}

void TWrightSpellBase::SetConfigDefaultCustom(const TStringList &Value)
{
  FDefaultCustom.Assign(Value);
}

void TWrightSpellBase::SetConfigDefaultActiveCustomPrevent(const TStringList &Value)
{
  FDefaultActiveCustomPrevent.Assign(Value);
}

void TWrightSpellBase::SetSuggestionsLearning(bool Value)
{
  if (Value == FLearnSuggestions)
    return;
  FLearnSuggestions = Value;
  FLearningCustom.reset();
  if (Value && FConfiguration->Loaded())
    LoadDictionaries();
}

void TWrightSpellBase::SetSuggestionsLearningDict(const QString &Value)
{
  if (Value == FSuggestionsDictFN)
    return;
  FSuggestionsDictFN = Value;
  if (FLearningCustom && FLearnSuggestions) {
    FLearningCustom.reset();
    LoadDictionaries();
  }
}

void TWrightSpellBase::SetQuoteChars(const QString &Value)
{
  FQuoteChars = Value;
  ApplySpellOptions(true);
}

void TWrightSpellBase::SetKeepDictionariesActive(bool Value)
{
  FKeepDictionariesActive = Value;
  if (!Value)
    UnloadDictionaries();
}

qint32 TWrightSpellBase::GetPhoneticMaxDistance() { return FPhoneticsMap->DistanceMax(); }

void TWrightSpellBase::SetPhoneticMaxDistance(qint32 Value)
{
  FPhoneticsMap->SetDistanceMax(Value);
}

qint32 TWrightSpellBase::GetPhoneticDivisor() { return FPhoneticsMap->DistanceDivisor(); }

void TWrightSpellBase::SetPhoneticDivisor(qint32 Value)
{
  FPhoneticsMap->SetDistanceDivisor(Value);
}

qint32 TWrightSpellBase::GetPhoneticDepth() { return FPhoneticsMap->StartDepth(); }

void TWrightSpellBase::SetPhoneticDepth(qint32 Value) { FPhoneticsMap->SetStartDepth(Value); }

void TWrightSpellBase::SetMappingDictionaryName(const QString &Value)
{
  if (Value == FMappingDictionary)
    return;
  FMappingDictionary = Value;
  FMappingCustom.reset();
  if (!FMainDictionaries.empty())
    LoadDictionaries();
}

void TWrightSpellBase::SetUILanguage(TSpellLanguageType Value) { FUILanguage = Value; }

void TWrightSpellBase::SetOnIdentifyCharReference(const TCharReferenceEvent &Value)
{
  FOnIdentifyCharReference = Value;
  if (FParsingEngine)
    FParsingEngine->OnIdentifyCharReference = Value;
}

void TWrightSpellBase::SetParsingEngine(std::unique_ptr<TParsingEngine> Value)
{
  if (!Value)
    return;
  FParsingEngine = std::move(Value);
  FParsingEngine->OnInlineIgnore = [this](QChar c, TControlParser *p, bool &ignore) {
    RunInlineIgnore(c, p, ignore);
  };
  FParsingEngine->OnPreCheckIgnore = [this](const QString &w, TControlParser *p, bool &ignore) {
    RunPreCheckIgnore(w, p, ignore);
  };
  FParsingEngine->OnIdentifyCharReference = FOnIdentifyCharReference;
  ApplySpellOptions(true);
}

void TWrightSpellBase::SetSuggestionsGenerator(std::unique_ptr<TSuggestionsGenerator> Value)
{
  if (Value)
    FSuggestions = std::move(Value);
}

void TWrightSpellBase::SetPhoneticsMap(std::unique_ptr<TPhoneticsMap> Value)
{
  if (Value)
    FPhoneticsMap = std::move(Value);
}

void TWrightSpellBase::SetWordListRegistry(std::shared_ptr<TRegistryStore> Store)
{
  FWordListRegistry = std::move(Store);
  FAvailableMSWordValid = false;
}

quint32 TWrightSpellBase::GetTextPrimaryLanguage()
{
  return FMainDictionaries.empty() ? 0 : FMainDictionaries.front()->Language();
}

// === Ignore rules
// =================================================================================

void TWrightSpellBase::RunInlineIgnore(QChar CurrentChar, TControlParser *Parser, bool &Ignore)
{
  FIgnoreRules.RunInlineIgnore(CurrentChar, Parser, Ignore);
}

void TWrightSpellBase::RunPreCheckIgnore(const QString &Word, TControlParser *Parser, bool &Ignore)
{
  FIgnoreRules.RunPreCheckIgnore(Word, Parser, Ignore);
}

bool TWrightSpellBase::RunPostCheckIgnore(const QString &Word, TControlParser *Parser)
{
  return FIgnoreRules.RunPostCheckIgnore(Word, Parser);
}

bool TWrightSpellBase::RunLineIgnore(const QString &Line)
{
  // The rules come from the user's options: a line that may hold words is judged by the loaded
  // configuration, as its words will be (an empty line reads nothing, so that painting an empty
  // window still touches no file).
  if (!Line.isEmpty())
    EnsureConfigurationLoaded();
  return FIgnoreRules.RunLineIgnore(Line);
}

void TWrightSpellBase::AddIgnore(std::unique_ptr<TParserIgnore> IgnoreEntry)
{
  FIgnoreRules.AddIgnore(std::move(IgnoreEntry));
}

void TWrightSpellBase::ClearIgnoreList() { FIgnoreRules.ClearIgnoreList(); }

void TWrightSpellBase::ApplySpellOptions(bool Force)
{
  if (!FConfiguration || !FConfiguration->Loaded())
    return;
  const TSpellOptions options = FConfiguration->SpellOptions();
  if (FOptionsApplied && options == FOldOptions && !Force)
    return;
  FOptionsApplied = true;
  FOldOptions = options;
  ClearIgnoreList();
  if (options.Contains(soInternet))
    AddIgnore(std::make_unique<TURLIgnore>());
  if (options.Contains(soUpcase))
    AddIgnore(std::make_unique<TUppercaseWordIgnore>());
  if (options.Contains(soNumbers))
    AddIgnore(std::make_unique<TNumbersIgnore>());
  if (options.Contains(soHTML))
    AddIgnore(std::make_unique<THTMLIgnore>());
  if (options.Contains(soQuoted)) {
    auto quoted = std::make_unique<TQuotedLineIgnore>();
    quoted->QuoteChars = FConfiguration->QuoteChars();
    AddIgnore(std::move(quoted));
  }
  if (options.Contains(soAbbreviations))
    AddIgnore(std::make_unique<TAbbreviationsIgnore>());
  FPrimaryOnly = options.Contains(soPrimaryOnly);
  FRepeated = options.Contains(soRepeated);
  FDUalCaps = options.Contains(soDUalCaps);
  FLiveSpelling = options.Contains(soLiveSpelling);
  FLiveCorrect = options.Contains(soLiveCorrect);
  FOnConfigChangedList.Notify(this);
}

// === Configuration
// ================================================================================

void TWrightSpellBase::EnsureConfigurationLoaded()
{
  if (!FConfiguration->Loaded())
    FConfiguration->SetLoaded(true);
}

void TWrightSpellBase::RebuildMergedDirectories()
{
  FMergedDictionaryDir.Assign(FConfigDictionaryDir);
  if (FConfiguration && FConfiguration->Loaded())
    FMergedDictionaryDir.AddStrings(FConfiguration->NewDictionaryPaths());
}

void TWrightSpellBase::ClearAvailableCaches()
{
  FAvailableMainValid = false;
  FAvailableCustomValid = false;
  FAvailableMSWordValid = false;
}

void TWrightSpellBase::DictionaryDirChanged()
{
  RebuildMergedDirectories();
  FireConfigurationChanged(true);
}

void TWrightSpellBase::FireConfigurationChanged(bool DictionaryChange)
{
  RebuildMergedDirectories();
  ClearAvailableCaches();
  if (DictionaryChange) {
    const QString oldActive = FActiveCustom ? FActiveCustom->Filename() : QString();
    if (FConfiguration && FConfiguration->Loaded())
      LoadDictionaries();
    if (!FActiveCustom || oldActive.isEmpty() || !SameFile(FActiveCustom->Filename(), oldActive))
      ResetUndo();
  }
  ApplySpellOptions(false);
  FireConfigChanged();
}

void TWrightSpellBase::FireConfigChanged()
{
  if (OnConfigChanged)
    OnConfigChanged(this);
  FOnConfigChangedList.Notify(this);
}

void TWrightSpellBase::FireDictionariesChanged()
{
  if (OnDictionariesChanged)
    OnDictionariesChanged(this);
}

QString TWrightSpellBase::FireReadString(const QString &ConfigID, const QString &Key,
                                         const QString &Default)
{
  QString value = Default;
  if (OnConfigReadString)
    OnConfigReadString(this, ConfigID, Key, Default, value);
  return value;
}

void TWrightSpellBase::FireWriteString(const QString &ConfigID, const QString &Key,
                                       const QString &Value)
{
  if (OnConfigWriteString)
    OnConfigWriteString(this, ConfigID, Key, Value);
}

void TWrightSpellBase::FireConfigBeforeLoad(bool FirstLoad)
{
  if (OnConfigBeforeLoad)
    OnConfigBeforeLoad(this, FirstLoad);
}

void TWrightSpellBase::FireConfigLoaded()
{
  if (OnConfigLoaded)
    OnConfigLoaded(this);
}

void TWrightSpellBase::FireConfigSaved()
{
  if (OnConfigSaved)
    OnConfigSaved(this);
}

QString TWrightSpellBase::ExpandWrightVars(const QString &Path)
{
  if (!Path.contains(QLatin1String("%ConfigID%")))
    return Path;
  return ReplaceFirst(QStringLiteral("%ConfigID%"), ExpandPathMacros(FConfigID), Path);
}

QString TWrightSpellBase::ExpandVars(const QString &Path)
{
  return ExpandWrightVars(ExpandPathMacros(Path));
}

// === Dialog hooks
// ===================================================================================

void TWrightSpellBase::InternalSetup(QObject *AOwner)
{
  if (OnShowConfigDialog)
    OnShowConfigDialog(this, AOwner);
}

void TWrightSpellBase::InternalSetupCustomDictionaries(QObject *AOwner)
{
  if (OnShowCustomDictionariesDialog)
    OnShowCustomDictionariesDialog(this, AOwner);
}

void TWrightSpellBase::InternalEditCustomDictionary(QObject *AOwner,
                                                    TCustomDictionary *CustomDictionary)
{
  if (OnShowEditCustomDictionaryDialog)
    OnShowEditCustomDictionaryDialog(this, AOwner, CustomDictionary);
}

void TWrightSpellBase::InternalSetupAddDictionaryDir(QObject *AOwner)
{
  if (OnShowAddDictionaryDir)
    OnShowAddDictionaryDir(this, AOwner);
}

void TWrightSpellBase::Setup()
{
  BeginWork();
  InternalSetup(this);
  EndWork();
  DictionariesEdited();
}

void TWrightSpellBase::SetupCustomDictionaries()
{
  BeginWork();
  InternalSetupCustomDictionaries(this);
  EndWork();
  DictionariesEdited();
}

void TWrightSpellBase::EditCustomDictionary(TCustomDictionary *CustomDictionary)
{
  BeginWork();
  InternalEditCustomDictionary(this, CustomDictionary);
  EndWork();
  DictionariesEdited();
}

void TWrightSpellBase::SetupAddDictionaryDir()
{
  BeginWork();
  InternalSetupAddDictionaryDir(this);
  EndWork();
}

void TWrightSpellBase::DictionariesEdited()
{
  if (FActiveCustom)
    FActiveCustom->SetLoaded(false);
  FOnConfigChangedList.Notify(this);
}

void TWrightSpellBase::BeginWork()
{
  ++FWorkingRef;
  FWorking = FWorkingRef > 0;
}

void TWrightSpellBase::EndWork()
{
  if (FWorkingRef > 0)
    --FWorkingRef;
  FWorking = FWorkingRef > 0;
}

QString TWrightSpellBase::GetString(TSpellLanguageString LanguageString)
{
  return FireGetString(LanguageString, GetLanguageString(LanguageString, FUILanguage));
}

QString TWrightSpellBase::FireGetString(TSpellLanguageString LanguageString, const QString &Text)
{
  QString text = Text;
  if (OnGetString)
    OnGetString(this, LanguageString, text);
  return text;
}

// === Word tests
// =====================================================================================

bool TWrightSpellBase::WordExistsInMain(const QString &Word)
{
  EnsureConfigurationLoaded();
  for (auto &d : FMainDictionaries)
    if (d->WordExists(Word)) {
      d->WordFound();
      return true;
    }
  return false;
}

bool TWrightSpellBase::WordExists(const QString &Word)
{
  if (WordExistsInMain(Word))
    return true;
  // Empty lists are skipped before hashing: most words of a text reach here (every capitalised
  // one twice), and most custom dictionaries hold no exclusions.
  if (FActiveCustom && FActiveCustom->IgnoreCount() > 0 && FActiveCustom->IgnoreExists(Word))
    return true;
  for (auto &d : FCustomDictionaries)
    if (d->IgnoreCount() > 0 && d->IgnoreExists(Word))
      return true;
  for (auto &d : FMSWordDictionaries)
    if (d->IgnoreCount() > 0 && d->IgnoreExists(Word))
      return true;
  return FInternalCustom->IgnoreCount() > 0 && FInternalCustom->IgnoreExists(Word);
}

bool TWrightSpellBase::WordExcluded(const QString &Word)
{
  EnsureConfigurationLoaded();
  if (FActiveCustom && FActiveCustom->ExcludeCount() > 0 && FActiveCustom->ExcludeExists(Word))
    return true;
  for (auto &d : FCustomDictionaries)
    if (d->ExcludeCount() > 0 && d->ExcludeExists(Word))
      return true;
  QString mapped;
  return FMappingCustom && FMappingCustom->AutoCorrectCount() > 0 &&
         FMappingCustom->AutoCorrectExists(Word, mapped);
}

QString TWrightSpellBase::ModifyCase(const QString &Word)
{
  if (Word.isEmpty())
    return Word;
  // The suggestion generator asks this of every candidate (over a thousand per word): an
  // unchanged word is returned without a copy, and capitals are tested without building text.
  auto lowerFirst = [](QString w) {
    const char16_t first = w.at(0).unicode();
    if (first >= u'a' && first <= u'z') // the common case, without the character tables
      return w;
    const QChar lower = w.at(0).toLower();
    if (lower != w.at(0))
      w[0] = lower;
    return w;
  };
  // Case mapping is per character, so the first 256 are answered from a table Qt itself fills.
  static const std::array<bool, 256> keepsUpper = [] {
    std::array<bool, 256> t{};
    for (char16_t c = 0; c < 256; ++c)
      t[c] = QString(QChar(c)).toUpper() == QString(QChar(c));
    return t;
  }();
  auto isUpper = [](const QString &w) {
    for (const QChar c : w) {
      if (c.unicode() >= 256)
        return w == w.toUpper();
      if (!keepsUpper[c.unicode()])
        return false;
    }
    return true;
  };
  switch (FAllowedCases) {
  case cmNone:
    return Word;
  case cmInitialCaps:
    return lowerFirst(Word);
  case cmInitialCapsOrUpcase:
    return isUpper(Word) ? Word.toLower() : lowerFirst(Word);
  case cmAnyCase:
    return Word.toLower();
  case cmCustom: {
    QString w = Word;
    if (OnCaseModification)
      OnCaseModification(this, w);
    return w;
  }
  }
  return Word;
}

bool TWrightSpellBase::IsPossessiveWord(const QString &Word)
{
  static const QString endings[] = {QStringLiteral("'s"), QStringLiteral("'S"),
                                    QStringLiteral("\u2019s"), QStringLiteral("\u2019S")};
  const qsizetype n = Word.size();
  if (n < 2 || (Word[n - 2] != u'\'' && Word[n - 2] != u'\u2019'))
    return false;
  bool possessive = false;
  for (const QString &e : endings)
    if (Word.endsWith(e) && Word.indexOf(e) == n - 2) {
      possessive = true;
      break;
    }
  if (!possessive)
    return false;
  const QString stem = Word.left(n - 2);
  const QString modified = ModifyCase(stem);
  for (auto &d : FMainDictionaries)
    if (IsEnglish(d->Language()) && (d->WordExists(modified) || d->WordExists(stem)))
      return true;
  return false;
}

bool TWrightSpellBase::WordAcceptable(const QString &Word)
{
  if (WordExists(Word))
    return !(FUseExclude && WordExcluded(Word));
  const QString w2 = ModifyCase(Word);
  if (w2 != Word && WordExists(w2))
    return !(FUseExclude && WordExcluded(w2));
  if (FAllowPossessive && IsPossessiveWord(Word))
    return true;
  const QString point = QLocale().decimalPoint();
  if (IsFloatNumber(Word, point.isEmpty() ? QChar(u'.') : point.front()))
    return true;
  if (Word.size() == 1)
    return true;
  return RunPostCheckIgnore(Word, FParser);
}

bool TWrightSpellBase::WordHasCorrection(const QString &Word, QString &Correction)
{
  EnsureConfigurationLoaded();
  if (FActiveCustom && FActiveCustom->AutoCorrectExists(Word, Correction))
    return true;
  if (FInternalCustom->AutoCorrectExists(Word, Correction))
    return true;
  for (auto &d : FCustomDictionaries)
    if (d->AutoCorrectExists(Word, Correction))
      return true;
  if (FMappingAutoReplace && FMappingCustom && FMappingCustom->AutoCorrectExists(Word, Correction))
    return true;
  if (FLearnAutoCorrect && FLearningCustom &&
      FLearningCustom->AutoCorrectExists(Word, Correction)) {
    if (WordAcceptable(Correction))
      return true;
    Correction.clear();
  }
  if (FDUalCaps && Word.size() >= 3) {
    const QString rest = Word.mid(2);
    const QString head = Word.left(2);
    if (rest == rest.toLower() && head == head.toUpper()) {
      QString corrected = Word;
      corrected[1] = corrected[1].toLower();
      auto cased = [](QChar c) { return c.toLower() != c.toUpper(); };
      if (corrected != Word && cased(Word[0]) && cased(Word[1]) && WordAcceptable(corrected)) {
        Correction = corrected;
        return true;
      }
    }
  }
  Correction.clear();
  return false;
}

void TWrightSpellBase::FireWordCheck(QObject *EventSender, const QString &Word,
                                     TWordCheckType &CheckType, QString &Replacement)
{
  if (FOnWordCheck)
    FOnWordCheck(EventSender, Word, CheckType, Replacement);
}

bool TWrightSpellBase::CheckWord(QObject *EventSender, const QString &Word, QString &Correction)
{
  TWordCheckType state = wcDenied;
  if (WordAcceptable(Word))
    state = FUseExclude && WordExcluded(Word) ? wcExcluded : wcAccepted;
  if ((state != wcAccepted || FUseAutoCorrectFirst) && WordHasCorrection(Word, Correction))
    state = wcCorrected;
  FireWordCheck(EventSender, Word, state, Correction);
  if (state != wcCorrected)
    Correction.clear();
  return state == wcAccepted;
}

void TWrightSpellBase::ExistsEvent(const QString &Word, bool &Exists)
{
  // A word that ModifyCase leaves as it is was just looked up.
  auto modified = [this, &Word](auto exists) {
    const QString w = ModifyCase(Word);
    // Mostly Word itself, handed back without a copy: no need to compare the text.
    const bool same = w.constData() == Word.constData() && w.size() == Word.size();
    return !same && w != Word && (this->*exists)(w);
  };
  if (FPrimaryOnly)
    Exists = WordExistsInMain(Word) || modified(&TWrightSpellBase::WordExistsInMain);
  else
    Exists = WordExists(Word) || modified(&TWrightSpellBase::WordExists);
  if (!Exists && FAllowPossessive)
    Exists = IsPossessiveWord(Word);
}

int TWrightSpellBase::ExistsPrefixLength(const QString &Word)
{
  const int n = int(Word.size());
  if (n == 0)
    return 0;
  EnsureConfigurationLoaded();
  // A possessive is found by its stem, which an apostrophe already in Word can end anywhere; any
  // case change but the fixed ones may move characters.
  if (FAllowedCases == cmCustom ||
      (FAllowPossessive && (Word.contains(u'\'') || Word.contains(u'\u2019'))))
    return n;
  // ExistsEvent also looks up ModifyCase's form, which is one of these (each character cased on
  // its own, so an edit's prefix is cased like Word's).
  QString forms[3] = {Word};
  int formCount = 1;
  if (FAllowedCases != cmNone) {
    QString first = Word;
    first[0] = first[0].toLower();
    forms[formCount++] = first;
    forms[formCount++] = Word.toLower();
  }
  int longest = 0;
  for (int f = 0; f < formCount; ++f) {
    const QString &form = forms[f];
    if (form.size() != n)
      return n;
    for (auto &d : FMainDictionaries)
      longest = std::max(longest, d->PrefixLength(form));
    if (!FPrimaryOnly) {
      auto custom = [&](TCustomDictionary *d) {
        if (d && d->IgnoreCount() > 0)
          longest = std::max(longest, d->IgnorePrefixLength(form));
      };
      custom(FActiveCustom.get());
      for (auto &d : FCustomDictionaries)
        custom(d.get());
      for (auto &d : FMSWordDictionaries)
        custom(d.get());
      custom(FInternalCustom.get());
    }
    if (longest >= n)
      return n;
  }
  return longest;
}

// === Suggestions
// ====================================================================================

void TWrightSpellBase::Suggest(const QString &Word, TStringList &Words)
{
  EnsureConfigurationLoaded();
  BuildSuggestions(Word, FMaxSuggestions, Words);
}

void TWrightSpellBase::BuildSuggestions(const QString &Word, int MaxSuggestions, TStringList &Words)
{
  QString mapped;
  if (FMappingCustom && FMappingCustom->AutoCorrectExists(Word, mapped)) {
    Words.Clear();
    Words.Add(mapped);
    return;
  }

  TStringList edits;
  FSuggestions->Suggest(
      Word, MaxSuggestions, &edits,
      [this](const QString &w, bool &exists) { ExistsEvent(w, exists); },
      [this](const QString &w) { return ExistsPrefixLength(w); });
  QStringList work = edits.ToQStringList();
  const qsizetype editCount = work.size();

  if (FUsePhoneticSuggetions && !FMainDictionaries.empty()) {
    TMainDictionary &first = *FMainDictionaries.front();
    if (FPhoneticsMap->Language() != first.Language()) {
      FPhoneticsMap->SetLanguage(first.Language());
      if (OnAdjustPhoneticsMap)
        OnAdjustPhoneticsMap(this);
    }
    first.Suggest(Word, *FPhoneticsMap, work);
    if (IsEnglish(FPhoneticsMap->Language()) && work.size() < 20 && FAllowSoundexFollowup) {
      FPhoneticsMap->SetLanguage(0);
      if (OnAdjustPhoneticsMap)
        OnAdjustPhoneticsMap(this);
      first.Suggest(Word, *FPhoneticsMap, work);
    }
  }

  struct TRanked {
    QString word;
    int rank;
  };
  std::vector<TRanked> ranked;
  ranked.reserve(size_t(work.size()));
  // Bit-parallel against the misspelled word: a sixth of the row-by-row cost for the ~90 words
  // of a request.
  TDistanceColumns distance;
  const bool columns = distance.SetPattern(Word);
  for (qsizetype i = 0; i < work.size(); ++i) {
    const int rank = columns ? distance.Distance(work[i]) : EditDistance(work[i], Word);
    if (i >= editCount && !FPhoneticsMap->AcceptableDistance(Word, rank))
      continue;
    ranked.push_back({work[i], rank});
  }

  if (FLearningCustom) {
    QString learned;
    if (FLearningCustom->AutoCorrectExists(Word, learned)) {
      auto found = std::find_if(ranked.begin(), ranked.end(), [&](const TRanked &r) {
        return QString::compare(r.word, learned, Qt::CaseInsensitive) == 0;
      });
      if (found != ranked.end() && found->word == learned)
        found->rank = 0;
      else if (WordAcceptable(learned))
        ranked.insert(ranked.begin(), {learned, 0});
    }
    for (TRanked &r : ranked) {
      r.rank *= 2;
      if (FLearningCustom->IgnoreExists(r.word))
        --r.rank;
    }
  }

  // With a commonness side file beside the main dictionary, equal ranks put the commoner word
  // first (stable otherwise). Without one, the exchange sort as the ranking has always been
  // done: equal ranks may change order, and the order users see must stay the same.
  if (FMainDictionaries.empty()) {
    FCommonness.reset();
    FCommonnessOf = nullptr;
  } else if (const TMainDictionary *first = FMainDictionaries.front().get();
             first != FCommonnessOf || first->Filename() != FCommonnessFile) {
    FCommonnessOf = first;
    FCommonnessFile = first->Filename();
    FCommonness = TWordCommonness::ForDictionary(FCommonnessFile);
  }
  const TWordCommonness *common = FCommonness.get();
  if (common) {
    // Sorted as (key, position) pairs of integers, the words moved once at the end.
    std::vector<std::pair<qint64, size_t>> order(ranked.size());
    for (size_t i = 0; i < ranked.size(); ++i)
      order[i] = {qint64(ranked[i].rank) * 256 + common->Class(ranked[i].word), i};
    std::sort(order.begin(), order.end());
    std::vector<TRanked> sorted;
    sorted.reserve(ranked.size());
    for (const auto &[key, at] : order)
      sorted.push_back(std::move(ranked[at]));
    ranked.swap(sorted);
  } else {
    for (size_t i = 0; i < ranked.size(); ++i)
      for (size_t j = i + 1; j < ranked.size(); ++j)
        if (ranked[j].rank < ranked[i].rank)
          std::swap(ranked[i], ranked[j]);
  }

  if (MaxSuggestions >= 0 && ranked.size() > size_t(MaxSuggestions))
    ranked.resize(size_t(MaxSuggestions));
  Words.BeginUpdate();
  Words.Clear();
  for (const TRanked &r : ranked)
    Words.Add(r.word);
  Words.EndUpdate();
}

void TWrightSpellBase::LearnSuggestion(const QString &MisspelledWord, const QString &CorrectWord)
{
  if (!FLearningCustom)
    return;
  FLearningCustom->AddAutoCorrect(MisspelledWord, CorrectWord);
  FLearningCustom->AddIgnore(CorrectWord);
}

// === Word-list registry stand-in
// ====================================================================

class TWordListRegistryStore : public TRegistryStore {
public:
  bool KeyExists(TRootKey root, const QString &path) override
  {
    return IsWordBookKey(root, path) && !WordBooks().isEmpty();
  }
  std::optional<QString> ReadValue(TRootKey root, const QString &path, const QString &name) override
  {
    if (!IsWordBookKey(root, path))
      return std::nullopt;
    const QStringList books = WordBooks();
    if (books.isEmpty())
      return std::nullopt;
    bool ok = false;
    const int n = name.toInt(&ok);
    if (!ok || n < 1 || n > books.size())
      return std::nullopt;
    return books[n - 1];
  }

private:
  static bool IsWordBookKey(TRootKey root, const QString &path)
  {
    return root == TRootKey::HKEY_CURRENT_USER &&
           QString::compare(path, QString::fromLatin1(WordListRegistryKeys[0]),
                            Qt::CaseInsensitive) == 0;
  }
  // The positive word books of the user's LibreOffice profile, by name.
  static QStringList WordBooks()
  {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
      config = QDir::homePath() + QStringLiteral("/.config");
    QDir dir(config + QStringLiteral("/libreoffice/4/user/wordbook"));
    if (!dir.exists())
      return {};
    QStringList books;
    for (const QString &name : dir.entryList({QStringLiteral("*.dic")}, QDir::Files, QDir::Name)) {
      QFile file(dir.filePath(name));
      if (!file.open(QIODevice::ReadOnly))
        continue;
      // The header ends at "---"; "type: positive" marks a list of accepted words.
      bool positive = false;
      for (int line = 0; line < 8 && !file.atEnd(); ++line) {
        const QByteArray text = file.readLine(256).trimmed();
        if (text == "---")
          break;
        if (text.startsWith("type:"))
          positive = text.mid(5).trimmed() == "positive";
      }
      if (positive)
        books << dir.filePath(name);
    }
    return books;
  }
};

std::shared_ptr<TRegistryStore> NewWordListRegistryStore()
{
  return std::make_shared<TWordListRegistryStore>();
}
