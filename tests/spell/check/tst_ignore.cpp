#include "ignore_test_util.h"

#include <gtest/gtest.h>

namespace {
void RunCases(const std::vector<IgnoreCase> &cases)
{
  for (const IgnoreCase &c : cases) {
    QString text = QString::fromStdString(c.text);
    TStringParser parser;
    parser.Initialize(&text);
    const IgnoreOutcome o = RunRules(c.rules, parser);
    EXPECT_EQ(o.formed, c.formed) << c.text << " formed " << Show(o.formed);
    EXPECT_EQ(o.accepted, c.accepted) << c.text << " accepted " << Show(o.accepted);
  }
}
} // namespace

TEST(IgnoreRules, InternetAddresses) { RunCases(InternetCases()); }

TEST(IgnoreRules, Markup) { RunCases(MarkupCases()); }

TEST(IgnoreRules, MarkupTagEndingTheTextIsSkipped)
{
  QString text = QStringLiteral("a<");
  TStringParser parser;
  parser.Initialize(&text);
  parser.SetPosition(2, 0, ptCurrent);
  THTMLIgnore rule;
  EXPECT_TRUE(rule.ExecuteIgnore(QChar(u'<'), &parser));
  EXPECT_FALSE(rule.ExecuteIgnore(QChar(u'a'), &parser));
}

TEST(IgnoreRules, MatchSequenceRestoresTheCursorOnFailure)
{
  QString text = QStringLiteral("--x-->");
  TStringParser parser;
  parser.Initialize(&text);
  int x = 0, y = 0;
  EXPECT_FALSE(THTMLIgnore::MatchSequence(QStringLiteral("-->"), &parser));
  parser.GetPosition(x, y);
  EXPECT_EQ(x, 1);
  parser.SetPosition(4, 0, ptCurrent);
  EXPECT_TRUE(THTMLIgnore::MatchSequence(QStringLiteral("-->"), &parser));
  parser.GetPosition(x, y);
  EXPECT_EQ(x, 6); // on the last matched character
}

TEST(IgnoreRules, PostCheckRules)
{
  RunCases(PostCheckCases()); // quoted lines included
  TAbbreviationsIgnore abbreviations;
  EXPECT_FALSE(abbreviations.ExecuteWordIgnorePostCheck(QStringLiteral("etc."), nullptr));
  EXPECT_FALSE(abbreviations.ExecuteWordIgnorePostCheck(QStringLiteral("Mr."), nullptr));
  EXPECT_FALSE(abbreviations.ExecuteWordIgnorePostCheck(QStringLiteral("ab"), nullptr));
  EXPECT_TRUE(abbreviations.ExecuteWordIgnorePostCheck(QStringLiteral("a."), nullptr));
}

TEST(IgnoreRules, QuotedLines)
{
  TQuotedLineIgnore rule;
  rule.QuoteChars = QStringLiteral(">|");
  struct LineCase {
    const char *line;
    bool ignored;
  };
  for (const LineCase &c :
       {LineCase{"> quoted reply", true}, LineCase{"| piped", true}, LineCase{" > indented", false},
        LineCase{"", false}, LineCase{"plain > text", false}}) {
    EXPECT_EQ(rule.ExecuteLineIgnore(QString::fromUtf8(c.line)), c.ignored) << c.line;
  }
  // Without a parser there is no line to judge.
  EXPECT_FALSE(rule.ExecuteWordIgnorePostCheck(QStringLiteral("x"), nullptr));
}

TEST(IgnoreRules, RegistrationListsAndRunners)
{
  TIgnoreRules rules;
  rules.AddIgnore(nullptr);
  RegisterRules(rules, Url | Upcase | Numbers | Html | Quoted | Abbrev);
  ASSERT_EQ(rules.IgnoreEntriesPost().size(), 6u);
  ASSERT_EQ(rules.IgnoreEntries().size(), 2u);
  EXPECT_NE(dynamic_cast<TURLIgnore *>(rules.IgnoreEntries()[0]), nullptr);
  EXPECT_NE(dynamic_cast<THTMLIgnore *>(rules.IgnoreEntries()[1]), nullptr);
  ASSERT_EQ(rules.IgnoreEntriesLine().size(), 1u);
  EXPECT_NE(dynamic_cast<TQuotedLineIgnore *>(rules.IgnoreEntriesLine()[0]), nullptr);
  EXPECT_NE(dynamic_cast<TAbbreviationsIgnore *>(rules.IgnoreEntriesPost()[5].get()), nullptr);

  EXPECT_TRUE(rules.RunLineIgnore(QStringLiteral(">x")));
  EXPECT_FALSE(rules.RunLineIgnore(QStringLiteral("x")));
  EXPECT_TRUE(rules.RunPostCheckIgnore(QStringLiteral("NASA"), nullptr));
  EXPECT_FALSE(rules.RunPostCheckIgnore(QStringLiteral("word"), nullptr));
  bool ignore = true;
  QString text = QStringLiteral("plain");
  TStringParser parser;
  parser.Initialize(&text);
  rules.RunInlineIgnore(QChar(u'p'), &parser, ignore);
  EXPECT_FALSE(ignore);
  rules.RunPreCheckIgnore(QStringLiteral("plain"), &parser, ignore);
  EXPECT_FALSE(ignore);

  // A rule of the program's own is run like the built-in ones.
  struct Mine : TParserIgnoreBase {
    bool NeededBeforeCheck() override { return true; }
    bool ExecuteWordIgnorePreCheck(const QString &w, TControlParser *) override
    {
      return w == u"secret";
    }
  };
  rules.AddIgnore(std::make_unique<Mine>());
  rules.RunPreCheckIgnore(QStringLiteral("secret"), &parser, ignore);
  EXPECT_TRUE(ignore);

  rules.ClearIgnoreList();
  EXPECT_TRUE(rules.IgnoreEntries().empty());
  EXPECT_TRUE(rules.IgnoreEntriesLine().empty());
  EXPECT_TRUE(rules.IgnoreEntriesPost().empty());
  EXPECT_FALSE(rules.RunLineIgnore(QStringLiteral(">x")));
}
