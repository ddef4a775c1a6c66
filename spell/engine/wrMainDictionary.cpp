#include "wrMainDictionary.h"

#include "wrEngineLog.h"
#include "wrPhoneticsMap.h"
#include "wrUtil.h"

#include "rtRegularFile.h"

#include <QFile>
#include <QStringView>
#include <QtAlgorithms>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>
#include <typeinfo>

namespace {

constexpr char Banner41[] = "Wright Dictionary Compiler, Version 4.1\r\n"
                            "Main word list for spell checks.\r\n"
                            "Do not edit: rebuild from source.\r\n"
                            "Words in a packed trie, UTF-8\r\n"
                            "\r\n";
constexpr char Banner40[] = "Wright Dictionary Compiler, Version 4.0\r\n"
                            "Main word list for spell checks.\r\n"
                            "Packed trie of ANSI words\r\n"
                            "Do not edit this.\r\n"
                            "\r\n";
static_assert(sizeof(Banner41) - 1 == 143, "the 4.1 banner is 143 characters");
static_assert(sizeof(Banner40) - 1 == 123, "the 4.0 banner is 123 characters");

constexpr int MinorVersionIndex = 38;

} // namespace

QByteArray TMainDictionary::Banner(int minorVersion)
{
  return minorVersion >= 1 ? QByteArray(Banner41) : QByteArray(Banner40);
}

TMainDictionary::TMainDictionary() = default;

TMainDictionary::~TMainDictionary() { Unload(); }

void TMainDictionary::SetFilename(const QString &F)
{
  QFile file(F);
  if (F.isEmpty() || !file.open(QIODevice::ReadOnly))
    return;
  FWordsFoundCount = 0;
  const bool wasLoaded = FLoaded;
  Unload();

  const qint64 size = file.size();
  const QByteArray header = file.read(HeaderSize);
  bool accepted = size > HeaderSize && header.size() == HeaderSize;
  if (accepted) {
    const qsizetype zero = header.indexOf('\0');
    const QByteArray text = zero < 0 ? header : header.left(zero);
    accepted = text.startsWith(Banner(1)) || text.startsWith(Banner(0));
  }
  if (!accepted) {
    qCInfo(lcSpellEngine) << "main dictionary refused (unreadable or not a main dictionary):" << F;
    file.close();
    if (wasLoaded)
      SetLoaded(true);
    return;
  }
  // Title length, title, language, word count, node count and the nine class counts. A file cut
  // short inside these fields reads zeros for the missing bytes; its layout then ends beyond the
  // file and loading refuses it.
  const QByteArray lengthByte = file.read(1);
  const int n = lengthByte.isEmpty() ? 0 : uchar(lengthByte[0]);
  const int fixedSize = 2 * n + 2 + 4 * 3 + 4 * NodeClasses;
  QByteArray fixed = file.read(fixedSize);
  fixed.append(QByteArray(fixedSize - fixed.size(), '\0'));

  FCompleteHeader = header;
  FMinorVersion = header[MinorVersionIndex] - '0';
  FCodePage = FMinorVersion >= 1 ? CP_UTF8 : 0;
  const auto *p = reinterpret_cast<const uchar *>(fixed.constData());
  QString title;
  for (int i = 0; i <= n; ++i) {
    const char16_t c = qFromLittleEndian<quint16>(p + 2 * i);
    if (c == 0)
      break;
    title.append(QChar(c));
  }
  FTitle = title;
  p += 2 * n + 2;
  FLanguage = qFromLittleEndian<quint32>(p);
  FWordCount = qFromLittleEndian<quint32>(p + 4);
  FNodeCount = qFromLittleEndian<quint32>(p + 8);
  p += 12;
  FNodePositionStart[0] = quint64(HeaderSize) + 1 + 2 * n + 2 + 12 + 4 * NodeClasses;
  FNodeIndexStart[0] = 0;
  for (int k = 0; k < NodeClasses; ++k) {
    FCharacterCount[k] = qFromLittleEndian<quint32>(p + 4 * k);
    FNodePositionStart[k + 1] = FNodePositionStart[k] + quint64(4 + k) * FCharacterCount[k];
    FNodeIndexStart[k + 1] = FNodeIndexStart[k] + FCharacterCount[k];
  }
  FWideLinkage = FNodeCount >= WideLinkageNodeCount;
  FFilename = F;
  ClearWalkCaches();
  file.close();
  if (wasLoaded)
    SetLoaded(true);
}

void TMainDictionary::SetLoaded(bool V)
{
  if (V == FLoaded || FFilename.isEmpty())
    return;
  if (V)
    Load();
  else
    Unload();
}

void TMainDictionary::Load()
{
  auto file = std::make_unique<QFile>(FFilename);
  const qint64 size = file->open(QIODevice::ReadOnly) ? file->size() : 0;
  uchar *view = size > 0 ? file->map(0, size) : nullptr;
  if (!view) {
    qCInfo(lcSpellEngine) << "main dictionary not loaded (unreadable):" << FFilename;
    return;
  }
  const quint64 S = quint64(size);
  const quint64 p9 = FNodePositionStart[NodeClasses];
  const quint32 L = p9 + 4 < S ? qFromLittleEndian<quint32>(view + p9) : 0;
  if (!(p9 + 4 < S) || p9 + 4 + quint64(L) + LookupSize + CharSetTableSize > S) {
    qCInfo(lcSpellEngine) << "main dictionary damaged (its layout ends beyond the file):"
                          << FFilename;
    file->unmap(view);
    return;
  }
  FFile = std::move(file);
  FPFile = view;
  FFileSize = S;
  const uchar *data = view;
#ifdef LW_MAIN_DICTIONARY_HEAP_VIEW
  // Bad-input tests read an exactly sized heap copy: the address sanitizer then reports any read
  // past the end of the file, which the page-rounded mapping would hide.
  FHeapView = std::make_unique<uchar[]>(S);
  std::memcpy(FHeapView.get(), view, S);
  data = FHeapView.get();
#endif
  FLinkageSize = L;
  FPLinkage = data + p9 + 4;
  std::memcpy(FLookup.data(), FPLinkage + L, LookupSize);
  FSecondState.fill(0);
  FLast.length = -1;
  std::memcpy(FCharSetTable.data(), FPLinkage + L + LookupSize, CharSetTableSize);
  for (int k = 0; k < NodeClasses; ++k)
    FNodes[k] = data + FNodePositionStart[k];
  FLoaded = true;
  // Kept codes and heights outlive an unload (the check session unloads after every check) but
  // not a change of the file's content: node numbers would then name other words.
  if ((!FCodeCaches.empty() || !FHeights.empty()) && Checksum() != FCacheChecksum)
    ClearWalkCaches();
}

void TMainDictionary::Unload()
{
  if (FFile) {
    if (FPFile)
      FFile->unmap(const_cast<uchar *>(FPFile));
    FFile->close();
    FFile.reset();
  }
  FHeapView.reset();
  FPFile = nullptr;
  FPLinkage = nullptr;
  FLinkageSize = 0;
  FFileSize = 0;
  FNodes.fill(nullptr);
  FLoaded = false;
}

