#include "wrPhoneticsMap.h"

#include <QFile>
#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <random>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint32 English = 1033; // en-US, low byte 9
constexpr quint32 Russian = 1049; // low byte 25
constexpr quint32 French = 1036;  // low byte 12
constexpr quint32 German = 1031;  // default table

// The start depth property refuses 0; the code itself is defined for it, so reach the field.
// Being a subclass, its GetMapping goes through Match; both ways of coding are reachable here.
class TTestPhoneticsMap : public TPhoneticsMap {
public:
  void ForceStartDepth(int V) { FStartDepth = V; }
  using TPhoneticsMap::MatchMapping;
  using TPhoneticsMap::TreeMapping;
};

struct TCodeCase {
  const char *Name;
  quint32 Language;
  int StartDepth;
  const char16_t *Word;
  const char16_t *Code;
  int Limit = 6;
  bool RemoveDupes = true;
};

std::ostream &operator<<(std::ostream &os, const TCodeCase &c) { return os << c.Name; }

class PhoneticCode : public ::testing::TestWithParam<TCodeCase> {};

TEST_P(PhoneticCode, GetMapping)
{
  const TCodeCase &c = GetParam();
  TTestPhoneticsMap map;
  map.SetLanguage(c.Language);
  map.ForceStartDepth(c.StartDepth);
  map.SetLimit(c.Limit);
  map.SetRemoveDupes(c.RemoveDupes);
  EXPECT_EQ(map.GetMapping(QString::fromUtf16(c.Word)), QString::fromUtf16(c.Code));
}

const TCodeCase CodeCases[] = {
    // English table, defaults (start depth 1, limit 6).
    {"phone", English, 1, u"phone", u"phn"},
    {"phone_depth0", English, 0, u"phone", u"fn"},
    {"knight_depth0", English, 0, u"knight", u"knt"},
    {"thomas_depth0", English, 0, u"thomas", u"0ms"},
    {"happy", English, 1, u"happy", u"hpy"},
    {"happy_capitals", English, 1, u"HAPPY", u"hpy"},
    {"cat_lower", English, 1, u"cat", u"ct"},
    {"cat_capital", English, 1, u"Cat", u"ct"},
    {"empty_word", English, 1, u"", u""},
    {"shorter_than_start", English, 3, u"ab", u"ab"},
    {"start_depth3", English, 3, u"phone", u"phon"},
    {"cyrillic_english", English, 1, u"кошка", u"к"},
    // Longest match with look-ahead: "cia" beats "ci" and consumes only the c.
    {"special", English, 1, u"special", u"spxl"},
    {"tch_consumes_three", English, 1, u"watch", u"wx"},
    {"lly_consumes_three", English, 1, u"silly", u"sly"},
    // A two-character rule is never a repeat, even when it starts with the last code char.
    {"ly_after_l", English, 1, u"lily", u"lly"},
    {"gho_is_k", English, 0, u"ghost", u"kst"},
    {"vowel_h_vowel", English, 0, u"ahead", u"ht"},
    {"vowel_h_gives_nothing", English, 0, u"ohm", u"m"},
    {"only_silent_letters", English, 0, u"oh", u""},
    {"dge_is_j", English, 1, u"judge", u"jj"},
    {"ge_is_j_then_e", English, 1, u"sages", u"sjs"},
    {"ck_is_k", English, 1, u"back", u"bk"},
    {"sh_is_x", English, 1, u"fish", u"fx"},
    {"tio_is_x", English, 1, u"nation", u"nxn"},
    {"sio_is_x", English, 1, u"vision", u"vxn"},
    {"w_before_vowel", English, 0, u"wow", u"w"},
    {"x_is_ks", English, 1, u"box", u"bks"},
    {"ya_is_y", English, 0, u"yes", u"ys"},
    {"yy_is_y", English, 0, u"yy", u"y"},
    {"v_is_f_z_is_s", English, 0, u"vaz", u"fs"},
    {"q_is_k_c_is_k", English, 0, u"qbc", u"kbk"},
    {"apostrophe_unmatched", English, 1, u"don't", u"dnt"},
    // Repeats: an unmatched character between two equal codes keeps both.
    {"kak_keeps_both", English, 0, u"kak", u"kk"},
    {"kk_collapses", English, 0, u"kk", u"k"},
    {"repeat_of_start_char", English, 1, u"kk", u"k"},
    {"no_remove_dupes", English, 1, u"happy", u"hppy", 6, false},
    // Final y: kept in English when it is the last character and matched nothing.
    {"final_y_after_vowel", English, 1, u"boy", u"by"},
    {"final_y_after_match", English, 1, u"city", u"cty"},
    {"y_not_final", English, 1, u"byte", u"bt"},
    {"final_y_not_in_default_table", German, 1, u"happy", u"hb"},
    // Budget: start characters are free, a replacement may overshoot by one.
    {"limit_stops", English, 1, u"abdfjklmnr", u"abtfjkl"},
    {"limit_overshoot", English, 1, u"abdfjmxr", u"abtfjmks"},
    {"limit_two", English, 1, u"abdfjk", u"abt", 2},
    {"limit_zero_stops_at_first", English, 1, u"abdf", u"ab", 0},
    // French and default tables.
    {"french_sages", French, 1, u"sages", u"sgx"},
    {"french_pairs", French, 0, u"pkdnjzv", u"bcdmgxf", 10},
    {"french_final_y_dropped", French, 1, u"happy", u"hb"},
    {"default_sages", German, 1, u"sages", u"skk"},
    {"default_pairs", German, 0, u"fjtnl", u"bkdml"},
    {"default_language_zero", 0, 0, u"pvr", u"br"},
    // Russian rules use code points U+00E0..U+00FF; real Cyrillic letters match nothing.
    {"cyrillic_russian", Russian, 1, u"кошка", u"к"},
    {"russian_single", Russian, 1, u"\u00EA\u00EE\u00F2", u"\u00EA\u00E0\u00F2\u00FC"},
    {"russian_three_char_rule", Russian, 1, u"\u00E4\u00EE\u00F0\u00EE\u00E3\u00E0",
     u"\u00E4\u00EE\u00F0\u00E0\u00E3\u00FC"},
    {"russian_double_consumes_two", Russian, 0, u"\u00ED\u00ED\u00E0", u"\u00ED"},
    {"russian_lookahead_one", Russian, 0, u"\u00F1\u00F8\u00E0", u"\u00F8"},
    {"russian_repeat", Russian, 0, u"\u00E4\u00F2", u"\u00F2"},
    {"russian_shch", Russian, 0, u"\u00F9\u00F3", u"\u00F8\u00FE"},
};

