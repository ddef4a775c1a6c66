#pragma once
// Ignore rules: Internet addresses, words in capitals, words with digits, markup,
// quoted lines and abbreviations; and TIgnoreRules, the lists that run them.

#include "wrParserBase.h"

#include <memory>
#include <vector>

class TParsingEngine;

// Answers False to every hook; each rule overrides only what it needs.
class TParserIgnoreBase : public TParserIgnore {
public:
  bool NeededBeforeCheck() override { return false; }
  bool LineCheckNeeded() override { return false; }
  bool ExecuteIgnore(QChar, TControlParser *) override { return false; }
  bool ExecuteWordIgnorePreCheck(const QString &, TControlParser *) override { return false; }
  bool ExecuteWordIgnorePostCheck(const QString &, TControlParser *) override { return false; }
  bool ExecuteLineIgnore(const QString &) override { return false; }
};

// Internet and e-mail addresses: skipped from the scheme or local part to the next break
// character; bare "www." host names are accepted.
class TURLIgnore : public TParserIgnoreBase {
public:
  bool NeededBeforeCheck() override { return true; }
  bool ExecuteWordIgnorePreCheck(const QString &CurrentWord, TControlParser *Parser) override;
  bool ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *Parser) override;
};

// Words that equal their own upper-case form.
class TUppercaseWordIgnore : public TParserIgnoreBase {
public:
  bool ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *Parser) override;
};

// Words that contain a digit.
class TNumbersIgnore : public TParserIgnoreBase {
public:
  bool ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *Parser) override;
};

// Markup: tags, comments and '<?' / '<%' blocks are skipped; '&' entities are accepted.
class THTMLIgnore : public TParserIgnoreBase {
public:
  bool NeededBeforeCheck() override { return true; }
  bool ExecuteIgnore(QChar CurrentChar, TControlParser *Parser) override;
  bool ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *Parser) override;

  // Matches S from the cursor on. On success the cursor stands on the last matched
  // character; on failure it is back where it started.
  static bool MatchSequence(const QString &S, TControlParser *Parser);
};

// Lines of an e-mail reply that begin with a quote character.
class TQuotedLineIgnore : public TParserIgnoreBase {
public:
  bool LineCheckNeeded() override { return true; }
  bool ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *Parser) override;
  bool ExecuteLineIgnore(const QString &CurrentLine) override;

  QString QuoteChars;
};

// Single letters each followed by a period (U.S.A., e.g.).
class TAbbreviationsIgnore : public TParserIgnoreBase {
public:
  bool ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *Parser) override;
};

// The registered rules and the four hook runners. The spell component keeps one of these;
// a program may register rules of its own through AddIgnore.
class TIgnoreRules {
public:
  // Takes ownership; does nothing for a null entry.
  void AddIgnore(std::unique_ptr<TParserIgnore> IgnoreEntry);
  void ClearIgnoreList();

  void RunInlineIgnore(QChar CurrentChar, TControlParser *Parser, bool &Ignore);
  void RunPreCheckIgnore(const QString &Word, TControlParser *Parser, bool &Ignore);
  bool RunPostCheckIgnore(const QString &Word, TControlParser *Parser);
  bool RunLineIgnore(const QString &Line);

  // Binds Engine's OnInlineIgnore and OnPreCheckIgnore to this list's runners.
  void AttachTo(TParsingEngine &Engine);

  const std::vector<TParserIgnore *> &IgnoreEntries() const { return FIgnoreEntries; }
  const std::vector<TParserIgnore *> &IgnoreEntriesLine() const { return FIgnoreEntriesLine; }
  const std::vector<std::unique_ptr<TParserIgnore>> &IgnoreEntriesPost() const
  {
    return FIgnoreEntriesPost;
  }

private:
  std::vector<TParserIgnore *> FIgnoreEntries;                    // NeededBeforeCheck, not owning
  std::vector<TParserIgnore *> FIgnoreEntriesLine;                // LineCheckNeeded, not owning
  std::vector<std::unique_ptr<TParserIgnore>> FIgnoreEntriesPost; // all, owning
};