// The layout check of Load guarantees that every class region lies before the linkage block,
// so an index below the total node count always addresses bytes inside the mapping.
inline bool TMainDictionary::GetNode(quint32 index, TNode &node) const
{
  if (index >= FNodeIndexStart[NodeClasses])
    return false;
  // The class counted rather than searched: the classes of the nodes a walk visits mix
  // unpredictably.
  int k = 0;
  for (int j = 1; j < NodeClasses; ++j)
    k += index >= FNodeIndexStart[j] ? 1 : 0;
  const uchar *p = FNodes[k] + (index - FNodeIndexStart[k]) * quint64(4 + k);
  node.value = qFromLittleEndian<quint32>(p);
  node.packed = p + 4;
  node.k = k;
  return true;
}

inline bool TMainDictionary::ReadLinkage(quint32 &position, quint32 &index) const
{
  const quint64 pos = position;
  if (!FWideLinkage) {
    if (pos + 2 > FLinkageSize)
      return false;
    index = qFromLittleEndian<quint16>(FPLinkage + pos);
    position += 2;
    return true;
  }
  if (pos + 2 > FLinkageSize)
    return false;
  const uchar b0 = FPLinkage[pos];
  if (b0 & 0x80) {
    index = (quint32(b0 & 0x7F) << 8) | FPLinkage[pos + 1];
    position += 2;
    return true;
  }
  if (pos + 3 > FLinkageSize)
    return false;
  index = (quint32(b0) << 16) | (quint32(FPLinkage[pos + 1]) << 8) | FPLinkage[pos + 2];
  position += 3;
  return true;
}

bool TMainDictionary::ChildrenOf(const TNode &node, TChildren &children) const
{
  const quint32 count = node.count();
  const quint32 ref = node.ref();
  if (count > 0) {
    children = {count, ref, count == 1};
    return true;
  }
  if (ref == NoChildren || ref >= FLinkageSize)
    return false;
  children = {FPLinkage[ref], ref + 1, false};
  return children.number > 0;
}

template <class F>
void TMainDictionary::ForEachChild(const TChildren &children, F &&visit) const
{
  if (children.direct) {
    visit(children.ref);
    return;
  }
  quint32 linkage = children.ref;
  for (quint32 i = 0; i < children.number; ++i) {
    quint32 child;
    if (!ReadLinkage(linkage, child))
      break;
    visit(child);
  }
}

bool TMainDictionary::SelectChild(const TChildren &children, uchar c, quint32 &index,
                                  TNode &node) const
{
  if (children.direct) {
    index = children.ref;
    return GetNode(index, node) && node.ch() == c;
  }
  // The scan over a child list is the inner loop of every lookup: the own character of a node
  // of class 0 (most of them) is read in place, other nodes go through GetNode.
  const uchar *classZero = FNodes[0];
  const quint64 classZeroCount = FNodeIndexStart[1];
  quint32 position = children.ref;
  if (quint64(position) + 3 * quint64(children.number) <= FLinkageSize) {
    // The whole list lies inside the linkage block whatever the entry widths: no checks per entry.
    const uchar *p = FPLinkage + position;
    for (quint32 i = 0; i < children.number; ++i) {
      if (!FWideLinkage) {
        index = quint32(p[0]) | (quint32(p[1]) << 8);
        p += 2;
      } else {
        // Both forms decoded and one chosen without a jump: the widths mix unpredictably.
        const quint32 b0 = p[0], b1 = p[1], b2 = p[2];
        const quint32 top = b0 >> 7;
        index = top ? (((b0 & 0x7F) << 8) | b1) : ((b0 << 16) | (b1 << 8) | b2);
        p += 3 - top;
      }
      if (index < classZeroCount) {
        if (classZero[quint64(index) * 4] == c)
          return GetNode(index, node);
      } else {
        if (!GetNode(index, node))
          return false;
        if (node.ch() == c)
          return true;
      }
    }
    return false;
  }
  for (quint32 i = 0; i < children.number; ++i) {
    if (!ReadLinkage(position, index))
      return false;
    if (index < classZeroCount) {
      if (classZero[quint64(index) * 4] != c)
        continue;
      return GetNode(index, node);
    }
    if (!GetNode(index, node))
      return false;
    if (node.ch() == c)
      return true;
  }
  return false;
}

// The word in the file's code page, zero-terminated, in a buffer of WordBufferSize bytes; 0 when
// it is empty or needs more than WordBufferSize - 1 bytes. Lookups are the hot path: plain UTF-16
// is encoded here without allocating, anything else goes through the general conversion.
int TMainDictionary::EncodeWord(const QString &Word, char *buffer) const
{
  const qsizetype n = Word.size();
  const char16_t *w = reinterpret_cast<const char16_t *>(Word.constData());
  int out = 0;
  qsizetype i = 0;
  // Plain ASCII, the same bytes in both code pages.
  if (n < WordBufferSize) {
    for (; i < n; ++i) {
      const char16_t c = w[i];
      if (char16_t(c - 1) >= 0x7F)
        break;
      buffer[i] = char(c);
    }
    out = int(i);
  }
  if (FCodePage == CP_UTF8) {
    for (; i < n; ++i) {
      const char16_t c = w[i];
      if (out + 4 >= WordBufferSize)
        break;
      if (c == 0)
        return 0; // no stored word holds a zero
      if (c < 0x80) {
        buffer[out++] = char(c);
      } else if (c < 0x800) {
        buffer[out++] = char(0xC0 | (c >> 6));
        buffer[out++] = char(0x80 | (c & 0x3F));
      } else if (c < 0xD800 || c > 0xDFFF) {
        buffer[out++] = char(0xE0 | (c >> 12));
        buffer[out++] = char(0x80 | ((c >> 6) & 0x3F));
        buffer[out++] = char(0x80 | (c & 0x3F));
      } else if (c < 0xDC00 && i + 1 < n && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
        const char32_t u = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (w[i + 1] - 0xDC00);
        buffer[out++] = char(0xF0 | (u >> 18));
        buffer[out++] = char(0x80 | ((u >> 12) & 0x3F));
        buffer[out++] = char(0x80 | ((u >> 6) & 0x3F));
        buffer[out++] = char(0x80 | (u & 0x3F));
        ++i;
      } else {
        break; // a lone surrogate: the general conversion decides
      }
    }
  } else {
    for (; i < n && out < WordBufferSize - 1 && w[i] < 0x80 && w[i] != 0; ++i)
      buffer[out++] = char(w[i]);
  }
  if (i == n) {
    buffer[out] = 0;
    return out;
  }
  // The general conversion shortens text that just fills its buffer instead of refusing it: give
  // it room for a few bytes more and refuse anything longer than the word buffer here.
  char wide[WordBufferSize + 8];
  const int length = WideToCodePage(FCodePage, wide, int(sizeof wide), Word);
  if (length <= 0 || length >= WordBufferSize || std::strlen(wide) != size_t(length))
    return 0;
  std::memcpy(buffer, wide, size_t(length) + 1);
  return length;
}

// A lookup's answer follows from the word's bytes up to this one: the byte where it parted from
// the trie or ended. The one exception to `matched`: a first letter with no list answers 0, yet
// whether a second byte follows decides (the letter alone may be a word).
int TMainDictionary::DecidingByte(int matched) { return std::max(matched, 1); }