INSTANTIATE_TEST_SUITE_P(Tables, PhoneticCode, ::testing::ValuesIn(CodeCases),
                         [](const auto &info) { return std::string(info.param.Name); });

TEST(PhoneticsMap, Defaults)
{
  TPhoneticsMap map;
  EXPECT_EQ(map.StartDepth(), 1);
  EXPECT_TRUE(map.RemoveDupes());
  EXPECT_EQ(map.Limit(), 6);
  EXPECT_EQ(map.Language(), 0xFFFFFFFFu);
  EXPECT_EQ(map.DistanceDivisor(), 2);
  EXPECT_EQ(map.DistanceMax(), 4);
  EXPECT_FALSE(map.HasChildren());
  // Without rules every character is unmatched: only the start characters remain.
  EXPECT_EQ(map.GetMapping(u"phone"_s), u"p"_s);
}

TEST(PhoneticsMap, StartDepthIgnoresZeroAndBelow)
{
  TPhoneticsMap map;
  map.SetStartDepth(3);
  EXPECT_EQ(map.StartDepth(), 3);
  map.SetStartDepth(0);
  EXPECT_EQ(map.StartDepth(), 3);
  map.SetStartDepth(-2);
  EXPECT_EQ(map.StartDepth(), 3);
}

TEST(PhoneticsMap, SameLanguageKeepsTreeOtherRebuilds)
{
  TPhoneticsMap map;
  map.SetLanguage(English);
  map.AddMap(u"q"_s, u"Q"_s, 1);
  EXPECT_EQ(map.GetMapping(u"aq"_s), u"aQ"_s);
  map.SetLanguage(English);
  EXPECT_EQ(map.GetMapping(u"aq"_s), u"aQ"_s);
  // Same low byte, other identifier: the table is loaded afresh.
  map.SetLanguage(2057);
  EXPECT_EQ(map.GetMapping(u"aq"_s), u"ak"_s);
  map.SetLanguage(0);
  EXPECT_EQ(map.GetMapping(u"ph"_s), u"p"_s);
  map.SetLanguage(English);
  map.SetStartDepth(1);
  EXPECT_EQ(map.GetMapping(u"xph"_s), u"xf"_s);
}

