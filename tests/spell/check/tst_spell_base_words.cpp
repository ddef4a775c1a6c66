// The check session's word tests and suggestions over a small compiled dictionary.
#include "session_fixture.h"

#include "wrMainDictionary.h"
#include "wrPhoneticsMap.h"
#include "wrSuggestions.h"

#include <QFileInfo>

namespace {

struct TCaseRow {
  TCaseModification cases;
  const char *word;
  bool accepted;
};

} // namespace

TEST_F(SessionTest, NothingIsReadBeforeTheFirstWordTest)
{
  auto s = NewSession();
  s->SetQuoteChars(QStringLiteral(">|"));
  EXPECT_FALSE(s->Configuration()->Loaded());
  EXPECT_TRUE(s->MainDictionaries().empty());
  EXPECT_FALSE(QFileInfo::exists(Dir + "/Spell.cfg"));

  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("house")));
  EXPECT_TRUE(s->Configuration()->Loaded());
  ASSERT_EQ(s->MainDictionaries().size(), 1u);
  ASSERT_NE(s->ActiveCustomDictionary(), nullptr);
  EXPECT_EQ(QFileInfo(s->ActiveCustomDictionary()->Filename()).fileName(),
            QStringLiteral("tester.wdu"));
  ASSERT_EQ(s->CustomDictionaries().size(), 1u);
  EXPECT_EQ(QFileInfo(s->CustomDictionaries()[0]->Filename()).fileName(),
            QStringLiteral("Autocorrect.wdu"));
}

TEST_F(SessionTest, CaseRules)
{
  const TCaseRow rows[] = {
      {cmInitialCapsOrUpcase, "house", true},
      {cmInitialCapsOrUpcase, "House", true},
      {cmInitialCapsOrUpcase, "HOUSE", true},
      {cmInitialCapsOrUpcase, "HoUse", false},
      {cmInitialCaps, "House", true},
      {cmInitialCaps, "HOUSE", false},
      {cmAnyCase, "House", true},
      {cmAnyCase, "HOUSE", true},
      {cmAnyCase, "hOuSe", true},
      {cmNone, "house", true},
      {cmNone, "House", false},
      {cmNone, "HOUSE", false},
      // Upper-case dictionary words keep their capital.
      {cmInitialCapsOrUpcase, "John", true},
      {cmInitialCapsOrUpcase, "john", false},
      {cmInitialCapsOrUpcase, "JOHN", false},
  };
  auto s = NewSession();
  for (const TCaseRow &r : rows) {
    SCOPED_TRACE(std::string(r.word) + " with case rule " + std::to_string(int(r.cases)));
    s->SetAllowedCases(r.cases);
    EXPECT_EQ(s->WordAcceptable(QString::fromUtf8(r.word)), r.accepted);
  }
}

TEST_F(SessionTest, CustomCaseRuleAsksTheEvent)
{
  auto s = NewSession();
  s->SetAllowedCases(cmCustom);
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("HOUSE")));
  s->OnCaseModification = [](QObject *, QString &w) { w = w.toLower(); };
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("HOUSE")));
}

TEST_F(SessionTest, ExclusionsRejectDictionaryWordsWhileHonoured)
{
  auto s = NewSession();
  EXPECT_TRUE(s->WordExistsInMain(QStringLiteral("colour")));
  EXPECT_TRUE(s->WordExcluded(QStringLiteral("colour")));
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("colour")));
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("Colour"))) << "the lowered form is excluded too";
  s->SetUseExcludeWords(false);
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("colour")));
}

TEST_F(SessionTest, NumbersAndSingleCharacters)
{
  const struct {
    const char *word;
    bool accepted;
  } rows[] = {
      {"3.5", true},  {"-2", true},       {"1e3", true}, {"+7", true},
      {"x", true},    {"\xc3\xa9", true}, {"1e", false}, {"1.2.3", false},
      {"inf", false}, {"nan", false},     {"e3", false}, {"zz", false},
  };
  auto s = NewSession();
  for (const auto &r : rows) {
    SCOPED_TRACE(r.word);
    EXPECT_EQ(s->WordAcceptable(QString::fromUtf8(r.word)), r.accepted);
  }
}

