#pragma once
// Ignore-rule case tables shared by the string-parser and the window-parser tests: the words
// the engine forms with the rules attached, and of those the ones the post-check accepts (as
// if no dictionary knew them).

#include "parser_test_util.h"
#include "wrIgnore.h"

#include <memory>
#include <string>
#include <vector>

enum IgnoreRuleBit { Url = 1, Upcase = 2, Numbers = 4, Html = 8, Quoted = 16, Abbrev = 32 };

inline void RegisterRules(TIgnoreRules &rules, int which)
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

struct IgnoreOutcome {
  QStringList formed;
  QStringList accepted;
};

// Runs the engine with the rules over a parser already bound to its text.
inline IgnoreOutcome RunRules(int which, TControlParser &parser)
{
  TIgnoreRules rules;
  RegisterRules(rules, which);
  TMainParsingEngine engine;
  rules.AttachTo(engine);
  IgnoreOutcome out;
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

struct IgnoreCase {
  int rules;
  std::string text;
  QStringList formed;
  QStringList accepted;
};

inline std::vector<IgnoreCase> InternetCases()
{
  std::vector<IgnoreCase> cases;
  for (const char *scheme :
       {"http", "ftp", "news", "mailto", "nntp", "file", "https", "telnet", "wais"})
    cases.push_back(
        {Url, std::string("see ") + scheme + "://host.example/a?b=c,next", {"see", "next"}, {}});
  cases.insert(cases.end(),
               {
                   {Url, "HTTPS://Example.COM/Path x", {"x"}, {}},
                   {Url, "mailto:someone@example.org", {}, {}},
                   {Url, "mail john.doe@example.com today", {"mail", "today"}, {}},
                   {Url, "(a@b.c) d", {"d"}, {}},
                   {Url, "go www.example.com/path/page.htm now", {"go", "now"}, {}},
                   {Url, "go www.example.com\\share now", {"go", "now"}, {}},
                   {Url,
                    "visit www.example.com today",
                    {"visit", "www.example.com", "today"},
                    {"www.example.com"}},
                   {Url, "note: this", {"note", "this"}, {}},
                   {Url, "example.com/path", {"example.com", "path"}, {}},
                   {Url, "http://a.b\tafter", {"after"}, {}},
                   {Url, "http://a.b\"quoted\"", {"quoted"}, {}},
                   {Url, "http://a.b<tag>", {"tag"}, {}},
                   {Url, "http://a.b'x'", {"x"}, {}},
                   {Url, "http://a.b{c}[d]", {"c", "d"}, {}},
                   {0, "see http://host.example/a", {"see", "http", "host.example", "a"}, {}},
               });
  return cases;
}

inline std::vector<IgnoreCase> MarkupCases()
{
  return {
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
  };
}

inline std::vector<IgnoreCase> PostCheckCases()
{
  return {
      {Upcase,
       "NASA R2D2 Nasa 42 \u00c9T\u00c9 \u00e9t\u00e9",
       {"NASA", "R2D2", "Nasa", "42", "\u00c9T\u00c9", "\u00e9t\u00e9"},
       {"NASA", "R2D2", "42", "\u00c9T\u00c9"}},
      {Numbers, "abc1 2nd abc 3.14", {"abc1", "2nd", "abc", "3.14"}, {"abc1", "2nd", "3.14"}},
      {Abbrev,
       "a.b.c. ab.c U.S.A. e.g. i.e etc. Mr. plain",
       {"a.b.c.", "ab.c", "U.S.A.", "e.g.", "i.e", "etc", "Mr", "plain"},
       {"a.b.c.", "U.S.A.", "e.g.", "i.e"}},
      {Upcase | Numbers | Abbrev, "mixed Word", {"mixed", "Word"}, {}},
      {Quoted, "> helo wrld", {"helo", "wrld"}, {"helo", "wrld"}},
      {Quoted, " > helo", {"helo"}, {}},
  };
}

// Every table above, for the parsers that run them all.
inline std::vector<IgnoreCase> AllIgnoreCases()
{
  std::vector<IgnoreCase> all = InternetCases();
  for (auto table : {MarkupCases(), PostCheckCases()})
    all.insert(all.end(), table.begin(), table.end());
  return all;
}
