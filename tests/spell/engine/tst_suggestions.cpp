#include "wrSuggestions.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QSet>
#include <QStringList>
#include <ostream>

using namespace Qt::Literals::StringLiterals;

namespace {

// A dictionary of exactly the given words that records every test it is asked.
struct TWordSet {
  QSet<QString> Words;
  QStringList Calls;

  explicit TWordSet(const QStringList &words) : Words(words.begin(), words.end()) {}
  TExistsEvent Func()
  {
    return [this](const QString &word, bool &exists) {
      Calls << word;
      exists = Words.contains(word);
    };
  }
};

// The generator's request steps are protected; tests reach one pass directly.
class TTestGenerator : public TSuggestionsGenerator {
public:
  using TSuggestionsGenerator::GenerateAll;
};

QStringList Items(const TStringList &list) { return list.ToQStringList(); }

struct TSuggestCase {
  const char *Name;
  QString Word;
  int Limit;
  QStringList Accepted;
  QStringList Expected;
  std::function<void(TSuggestionsGenerator &)> Setup = {};
};

std::ostream &operator<<(std::ostream &os, const TSuggestCase &c) { return os << c.Name; }

class SuggestionList : public ::testing::TestWithParam<TSuggestCase> {};

TEST_P(SuggestionList, Suggest)
{
  const TSuggestCase &c = GetParam();
  TSuggestionsGenerator gen;
  if (c.Setup)
    c.Setup(gen);
  TWordSet dict(c.Accepted);
  TStringList words;
  gen.Suggest(c.Word, c.Limit, &words, dict.Func());
  EXPECT_EQ(Items(words), c.Expected);
}

const auto SwedishDefaults = [](TSuggestionsGenerator &g) { g.SetLanguage(1053); };
const auto Restricted = [](TSuggestionsGenerator &g) { g.SetRestrictSuggestionCase(true); };

const TSuggestCase SuggestCases[] = {
    {"teh_swap", u"teh"_s, 10, {u"the"_s}, {u"the"_s}},
    {"tehn_swap", u"tehn"_s, 10, {u"then"_s}, {u"then"_s}},
    {"two_letters_no_swap", u"ot"_s, 10, {u"to"_s}, {}},
    // Swaps run before deletions; deletions go from the end of the word backwards.
    {"hten_order", u"hten"_s, 10, {u"then"_s, u"hen"_s, u"ten"_s}, {u"then"_s, u"hen"_s, u"ten"_s}},
    {"split", u"atthe"_s, 10, {u"at"_s, u"the"_s}, {u"at the"_s}},
    {"period_split", u"end.The"_s, 10, {u"end"_s, u"The"_s}, {u"end.  The"_s}},
    {"no_period_split_before_lower", u"end.the"_s, 10, {u"end"_s, u"the"_s}, {}},
    {"period_split_uses_last_period", u"a.b.Cd"_s, 10, {u"a.b"_s, u"Cd"_s}, {u"a.b.  Cd"_s}},
    {"no_period_split_at_end", u"end."_s, 10, {u"end"_s, u""_s}, {u"end"_s}},
    // Nothing before the period: no split into an empty word.
    {"no_period_split_at_start", u".The"_s, 10, {u""_s, u"The"_s}, {u"The"_s}},
    // One candidate of every step, found in the step order.
    {"step_order",
     u"abcd"_s,
     10,
     {u"cbad"_s, u"abce"_s, u"abc"_s, u"abcde"_s, u"bacd"_s, u"ab"_s, u"cd"_s},
     {u"bacd"_s, u"abcde"_s, u"abc"_s, u"abce"_s, u"cbad"_s, u"ab cd"_s}},
    // Insertions from the end backwards, the first position last with the start set.
    {"insertion_order",
     u"ac"_s,
     10,
     {u"bac"_s, u"abc"_s, u"acb"_s},
     {u"acb"_s, u"abc"_s, u"bac"_s}},
    {"substitution_order",
     u"cat"_s,
     10,
     {u"bat"_s, u"cot"_s, u"car"_s},
     {u"car"_s, u"cot"_s, u"bat"_s}},
    // Within a position, the characters come in the set's order.
    {"charset_order",
     u"cat"_s,
     10,
     {u"ca\u00B8"_s, u"ca\u00FF"_s, u"caz"_s, u"ca'"_s},
     {u"ca'"_s, u"caz"_s, u"ca\u00FF"_s, u"ca\u00B8"_s}},
    // Limit 1: the second entry is still added, the third valid candidate stops the request.
    {"limit_one", u"cat"_s, 1, {u"act"_s, u"cats"_s, u"at"_s, u"cut"_s}, {u"act"_s, u"cats"_s}},
    {"limit_stops_in_splits",
     u"abcd"_s,
     1,
     {u"bacd"_s, u"abcde"_s, u"ab"_s, u"cd"_s},
     {u"bacd"_s, u"abcde"_s}},
    {"limit_zero", u"teh"_s, 0, {u"the"_s}, {}},
    {"limit_below_minus_one", u"teh"_s, -2, {u"the"_s}, {}},
    {"limit_minus_one_is_large",
     u"teh"_s,
     -1,
     {u"the"_s, u"tech"_s, u"ten"_s, u"eh"_s},
     {u"the"_s, u"tech"_s, u"eh"_s, u"ten"_s}},
    {"empty_word", u""_s, 10, {u"a"_s}, {}},
    // Mixed case: a second pass on the re-cased word.
    {"second_pass_on_lower", u"tEH"_s, 10, {u"the"_s}, {u"the"_s}},
    {"no_second_pass_for_capitals", u"TEH"_s, 10, {u"the"_s, u"THE"_s}, {u"THE"_s}},
    {"capitalised_word", u"Teh"_s, 10, {u"The"_s}, {u"The"_s}},
    // A capital in the word: capitals are tried at every position.
    {"capitals_inside", u"Ab"_s, 10, {u"AbC"_s}, {u"AbC"_s}},
    {"no_capitals_inside_lower_word", u"ab"_s, 10, {u"abC"_s}, {}},
    // A lower-case word skips a capitalised candidate whose lower-case form exists.
    {"skip_capital_when_lower_exists", u"xat"_s, 10, {u"Bat"_s, u"bat"_s}, {u"bat"_s}},
    {"keep_capital_alone", u"xat"_s, 10, {u"Bat"_s}, {u"Bat"_s}},
    // Both casings may appear; the case-insensitive list does not merge them.
    {"both_casings", u"uS"_s, 10, {u"us"_s, u"US"_s}, {u"us"_s, u"US"_s}},
    {"restrict_case_drops_mixed", u"MacDonlad"_s, 10, {u"MacDonald"_s}, {}, Restricted},
    {"no_restrict_keeps_mixed", u"MacDonlad"_s, 10, {u"MacDonald"_s}, {u"MacDonald"_s}},
    {"restrict_case_keeps_capitals", u"NSAA"_s, 10, {u"NASA"_s}, {u"NASA"_s}, Restricted},
    {"restrict_case_keeps_initial", u"Pairs"_s, 10, {u"Paris"_s}, {u"Paris"_s}, Restricted},
    {"swedish_no_splits", u"atthe"_s, 10, {u"at"_s, u"the"_s}, {}, SwedishDefaults},
    {"swedish_own_types_split",
     u"atthe"_s,
     10,
     {u"at"_s, u"the"_s},
     {u"at the"_s},
     [](TSuggestionsGenerator &g) {
       g.SetSuggestionTypes(AllSuggestionTypes);
       g.SetLanguage(1053);
     }},
    {"only_deletions",
     u"hten"_s,
     10,
     {u"then"_s, u"hen"_s, u"ten"_s},
     {u"hen"_s, u"ten"_s},
     [](TSuggestionsGenerator &g) {
       g.SetSuggestionTypes(SuggestionTypeBit(TSuggestionType::stInsertion));
     }},
    {"french_letter",
     u"cur"_s,
     10,
     {u"c\u0153ur"_s},
     {u"c\u0153ur"_s},
     [](TSuggestionsGenerator &g) { g.SetLanguage(3084); }},
    {"no_french_letter_in_english",
     u"cur"_s,
     10,
     {u"c\u0153ur"_s},
     {},
     [](TSuggestionsGenerator &g) { g.SetLanguage(1033); }},
};

INSTANTIATE_TEST_SUITE_P(Cases, SuggestionList, ::testing::ValuesIn(SuggestCases),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST(SuggestionsGenerator, DefaultCharacterSets)
{
  TSuggestionsGenerator gen;
  QString usage = u"'abcdefghijklmnopqrstuvwxyz\u00D7\u00DE\u00DF"_s;
  for (char16_t c = 0xE0; c <= 0xFF; ++c)
    usage += QChar(c);
  usage += u"\u00B8\u00A8\u00B9\u00B3\u00BF"_s;
  QString start = u"'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"_s;
  for (char16_t c = 0xC0; c <= 0xFF; ++c)
    start += QChar(c);
  start += u"\u00B8\u00A8\u00B9\u00B3\u00BF"_s;
  EXPECT_EQ(gen.UsageCharSet(), usage);
  EXPECT_EQ(gen.StartCharSet(), start);
  EXPECT_EQ(gen.UsageCharSet().size(), 67);
  EXPECT_EQ(gen.StartCharSet().size(), 122);
  EXPECT_EQ(gen.Language(), 0u);
  EXPECT_TRUE(gen.DefaultSuggestionTypes());
  EXPECT_EQ(gen.SuggestionTypes(), AllSuggestionTypes);
  EXPECT_FALSE(gen.RestrictSuggestionCase());
}

TEST(SuggestionsGenerator, LanguageAppendsLettersToBothSets)
{
  struct {
    quint32 Language;
    QString Added;
  } cases[] = {
      {1029, u"\u00E1\u00E8\u00EF\u00E9\u00EC\u00ED\u00F2\u00F3\u00F8\u0161\u009D\u00FA\u00F9\u00FD"
             u"\u017E\u00C1\u00C8\u00CF\u00C9\u00CC\u00CD\u00D2\u00D3\u00D8\u0160\u008D\u00DA\u00D9"
             u"\u00DD\u017D"_s},
      {1036, u"\u0153"_s},
      {3084, u"\u0153"_s},
      {1049, u"\u00B2\u00A2\u00B1\u00A1\u00BC\u00AC\u00B6\u00A6"_s},
      {1045, u"\u00B9\u00E6\u00EA\u00B3\u00B3\u00F1\u00F3\u0153\u00BF\u0178\u00A5\u00C6\u00CA\u00A3"
             u"\u00D1\u00D3\u0152\u00AF\u008F"_s},
      {1033, u""_s},
      {2073, u""_s}, // Russian of Moldova: only 1049 itself adds letters
  };
  for (const auto &c : cases) {
    TSuggestionsGenerator gen;
    gen.SetLanguage(c.Language);
    EXPECT_EQ(gen.UsageCharSet(), TSuggestionsGenerator::DefaultUsageCharSet() + c.Added)
        << c.Language;
    EXPECT_EQ(gen.StartCharSet(), TSuggestionsGenerator::DefaultStartCharSet() + c.Added)
        << c.Language;
  }
}

TEST(SuggestionsGenerator, LanguageLettersAccumulate)
{
  TSuggestionsGenerator gen;
  const QString russian = u"\u00B2\u00A2\u00B1\u00A1\u00BC\u00AC\u00B6\u00A6"_s;
  gen.SetLanguage(1049);
  gen.SetLanguage(1049); // same value: nothing happens
  EXPECT_EQ(gen.UsageCharSet(), TSuggestionsGenerator::DefaultUsageCharSet() + russian);
  gen.SetLanguage(1033);
  gen.SetLanguage(1049);
  EXPECT_EQ(gen.UsageCharSet(), TSuggestionsGenerator::DefaultUsageCharSet() + russian + russian);
}

TEST(SuggestionsGenerator, DefaultTypesFollowLanguage)
{
  const TSuggestionTypes noSplit =
      AllSuggestionTypes & ~SuggestionTypeBit(TSuggestionType::stSplitWord);
  TSuggestionsGenerator gen;
  gen.SetLanguage(1053);
  EXPECT_EQ(gen.SuggestionTypes(), noSplit);
  gen.SetLanguage(1033);
  EXPECT_EQ(gen.SuggestionTypes(), AllSuggestionTypes);

  // Own types turn the defaults off; a language change then keeps them.
  const TSuggestionTypes own = SuggestionTypeBit(TSuggestionType::stTransposition);
  gen.SetSuggestionTypes(own);
  EXPECT_FALSE(gen.DefaultSuggestionTypes());
  gen.SetLanguage(1053);
  EXPECT_EQ(gen.SuggestionTypes(), own);
  // Turning the defaults back on applies the current language's.
  gen.SetDefaultSuggestionTypes(true);
  EXPECT_EQ(gen.SuggestionTypes(), noSplit);
}

// Word tests per request: L x 67 + 122 insertions, (L - 1) x 67 + 122 substitutions, L
// deletions and the swaps; 122 instead of 67 when the word has a capital.
TEST(SuggestionsGenerator, NumberOfWordTestsAndSecondPass)
{
  struct {
    QString Word;
    int Calls;
  } cases[] = {
      {u"teh"_s, 2 + (3 * 67 + 122) + 3 + (2 * 67 + 122)},
      {u"TEH"_s, 2 + (3 * 122 + 122) + 3 + (2 * 122 + 122)},
      {u"Teh"_s, 2 * (2 + (3 * 122 + 122) + 3 + (2 * 122 + 122))},
      // Second pass on "teh": the lower-case word gets the smaller set.
      {u"tEH"_s,
       (2 + (3 * 122 + 122) + 3 + (2 * 122 + 122)) + (2 + (3 * 67 + 122) + 3 + (2 * 67 + 122))},
      // Four letters: swaps two apart and one split (whose right half is never asked).
      {u"abcd"_s, 3 + (4 * 67 + 122) + 4 + (3 * 67 + 122) + 2 + 1},
  };
  for (const auto &c : cases) {
    TSuggestionsGenerator gen;
    TWordSet dict({});
    TStringList words;
    gen.Suggest(c.Word, 10, &words, dict.Func());
    EXPECT_EQ(dict.Calls.size(), c.Calls) << c.Word.toStdString();
    EXPECT_EQ(words.Count(), 0);
  }

  // "Teh" is worked on twice in the same form: the second half repeats the first.
  TSuggestionsGenerator gen;
  TWordSet dict({u"The"_s});
  TStringList words;
  gen.Suggest(u"Teh"_s, 10, &words, dict.Func());
  const qsizetype half = dict.Calls.size() / 2;
  EXPECT_EQ(dict.Calls.mid(0, half), dict.Calls.mid(half));
  EXPECT_EQ(Items(words), QStringList{u"The"_s});
}

// With the caller's prefix test the generator asks only candidates that keep a prefix some word
// starts with: the same suggestions in the same order, including where a limit stops it, and
// every candidate no longer asked is one the word test refuses.
TEST(SuggestionsGenerator, PrefixTestSparesOnlyRefusedCandidates)
{
  struct {
    const char *Name;
    QString Word;
    int Limit;
    QStringList Accepted;
    bool Spares; // whether some candidate goes unasked
  } cases[] = {
      {"error near the end", u"recieve"_s, -1, {u"receive"_s, u"relieve"_s, u"recipe"_s}, true},
      {"error at the start", u"xouse"_s, -1, {u"house"_s, u"mouse"_s, u"houses"_s}, true},
      {"prefix of a word", u"hous"_s, -1, {u"house"_s, u"hour"_s}, false},
      {"capitalised", u"Huose"_s, -1, {u"House"_s, u"house"_s, u"Hose"_s}, true},
      {"limit reached", u"cta"_s, 1, {u"cat"_s, u"act"_s, u"at"_s, u"ca"_s, u"ta"_s}, true},
      {"mixed case, second pass", u"rEcieve"_s, -1, {u"Receive"_s, u"receive"_s}, true},
      {"split", u"thecat"_s, -1, {u"the"_s, u"cat"_s, u"thecar"_s}, true},
      {"no word at all", u"qqqq"_s, -1, {}, true},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.Name);
    // The longest prefix of the word that some accepted word starts with.
    const auto prefix = [&c](const QString &w) {
      int longest = 0;
      for (const QString &a : c.Accepted) {
        int i = 0;
        while (i < a.size() && i < w.size() && a[i] == w[i])
          ++i;
        longest = std::max(longest, i);
      }
      return longest;
    };
    TSuggestionsGenerator all, spared;
    TWordSet allDict(c.Accepted), sparedDict(c.Accepted);
    TStringList allWords, sparedWords;
    all.Suggest(c.Word, c.Limit, &allWords, allDict.Func());
    spared.Suggest(c.Word, c.Limit, &sparedWords, sparedDict.Func(), prefix);
    EXPECT_EQ(Items(sparedWords), Items(allWords));
    QStringList unasked = allDict.Calls;
    for (const QString &w : std::as_const(sparedDict.Calls))
      unasked.removeOne(w);
    EXPECT_EQ(unasked.size(), allDict.Calls.size() - sparedDict.Calls.size())
        << "every candidate asked with the prefix test is asked without it";
    for (const QString &w : std::as_const(unasked))
      EXPECT_FALSE(allDict.Words.contains(w)) << w.toStdString();
    EXPECT_EQ(!unasked.isEmpty(), c.Spares);
  }
}

TEST(SuggestionsGenerator, SplitIsNotTestedAsWhole)
{
  TSuggestionsGenerator gen;
  TWordSet dict({u"at"_s, u"the"_s});
  TStringList words;
  gen.Suggest(u"atthe"_s, 10, &words, dict.Func());
  EXPECT_FALSE(dict.Calls.contains(u"at the"_s));
  EXPECT_TRUE(dict.Calls.contains(u"at"_s));
}

TEST(SuggestionsGenerator, StopsAtFirstValidCandidateBeyondLimit)
{
  TSuggestionsGenerator gen;
  TWordSet dict({u"act"_s, u"cats"_s, u"at"_s, u"cut"_s});
  TStringList words;
  gen.Suggest(u"cat"_s, 1, &words, dict.Func());
  ASSERT_FALSE(dict.Calls.isEmpty());
  EXPECT_EQ(dict.Calls.last(), u"at"_s);
}

TEST(SuggestionsGenerator, Guards)
{
  TSuggestionsGenerator gen;
  TWordSet dict({});
  TStringList words;

  gen.Suggest(QString(251, u'a'), 10, &words, dict.Func());
  EXPECT_TRUE(dict.Calls.isEmpty());
  gen.Suggest(u"teh"_s, 0, &words, dict.Func());
  EXPECT_TRUE(dict.Calls.isEmpty());
  gen.Suggest(u"teh"_s, 10, &words, TExistsEvent());
  gen.Suggest(u"teh"_s, 10, nullptr, dict.Func());
  EXPECT_TRUE(dict.Calls.isEmpty());

  gen.Suggest(QString(250, u'a'), 10, &words, dict.Func());
  EXPECT_FALSE(dict.Calls.isEmpty());
}

TEST(SuggestionsGenerator, ExactDuplicateNotAddedAfterOtherCasing)
{
  // The list's search finds "US" first; "us" further down still counts as the duplicate.
  TSuggestionsGenerator gen;
  TWordSet dict({u"us"_s});
  TStringList words;
  words.Add(u"US"_s);
  words.Add(u"us"_s);
  gen.Suggest(u"uss"_s, 10, &words, dict.Func());
  EXPECT_EQ(Items(words), (QStringList{u"US"_s, u"us"_s}));
}

TEST(SuggestionsGenerator, CallerEntriesCountTowardsLimit)
{
  TSuggestionsGenerator gen;
  TWordSet dict({u"the"_s});
  TStringList words;
  words.Add(u"a"_s);
  words.Add(u"b"_s);
  gen.Suggest(u"teh"_s, 1, &words, dict.Func());
  EXPECT_EQ(Items(words), (QStringList{u"a"_s, u"b"_s}));
}

TEST(SuggestionsGenerator, CharSetRestoredAfterCapitalWordAndAfterThrow)
{
  TSuggestionsGenerator gen;
  gen.SetLanguage(1049);
  const QString usage = gen.UsageCharSet();
  TWordSet dict({});
  TStringList words;
  gen.Suggest(u"Teh"_s, 10, &words, dict.Func());
  EXPECT_EQ(gen.UsageCharSet(), usage);

  const TExistsEvent throwing = [](const QString &, bool &) { throw std::runtime_error("io"); };
  EXPECT_THROW(gen.Suggest(u"Teh"_s, 10, &words, throwing), std::runtime_error);
  EXPECT_EQ(gen.UsageCharSet(), usage);
}

} // namespace