TEST_F(SessionTest, PossessivesNeedAnEnglishMainDictionary)
{
  const struct {
    const char *word;
    bool accepted;
  } rows[] = {
      {"John's", true},  {"John\xe2\x80\x99s", true}, {"JOHN'S", false},   {"house's", true},
      {"House'S", true}, {"Jack's", false},           {"John's's", false}, {"'s", false},
  };
  {
    auto s = NewSession();
    for (const auto &r : rows) {
      SCOPED_TRACE(r.word);
      EXPECT_EQ(s->WordAcceptable(QString::fromUtf8(r.word)), r.accepted);
    }
  }
  // The same words in a German dictionary: no possessive rule.
  ASSERT_EQ(WriteWdm(Dir + "/test.wdm", MainWords(), GermanDE), QString());
  auto s = NewSession();
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("John")));
  EXPECT_FALSE(s->AllowPossessiveIgnore());
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("John's")));
}

TEST_F(SessionTest, IgnoreListsOfEveryCustomDictionaryAccept)
{
  {
    TCustomDictionary extra;
    extra.SetFilename(Dir + "/extra.wdu");
    extra.AddIgnore(QStringLiteral("GoogleTest"));
    extra.AddExclude(QStringLiteral("check"));
    extra.Save();
  }
  auto s = NewSession();
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("Linewright"))); // active
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("Qt")));         // Autocorrect.wdu
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("GoogleTest")));
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("check")));
  ASSERT_TRUE(s->EnableCustomDictionary(QStringLiteral("extra.wdu"), true));
  EXPECT_EQ(s->CustomDictionaries().size(), 2u);
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("GoogleTest")));
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("check"))) << "any custom dictionary may exclude";
  s->InternalCustom()->AddIgnore(QStringLiteral("zzyzx"));
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("zzyzx")));
  ASSERT_TRUE(s->EnableCustomDictionary(QStringLiteral("extra.wdu"), false));
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("GoogleTest")));
}

TEST_F(SessionTest, PostCheckRulesFollowTheOptions)
{
  auto s = NewSession({soUpcase, soNumbers});
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("NASA")));
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("R2D2x")));
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("Nasa")));
  s->Configuration()->SetSpellOptions({});
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("NASA")));
}

TEST_F(SessionTest, DualCapitals)
{
  const struct {
    const char *word;
    const char *correction; // null: none
  } rows[] = {
      {"THe", "The"},   {"HOuse", "House"}, {"THE", nullptr}, {"TH", nullptr},
      {"T1e", nullptr}, {"HOusx", nullptr}, {"The", nullptr},
  };
  auto s = NewSession({soDUalCaps});
  for (const auto &r : rows) {
    SCOPED_TRACE(r.word);
    QString correction = QStringLiteral("stale");
    const bool has = s->WordHasCorrection(QString::fromUtf8(r.word), correction);
    EXPECT_EQ(has, r.correction != nullptr);
    EXPECT_EQ(correction, r.correction ? QString::fromUtf8(r.correction) : QString());
  }
  s->Configuration()->SetSpellOptions({});
  QString correction;
  EXPECT_FALSE(s->WordHasCorrection(QStringLiteral("THe"), correction));
}

TEST_F(SessionTest, CheckWordReportsCorrectionsByUseAutoCorrectFirst)
{
  const struct {
    bool first;
    const char *word;
    bool accepted;
    TWordCheckType state;
    const char *correction;
  } rows[] = {
      {false, "house", true, wcAccepted, ""},    {true, "house", false, wcCorrected, "home"},
      {false, "teh", false, wcCorrected, "the"}, {true, "teh", false, wcCorrected, "the"},
      {false, "colour", false, wcDenied, ""},    {false, "qqq", false, wcDenied, ""},
  };
  auto s = NewSession();
  for (const auto &r : rows) {
    SCOPED_TRACE(std::string(r.word) + (r.first ? " correction first" : ""));
    s->SetUseAutoCorrectFirst(r.first);
    TWordCheckType seen = wcRepeated;
    s->SetOnWordCheck(
        [&](QObject *, const QString &, TWordCheckType &state, QString &) { seen = state; });
    QString correction = QStringLiteral("stale");
    EXPECT_EQ(s->CheckWord(nullptr, QString::fromUtf8(r.word), correction), r.accepted);
    EXPECT_EQ(seen, r.state);
    EXPECT_EQ(correction, QString::fromUtf8(r.correction));
  }
  // The event decides last.
  s->SetUseAutoCorrectFirst(false);
  s->SetOnWordCheck(
      [](QObject *, const QString &, TWordCheckType &state, QString &) { state = wcAccepted; });
  QString correction;
  EXPECT_TRUE(s->CheckWord(nullptr, QStringLiteral("qqq"), correction));
  EXPECT_TRUE(correction.isEmpty());
}

