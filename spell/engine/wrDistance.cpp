#include "wrDistance.h"

#include <algorithm>
#include <cstdlib>

int EditDistance(const QString &A, const QString &B)
{
  const int la = int(A.size());
  const int lb = int(B.size());
  if (la >= 255 || lb >= 255)
    return std::max(la, lb);
  auto fold = [](char16_t c) -> char16_t {
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
  };
  // Restricted edit distance: insertion, deletion, substitution and a swap of two neighbouring
  // characters each cost 1, all in one table, so 0 means equal up to ASCII case. (Crediting
  // swaps afterwards by position, without alignment, gave 0 to "aranged" and "ranged".)
  // The suggestion walk calls this twice for every dictionary word it visits: three rows of the
  // table on the stack instead of the whole table on the heap saved a sixth of its time
  // (callgrind, 30 misspellings).
  char16_t fa[256], fb[256];
  for (int i = 0; i < la; ++i)
    fa[i] = fold(A[i].unicode());
  for (int j = 0; j < lb; ++j)
    fb[j] = fold(B[j].unicode());
  quint8 rows[3][256];
  quint8 *before = rows[0], *prev = rows[1], *cur = rows[2];
  for (int j = 0; j <= lb; ++j)
    prev[j] = quint8(j);
  for (int i = 1; i <= la; ++i) {
    const char16_t a = fa[i - 1];
    cur[0] = quint8(i);
    for (int j = 1; j <= lb; ++j) {
      const char16_t b = fb[j - 1];
      int v;
      if (a == b)
        v = prev[j - 1];
      else
        v = 1 + std::min({int(prev[j]), int(cur[j - 1]), int(prev[j - 1])});
      if (i > 1 && j > 1 && a != b && a == fb[j - 2] && fa[i - 2] == b)
        v = std::min(v, before[j - 2] + 1);
      cur[j] = quint8(v);
    }
    quint8 *spare = before;
    before = prev;
    prev = cur;
    cur = spare;
  }
  return prev[lb];
}

int EditDistanceWithin(QStringView A, QStringView B, int Bound)
{
  const int la = int(A.size());
  const int lb = int(B.size());
  if (la >= 255 || lb >= 255)
    return std::min(std::max(la, lb), Bound + 1);
  if (std::abs(la - lb) > Bound)
    return Bound + 1;
  auto fold = [](char16_t c) -> char16_t {
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
  };
  // The table of EditDistance row by row; its row minimum never decreases, so a row whose
  // minimum is past the bound ends the work.
  const char16_t *a = A.utf16();
  const char16_t *b = B.utf16();
  quint8 rows[3][256];
  quint8 *before = rows[0], *prev = rows[1], *cur = rows[2];
  for (int j = 0; j <= lb; ++j)
    prev[j] = quint8(j);
  for (int i = 1; i <= la; ++i) {
    const char16_t ca = fold(a[i - 1]);
    cur[0] = quint8(i);
    int least = i;
    for (int j = 1; j <= lb; ++j) {
      const char16_t cb = fold(b[j - 1]);
      int v;
      if (ca == cb)
        v = prev[j - 1];
      else
        v = 1 + std::min({int(prev[j]), int(cur[j - 1]), int(prev[j - 1])});
      if (i > 1 && j > 1 && ca != cb && ca == fold(b[j - 2]) && fold(a[i - 2]) == cb)
        v = std::min(v, before[j - 2] + 1);
      cur[j] = quint8(v);
      least = std::min(least, v);
    }
    if (least > Bound)
      return Bound + 1;
    quint8 *spare = before;
    before = prev;
    prev = cur;
    cur = spare;
  }
  return std::min<int>(prev[lb], Bound + 1);
}

bool TDistanceColumns::SetPattern(QStringView Pattern)
{
  FAscii.fill(0);
  FPattern.clear();
  FSize = 0;
  if (Pattern.size() > MaxPattern)
    return false;
  FSize = int(Pattern.size());
  FPattern.reserve(FSize);
  for (int j = 0; j < FSize; ++j) {
    char16_t c = Pattern[j].unicode();
    if (c >= u'a' && c <= u'z')
      c = char16_t(c - 32);
    FPattern += QChar(c);
    if (c < 128)
      FAscii[c] |= quint64(1) << j;
  }
  return true;
}

quint64 TDistanceColumns::LetterAbove(char16_t C) const
{
  quint64 bits = 0;
  for (int j = 0; j < FSize; ++j)
    if (FPattern[j].unicode() == C)
      bits |= quint64(1) << j;
  return bits;
}

int TDistanceColumns::Distance(QStringView Text) const
{
  if (Text.size() >= 255) // as EditDistance gives up
    return std::max(int(Text.size()), FSize);
  TColumn column = First();
  for (const QChar c : Text)
    column = Next(column, c.unicode());
  return column.last;
}
