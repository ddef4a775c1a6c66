#include "parser_test_util.h"
#include "wrIgnore.h"

#include <gtest/gtest.h>

namespace {
enum Rule { Url = 1, Upcase = 2, Numbers = 4, Html = 8, Quoted = 16, Abbrev = 32 };

void Register(TIgnoreRules &rules, int which)
{
  if (which & Url)
    rules.AddIgnore(std::make_unique<TURLIgnore>());
  if (which & Upcase)
    rules.AddIgnore(std::make_unique<TUppercaseWordIgnore>());
  if (which & Numbers)
    rules.AddIgnore(std::make_unique<TNumbersIgnore>());
  if (which & Html)
    rules.AddIgnore(std::make_unique<THTMLIgnore>());
  if (which & Quoted) {
    auto q = std::make_unique<TQuotedLineIgnore>();
    q->QuoteChars = QStringLiteral(">");
    rules.AddIgnore(std::move(q));
  }
  if (which & Abbrev)
    rules.AddIgnore(std::make_unique<TAbbreviationsIgnore>());
}

// Words the engine forms with the rules attached, and of those the ones the post-check accepts
// (as if no dictionary knew them).
struct Outcome {
  QStringList formed;
  QStringList accepted;
};

Outcome Run(int which, const QString &Text)
{
  TIgnoreRules rules;
  Register(rules, which);
  TMainParsingEngine engine;
  rules.AttachTo(engine);
  QString text = Text;
  TStringParser parser;
  parser.Initialize(&text);
  Outcome out;
  for (int guard = 0; guard < 1000; ++guard) {
    const QString w = engine.NextWord(&parser);
    if (w.isEmpty())
      break;
    out.formed << w;
    if (rules.RunPostCheckIgnore(w, &parser))
      out.accepted << w;
  }
  return out;
}

struct Case {
  int rules;
  const char *text;
  QStringList formed;
  QStringList accepted;
};

void RunCases(const std::vector<Case> &cases)
{
  for (const Case &c : cases) {
    const Outcome o = Run(c.rules, QString::fromUtf8(c.text));
    EXPECT_EQ(o.formed, c.formed) << c.text << " formed " << Show(o.formed);
    EXPECT_EQ(o.accepted, c.accepted) << c.text << " accepted " << Show(o.accepted);
  }
}
} // namespace

TEST(IgnoreRules, InternetAddresses)
{
  std::vector<Case> cases;
  for (const char *scheme : {"http", "ftp", "news", "mailto", "nntp", "file", "https", "telnet", "wais"}) {
    static std::vector<std::string> keep; // the table holds pointers
    keep.push_back(std::string("see ") + scheme + "://host.example/a?b=c,next");
    cases.push_back({Url, keep.back().c_str(), {"see", "next"}, {}});
  }
  cases.insert(cases.end(), {
      {Url, "HTTPS://Example.COM/Path x", {"x"}, {}},
      {Url, "mailto:someone@example.org", {}, {}},
      {Url, "mail john.doe@example.com today", {"mail", "today"}, {}},
      {Url, "(a@b.c) d", {"d"}, {}},
      {Url, "go www.example.com/path/page.htm now", {"go", "now"}, {}},
      {Url, "go www.example.com\\share now", {"go", "now"}, {}},
      {Url, "visit www.example.com today", {"visit", "www.example.com", "today"}, {"www.example.com"}},
      {Url, "note: this", {"note", "this"}, {}},
      {Url, "example.com/path", {"example.com", "path"}, {}},
      {Url, "http://a.b\tafter", {"after"}, {}},
      {Url, "http://a.b\"quoted\"", {"quoted"}, {}},
      {Url, "http://a.b<tag>", {"tag"}, {}},
      {Url, "http://a.b'x'", {"x"}, {}},
      {Url, "http://a.b{c}[d]", {"c", "d"}, {}},
      {0, "see http://host.example/a", {"see", "http", "host.example", "a"}, {}},
  });
  RunCases(cases);
}

TEST(IgnoreRules, Markup)
{
  RunCases({
      {Html, "<b>bold</b>", {"bold"}, {}},
      {Html, "<a href=\"x.htm\">link</a> text", {"link", "text"}, {}},
      {Html, "<>empty", {"empty"}, {}},
      {Html, "a <!-- x > y --> after", {"a", "after"}, {}},
      {Html, "<!-- one -- two -> three --> four", {"four"}, {}},
      {Html, "<?php if (a > b) echo ?> x", {"x"}, {}},
      {Html, "<% a > b %> y", {"y"}, {}},
      {Html, "<?xml a='b' ?>z", {"z"}, {}},
      {Html, "<% a ?> b %> c", {"c"}, {}},
      {Html, "text <", {"text"}, {}},
      {Html, "text <unclosed tag", {"text"}, {}},
      {Html, "&nbsp;x &amp; y", {"&nbsp", "x", "&amp", "y"}, {"&nbsp", "&amp"}},
      {Html, "a > b", {"a", "b"}, {}},
      {0, "<b>bold</b>", {"b", "bold", "b"}, {}},
  });
}

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
  RunCases({
      {Upcase, "NASA R2D2 Nasa 42 \u00c9T\u00c9 \u00e9t\u00e9", {"NASA", "R2D2", "Nasa", "42", "\u00c9T\u00c9", "\u00e9t\u00e9"},
       {"NASA", "R2D2", "42", "\u00c9T\u00c9"}},
      {Numbers, "abc1 2nd abc 3.14", {"abc1", "2nd", "abc", "3.14"}, {"abc1", "2nd", "3.14"}},
      {Abbrev, "a.b.c. ab.c U.S.A. e.g. i.e etc. Mr. plain", {"a.b.c.", "ab.c", "U.S.A.", "e.g.", "i.e", "etc", "Mr", "plain"},
       {"a.b.c.", "U.S.A.", "e.g.", "i.e"}},
      {Upcase | Numbers | Abbrev, "mixed Word", {"mixed", "Word"}, {}},
  });
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
  for (const LineCase &c : {LineCase{"> quoted reply", true}, LineCase{"| piped", true}, LineCase{" > indented", false},
                            LineCase{"", false}, LineCase{"plain > text", false}}) {
    EXPECT_EQ(rule.ExecuteLineIgnore(QString::fromUtf8(c.line)), c.ignored) << c.line;
  }
  // The post-check asks the parser for the current line; without a parser it accepts nothing.
  RunCases({
      {Quoted, "> helo wrld", {"helo", "wrld"}, {"helo", "wrld"}},
      {Quoted, " > helo", {"helo"}, {}},
  });
  EXPECT_FALSE(rule.ExecuteWordIgnorePostCheck(QStringLiteral("x"), nullptr));
}

TEST(IgnoreRules, RegistrationListsAndRunners)
{
  TIgnoreRules rules;
  rules.AddIgnore(nullptr);
  Register(rules, Url | Upcase | Numbers | Html | Quoted | Abbrev);
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
    bool ExecuteWordIgnorePreCheck(const QString &w, TControlParser *) override { return w == u"secret"; }
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