TEST_F(SessionTest, AddingToTheActiveDictionaryIsKeptOnDisk)
{
  {
    auto s = NewSession();
    EXPECT_FALSE(s->WordAcceptable(QStringLiteral("frobnicate")));
    ASSERT_NE(s->ActiveCustomDictionary(), nullptr);
    EXPECT_TRUE(s->ActiveCustomDictionary()->AddIgnore(QStringLiteral("frobnicate")));
    EXPECT_TRUE(s->WordAcceptable(QStringLiteral("frobnicate")));
    s->UnloadDictionaries();
    EXPECT_TRUE(s->WordAcceptable(QStringLiteral("frobnicate"))) << "reopened on next use";
  }
  auto s = NewSession();
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("frobnicate")));
}

TEST_F(SessionTest, SuggestionsRankByDistance)
{
  auto s = NewSession();
  TStringList words;
  s->Suggest(QStringLiteral("recieve"), words);
  ASSERT_GT(words.Count(), 0);
  EXPECT_EQ(words.Strings(0), QStringLiteral("receive"));
  s->Suggest(QStringLiteral("Hous"), words);
  ASSERT_GT(words.Count(), 0);
  EXPECT_EQ(words.Strings(0), QStringLiteral("House"));
  s->SetMaxSuggestions(1);
  s->Suggest(QStringLiteral("chek"), words);
  EXPECT_EQ(words.Count(), 1);
  s->SetMaxSuggestions(0);
  s->Suggest(QStringLiteral("chek"), words);
  EXPECT_EQ(words.Count(), 0);
}

TEST_F(SessionTest, MappingDictionaryGivesTheOneSuggestionAndCorrects)
{
  {
    TCustomDictionary mapping;
    mapping.SetFilename(Dir + "/mapping.wdu");
    mapping.AddAutoCorrect(QStringLiteral("cheque"), QStringLiteral("check"));
    mapping.Save();
  }
  auto s = NewSession();
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("house"))); // loads
  s->SetMappingDictionaryName(QStringLiteral("mapping.wdu"));
  ASSERT_NE(s->MappingCustomDictionary(), nullptr);
  TStringList words;
  s->Suggest(QStringLiteral("cheque"), words);
  ASSERT_EQ(words.Count(), 1);
  EXPECT_EQ(words.Strings(0), QStringLiteral("check"));
  EXPECT_TRUE(s->WordExcluded(QStringLiteral("cheque")));
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("cheque")));
  QString correction;
  EXPECT_TRUE(s->WordHasCorrection(QStringLiteral("cheque"), correction));
  EXPECT_EQ(correction, QStringLiteral("check"));
  s->SetMappingAutoReplace(false);
  EXPECT_FALSE(s->WordHasCorrection(QStringLiteral("cheque"), correction));
}

