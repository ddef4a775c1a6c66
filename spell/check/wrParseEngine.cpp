#include "wrParseEngine.h"

#include "wrTypes.h"

#include <QVarLengthArray>

#include <algorithm>

namespace {
constexpr QChar Apostrophe(u'\'');
constexpr QChar RightQuote(u'\u2019');
constexpr QChar Pound(u'\u00A3');
} // namespace

QString TMainParsingEngine::DefaultCharSet()
{
  QString s;
  s.reserve(189);
  s += RightQuote;
  s += u"1234567890&'";
  for (char16_t c = u'a'; c <= u'z'; ++c)
    s += QChar(c);
  for (char16_t c = u'A'; c <= u'Z'; ++c)
    s += QChar(c);
  for (char16_t c = 0x00C0; c <= 0x00FF; ++c)
    s += QChar(c);
  // Letters of other single-byte code pages kept under their Latin-1 values.
  static const char16_t more[] = {
      0x00B8, 0x00A8, 0x00E1, 0x00E8, 0x00EF, 0x00E9, 0x00EC, 0x00ED, 0x00F2, 0x00F3,
      0x00F8, 0x0161, 0x009D, 0x00FA, 0x00F9, 0x00FD, 0x017E, 0x00C1, 0x00C8, 0x00CF,
      0x00C9, 0x00CC, 0x00CD, 0x00D2, 0x00D3, 0x00D8, 0x0160, 0x008D, 0x00DA, 0x00D9,
      0x00DD, 0x017D, 0x0153, 0x00B9, 0x00E6, 0x00EA, 0x00B3, 0x00B3, 0x00F1, 0x00F3,
      0x0153, 0x00BF, 0x0178, 0x00A5, 0x00C6, 0x00CA, 0x00D1, 0x00D3, 0x0152, 0x00AF,
      0x008F, 0x00B7, 0x00B2, 0x00A2, 0x00B1, 0x00A1, 0x00BC, 0x00AC, 0x00B6, 0x00A6};
  for (char16_t c : more)
    s += QChar(c);
  return s;
}

TMainParsingEngine::TMainParsingEngine()
{
  ForbidStart = QString() + Apostrophe + QChar(u'"') + RightQuote;
  ForbidEnd = QString() + Apostrophe + QChar(u'"') + QChar(u'.') + RightQuote;
  ForbidMidWord = QStringLiteral("&");
  SetCharSet(DefaultCharSet());
}

void TMainParsingEngine::RebuildCharSets()
{
  for (int u = 0; u <= 255; ++u)
    FBCharSetFast[u] =
        QChar(char16_t(u)).isLetterOrNumber() && !FForbidCharSet.contains(QChar(char16_t(u)));
  FSlowCharSet.clear();
  for (QChar u : FCharSet) {
    if (FForbidCharSet.contains(u))
      continue;
    if (u.unicode() < 0x00FF)
      FBCharSetFast[u.unicode()] = true;
    else
      FSlowCharSet += u;
  }
}

bool TMainParsingEngine::IsWordCharBeyondLatin1(QChar u) const
{
  return (u.isLetterOrNumber() || FSlowCharSet.contains(u)) && !FForbidCharSet.contains(u);
}

void TMainParsingEngine::SetCharSet(const QString &Value)
{
  FCharSet = Value;
  RebuildCharSets();
}

void TMainParsingEngine::SetForbidCharSet(const QString &Value)
{
  FForbidCharSet = Value;
  RebuildCharSets();
}

void TMainParsingEngine::SetAllowFrenchExceptions(bool Value)
{
  FAllowFrenchExceptions = Value;
  // With French rules an apostrophe ends a word (l'homme), so it stays in ForbidMidWord
  // exactly while the flag is on.
  if (Value) {
    if (!ForbidMidWord.contains(Apostrophe))
      ForbidMidWord += Apostrophe;
  } else {
    ForbidMidWord.remove(Apostrophe);
  }
}