// Switching back to a table reuses its tree only while nobody edited it; the mapping key names the
// rules in force, so codes kept under a key stay right.
TEST(PhoneticsMap, TablesComeBackAsLoadedAndKeysFollowTheRules)
{
  TPhoneticsMap map;
  map.SetLanguage(English);
  const auto englishKey = map.MappingKey();
  map.SetLanguage(0);
  const auto defaultKey = map.MappingKey();
  EXPECT_NE(englishKey, defaultKey);
  map.AddMap(u"b"_s, u"Z"_s, 1);
  EXPECT_EQ(map.GetMapping(u"ab"_s), u"aZ"_s);
  EXPECT_NE(map.MappingKey(), defaultKey);
  map.SetLanguage(English);
  EXPECT_EQ(map.MappingKey(), englishKey);
  EXPECT_EQ(map.GetMapping(u"aph"_s), u"af"_s);
  map.SetLanguage(0); // the edited default tree was not kept
  EXPECT_EQ(map.MappingKey(), defaultKey);
  EXPECT_EQ(map.GetMapping(u"ab"_s), u"ab"_s);
  EXPECT_EQ(map.GetMapping(u"aph"_s), u"ab"_s);
  map.SetLanguage(English);
  map.ClearMap();
  EXPECT_NE(map.MappingKey(), englishKey);
  EXPECT_EQ(map.GetMapping(u"aph"_s), u"a"_s);
  map.SetLanguage(0);
  map.SetLanguage(English); // the cleared tree was not kept either
  EXPECT_EQ(map.GetMapping(u"aph"_s), u"af"_s);
  map.SetStartDepth(2);
  EXPECT_NE(map.MappingKey(), englishKey);
}

TEST(ReplaceNode, LongestMatchFallsBackToShorterRule)
{
  TReplaceNode root;
  root.AddMap(u"ab"_s, u"X"_s, 2);
  root.AddMap(u"abcd"_s, u"Y"_s, 4);
  struct {
    const char16_t *Text;
    int Index;
    bool Matched;
    const char16_t *Dest;
    int Length;
  } cases[] = {
      {u"abcd", 1, true, u"Y", 4},
      {u"abce", 1, true, u"X", 2}, // the walk reaches c, finds no d,
                                   // falls back to ab
      {u"abc", 1, true, u"X", 2},
      {u"xabcd", 2, true, u"Y", 4},
      {u"a", 1, false, u"", 0},
      {u"ab", 3, false, u"", 0},
      {u"", 1, false, u"", 0},
  };
  for (const auto &c : cases) {
    QString dest = u"stale"_s;
    int length = 0;
    const QString text = QString::fromUtf16(c.Text);
    EXPECT_EQ(root.Match(text, dest, c.Index, length), c.Matched) << text.toStdString();
    EXPECT_EQ(dest, QString::fromUtf16(c.Dest)) << text.toStdString();
    if (c.Matched) {
      EXPECT_EQ(length, c.Length) << text.toStdString();
    }
  }
}

