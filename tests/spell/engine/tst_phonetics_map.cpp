#include "wrPhoneticsMap.h"

#include <gtest/gtest.h>

#include <ostream>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr quint32 English = 1033; // en-US, low byte 9
constexpr quint32 Russian = 1049; // low byte 25
constexpr quint32 French = 1036;  // low byte 12
constexpr quint32 German = 1031;  // default table

// The start depth property refuses 0; the code itself is defined for it, so reach the field.
class TTestPhoneticsMap : public TPhoneticsMap {
public:
  void ForceStartDepth(int V) { FStartDepth = V; }
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