void TMainParsingEngine::SetLanguage(quint32 Value)
{
  FLanguage = Value;
  SetAllowFrenchExceptions((Value & 0xFF) == 0x0C);
  // Polish, Czech and Hungarian text in their 8-bit code page stores a letter at U+00A3.
  if (Value == 0x0415 || Value == 0x0405 || Value == 0x040E) {
    if (!FCharSet.contains(Pound))
      SetCharSet(FCharSet + Pound);
  } else {
    const qsizetype i = FCharSet.indexOf(Pound);
    if (i >= 0)
      SetCharSet(QString(FCharSet).remove(i, 1));
  }
}

void TMainParsingEngine::Initialize(TControlParser *Parser, int CheckType)
{
  if (!Parser)
    return;
  int xStart = 0, yStart = 0, xEnd = 0, yEnd = 0;
  Parser->GetSelectionPosition(xStart, yStart, xEnd, yEnd);
  switch (CheckType) {
  case ctSelected: // its end becomes the end limit
    AdjustToPosition(Parser, xStart, yStart);
    Parser->SetPosition(xEnd, yEnd, ptEnd);
    break;
  case ctFromCursor:
    AdjustToPosition(Parser, xStart, yStart);
    break;
  case ctAll:
    Parser->SetPosition(0, 0, ptCurrent);
    break;
  default: // ctSmart and ctCurrent are resolved by the caller
    break;
  }
}

void TMainParsingEngine::AdjustToPosition(TControlParser *Parser, int XPos, int YPos)
{
  if (!Parser)
    return;
  Parser->SetPosition(XPos, YPos, ptCurrent);
  while (IsWordChar(Parser->GetChar()) && Parser->MovePrevious()) {
  }
}

QString TMainParsingEngine::NextWord(TControlParser *Parser)
{
  if (!Parser)
    return QString();
  for (;;) {
    QString result;

    // Skip to the first character that may start a word.
    QChar c;
    for (;;) {
      c = Parser->GetChar();
      if (OnInlineIgnore) {
        bool ignore = false;
        OnInlineIgnore(c, Parser, ignore);
        if (ignore)
          continue; // the handler has moved past what it skipped
      }
      if (IsWordStartChar(c))
        break;
      if (!Parser->MoveNext())
        return QString(); // end of text: CurrentWord keeps its value
    }

    // The word is gathered in place and made a string once: growing a QString one character
    // at a time reallocated three times a word and took a quarter of a list run's time.
    QVarLengthArray<QChar, 64> word;
    word.append(c);
    auto holdsPeriod = [&word] { return std::find(word.begin(), word.end(), u'.') != word.end(); };
    bool periodSeen = false;
    for (;;) {
      if (!Parser->MoveNext()) {
        if (!AllowIncompleteLastWord)
          word.clear();
        break;
      }
      c = Parser->GetChar();
      if (IsWordMiddleChar(c)) {
        word.append(c);
        continue;
      }
      bool stop = true;
      if (AllowMidPeriod && c == u'.') {
        Parser->MoveNext();
        if (IsWordMiddleChar(Parser->GetChar()))
          stop = false;
        if (holdsPeriod()) {
          periodSeen = true;
          stop = false;
        }
        Parser->MovePrevious();
      }
      if (FAllowFrenchExceptions && c == Apostrophe) {
        const QString lower = QString(word.constData(), word.size()).toLower();
        if (lower == u"aujourd" || lower == u"entr")
          stop = false;
      }
      if (stop)
        break;
      word.append(c);
    }

    // Trim characters that may not end a word, stepping the cursor back over each.
    while (!word.isEmpty()) {
      const QChar e = word.back();
      if (IsWordEndChar(e))
        break;
      if (periodSeen && e == u'.')
        break;
      word.removeLast();
      Parser->MovePrevious();
    }
    result = QString(word.constData(), word.size());

    if (OnPreCheckIgnore) {
      bool ignore = false;
      OnPreCheckIgnore(result, Parser, ignore);
      if (ignore)
        continue;
    }
    FCurrentWord = result;
    return result;
  }
}