TEST(ReplaceNode, CharactersAboveLatin1AndReplacement)
{
  TReplaceNode root;
  root.AddMap(u"ш"_s, u"sh"_s, 1);
  root.AddMap(u"шч"_s, u"shch"_s, 2);
  root.AddMap(u"\u00FF\u0100"_s, u"edge"_s, 2);
  QString dest;
  int length = 0;
  ASSERT_TRUE(root.Match(u"шч"_s, dest, 1, length));
  EXPECT_EQ(dest, u"shch"_s);
  EXPECT_EQ(length, 2);
  ASSERT_TRUE(root.Match(u"\u00FF\u0100"_s, dest, 1, length));
  EXPECT_EQ(dest, u"edge"_s);
  // Keys are code units: the capital letter is another key.
  EXPECT_FALSE(root.Match(u"Ш"_s, dest, 1, length));

  // The same pattern again replaces the earlier rule.
  root.AddMap(u"ш"_s, u"x"_s, 1);
  ASSERT_TRUE(root.Match(u"шa"_s, dest, 1, length));
  EXPECT_EQ(dest, u"x"_s);

  // An empty replacement is still a match.
  root.AddMap(u"q"_s, QString(), 1);
  EXPECT_TRUE(root.Match(u"q"_s, dest, 1, length));
  EXPECT_TRUE(dest.isEmpty());

  root.ClearMap();
  EXPECT_FALSE(root.HasChildren());
  EXPECT_FALSE(root.Match(u"ш"_s, dest, 1, length));
  EXPECT_FALSE(root.Match(u"q"_s, dest, 1, length));
}

TEST(PhoneticsMap, RuleConsumingNothingStillAdvances)
{
  TPhoneticsMap map;
  map.AddMap(u"a"_s, u"b"_s, 0);
  EXPECT_EQ(map.GetMapping(u"xaaa"_s), u"xbbb"_s);
}

// --- The tree walk gives the codes Match gives ---------------------------------------------------

// GetMapping as it was written first, on the public Match and QString::toLower: the reference the
// faster coding must equal for every word and map state.
QString ReferenceMapping(const TPhoneticsMap &map, const QString &Word)
{
  const QString W = Word.toLower();
  QString C;
  if (W.isEmpty())
    return C;
  int budget = map.Limit();
  int pos = 0;
  if (map.StartDepth() > 0) {
    C = W.left(map.StartDepth());
    pos = int(C.size());
  }
  const bool english = (map.Language() & 0xFF) == 9;
  bool previousUnmatched = false;
  QString R;
  while (pos < W.size()) {
    int n = 1;
    if (map.Match(W, R, pos + 1, n)) {
      const bool repeat = map.RemoveDupes() && !C.isEmpty() && n == 1 && !previousUnmatched &&
                          !R.isEmpty() && R.at(0) == C.back();
      if (!repeat) {
        C += R;
        budget -= int(R.size());
        if (budget <= 0)
          return C;
      }
      previousUnmatched = false;
      if (n < 1)
        n = 1;
    } else {
      n = 1;
      previousUnmatched = true;
      if (pos == W.size() - 1 && english && W.at(pos) == u'y')
        C += u'y';
    }
    pos += n;
  }
  return C;
}

struct TRuleSet {
  const char *Name;
  quint32 Language; // NoLanguage: no table loaded
  std::function<void(TPhoneticsMap &)> Edit;
};

// The four tables, a map without rules, and rules added by hand: one consuming nothing, patterns
// longer than what they consume, keys above Latin-1 and on surrogates, a replacement longer than
// the limit, a negative length, and a rule at the root that matches everywhere.
const TRuleSet RuleSets[] = {
    {"english", English, nullptr},
    {"russian", Russian, nullptr},
    {"french", French, nullptr},
    {"default", 0, nullptr},
    {"none", TPhoneticsMap::NoLanguage, nullptr},
    {"english_edited", English,
     [](TPhoneticsMap &m) {
       m.AddMap(u"e"_s, u"E"_s, 0);
       m.AddMap(u"xyz"_s, u"Q"_s, 1);
       m.AddMap(u"shq"_s, u"sk"_s, 2);
       m.AddMap(u"ш"_s, u"sh"_s, 1);
       m.AddMap(u"шч"_s, u"щ"_s, 2);
       m.AddMap(u"\U00010428"_s, u"D"_s, 2);
       m.AddMap(u"\xDC28"_s, u"L"_s, 1);
       m.AddMap(u"i\u0307"_s, u"I"_s, 2);
       m.AddMap(u"k"_s, u"kkkkkkkk"_s, 1);
       m.AddMap(u"q"_s, QString(), -3);
       m.AddMap(u"\u00EA\u00EE"_s, u"\u00EA"_s, 1);
     }},
    {"root_rule", TPhoneticsMap::NoLanguage,
     [](TPhoneticsMap &m) {
       m.AddMap(QString(), u"?"_s, 1);
       m.AddMap(u"b"_s, u"bb"_s, 1);
       m.AddMap(u"ab"_s, u"a"_s, 3);
       m.AddMap(u"y"_s, QString(), 1);
     }},
};

