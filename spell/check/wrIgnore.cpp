#include "wrIgnore.h"

#include <QLocale>

namespace {
bool IsUrlBreak(QChar c)
{
  switch (c.unicode()) {
  case u'\r':
  case u'\n':
  case u'\t':
  case u' ':
  case u'"':
  case u'(':
  case u')':
  case u'[':
  case u']':
  case u'{':
  case u'}':
  case u',':
  case u'<':
  case u'>':
  case u'\'':
    return true;
  default:
    return false;
  }
}

bool IsUrlScheme(const QString &lower)
{
  static const char16_t *const schemes[] = {u"http", u"ftp",   u"news",   u"mailto", u"nntp",
                                            u"file", u"https", u"telnet", u"wais"};
  for (const char16_t *s : schemes)
    if (lower == QStringView(s))
      return true;
  return false;
}
} // namespace

// --- TURLIgnore -------------------------------------------------------------------------------

bool TURLIgnore::ExecuteWordIgnorePreCheck(const QString &CurrentWord, TControlParser *Parser)
{
  if (!Parser)
    return false;
  const QChar c = Parser->GetChar();
  bool address = false;
  if (c == u':')
    address = IsUrlScheme(CurrentWord.toLower());
  else if (c == u'@')
    address = true; // local part of an e-mail address
  else if (c == u'\\' || c == u'/')
    address = CurrentWord.toLower().startsWith(u"www.");
  if (!address)
    return false;
  while (!IsUrlBreak(Parser->GetChar())) {
    if (!Parser->MoveNext())
      break;
  }
  return true;
}

bool TURLIgnore::ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *)
{
  return CurrentWord.toLower().startsWith(u"www.");
}

// --- TUppercaseWordIgnore ---------------------------------------------------------------------

bool TUppercaseWordIgnore::ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *)
{
  return CurrentWord == QLocale().toUpper(CurrentWord);
}

// --- TNumbersIgnore ---------------------------------------------------------------------------

bool TNumbersIgnore::ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *)
{
  for (QChar c : CurrentWord)
    if (c >= u'0' && c <= u'9')
      return true;
  return false;
}

// --- THTMLIgnore ------------------------------------------------------------------------------

bool THTMLIgnore::MatchSequence(const QString &S, TControlParser *Parser)
{
  if (S.isEmpty() || Parser->GetChar() != S.front())
    return false;
  if (S.size() == 1)
    return true;
  Parser->MoveNext();
  if (MatchSequence(S.mid(1), Parser))
    return true;
  Parser->MovePrevious();
  return false;
}

bool THTMLIgnore::ExecuteIgnore(QChar CurrentChar, TControlParser *Parser)
{
  if (CurrentChar != u'<' || !Parser)
    return false;
  if (!Parser->MoveNext())
    return true; // a '<' at the very end counts as a skipped tag
  const bool isComment = MatchSequence(QStringLiteral("!--"), Parser);
  const QChar second = Parser->GetChar();
  const bool isScript = !isComment && (second == u'%' || second == u'?');
  bool prevWasSecond = false;
  auto finished = [&]() {
    if (isComment)
      return MatchSequence(QStringLiteral("-->"), Parser);
    if (isScript)
      return Parser->GetChar() == u'>' && prevWasSecond; // "?>" or "%>"
    return Parser->GetChar() == u'>';
  };
  while (!finished()) {
    prevWasSecond = Parser->GetChar() == second;
    if (!Parser->MoveNext())
      return true;
  }
  return true; // the cursor is on the closing '>'
}

bool THTMLIgnore::ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *)
{
  return CurrentWord.startsWith(u'&');
}

// --- TQuotedLineIgnore ------------------------------------------------------------------------

bool TQuotedLineIgnore::ExecuteWordIgnorePostCheck(const QString &, TControlParser *Parser)
{
  if (!Parser)
    return false;
  return ExecuteLineIgnore(Parser->GetLine());
}

bool TQuotedLineIgnore::ExecuteLineIgnore(const QString &CurrentLine)
{
  return !CurrentLine.isEmpty() && QuoteChars.contains(CurrentLine.front());
}

// --- TAbbreviationsIgnore ---------------------------------------------------------------------

bool TAbbreviationsIgnore::ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *)
{
  if (!CurrentWord.contains(u'.'))
    return false;
  QStringView t(CurrentWord);
  while (t.size() > 2 && t[1] == u'.')
    t = t.mid(2);
  return t.size() <= 2;
}

// --- TIgnoreRules -----------------------------------------------------------------------------

void TIgnoreRules::AddIgnore(std::unique_ptr<TParserIgnore> IgnoreEntry)
{
  if (!IgnoreEntry)
    return;
  if (IgnoreEntry->NeededBeforeCheck())
    FIgnoreEntries.push_back(IgnoreEntry.get());
  if (IgnoreEntry->LineCheckNeeded())
    FIgnoreEntriesLine.push_back(IgnoreEntry.get());
  FIgnoreEntriesPost.push_back(std::move(IgnoreEntry));
}

void TIgnoreRules::ClearIgnoreList()
{
  FIgnoreEntries.clear();
  FIgnoreEntriesLine.clear();
  FIgnoreEntriesPost.clear();
}

void TIgnoreRules::RunInlineIgnore(QChar CurrentChar, TControlParser *Parser, bool &Ignore)
{
  Ignore = false;
  for (TParserIgnore *rule : FIgnoreEntries) {
    if (rule->ExecuteIgnore(CurrentChar, Parser)) {
      Ignore = true;
      return;
    }
  }
}

void TIgnoreRules::RunPreCheckIgnore(const QString &Word, TControlParser *Parser, bool &Ignore)
{
  Ignore = false;
  for (TParserIgnore *rule : FIgnoreEntries) {
    if (rule->ExecuteWordIgnorePreCheck(Word, Parser)) {
      Ignore = true;
      return;
    }
  }
}

bool TIgnoreRules::RunPostCheckIgnore(const QString &Word, TControlParser *Parser)
{
  for (const auto &rule : FIgnoreEntriesPost)
    if (rule->ExecuteWordIgnorePostCheck(Word, Parser))
      return true;
  return false;
}

bool TIgnoreRules::RunLineIgnore(const QString &Line)
{
  for (TParserIgnore *rule : FIgnoreEntriesLine)
    if (rule->ExecuteLineIgnore(Line))
      return true;
  return false;
}

void TIgnoreRules::AttachTo(TParsingEngine &Engine)
{
  Engine.OnInlineIgnore = [this](QChar c, TControlParser *p, bool &ignore) {
    RunInlineIgnore(c, p, ignore);
  };
  Engine.OnPreCheckIgnore = [this](const QString &w, TControlParser *p, bool &ignore) {
    RunPreCheckIgnore(w, p, ignore);
  };
}