TEST_F(SessionTest, LearnedSuggestionComesFirstOnlyWhenAcceptable)
{
  auto s = NewSession();
  s->SetSuggestionsLearningDict(Dir + "\\learned.wdl");
  s->SetSuggestionsLearning(true);
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("house"))); // loads
  ASSERT_NE(s->LearningCustomDictionary(), nullptr);
  EXPECT_EQ(s->LearningCustomDictionary()->Filename(), Dir + "/learned.wdl");

  TStringList words;
  s->Suggest(QStringLiteral("wrods"), words);
  ASSERT_GT(words.Count(), 1);
  const QString usual = words.Strings(0);
  EXPECT_EQ(usual, QStringLiteral("words"));

  s->LearnSuggestion(QStringLiteral("wrods"), QStringLiteral("word"));
  s->Suggest(QStringLiteral("wrods"), words);
  ASSERT_GT(words.Count(), 1);
  EXPECT_EQ(words.Strings(0), QStringLiteral("word"));

  // A learned correction that is no word is not offered.
  s->LearningCustomDictionary()->AddAutoCorrect(QStringLiteral("huose"), QStringLiteral("hxuse"));
  s->Suggest(QStringLiteral("huose"), words);
  EXPECT_LT(words.IndexOf(QStringLiteral("hxuse")), 0);
  ASSERT_GT(words.Count(), 0);
  EXPECT_EQ(words.Strings(0), QStringLiteral("house"));

  // Learned corrections count as corrections only when asked, and only acceptable ones.
  QString correction;
  EXPECT_FALSE(s->WordHasCorrection(QStringLiteral("wrods"), correction));
  s->SetSuggestionsAutoReplace(true);
  EXPECT_TRUE(s->WordHasCorrection(QStringLiteral("wrods"), correction));
  EXPECT_EQ(correction, QStringLiteral("word"));
  EXPECT_FALSE(s->WordHasCorrection(QStringLiteral("huose"), correction));
  EXPECT_TRUE(correction.isEmpty());
}

TEST_F(SessionTest, MainDictionariesStayOpenAcrossReloads)
{
  ASSERT_EQ(WriteWdm(Dir + "/second.wdm", {"zebra", "house"}), QString());
  auto s = NewSession();
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("house")));
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("home")));
  ASSERT_EQ(s->MainDictionaries().size(), 1u);
  TMainDictionary *first = s->MainDictionaries()[0].get();
  EXPECT_EQ(first->WordsFoundCount(), 2);

  s->Configuration()->MainDictionaries().Insert(0, QStringLiteral("second.wdm"));
  ASSERT_EQ(s->MainDictionaries().size(), 2u);
  EXPECT_EQ(s->MainDictionaries()[1].get(), first) << "reused, not reopened";
  EXPECT_EQ(first->WordsFoundCount(), 2);
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("zebra")));

  s->Configuration()->MainDictionaries().Delete(1);
  ASSERT_EQ(s->MainDictionaries().size(), 1u);
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("receive")));
}

TEST_F(SessionTest, DamagedDictionariesAreAbsentAndUntouched)
{
  // A main dictionary with a good header and a cut body, and a custom dictionary with a good
  // banner and garbage after it.
  QByteArray wdm = ReadAll(Dir + "/test.wdm");
  ASSERT_GT(wdm.size(), 3000);
  WriteFile(Dir + "/cut.wdm", wdm.left(1100));
  QByteArray wdu = ReadAll(Dir + "/tester.wdu");
  ASSERT_GT(wdu.size(), 200);
  for (qsizetype i = TCustomDictionary::HeaderSize(65001); i < wdu.size(); ++i)
    wdu[i] = char(0xA5 ^ i);
  WriteFile(Dir + "/tester.wdu", wdu);

  auto s = NewSession();
  s->Configuration()->MainDictionaries().Insert(0, QStringLiteral("cut.wdm"));
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("house")));
  EXPECT_EQ(s->MainDictionaries().size(), 1u);
  EXPECT_EQ(s->ActiveCustomDictionary(), nullptr);
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("Linewright")));
  TStringList words;
  s->Suggest(QStringLiteral("huose"), words);
  s->UnloadDictionaries();
  s.reset();
  EXPECT_EQ(ReadAll(Dir + "/tester.wdu"), wdu);
}

TEST_F(SessionTest, BackslashFoldersOpenTheRealFiles)
{
  auto s = NewSession();
  TStringList dirs;
  dirs.Add(QString(Dir).replace(QLatin1Char('/'), QLatin1Char('\\')) + QLatin1Char('\\'));
  s->SetConfigDictionaryDir(dirs);
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("house")));
  ASSERT_EQ(s->MainDictionaries().size(), 1u);
  EXPECT_EQ(s->MainDictionaries()[0]->Filename(), Dir + "/test.wdm");
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("Linewright")));
}