bool TMainDictionary::FindWord(const QString &Word, int &matched)
{
  matched = 0;
  if (!FLoaded)
    SetLoaded(true);
  if (!FLoaded)
    return false;
  // Room for an 8-byte read at any position before the terminator (packed runs compare at once).
  char buffer[WordBufferSize + 8];
  const int length = EncodeWord(Word, buffer);
  if (length <= 0)
    return false;
  std::memset(buffer + length + 1, 0, 7);
  const auto *word = reinterpret_cast<const uchar *>(buffer);
  // Bytes shared with the last lookup (its terminator included when the words are equal).
  int shared = 0;
  while (shared <= FLast.length && word[shared] == FLast.word[size_t(shared)])
    ++shared;
  if (shared > FLast.decided) {
    matched = FLast.matched;
    return FLast.found;
  }
  // Resume at the last child list both words select from with the same letter: one where the
  // new word ends instead would need the end-of-word flag of the node before it.
  int state = FLast.stateCount;
  while (state > 0 && FLast.at[size_t(state) - 1] >= shared)
    --state;
  FLast.stateCount = state;
  FLast.length = -1; // a lookup that throws leaves no memo
  const int from = state > 0 ? FLast.at[size_t(state) - 1] : 0;
  const bool found = FWideLinkage ? FindEncoded<true>(word, matched, from)
                                  : FindEncoded<false>(word, matched, from);
  std::memcpy(FLast.word.data(), word, size_t(length) + 1);
  FLast.length = length;
  FLast.matched = matched;
  FLast.decided = DecidingByte(matched);
  FLast.found = found;
  return found;
}

namespace {

// Bytes 0 to k - 1 of a little-endian 8-byte load.
constexpr quint64 PackedMask[TMainDictionary::NodeClasses] = {0,
                                                              0xFF,
                                                              0xFFFF,
                                                              0xFFFFFF,
                                                              0xFFFFFFFF,
                                                              0xFFFFFFFFFFull,
                                                              0xFFFFFFFFFFFFull,
                                                              0xFFFFFFFFFFFFFFull,
                                                              ~0ull};

} // namespace

// The word walk of FindWord over the encoded word, one instance per linkage width. Everything it
// consults lives in locals, so the scan over a child list keeps them in registers; the checks are
// those of GetNode, ReadLinkage and ChildrenOf, made once per list where a list can be checked
// as a whole.
template <bool Wide>
bool TMainDictionary::FindEncoded(const uchar *word, int &matched, int from) const
{
  const uchar *const linkage = FPLinkage;
  const quint64 linkageSize = FLinkageSize;
  const uchar *const classZero = FNodes[0];
  const quint64 classZeroCount = FNodeIndexStart[1];
  const quint64 nodeCount = FNodeIndexStart[NodeClasses];
  // A count byte lies below both the linkage size and NoChildren, which marks a leaf.
  const quint64 listLimit = std::min<quint64>(linkageSize, NoChildren);
  // Record and class of a node outside class 0; null for an index outside the file's nodes. The
  // class is counted rather than searched: the classes of neighbouring nodes mix unpredictably.
  auto packedNode = [this, nodeCount](quint32 index, int &k) -> const uchar * {
    if (index >= nodeCount)
      return nullptr;
    int n = 0;
    for (int j = 1; j < NodeClasses; ++j)
      n += index >= FNodeIndexStart[j] ? 1 : 0;
    k = n;
    return FNodes[n] + (index - FNodeIndexStart[n]) * quint64(4 + n);
  };
  // Record and class of any node; null as above.
  auto nodeRecord = [&](quint32 index, int &k) -> const uchar * {
    return index < classZeroCount ? classZero + quint64(index) * 4 : packedNode(index, k);
  };
  // The next entry of a child list that lies inside the linkage block.
  auto nextIndex = [](const uchar *&p) -> quint32 {
    if constexpr (Wide) {
      // Both widths from one big-endian load, chosen by shifts: the widths mix unpredictably.
      // The fourth byte may lie just past the list, at worst in the first-character table.
      const quint32 v = qFromBigEndian<quint32>(p);
      const quint32 top = v >> 31;
      p += 3 - top;
      return (v >> (8 + 8 * top)) & (0xFFFFFFu >> (9 * top));
    } else {
      p += 2;
      return quint32(p[-2]) | (quint32(p[-1]) << 8);
    }
  };

  int m = 1;
  const uchar *w = word + 1;
  bool found = false;
  quint32 number = 0, ref = 0;
  // The second letter from the first letter's table (see below); 0 when not used.
  quint32 second = 0;
  if (from >= 2) {
    const size_t state = size_t(FLast.stateCount) - 1;
    number = FLast.number[state];
    ref = FLast.ref[state];
    --FLast.stateCount; // recorded again below
    m = from;
    w = word + from;
  } else {
  const uchar *entry = FLookup.data() + 8 * word[0];
  if (word[1] == 0 && entry[0] != 0) {
    matched = 1;
    return true;
  }
  number = entry[1];
  if (number == 0)
    return false;
  ref = qFromLittleEndian<quint32>(entry + 4);
  // The second letter's table is filled here from the same list the scan below reads, in its
  // order, so the first child of a letter wins and an entry naming no node ends the list for the
  // letters not yet seen, as in the scan.
  if (word[1] != 0) {
    const uchar first = word[0];
    if (FSecondState[first] == 0) {
      if (FSecond.empty())
        FSecond.resize(256 * 256);
      quint32 *row = FSecond.data() + 256 * size_t(first);
      std::fill(row, row + 256, 0);
      FSecondState[first] = 1;
      if (number == 1) {
        int kk = 0;
        const uchar *r = nodeRecord(ref, kk);
        if (r && r[0] != 0)
          row[r[0]] = ref + 1;
      } else if (quint64(ref) + (Wide ? 3 : 2) * quint64(number) <= linkageSize) {
        const uchar *p = linkage + ref;
        for (quint32 i = 0; i < number; ++i) {
          const quint32 index = nextIndex(p);
          int kk = 0;
          const uchar *r = nodeRecord(index, kk);
          if (!r)
            break;
          if (row[r[0]] == 0)
            row[r[0]] = index + 1;
        }
        row[0] = 0; // the word never holds a zero byte here
      } else {
        FSecondState[first] = 2;
      }
    }
    if (FSecondState[first] == 1) {
      second = FSecond[256 * size_t(first) + word[1]];
      if (second == 0) {
        matched = m;
        return false;
      }
    }
  }
  }
  for (;;) {
    const uchar c = *w;
    if (c == 0)
      break; // the word ended right after a packed run
    if (second == 0 && m >= 2) {
      const size_t state = size_t(FLast.stateCount++);
      FLast.at[state] = quint16(m);
      FLast.number[state] = number;
      FLast.ref[state] = ref;
    }
    // Select the child with character c.
    const uchar *record = nullptr;
    int k = 0;
    if (second != 0) {
      const quint32 index = second - 1;
      second = 0;
      record = nodeRecord(index, k);
    } else if (number == 1) {
      if (!(record = nodeRecord(ref, k)) || record[0] != c)
        break;
    } else if (quint64(ref) + (Wide ? 3 : 2) * quint64(number) <= linkageSize) {
      // The whole list lies inside the linkage block: no checks per entry.
      const uchar *p = linkage + ref;
      for (;;) {
        const quint32 index = nextIndex(p);
        if (index < classZeroCount) {
          if (classZero[quint64(index) * 4] == c) {
            record = classZero + quint64(index) * 4;
            break;
          }
        } else {
          int kk = 0;
          const uchar *r = packedNode(index, kk);
          if (!r)
            break;
          if (r[0] == c) {
            record = r;
            k = kk;
            break;
          }
        }
        if (--number == 0)
          break;
      }
      if (!record)
        break;
    } else {
      // A list that may run past the linkage block: entry by entry.
      TNode node;
      quint32 index;
      if (!SelectChild(TChildren{number, ref, false}, c, index, node))
        break;
      record = node.packed - 4;
      k = node.k;
    }
    ++m;
    ++w;
    const quint32 value = qFromLittleEndian<quint32>(record);
    if (*w == 0) {
      found = (value >> 31) != 0;
      break;
    }
    // The packed run, compared in one step: the first byte that differs or where the word ends
    // decides. (Bytes above a zero byte may be flagged falsely; only the lowest flag counts.)
    // The record and the word buffer both have 8 readable bytes after their start.
    {
      const quint64 wv = qFromLittleEndian<quint64>(w);
      const quint64 rv = qFromLittleEndian<quint64>(record + 4);
      const quint64 zero = (wv - 0x0101010101010101ull) & ~wv & 0x8080808080808080ull;
      const quint64 diff = ((wv ^ rv) | zero) & PackedMask[k];
      if (diff != 0) {
        m += qCountTrailingZeroBits(diff) / 8;
        break;
      }
      m += k;
      w += k;
    }
    // Move to the children. Lists of 8 or more, whose count byte comes first, mix unpredictably
    // with shorter ones: the count byte is read either way (at offset 0, which lies in the file
    // whatever the linkage size, when the reference is out of range) and chosen without a jump.
    const quint32 count = (value >> 28) & 7;
    ref = (value >> 8) & 0xFFFFF;
    const bool inLinkage = ref < listLimit;
    const quint32 countByte = linkage[inLinkage ? ref : 0];
    const bool counted = count == 0;
    number = counted ? countByte : count;
    if (counted && (!inLinkage || number == 0))
      break; // a leaf, or damage
    ref += counted ? 1 : 0;
  }
  matched = m;
  return found;
}

