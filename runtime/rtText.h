#pragma once
// Text helpers every layer shares: line breaks and the ASCII-only case mapping.
//
// Two ideas of a line break live side by side and callers name theirs:
// - lbCrLfOnly: CR and LF, as the Windows string list, the line commands and plain-text files
//   know them;
// - lbAllBreaks: also VT, FF, NEL, U+2028 and U+2029, which a Qt text widget would otherwise show
//   as breaks that are not lines (the editor adapters).
// Either way CR LF is one break. None of these functions fails.

#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>

enum TLineBreaks : bool { lbCrLfOnly = false, lbAllBreaks = true };

constexpr bool IsLineBreak(QChar c, TLineBreaks kinds)
{
  const char16_t u = c.unicode();
  if (u == u'\r' || u == u'\n')
    return true;
  return kinds == lbAllBreaks &&
         (u == 0x0B || u == 0x0C || u == 0x85 || u == 0x2028 || u == 0x2029);
}

// Calls line(QStringView) for each line of text in order. The empty line after a final break is
// not a line, so an empty text has none.
template <class F>
void ForEachLine(QStringView text, TLineBreaks kinds, F &&line)
{
  const qsizetype n = text.size();
  qsizetype start = 0;
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (!IsLineBreak(c, kinds))
      continue;
    line(text.mid(start, i - start));
    if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
      ++i;
    start = i + 1;
  }
  if (start < n)
    line(text.mid(start));
}

// The lines of text, as ForEachLine counts them.
QStringList SplitLines(QStringView text, TLineBreaks kinds);

// text with every break (CR LF counting as one) replaced by `by`.
QString ReplaceLineBreaks(QStringView text, QStringView by, TLineBreaks kinds);

// Case mapping of the ASCII letters only; every other character, and so every position, stays.
constexpr QChar AsciiUpper(QChar c)
{
  return (c >= u'a' && c <= u'z') ? QChar(char16_t(c.unicode() - 0x20)) : c;
}
constexpr QChar AsciiLower(QChar c)
{
  return (c >= u'A' && c <= u'Z') ? QChar(char16_t(c.unicode() + 0x20)) : c;
}
QString AsciiUpper(QString s);