TEST_F(SessionTest, OptimizeMovesTheBusiestDictionaryFirst)
{
  ASSERT_EQ(WriteWdm(Dir + "/second.wdm", {"zebra", "yak"}, GermanDE), QString());
  auto s = NewSession();
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("house")));
  s->Configuration()->MainDictionaries().Insert(0, QStringLiteral("second.wdm"));
  ASSERT_EQ(s->MainDictionaries().size(), 2u);
  EXPECT_EQ(s->TextPrimaryLanguage(), GermanDE);
  for (const char *w : {"house", "home", "the"})
    EXPECT_TRUE(s->WordAcceptable(QString::fromLatin1(w)));
  s->OptimizeDictionaryOrder();
  EXPECT_EQ(s->TextPrimaryLanguage(), EnglishAU);
  EXPECT_EQ(s->SuggestionsGenerator()->Language(), EnglishAU);
}

TEST_F(SessionTest, DefaultsOfANewComponent)
{
  TWrightSpellBase s;
  EXPECT_EQ(s.ConfigStorage(), csRegistry);
  EXPECT_EQ(s.ConfigID(), QStringLiteral("%UserName%"));
  EXPECT_EQ(s.ConfigFilename(), QStringLiteral("%AppDir%\\Spell.cfg"));
  EXPECT_TRUE(s.ConfigRegistryKey().endsWith(QStringLiteral("\\%AppName%")));
  EXPECT_EQ(s.ConfigDictionaryDir().ToQStringList(), QStringList({"%AppDir%"}));
  EXPECT_EQ(s.ConfigAvailableOptions(), TSpellOptions::Range(soLiveSpelling, soDUalCaps));
  EXPECT_EQ(s.ConfigDefaultMain().ToQStringList(), QStringList({"American.wdm"}));
  EXPECT_EQ(s.ConfigDefaultCustom().ToQStringList(), QStringList({"Autocorrect.wdu"}));
  EXPECT_EQ(s.ConfigDefaultActiveCustomPrevent().ToQStringList(),
            QStringList({"autocorrect.wdu", "autocorrect-british.wdu"}));
  EXPECT_EQ(s.ConfigDefaultActiveCustom(), QStringLiteral("%ConfigID%.wdu"));
  EXPECT_EQ(s.ConfigDefaultOptions(), TSpellOptions({soLiveSpelling, soLiveCorrect, soInternet,
                                                     soAbbreviations, soRepeated, soDUalCaps}));
  EXPECT_TRUE(s.ConfigUseMSWordCustom());
  EXPECT_FALSE(s.ConfigDefaultUseMSWordCustom());
  EXPECT_FALSE(s.SuggestionsAutoReplace());
  EXPECT_TRUE(s.SuggestionsLearning());
  EXPECT_EQ(s.SuggestionsLearningDict(), QStringLiteral("%AppDir%\\%UserName%_sp.wdl"));
  EXPECT_EQ(s.QuoteChars(), QStringLiteral(">"));
  EXPECT_EQ(s.DialogInitialPos(), ipLastUserPos);
  EXPECT_EQ(s.DialogSelectionAvoid(), saAvoid);
  EXPECT_EQ(s.EndMessage(), emExceptCancel);
  EXPECT_EQ(s.EndCursorPosition(), epOriginal);
  EXPECT_EQ(s.MaxUndo(), -1);
  EXPECT_EQ(s.MaxSuggestions(), -1);
  EXPECT_FALSE(s.KeepDictionariesActive());
  EXPECT_TRUE(s.SynchronousCheck());
  EXPECT_TRUE(s.UseHourglassCursor());
  EXPECT_FALSE(s.CommandsVisible().Contains(sdcConfigEditDictionaryButton));
  EXPECT_TRUE(s.CommandsEnabled().Contains(sdcConfigDownloadLink));
  EXPECT_EQ(s.CommandsVisible(), s.CommandsEnabled());
  EXPECT_TRUE(s.PhoneticSuggestions());
  EXPECT_TRUE(s.MappingDictionaryName().isEmpty());
  EXPECT_TRUE(s.MappingAutoReplace());
  EXPECT_TRUE(s.UseExcludeWords());
  EXPECT_TRUE(s.UseAutoCorrectFirst());
  EXPECT_TRUE(s.RecheckReplacedWords());
  EXPECT_TRUE(s.ResumeFromLastPosition());
  EXPECT_EQ(s.AllowedCases(), cmInitialCapsOrUpcase);
  EXPECT_EQ(s.UILanguage(), TSpellLanguageType::ltEnglish);
  EXPECT_EQ(s.UIType(), suiSilent);
  s.SetVersion(QStringLiteral("9"));
  EXPECT_EQ(s.Version(), QStringLiteral("1.0.0"));
  EXPECT_TRUE(s.ConfigUserOption2().isEmpty());
  s.SetConfigUserOption2(QStringLiteral("Check code words"));
  EXPECT_EQ(s.ConfigUserOption(2), QStringLiteral("Check code words"));
  EXPECT_TRUE(s.ConfigUserOption(5).isEmpty());
  EXPECT_TRUE(s.CloseDialog());
  EXPECT_TRUE(s.FreeParser());
  EXPECT_FALSE(s.AllowPossessiveIgnore());
  EXPECT_TRUE(s.AllowSoundexFollowup());
  // Straight through to the phonetic map.
  s.SetPhoneticMaxDistance(7);
  s.SetPhoneticDivisor(3);
  s.SetPhoneticDepth(2);
  EXPECT_EQ(s.PhoneticsMap()->DistanceMax(), 7);
  EXPECT_EQ(s.PhoneticsMap()->DistanceDivisor(), 3);
  EXPECT_EQ(s.PhoneticsMap()->StartDepth(), 2);
  // Replacements are owned; an absent one is ignored.
  TParsingEngine *engine = s.ParsingEngine();
  s.SetParsingEngine(nullptr);
  EXPECT_EQ(s.ParsingEngine(), engine);
  EXPECT_FALSE(s.Configuration()->Loaded());
}