bool TMainDictionary::WordExists(const QString &Word)
{
  int matched;
  return FindWord(Word, matched);
}

int TMainDictionary::WordLength(const QString &Word)
{
  int matched;
  FindWord(Word, matched);
  return matched;
}

int TMainDictionary::PrefixLength(const QString &Word)
{
  const int n = int(Word.size());
  char buffer[WordBufferSize + 8];
  const int length = EncodeWord(Word, buffer);
  if (length <= 0 || (FCodePage != CP_UTF8 && length != n))
    return n;
  int matched;
  FindWord(Word, matched);
  matched = DecidingByte(matched);
  if (FCodePage != CP_UTF8 || length == n)
    return std::min(matched, n);
  // The characters whose bytes all matched. A pair of surrogates not matched whole counts its
  // high half: no word starts with the whole pair. A lone surrogate was converted by other rules.
  int bytes = 0;
  for (int i = 0; i < n; ++i) {
    const char16_t c = Word[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(Word[i + 1].unicode())) {
      bytes += 4;
      if (bytes > matched)
        return i + 1;
      ++i;
      continue;
    }
    if (QChar::isSurrogate(c))
      return n;
    bytes += c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
    if (bytes > matched)
      return i;
  }
  return n;
}

void TMainDictionary::Suggest(const QString &Word, TPhoneticsMap &Phonetics,
                              QStringList &Suggestions)
{
  // Kept codes are valid only for a map whose codes follow from its key alone.
  FFoldedCount = 0;
  SuggestWith(Word, Phonetics, Suggestions, typeid(Phonetics) == typeid(TPhoneticsMap));
  FFolded.clear();
}

void TMainDictionary::SuggestPlain(const QString &Word, TPhoneticsMap &Phonetics,
                                   QStringList &Suggestions)
{
  FFoldedCount = 0;
  SuggestWith(Word, Phonetics, Suggestions, false);
  FFolded.clear();
}

void TMainDictionary::SuggestWith(const QString &Word, TPhoneticsMap &Phonetics,
                                  QStringList &Suggestions, bool fast)
{
  FOriginalWord = Word;
  FOriginalMap = Phonetics.GetMapping(Word);
  FOriginalMapLength = int(FOriginalMap.size());
  if (FOriginalMapLength >= 2) {
    FPhonetics = &Phonetics;
    FSuggestions = &Suggestions;
    FFast = fast;
    StartPhoneticWalk();
    FPhonetics = nullptr;
    FSuggestions = nullptr;
    FCodes = nullptr;
  }
  if (!Word.isEmpty() && Word == Word.toLower()) {
    const QString first = Word.left(1);
    const QString upper = first.toUpper();
    if (upper != first)
      SuggestWith(upper + Word.mid(1), Phonetics, Suggestions, fast);
  }
}

void TMainDictionary::StartPhoneticWalk()
{
  const int depth = FPhonetics->StartDepth();
  if (FOriginalWord.size() <= depth)
    return;
  const int length =
      WideToCodePage(FCodePage, FWord.data(), WordBufferSize, FOriginalWord.left(depth));
  WalkPrefix(length);
}

void TMainDictionary::WalkPrefix(int prefixLength)
{
  for (;;) {
    if (!FLoaded)
      SetLoaded(true);
    if (!FLoaded || prefixLength <= 0)
      return;
    const auto *prefix = reinterpret_cast<const uchar *>(FWord.data());
    TNode node;
    TChildren children;
    if (!GetNode(0, node) || !ChildrenOf(node, children))
      return;
    quint32 index = 0;
    bool restart = false;
    int i = 0;
    while (i < prefixLength) {
      if (!SelectChild(children, prefix[i], index, node))
        return;
      ++i;
      if (node.k > 0) {
        if (i + node.k >= prefixLength) {
          // The prefix ends on or inside the packed run: shorten it to end on a node of its own.
          const bool differs = [&] {
            for (int j = 0; i + j < prefixLength; ++j)
              if (prefix[i + j] != node.packed[j])
                return true;
            return false;
          }();
          if (differs)
            return;
          restart = true;
          break;
        }
        for (int j = 0; j < node.k; ++j, ++i)
          if (prefix[i] != node.packed[j])
            return;
      }
      if (!ChildrenOf(node, children))
        return;
    }
    if (restart) {
      --prefixLength;
      FWord[prefixLength] = 0;
      continue;
    }
    // Linkage entries name at most 2^23 nodes, direct references 2^20: the bit set stays
    // within 1 MB whatever the header claims. Between walks only the words a walk set are
    // cleared: a walk below a two-letter prefix touches a few hundred of the shipped
    // dictionary's 4,447.
    const size_t words =
        size_t((std::min<quint64>(FNodeIndexStart[NodeClasses], 1u << 23) + 63) / 64);
    if (FVisited.size() != words) {
      FVisited.assign(words, 0);
    } else {
      for (const quint32 w : FTouched)
        FVisited[w] = 0;
    }
    FTouched.clear();
    FWalkVisits = 0;
    if (FFast) {
      PrepareFastWalk(prefixLength);
      bool ascii = true;
      for (int i = 0; i + 1 < prefixLength; ++i)
        ascii = ascii && prefix[i] != 0 && prefix[i] < 0x80;
      EnumerateFast(index, prefixLength - 1, ascii);
    } else {
      FAtWord = &TMainDictionary::ConsiderCandidate;
      EnumerateFrom(index, prefixLength - 1);
    }
    return;
  }
}

