#pragma once
// Distances between words: the restricted edit distance, with a bound, and its bit-parallel
// columns for the suggestion walk's hot path.

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <array>

// Restricted edit distance (insert, delete, substitute, swap two neighbours: 1 each); ASCII
// letters compare without case, so 0 means equal up to ASCII case. Texts of 255 or more code
// units give the larger length.
int EditDistance(const QString &A, const QString &B);
// EditDistance(A, B) when it is at most Bound (0 or more), else Bound + 1; gives up as soon as
// the bound is out of reach. For callers that only need to know "close enough, and how close".
int EditDistanceWithin(QStringView A, QStringView B, int Bound);

// EditDistance's table one column at a time against a fixed pattern of at most 64 code units,
// 64 cells per step (bit-parallel, with neighbour swaps). A column holds the steps between the
// cells of the pattern's prefixes for one text prefix: cell j (0 to the pattern's size) is
// EditDistance(text prefix, pattern.left(j)). The suggestion walk extends one column per trie
// letter; the row loop it replaced cost six times as many instructions per letter (callgrind).
class TDistanceColumns {
public:
  struct TColumn {
    quint64 up = ~0ull; // bit j - 1: cell j is one more than cell j - 1
    quint64 down = 0;   // bit j - 1: cell j is one less than cell j - 1
    quint64 zero = 0;   // diagonal steps of no cost (kept for the swap of the next letter)
    quint64 letter = 0; // the pattern's positions of the letter that made this column
    int last = 0;       // the last cell (the whole pattern), kept so that it needs no count
  };
  static constexpr int MaxPattern = 64;
  // False (and every letter unmatched) for a pattern longer than MaxPattern.
  bool SetPattern(QStringView Pattern);
  int PatternSize() const { return FSize; }
  // The column of the empty text.
  TColumn First() const
  {
    TColumn column;
    column.last = FSize;
    return column;
  }
  // The column after Prev for the text letter C.
  TColumn Next(const TColumn &Prev, char16_t C) const
  {
    // Myers' column step with Hyyroe's swap term; the top cell of every column is one more than
    // the last (the text prefix grows by a letter), hence the 1 shifted in.
    const quint64 x = Letter(C);
    const quint64 swap = ((~Prev.zero & x) << 1) & Prev.letter;
    const quint64 zero = (((x & Prev.up) + Prev.up) ^ Prev.up) | x | Prev.down | swap;
    const quint64 hUpBelow = Prev.down | ~(zero | Prev.up);
    const quint64 hDownBelow = Prev.up & zero;
    const quint64 hUp = hUpBelow << 1 | 1;
    const quint64 hDown = hDownBelow << 1;
    const int last = FSize == 0 ? Prev.last + 1
                                : Prev.last + int((hUpBelow >> (FSize - 1)) & 1) -
                                      int((hDownBelow >> (FSize - 1)) & 1);
    return TColumn{hDown | ~(zero | hUp), zero & hUp, zero, x, last};
  }
  // Cell j of a column whose text prefix has TextLength letters.
  static int Cell(const TColumn &Column, int TextLength, int J)
  {
    const quint64 mask = J >= 64 ? ~0ull : (quint64(1) << J) - 1;
    return TextLength + BitCount(Column.up & mask) - BitCount(Column.down & mask);
  }
  // The bits set in X, inline: built for any x86-64, std::popcount is a library call.
  static int BitCount(quint64 X)
  {
#if defined(__POPCNT__)
    return int(__builtin_popcountll(X));
#else
    X = X - ((X >> 1) & 0x5555555555555555ull);
    X = (X & 0x3333333333333333ull) + ((X >> 2) & 0x3333333333333333ull);
    X = (X + (X >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return int((X * 0x0101010101010101ull) >> 56);
#endif
  }
  // EditDistance(Text, pattern), a column per letter of Text.
  int Distance(QStringView Text) const;

private:
  quint64 Letter(char16_t C) const
  {
    if (C >= u'a' && C <= u'z')
      C = char16_t(C - 32);
    return C < 128 ? FAscii[C] : LetterAbove(C);
  }
  quint64 LetterAbove(char16_t C) const;
  std::array<quint64, 128> FAscii{};
  QString FPattern; // folded
  int FSize = 0;
};