TEST_F(SessionTest, SettersThatReloadOrUnload)
{
  auto s = NewSession({soQuoted});
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("house")));
  EXPECT_TRUE(s->ActiveCustomDictionary()->Loaded());
  s->SetKeepDictionariesActive(true);
  s->UnloadDictionaries();
  EXPECT_TRUE(s->ActiveCustomDictionary()->Loaded()) << "kept while KeepDictionariesActive";
  s->SetKeepDictionariesActive(false);
  EXPECT_FALSE(s->ActiveCustomDictionary()->Loaded());
  EXPECT_FALSE(s->MainDictionaries()[0]->Loaded());

  // The quoted-line rule takes the configuration's quote characters at each rebuild.
  ASSERT_EQ(s->IgnoreRules().IgnoreEntriesLine().size(), 1u);
  EXPECT_TRUE(s->RunLineIgnore(QStringLiteral("> quoted")));
  s->Configuration()->SetQuoteChars(QStringLiteral("|"));
  s->SetQuoteChars(QStringLiteral("|"));
  EXPECT_FALSE(s->RunLineIgnore(QStringLiteral("> quoted")));
  EXPECT_TRUE(s->RunLineIgnore(QStringLiteral("| quoted")));

  // The file name reloads only for file storage.
  int loads = 0;
  s->OnConfigLoaded = [&](QObject *) { ++loads; };
  s->SetConfigRegistryKey(QStringLiteral("Software\\Elsewhere"));
  EXPECT_EQ(loads, 0);
  s->SetConfigFilename(Dir + QStringLiteral("/Other.cfg"));
  EXPECT_EQ(loads, 1);
  EXPECT_TRUE(QFileInfo::exists(Dir + "/Spell.cfg")) << "saved before the reload";

  // Configuration listeners hear of changes.
  int heard = 0;
  s->OnConfigChangedList().Add(this, [&](QObject *) { ++heard; });
  s->Configuration()->SetSpellOptions({soUpcase});
  EXPECT_GE(heard, 1);
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("ZZZ")));
}