// A node reached a second time is damage: a trie gives each node one parent.
inline bool TMainDictionary::MarkVisited(quint32 index)
{
  const size_t word = index / 64;
  const quint64 bit = quint64(1) << (index % 64);
  if (word >= FVisited.size() || (FVisited[word] & bit))
    return false;
  if (FVisited[word] == 0)
    FTouched.push_back(quint32(word));
  FVisited[word] |= bit;
  ++FWalkVisits;
  return true;
}

bool TMainDictionary::EnumerateFrom(quint32 index, int position)
{
  if (!MarkVisited(index))
    return false;
  TNode node;
  if (!GetNode(index, node) || position + 1 >= WordBufferSize)
    return false;
  FWord[position] = char(node.ch());
  FWord[position + 1] = 0;
  if (node.endOfWord() && (this->*FAtWord)(index))
    return true;
  const int next = position + 1 + node.k;
  if (next + 1 >= WordBufferSize) // no room for a child character and its terminator
    return true;
  std::memcpy(FWord.data() + position + 1, node.packed, node.k);
  FWord[next] = 0;
  TChildren children;
  if (!ChildrenOf(node, children))
    return true;
  if (children.direct)
    return EnumerateFrom(children.ref, next);
  quint32 linkage = children.ref;
  for (quint32 i = 0; i < children.number; ++i) {
    quint32 child;
    if (!ReadLinkage(linkage, child))
      break;
    EnumerateFrom(child, next);
  }
  return true;
}

bool TMainDictionary::ConsiderCandidate(quint32)
{
  const QString candidate = CodePageToWide(FCodePage, FWord.data());
  const QString map = FPhonetics->GetMapping(candidate);
  const int mapDist = EditDistance(map, FOriginalMap);
  const int L0 = FOriginalMapLength;
  const bool close = map == FOriginalMap || (L0 >= 3 && mapDist <= L0 - 2) ||
                     (L0 == 2 && mapDist == 1 && map.size() > 2);
  if (!close)
    return map.size() > L0;
  if (FSuggestions->size() > SuggestionCap)
    return true;
  if (FSuggestions->contains(candidate, Qt::CaseInsensitive))
    return false;
  const int wordDist = EditDistance(FOriginalWord, candidate);
  const int N = int(candidate.size());
  const bool accept = wordDist < N - 1 && (wordDist < 5 || 2 * wordDist + 1 <= N) &&
                      !(wordDist == 4 && N <= 6 && mapDist > 1) &&
                      !(wordDist == 4 && mapDist > 2) && !(wordDist == 3 && mapDist > 3) &&
                      !(L0 == 2 && wordDist > 3);
  if (accept)
    FSuggestions->append(candidate);
  return false;
}

// --- The fast walk ----------------------------------------------------------------------------
// Measured on bench_suggest (400 misspellings, start depth 1): the plain walk visits about
// 17,000 nodes and computes 9,800 codes and 15,000 edit distances per misspelling, for about 120
// words added. This walk visits about 7,700 nodes (the row test with the subtree heights; the
// row's least value alone kept 15,000) and tests 170 words against the list; the median time of
// a whole suggestion request fell from 4.7 to 0.8 ms there, and to 0.36 ms at start depth 2.
// The rows as bit-parallel columns (TDistanceColumns, cells summed only as the reach tests need
// them) and the second-letter table of FindEncoded for the generator's lookups took it to 0.31 ms.

namespace {

inline char16_t FoldAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }

inline quint64 HashStep(quint64 h, uchar c) { return (h ^ c) * 0x100000001B3ull; }

constexpr quint64 HashStart = 0xCBF29CE484222325ull;

// EditDistance gives up on texts of this many code units (it answers the larger length).
constexpr int DistanceLimit = 255;

// The phonetic codes side file (see CodeFileImage).
constexpr char CodeFileMagic[8] = {'W', 'D', 'P', 'H', 'O', 'N', '0', '1'};
constexpr int CodeHeaderSize = 8 + 8 + 8 + 4;
constexpr int CodeKeySize = 40;
constexpr uchar NoCode = 255;
// Larger side files are not read: four maps of a dictionary of a million words fit easily.
constexpr qint64 CodeFileLimit = qint64(256) << 20;


} // namespace

void TMainDictionary::ClearWalkCaches()
{
  FCodeCaches.clear();
  FHeights.clear();
}

// A 64-bit hash of the whole mapped file (about 0.3 ms for the shipped 1.7 MB dictionary).
quint64 TMainDictionary::Checksum() const
{
  const uchar *view = FHeapView ? FHeapView.get() : FPFile;
  quint64 h = FFileSize;
  quint64 i = 0;
  for (; i + 8 <= FFileSize; i += 8)
    h = (h ^ qFromLittleEndian<quint64>(view + i)) * 0x9E3779B97F4A7C15ull + (h >> 29);
  for (; i < FFileSize; ++i)
    h = (h ^ view[i]) * 0x100000001B3ull;
  return h;
}

bool TMainDictionary::AcceptableWordDistance(int wordDist, int N) const
{
  return wordDist < N - 1 && (wordDist < 5 || 2 * wordDist + 1 <= N) &&
         !(FOriginalMapLength == 2 && wordDist > 3);
}

void TMainDictionary::PrepareFastWalk(int prefixLength)
{
  FWalkFull = FSuggestions->size() > SuggestionCap; // then the walk can add nothing
  const TPhoneticsMap::TMappingKey key = FPhonetics->MappingKey();
  auto found = std::find_if(FCodeCaches.begin(), FCodeCaches.end(),
                            [&](const auto &c) { return c->key == key; });
  if (found == FCodeCaches.end()) {
    if (FCodeCaches.empty() && FHeights.empty())
      FCacheChecksum = Checksum();
    if (FCodeCaches.size() >= CodeCaches)
      FCodeCaches.pop_back();
    auto cache = std::make_unique<TCodeCache>();
    cache->key = key;
    cache->ref.assign(FVisited.size() * 64, 0);
    LoadCodeFile(*cache);
    FCodeCaches.insert(FCodeCaches.begin(), std::move(cache));
  } else if (found != FCodeCaches.begin()) {
    std::rotate(FCodeCaches.begin(), found, found + 1);
  }
  FCodes = FCodeCaches.front().get();
  if (FHeights.size() != FVisited.size() * 64) {
    // The whole trie at once, on the first walk: a few milliseconds, then each walk's first visit
    // below a prefix no longer pays for measuring that subtree.
    FHeights.assign(FVisited.size() * 64, HeightUnknown);
    Height(0, 0);
    FCacheChecksum = Checksum();
  }

  const int n0 = int(FOriginalWord.size());
  FFoldedWord.resize(size_t(n0));
  for (int j = 0; j < n0; ++j)
    FFoldedWord[size_t(j)] = FoldAscii(FOriginalWord[j].unicode());
  FRowsOn = n0 < DistanceLimit;
  if (FRowsOn) {
    const size_t width = size_t(n0) + 1;
    if (FRows.size() < width * DistanceLimit)
      FRows.resize(width * DistanceLimit);
    for (int j = 0; j <= n0; ++j)
      FRows[size_t(j)] = quint8(j);
  }
  FColumnsOn = FRowsOn && FColumns.SetPattern(FOriginalWord);
  FCodeColumnsOn = FCodeColumns.SetPattern(FOriginalMap);
  FColumnAt[0] = FColumns.First();
  // The largest distance a word of N letters may have and pass (-1: none passes): the tests of
  // AcceptableWordDistance solved for the distance.
  const int shortCode = FOriginalMapLength == 2 ? 1 : 0;
  if (FMaxDistanceFor != shortCode) {
    FMaxDistanceFor = shortCode;
    for (size_t N = 0; N < FMaxDistance.size(); ++N) {
      int most = std::min(int(N) - 2, std::max(4, (int(N) - 1) / 2));
      if (shortCode)
        most = std::min(most, 3);
      FMaxDistance[N] = qint16(std::max(most, -1));
    }
  }
  // The prefix above the first enumerated node: its rows and hashes.
  const auto *prefix = reinterpret_cast<const uchar *>(FWord.data());
  FPathHash[0] = HashStart;
  bool ascii = true;
  for (int i = 0; i + 1 < prefixLength; ++i) {
    FPathHash[size_t(i) + 1] = HashStep(FPathHash[size_t(i)], prefix[i]);
    ascii = ascii && prefix[i] != 0 && prefix[i] < 0x80;
    if (ascii && FRowsOn && i + 1 < DistanceLimit)
      DistanceRow(i + 1, prefix[i], int(FMaxDistance.size()) - 1);
  }
  // The second walk of a request (the capitalised word) adds to what the first one folded.
  if (FFoldedCount == 0)
    FFolded.clear();
  FFolded.reserve(FSuggestions->size() * 2);
  for (qsizetype i = FFoldedCount; i < FSuggestions->size(); ++i)
    FFolded.insert(FSuggestions->at(i).toCaseFolded());
  FFoldedCount = FSuggestions->size();
}