void Load(TPhoneticsMap &map, const TRuleSet &rules)
{
  if (rules.Language != TPhoneticsMap::NoLanguage)
    map.SetLanguage(rules.Language);
  if (rules.Edit)
    rules.Edit(map);
}

// Compares the codes of Words under every rule set and setting: the subclass's tree walk and
// Match-based coding, and GetMapping of the class itself (whose start depth is at least 1).
void ExpectCodesEqualReference(const QStringList &Words, const std::vector<int> &Limits)
{
  int failures = 0;
  for (const TRuleSet &rules : RuleSets) {
    TTestPhoneticsMap test;
    Load(test, rules);
    TPhoneticsMap plain;
    Load(plain, rules);
    for (int depth : {0, 1, 2, 3})
      for (int limit : Limits)
        for (bool dupes : {true, false}) {
          test.ForceStartDepth(depth);
          test.SetLimit(limit);
          test.SetRemoveDupes(dupes);
          plain.SetStartDepth(depth);
          plain.SetLimit(limit);
          plain.SetRemoveDupes(dupes);
          for (const QString &w : Words) {
            const QString want = ReferenceMapping(test, w);
            const QString tree = test.TreeMapping(w);
            const QString match = test.MatchMapping(w);
            const QString subclass = test.GetMapping(w);
            const QString own = depth > 0 ? plain.GetMapping(w) : want;
            if (tree == want && match == want && subclass == want && own == want)
              continue;
            ADD_FAILURE() << rules.Name << " depth " << depth << " limit " << limit << " dupes "
                          << dupes << " word " << qPrintable(w) << ": reference "
                          << qPrintable(want) << ", tree " << qPrintable(tree) << ", match "
                          << qPrintable(match) << ", GetMapping " << qPrintable(subclass) << "/"
                          << qPrintable(own);
            if (++failures == 20)
              return;
          }
        }
  }
}

// Words no dictionary holds: capitals (also Latin-1 ones that lower into the Russian table's code
// points), letters whose lower case is longer (U+0130), non-Latin-1 text, lone and paired
// surrogates, and 300-character words.
QStringList CraftedWords()
{
  // Separated by spaces, the empty word first.
  QStringList words =
      (u" a A y Y ß İ \u00C0 \u00D7 \u00DE \u00FF ш Ш \xD801 \xDC28 \U00010400 HAPPY"
       u" PhOnE \u00CA\u00CE\u00D2 İstanbul kİy кошка КОШКА щука шч Шч x\U00010400yz"
       u" \U00010400\U00010428 xyzzy shqy eee keep qqqy abby don't ÉCOLE Straße"_s)
          .split(u' ');
  words << QString(300, u'y') << u"ab"_s.repeated(150) << QString(300, u'ш')
        << u"Thought"_s.repeated(43);
  // Random words over an alphabet of all the above.
  const QString alphabet = u"abcdeghiklnopqstuwxyzABCHKLOSTY'0\u00C0\u00CA\u00CE\u00D7\u00DE"
                           u"\u00DF\u00E0\u00E4\u00E6\u00EA\u00ED\u00EE\u00F0\u00F1\u00F3\u00F7"
                           u"\u00F8\u00F9\u00FFшчШкİ\u0307\xD801\xDC00\xDC28"_s;
  std::mt19937 rng(11);
  for (int i = 0; i < 2000; ++i) {
    const int size = i < 20 ? 300 : int(rng() % 14);
    QString w;
    for (int k = 0; k < size; ++k)
      w += alphabet[qsizetype(rng() % alphabet.size())];
    words << w;
  }
  return words;
}

TEST(PhoneticsMapIdentity, CraftedAndRandomWords)
{
  ExpectCodesEqualReference(CraftedWords(), {1, 6, 100});
}

