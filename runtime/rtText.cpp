#include "rtText.h"

QStringList SplitLines(QStringView text, TLineBreaks kinds)
{
  QStringList lines;
  ForEachLine(text, kinds, [&lines](QStringView line) { lines.append(line.toString()); });
  return lines;
}

QString ReplaceLineBreaks(QStringView text, QStringView by, TLineBreaks kinds)
{
  const qsizetype n = text.size();
  QString r;
  r.reserve(n + n / 16 + 2);
  qsizetype run = 0; // start of the pending run without breaks
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (!IsLineBreak(c, kinds))
      continue;
    r.append(text.mid(run, i - run));
    r.append(by);
    if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
      ++i;
    run = i + 1;
  }
  r.append(text.mid(run));
  return r;
}

QString AsciiUpper(QString s)
{
  for (QChar &c : s)
    c = AsciiUpper(c);
  return s;
}