TEST_F(SessionTest, DamagedFilesNeverBreakACheckNorGetWritten)
{
  // Cut and bit-flipped copies of a good main dictionary and of the user's dictionary, each
  // checked and asked for suggestions by a fresh session; the files stay as they were.
  const QByteArray wdm = ReadAll(Dir + "/test.wdm");
  const QByteArray wdu = ReadAll(Dir + "/tester.wdu");
  ASSERT_FALSE(wdm.isEmpty());
  ASSERT_FALSE(wdu.isEmpty());
  quint32 seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
  for (int variant = 0; variant < 24; ++variant) {
    SCOPED_TRACE(variant);
    QByteArray badWdm = wdm, badWdu = wdu;
    if (variant % 3 == 0) {
      badWdm.truncate(qsizetype(next() % quint32(wdm.size())));
      badWdu.truncate(qsizetype(next() % quint32(wdu.size())));
    } else {
      for (int flips = 0; flips < 1 + variant % 4; ++flips) {
        badWdm[qsizetype(1024 + next() % quint32(wdm.size() - 1024))] ^= char(1 << (next() % 8));
        badWdu[qsizetype(next() % quint32(wdu.size()))] ^= char(1 << (next() % 8));
      }
    }
    WriteFile(Dir + "/test.wdm", badWdm);
    WriteFile(Dir + "/tester.wdu", badWdu);
    QFile::remove(Dir + "/Spell.cfg");
    {
      auto s = NewSession();
      for (const char *w : {"house", "House", "John's", "qqqq", "THe"}) {
        QString correction;
        s->CheckWord(nullptr, QString::fromLatin1(w), correction);
      }
      TStringList words;
      s->SetMaxSuggestions(5);
      s->Suggest(QStringLiteral("huose"), words);
      EXPECT_LE(words.Count(), 5);
      for (int i = 0; i < words.Count(); ++i)
        EXPECT_FALSE(words.Strings(i).isEmpty());
      if (s->ActiveCustomDictionary() == nullptr) {
        EXPECT_FALSE(s->WordAcceptable(QStringLiteral("Linewright")));
      }
    }
    EXPECT_EQ(ReadAll(Dir + "/test.wdm"), badWdm);
    const QByteArray after = ReadAll(Dir + "/tester.wdu");
    // A refused file is left alone; an accepted one is only written by a save with changes.
    EXPECT_EQ(after, badWdu);
  }
}

// The session's prefix test spares the generator only candidates its word test refuses: the same
// suggestions as without it, under every case rule, with words from the main dictionary, the
// custom dictionaries' ignore lists, possessives and capitals.
TEST_F(SessionTest, PrefixTestKeepsEverySuggestion)
{
  auto s = NewSession();
  s->InternalCustom()->AddIgnore(QStringLiteral("zzyzx"));
  const char *misspellings[] = {"recieve",     "Recieve",   "RECIEVE",  "hosue",    "Hosue",
                                "jhon",        "Jhon's",    "Johns",    "houses'",  "Linewrigth",
                                "linewright",  "LINEWRITE", "Qtt",      "qt",       "zzyxz",
                                "chekc",       "chequ",     "arable's", "John'z",   "house'd",
                                "caf\xc3\xa9", "xouse",     "wrods",    "spellling"};
  const TCaseModification rules[] = {cmInitialCapsOrUpcase, cmInitialCaps, cmAnyCase, cmNone};
  int suggested = 0;
  for (const TCaseModification rule : rules) {
    s->SetAllowedCases(rule);
    for (const char *m : misspellings) {
      const QString word = QString::fromUtf8(m);
      SCOPED_TRACE(word.toStdString() + " with case rule " + std::to_string(int(rule)));
      const TExistsEvent exists = [&s](const QString &w, bool &e) { s->ExistsEvent(w, e); };
      TSuggestionsGenerator generator;
      TStringList all, spared;
      generator.Suggest(word, -1, &all, exists);
      generator.Suggest(word, -1, &spared, exists,
                        [&s](const QString &w) { return s->ExistsPrefixLength(w); });
      EXPECT_EQ(spared.ToQStringList(), all.ToQStringList());
      suggested += all.Count();
      // And the whole request, which uses it.
      TStringList words;
      s->Suggest(word, words);
      for (const QString &w : all.ToQStringList())
        EXPECT_TRUE(words.ToQStringList().contains(w) || words.Count() == s->MaxSuggestions())
            << w.toStdString();
    }
  }
  EXPECT_GT(suggested, 40) << "the fixture gives the generator words to find";
}