// Row `length` of the distance table between the misspelled word (n0 units) and the candidate's
// first `length` bytes (plain ASCII, one code unit each), whose last byte is c.
//
// Answers whether a word of `length` to `longest` bytes (rhHere) or of `length` + 1 to `longest`
// bytes (rhBelow) through this row could still pass the word-distance tests. Every word of N bytes
// through the row has a distance of at least row[j] + |N - (length + n0 - j)| for some j (its path
// through the table crosses the row, or jumps it with a swap that costs no less), and the largest
// passing distance grows by at most one per letter, so for each j only the allowed N nearest to
// length + n0 - j matters. The bound on the longest word below is what makes this bite: the passing
// distance grows with the length.
int TMainDictionary::DistanceRow(int length, uchar c, int longest)
{
  const int n0 = int(FFoldedWord.size());
  const size_t width = size_t(n0) + 1;
  const char16_t a = FoldAscii(c);
  FPathChar[size_t(length)] = a;
  quint8 *cur = FRows.data() + size_t(length) * width;
  const quint8 *prev = cur - width;
  const char16_t *b = FFoldedWord.data();
  if (FColumnsOn) {
    // The cells are summed from the column's steps as the tests below need them: most rows fail
    // every test, and the last cell comes from a count of its own.
    const TDistanceColumns::TColumn column = FColumns.Next(FColumnAt[size_t(length) - 1], a);
    FColumnAt[size_t(length)] = column;
    if (longest < length)
      return 0;
    const qint16 *maxDistance = FMaxDistance.data();
    const int clamped = std::min(n0, std::max(0, length + n0 - longest));
    const int most = maxDistance[longest] - (length + n0 - longest);
    quint64 up = column.up, down = column.down;
    int v = length;
    bool others = false;
    int j = clamped;
    if (clamped > 0) {
      // A cell less its index never grows along the column (a cell is at most one more than the
      // one before): of the cells before `clamped` the last decides. Mostly `longest` is near
      // `length`, and these cells were half of the walk's distance work.
      const int c = clamped - 1;
      const int last = TDistanceColumns::Cell(column, length, c);
      others = last - c <= most;
      v = last + int((up >> c) & 1) - int((down >> c) & 1);
      up = clamped >= 64 ? 0 : up >> clamped;
      down = clamped >= 64 ? 0 : down >> clamped;
    }
    for (; j < n0 && !others; ++j) {
      if (v <= maxDistance[length + n0 - j]) {
        others = true;
        break;
      }
      v += int(up & 1) - int(down & 1);
      up >>= 1;
      down >>= 1;
    }
    return Reach(others, column.last, length, longest);
  }
  cur[0] = quint8(length);
  if (length > 1) {
    const quint8 *before = prev - width;
    const char16_t pa = FPathChar[size_t(length) - 1];
    for (int j = 1; j <= n0; ++j) {
      const char16_t cb = b[j - 1];
      int v;
      if (a == cb) {
        v = prev[j - 1];
      } else {
        v = 1 + std::min(std::min(int(prev[j]), int(cur[j - 1])), int(prev[j - 1]));
        if (j > 1 && a == b[j - 2] && pa == cb)
          v = std::min(v, before[j - 2] + 1);
      }
      cur[j] = quint8(v);
    }
  } else {
    for (int j = 1; j <= n0; ++j)
      cur[j] = quint8(
          a == b[j - 1] ? prev[j - 1]
                        : 1 + std::min(std::min(int(prev[j]), int(cur[j - 1])), int(prev[j - 1])));
  }
  if (longest < length)
    return 0;
  // Cells before the last: the ideal length + n0 - j lies past this row; past `longest` the
  // nearest allowed length is `longest`.
  const qint16 *maxDistance = FMaxDistance.data();
  bool others = false;
  const int clamped = std::min(n0, std::max(0, length + n0 - longest));
  for (int j = 0; j < clamped && !others; ++j)
    others = cur[j] + (length + n0 - j - longest) <= maxDistance[longest];
  for (int j = clamped; j < n0 && !others; ++j)
    others = cur[j] <= maxDistance[length + n0 - j];
  return Reach(others, cur[n0], length, longest);
}

// DistanceRow's answer from its tests of the cells before the last, and the last cell.
int TMainDictionary::Reach(bool others, int last, int length, int longest) const
{
  int reach = 0;
  if (others || last <= FMaxDistance[size_t(length)])
    reach |= rhHere;
  if (longest > length && (others || last + 1 <= FMaxDistance[size_t(length) + 1]))
    reach |= rhBelow;
  return reach;
}

// The most letters any word below the node has after the node's own character (kept per node
// once known); Unbounded where that is unknown (a damaged file's cycle, or too deep to matter).
int TMainDictionary::Height(quint32 index, int depth)
{
  if (index >= FHeights.size() || depth > WordBufferSize)
    return Unbounded;
  quint16 &h = FHeights[index];
  if (h == NoWordBelow)
    return -1;
  if (h != HeightUnknown)
    return h == HeightInProgress ? Unbounded : h;
  h = HeightInProgress;
  TNode node;
  int result = -1; // no word below: nothing can pass
  if (GetNode(index, node)) {
    if (node.endOfWord())
      result = 0;
    TChildren children;
    if (ChildrenOf(node, children)) {
      auto child = [&](quint32 c) {
        const int below = Height(c, depth + 1 + node.k);
        if (below >= 0)
          result = std::max(result, std::min(Unbounded, node.k + 1 + below));
      };
      ForEachChild(children, child);
    }
  }
  h = quint16(result < 0 ? NoWordBelow : result);
  return result;
}

