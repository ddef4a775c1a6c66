#include "wrMainDictionary.h"
#include "wrMainDictionaryPrivate.h"

#include "rtRegularFile.h"

#include "wrEngineLog.h"
#include "wrPhoneticsMap.h"
#include "wrUtil.h"

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
  // Only a regular file: a FIFO named as a dictionary would otherwise block the program.
  if (F.isEmpty() || !OpenRegularFile(file)) {
    FFailure = F.isEmpty() || !file.exists() ? ffMissing : ffUnreadable;
    return;
  }
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
    FFailure = ffWrongFormat;
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
  FFailure = ffNone;
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
  const qint64 size = OpenRegularFile(*file) ? file->size() : 0;
  uchar *view = size > 0 ? file->map(0, size) : nullptr;
  if (!view) {
    qCInfo(lcSpellEngine) << "main dictionary not loaded (unreadable):" << FFilename;
    FFailure = ffUnreadable;
    return;
  }
  const quint64 S = quint64(size);
  const quint64 p9 = FNodePositionStart[NodeClasses];
  const quint32 L = p9 + 4 < S ? qFromLittleEndian<quint32>(view + p9) : 0;
  if (!(p9 + 4 < S) || p9 + 4 + quint64(L) + LookupSize + CharSetTableSize > S) {
    qCInfo(lcSpellEngine) << "main dictionary damaged (its layout ends beyond the file):"
                          << FFilename;
    FFailure = ffDamaged;
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