// The Latin-1 lower-casing shortcut against QString::toLower for every code unit, alone and
// between letters.
TEST(PhoneticsMapIdentity, EveryCodeUnit)
{
  for (const char *table : {"english", "russian"}) {
    const TRuleSet &rules =
        *std::find_if(std::begin(RuleSets), std::end(RuleSets),
                      [&](const TRuleSet &r) { return qstrcmp(r.Name, table) == 0; });
    TTestPhoneticsMap map;
    Load(map, rules);
    map.ForceStartDepth(0);
    map.SetLimit(100);
    int failures = 0;
    for (int u = 0; u <= 0xFFFF; ++u) {
      const QChar c{char16_t(u)};
      for (const QString &w : {QString(c), u"A"_s + c + u"y"_s}) {
        const QString want = ReferenceMapping(map, w);
        const QString got = map.TreeMapping(w);
        if (got != want && ++failures <= 20)
          ADD_FAILURE() << table << " U+" << std::hex << u << ": " << qPrintable(got)
                        << " instead of " << qPrintable(want);
      }
    }
  }
}

#ifdef LW_AUSSIE_WORDS
// Every word of the shipped list under the check session's setting, and a stride of it under
// every setting.
TEST(PhoneticsMapIdentity, ShippedWordList)
{
  QFile f(QStringLiteral(LW_AUSSIE_WORDS));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << LW_AUSSIE_WORDS;
  const QStringList all = QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
  ASSERT_GT(all.size(), 150000);
  QStringList sample;
  for (qsizetype i = 0; i < all.size(); i += 89)
    sample << all[i];
  ExpectCodesEqualReference(sample, {1, 6, 100});

  TPhoneticsMap map;
  map.SetLanguage(3081);
  map.SetStartDepth(2);
  int failures = 0;
  for (const QString &w : all)
    if (map.GetMapping(w) != ReferenceMapping(map, w) && ++failures <= 20)
      ADD_FAILURE() << qPrintable(w);
}
#endif

// A subclass's Match is what its codes come from.
TEST(PhoneticsMapIdentity, OverriddenMatchIsHonoured)
{
  class TShoutingMap : public TPhoneticsMap {
  public:
    bool Match(const QString &Text, QString &Dest, int Index, int &SourceLength) const override
    {
      const bool matched = TPhoneticsMap::Match(Text, Dest, Index, SourceLength);
      Dest = Dest.toUpper();
      return matched;
    }
  };
  TShoutingMap map;
  map.SetLanguage(English);
  EXPECT_EQ(map.GetMapping(u"phone"_s), u"pHN"_s);
  EXPECT_EQ(map.GetMapping(u"phone"_s), ReferenceMapping(map, u"phone"_s));
}

TEST(PhoneticsMap, AcceptableDistance)
{
  struct {
    int Length;
    int Dist;
    bool Accepted;
  } cases[] = {
      {5, 2, true},   {5, 3, false},  {7, 3, true}, {7, 4, false}, {10, 4, true},
      {10, 5, false}, {12, 5, false}, // DistanceMax 4 caps long words
      {3, 1, true},   {3, 2, false},  {1, 0, true}, {0, 0, true},  {1, 1, false},
  };
  TPhoneticsMap map;
  for (const auto &c : cases)
    EXPECT_EQ(map.AcceptableDistance(QString(c.Length, u'a'), c.Dist), c.Accepted)
        << c.Length << " letters, distance " << c.Dist;

  map.SetDistanceMax(2);
  EXPECT_FALSE(map.AcceptableDistance(QString(10, u'a'), 3));
  map.SetDistanceDivisor(3);
  EXPECT_TRUE(map.AcceptableDistance(QString(6, u'a'), 2));
  EXPECT_FALSE(map.AcceptableDistance(QString(5, u'a'), 2));
  // No divisor: only the maximum applies (and no division by zero).
  map.SetDistanceDivisor(0);
  EXPECT_TRUE(map.AcceptableDistance(QString(1, u'a'), 2));
  EXPECT_FALSE(map.AcceptableDistance(QString(1, u'a'), 3));
}

} // namespace