void TMainDictionary::EnumerateFast(quint32 index, int position, bool ascii)
{
  if (FWalkFull || !MarkVisited(index))
    return;
  TNode node;
  if (!GetNode(index, node) || position + 1 >= WordBufferSize)
    return;
  const uchar c = node.ch();
  FWord[position] = char(c);
  FWord[position + 1] = 0;
  int length = position + 1;
  FPathHash[size_t(length)] = HashStep(FPathHash[size_t(position)], c);
  // A zero byte ends the candidate text early, any other byte above ASCII may be part of a
  // longer character: below either, distances are computed from the text itself.
  ascii = ascii && c != 0 && c < 0x80;
  bool rows = ascii && FRowsOn && length < DistanceLimit;
  int height = Unbounded;
  if (rows) {
    // Known after the first walk for nearly every node: answered here without the call.
    const quint16 known = index < FHeights.size() ? FHeights[index] : HeightUnknown;
    height = known < NoWordBelow ? known : Height(index, length);
  }
  const int longest = std::min(length + height, int(FMaxDistance.size()) - 1);
  int reach = rows ? DistanceRow(length, c, longest) : 0;
  if (rows && !(reach & rhHere))
    return;
  if (node.endOfWord() && ConsiderFast(index, length, ascii))
    return;
  const int next = position + 1 + node.k;
  if (next + 1 >= WordBufferSize)
    return;
  std::memcpy(FWord.data() + position + 1, node.packed, node.k);
  FWord[next] = 0;
  for (int j = 0; j < node.k; ++j) {
    const uchar p = node.packed[j];
    FPathHash[size_t(length) + 1] = HashStep(FPathHash[size_t(length)], p);
    ++length;
    ascii = ascii && p != 0 && p < 0x80;
    rows = ascii && FRowsOn && length < DistanceLimit;
    // Only the run's last row is tested; the others just carry the table on (a longest below
    // the length asks for no test: two fifths of the walk's distance work went into them).
    if (rows)
      reach = DistanceRow(length, p, j + 1 < node.k ? -1 : longest);
  }
  // Every word below has at least one byte more.
  if (rows && !(reach & rhBelow))
    return;
  TChildren children;
  if (!ChildrenOf(node, children))
    return;
  if (children.direct)
    return EnumerateFast(children.ref, next, ascii);
  quint32 linkage = children.ref;
  for (quint32 i = 0; i < children.number && !FWalkFull; ++i) {
    quint32 child;
    if (!ReadLinkage(linkage, child))
      break;
    EnumerateFast(child, next, ascii);
  }
}

// ConsiderCandidate's answer for the word in FWord, `length` bytes long, at node `index`.
bool TMainDictionary::ConsiderFast(quint32 index, int length, bool ascii)
{
  QString candidate;
  bool haveCandidate = false;
  // The word's code: kept, or computed and kept.
  const quint64 hash = FPathHash[size_t(length)];
  const char16_t *code = nullptr;
  int L = 0;
  if (index < FCodes->ref.size() && FCodes->ref[index] != 0) {
    const char16_t *entry = FCodes->pool.data() + (FCodes->ref[index] - 1);
    quint64 stored = 0;
    std::memcpy(&stored, entry, sizeof stored);
    if (stored == hash) {
      L = entry[4];
      code = entry + 5;
    }
  }
  char16_t fromFile[NoCode];
  if (!code && index < FCodes->fileAt.size() && FCodes->fileAt[index] != 0) {
    const auto *entry =
        reinterpret_cast<const uchar *>(FCodes->file.constData()) + (FCodes->fileAt[index] - 1);
    L = entry[0];
    for (int i = 0; i < L; ++i)
      fromFile[i] = entry[1 + i];
    code = fromFile;
    ++FCodeFileHits;
  }
  QString computed;
  if (!code) {
    candidate = CodePageToWide(FCodePage, FWord.data());
    haveCandidate = true;
    computed = FPhonetics->GetMapping(candidate);
    L = int(computed.size());
    code = reinterpret_cast<const char16_t *>(computed.utf16());
    const size_t entrySize = 5 + size_t(L);
    if (index < FCodes->ref.size() && L <= 0xFFFF &&
        FCodes->pool.size() + entrySize < std::numeric_limits<quint32>::max()) {
      const size_t at = FCodes->pool.size();
      FCodes->pool.resize(at + entrySize);
      std::memcpy(FCodes->pool.data() + at, &hash, sizeof hash);
      FCodes->pool[at + 4] = char16_t(L);
      std::copy(code, code + L, FCodes->pool.data() + at + 5);
      FCodes->ref[index] = quint32(at + 1);
      code = FCodes->pool.data() + at + 5; // the pool may have moved
    }
  }

  int wordDist, N;
  if (ascii && FRowsOn && length < DistanceLimit) {
    wordDist = FColumnsOn ? FColumnAt[size_t(length)].last
                          : FRows[size_t(length) * (FFoldedWord.size() + 1) + FFoldedWord.size()];
    N = length;
  } else {
    if (!haveCandidate) {
      candidate = CodePageToWide(FCodePage, FWord.data());
      haveCandidate = true;
    }
    wordDist = EditDistance(FOriginalWord, candidate);
    N = int(candidate.size());
  }
  const int L0 = FOriginalMapLength;
  const bool mayAccept = AcceptableWordDistance(wordDist, N);
  // Not close answers "stop" only for a longer code; close without a passing distance goes on.
  if (!mayAccept && L <= L0)
    return false;
  // The tests below ask whether the code distance is at most L0 - 2, 1, 2 or 3.
  const int bound = std::max(3, L0 - 2);
  const QStringView map(code, L);
  const int mapDist = FCodeColumnsOn && L < DistanceLimit
                          ? std::min(FCodeColumns.Distance(map), bound + 1)
                          : EditDistanceWithin(map, FOriginalMap, bound);
  const bool close = map == QStringView(FOriginalMap) || (L0 >= 3 && mapDist <= L0 - 2) ||
                     (L0 == 2 && mapDist == 1 && L > 2);
  if (!close)
    return L > L0;
  if (!mayAccept)
    return false;
  if (!haveCandidate)
    candidate = QString::fromLatin1(FWord.data(), length);
  QString folded = candidate.toCaseFolded();
  if (FFolded.contains(folded))
    return false;
  const bool accept = !(wordDist == 4 && N <= 6 && mapDist > 1) &&
                      !(wordDist == 4 && mapDist > 2) && !(wordDist == 3 && mapDist > 3);
  if (accept) {
    FSuggestions->append(candidate);
    FFolded.insert(std::move(folded));
    ++FFoldedCount;
    FWalkFull = FSuggestions->size() > SuggestionCap;
  }
  return false;
}

// --- The phonetic codes side file --------------------------------------------------------------
// Layout (little-endian): the 8 bytes "WDPHON01", the dictionary's 64-bit checksum, its node count
// (64-bit), the number of maps (32-bit), per map 40 bytes: rule key (64-bit), start depth, limit,
// repeats removed (0/1), probe (32-bit each), section offset and size (64-bit each). A section
// holds, for every node whose word ends there, in node order: a length byte and that many Latin-1
// code units, or 255 for a code not kept (none reached, or not Latin-1, or 255 units or more).
// Measured on bench_suggest: without it a request's walk computed the codes of about 300 words,
// a tenth of its time.

QString TMainDictionary::CodeFileName(const QString &DictionaryFile)
{
  return ChangeFileExt(DictionaryFile, QStringLiteral(".wdp"));
}

// Words that exercise the rules of every table: a map whose rules changed since the file was
// written codes some of them differently.
quint32 TMainDictionary::CodeProbe(const TPhoneticsMap &Map)
{
  static const char16_t *const probes[] = {
      u"phonetic", u"knight",   u"through", u"schedule", u"xylophone", u"quick",   u"cycle",
      u"ghost",    u"watch",    u"write",   u"psalm",    u"science",   u"judge",   u"thumb",
      u"whisky",   u"dough",    u"tough",   u"chaos",    u"church",    u"mnemonic", u"gnome",
      u"ocean",    u"nation",   u"vision",  u"sugar",    u"cello",     u"gem",     u"bagge",
      u"happy",    u"sunny",    u"aardvark", u"caf\u00E9", u"na\u00EFve", u"\u0436\u0443\u043A",
      u"oeuvre",   u"ll",       u"y",       u"by",       u"xx",        u"q"};
  quint32 h = 2166136261u;
  for (const char16_t *p : probes) {
    const QString code = Map.GetMapping(QString::fromUtf16(p));
    for (const QChar c : code)
      h = (h ^ c.unicode()) * 16777619u;
    h = (h ^ 0xFFFFu) * 16777619u;
  }
  return h;
}

bool TMainDictionary::CollectWord(quint32 index)
{
  if (index < FCollected.size())
    FCollected[index] = QByteArray(FWord.data());
  return false;
}

QByteArray TMainDictionary::CodeFileImage(const std::vector<const TPhoneticsMap *> &Maps)
{
  if (!FLoaded)
    SetLoaded(true);
  if (!FLoaded)
    return QByteArray();
  const quint64 nodeCount = FNodeIndexStart[NodeClasses];
  const size_t reachable = size_t(std::min<quint64>(nodeCount, 1u << 23));
  // Every word below the root by its node, from the path the plain walk reaches it by first.
  FCollected.assign(reachable, QByteArray());
  FVisited.assign((reachable + 63) / 64, 0);
  FTouched.clear();
  FAtWord = &TMainDictionary::CollectWord;
  TNode root;
  TChildren children;
  if (GetNode(0, root) && ChildrenOf(root, children))
    ForEachChild(children, [this](quint32 child) { EnumerateFrom(child, 0); });
  FVisited.clear();
  FTouched.clear();
  const std::vector<QByteArray> words = std::move(FCollected);
  FCollected.clear();

  QByteArray image;
  auto put = [&image](auto value, int bytes) {
    for (int i = 0; i < bytes; ++i)
      image.append(char((quint64(value) >> (8 * i)) & 0xFF));
  };
  image.append(CodeFileMagic, sizeof CodeFileMagic);
  put(Checksum(), 8);
  put(nodeCount, 8);
  put(Maps.size(), 4);
  const qsizetype keysAt = image.size();
  image.append(QByteArray(qsizetype(Maps.size()) * CodeKeySize, '\0'));
  for (size_t m = 0; m < Maps.size(); ++m) {
    const TPhoneticsMap &map = *Maps[m];
    const qint64 start = image.size();
    for (quint64 index = 0; index < nodeCount; ++index) {
      TNode node;
      if (!GetNode(quint32(index), node) || !node.endOfWord())
        continue;
      const QByteArray &bytes = index < words.size() ? words[size_t(index)] : QByteArray();
      QString code;
      if (!bytes.isEmpty())
        code = map.GetMapping(CodePageToWide(FCodePage, bytes.constData(), bytes.size()));
      const bool keep = !bytes.isEmpty() && code.size() < NoCode &&
                        std::all_of(code.begin(), code.end(), [](QChar c) { return c.unicode() < 256; });
      if (!keep) {
        image.append(char(NoCode));
        continue;
      }
      image.append(char(code.size()));
      for (const QChar c : code)
        image.append(char(c.unicode()));
    }
    const TPhoneticsMap::TMappingKey key = map.MappingKey();
    QByteArray entry;
    std::swap(image, entry);
    put(key.Rules, 8);
    put(quint32(key.StartDepth), 4);
    put(quint32(key.Limit), 4);
    put(quint32(key.RemoveDupes ? 1 : 0), 4);
    put(CodeProbe(map), 4);
    put(quint64(start), 8);
    put(quint64(entry.size() - start), 8);
    std::swap(image, entry);
    image.replace(keysAt + qsizetype(m) * CodeKeySize, CodeKeySize, entry);
  }
  return image;
}

void TMainDictionary::LoadCodeFile(TCodeCache &Cache)
{
  Cache.file.clear();
  Cache.fileAt.clear();
  // Only a regular file: a FIFO there blocked the first suggestion request for ever.
  QFile f(CodeFileName(FFilename));
  if (!OpenRegularFile(f) || f.size() > CodeFileLimit)
    return;
  // The header and the map table, then this map's section only: the file holds four.
  const quint64 size = quint64(f.size());
  const quint64 nodeCount = FNodeIndexStart[NodeClasses];
  const QByteArray header = f.read(CodeHeaderSize);
  const auto *h = reinterpret_cast<const uchar *>(header.constData());
  if (header.size() < CodeHeaderSize || std::memcmp(h, CodeFileMagic, sizeof CodeFileMagic) != 0 ||
      qFromLittleEndian<quint64>(h + 8) != FCacheChecksum ||
      qFromLittleEndian<quint64>(h + 16) != nodeCount)
    return;
  const quint32 keys = qFromLittleEndian<quint32>(h + 24);
  if (quint64(keys) * CodeKeySize > size - CodeHeaderSize)
    return;
  const QByteArray table = f.read(qint64(keys) * CodeKeySize);
  if (table.size() != qsizetype(keys) * CodeKeySize)
    return;
  const TPhoneticsMap::TMappingKey key = FPhonetics->MappingKey();
  quint64 start = 0, length = 0;
  bool found = false;
  for (quint32 k = 0; k < keys && !found; ++k) {
    const auto *e = reinterpret_cast<const uchar *>(table.constData()) + quint64(k) * CodeKeySize;
    found = qFromLittleEndian<quint64>(e) == key.Rules &&
            qint32(qFromLittleEndian<quint32>(e + 8)) == key.StartDepth &&
            qint32(qFromLittleEndian<quint32>(e + 12)) == key.Limit &&
            qFromLittleEndian<quint32>(e + 16) == (key.RemoveDupes ? 1u : 0u);
    if (found) {
      if (qFromLittleEndian<quint32>(e + 20) != CodeProbe(*FPhonetics))
        return;
      start = qFromLittleEndian<quint64>(e + 24);
      length = qFromLittleEndian<quint64>(e + 32);
    }
  }
  if (!found || start > size || length > size - start || !f.seek(qint64(start)))
    return;
  const QByteArray section = f.read(qint64(length));
  if (quint64(section.size()) != length)
    return;
  const auto *p = reinterpret_cast<const uchar *>(section.constData());
  // Each word node's entry, in node order; an entry past the section refuses the file.
  std::vector<quint32> at(Cache.ref.size(), 0);
  quint64 pos = 0;
  const quint64 end = length;
  for (quint64 index = 0; index < nodeCount; ++index) {
    TNode node;
    if (!GetNode(quint32(index), node))
      return;
    if (!node.endOfWord())
      continue;
    if (pos >= end)
      return;
    const uchar n = p[pos];
    if (n == NoCode) {
      ++pos;
      continue;
    }
    if (quint64(n) + 1 > end - pos)
      return;
    if (index < at.size())
      at[size_t(index)] = quint32(pos + 1);
    pos += 1 + n;
  }
  if (pos != end)
    return;
  Cache.file = section;
  Cache.fileAt = std::move(at);
}
