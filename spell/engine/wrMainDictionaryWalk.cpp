// The suggestion walks of TMainDictionary (declared in wrMainDictionary.h): the plain phonetic
// walk over every word and the fast walk that prunes by code distance.
#include "wrMainDictionary.h"
#include "wrMainDictionaryPrivate.h"

#include "wrEngineLog.h"
#include "wrPhoneticsMap.h"
#include "wrUtil.h"

#include <QFile>
#include <QStringView>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>
#include <typeinfo>

using namespace wrMainDictionaryPrivate;

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
    FWalkVisits = 0;
    FWalkBudget = WalkBudget();
    if (FFast) {
      PrepareFastWalk(prefixLength);
      bool ascii = true;
      for (int i = 0; i + 1 < prefixLength; ++i)
        ascii = ascii && prefix[i] != 0 && prefix[i] < 0x80;
      EnumerateFast(index, prefixLength - 1, ascii, PrefixOrdinal(prefixLength));
    } else {
      FAtWord = &TMainDictionary::ConsiderCandidate;
      EnumerateFrom(index, prefixLength - 1);
    }
    return;
  }
}

quint64 TMainDictionary::WalkBudget() const { return 32 * quint64(FWordCount) + 1024; }

size_t TMainDictionary::NodeSlots() const
{
  return size_t(std::min<quint64>(FNodeIndexStart[NodeClasses], 1u << 23));
}

bool TMainDictionary::EnumerateFrom(quint32 index, int position)
{
  if (!CountVisit())
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

} // namespace

void TMainDictionary::ClearWalkCaches()
{
  FCodeCaches.clear();
  FHeights.clear();
  FCounts.clear();
  FWordTotal = 0;
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
  PrepareNodeFacts();
  if (found == FCodeCaches.end()) {
    if (FCodeCaches.size() >= CodeCaches)
      FCodeCaches.pop_back();
    auto cache = std::make_unique<TCodeCache>();
    cache->key = key;
    cache->ref.assign(size_t(std::min<quint64>(FWordTotal, CodeWordLimit)), 0);
    LoadCodeFile(*cache);
    FCodeCaches.insert(FCodeCaches.begin(), std::move(cache));
  } else if (found != FCodeCaches.begin()) {
    std::rotate(FCodeCaches.begin(), found, found + 1);
  }
  FCodes = FCodeCaches.front().get();

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

// Heights and word counts of the whole dictionary at once, on the first walk: a few
// milliseconds, then each walk's first visit below a prefix no longer pays for measuring that
// subtree. Both are facts of a node, whatever path reaches it.
void TMainDictionary::PrepareNodeFacts()
{
  if (FHeights.size() == NodeSlots() && FCounts.size() == NodeSlots())
    return;
  FHeights.assign(NodeSlots(), HeightUnknown);
  FCounts.assign(NodeSlots(), CountUnknown);
  Height(0, 0);
  FWordTotal = 0;
  TNode root;
  TChildren children;
  if (GetNode(0, root) && ChildrenOf(root, children))
    ForEachChild(children, [this](quint32 child) {
      FWordTotal = std::min<quint64>(CountLimit, FWordTotal + WordsBelow(child, 1));
    });
  FCacheChecksum = Checksum();
}

quint64 TMainDictionary::WordsBelow(quint32 index, int depth)
{
  if (index >= FCounts.size() || depth > WordBufferSize)
    return 0;
  quint32 &n = FCounts[index];
  if (n == CountInProgress)
    return 0;
  if (n != CountUnknown)
    return n;
  n = CountInProgress;
  TNode node;
  quint64 result = 0;
  if (GetNode(index, node)) {
    result = node.endOfWord() ? 1 : 0;
    TChildren children;
    if (ChildrenOf(node, children))
      ForEachChild(children, [&](quint32 c) {
        result = std::min<quint64>(CountLimit, result + WordsBelow(c, depth + 1 + node.k));
      });
  }
  n = quint32(result);
  return result;
}

// The descent of WalkPrefix again, adding up the words of the children passed over.
quint64 TMainDictionary::PrefixOrdinal(int prefixLength)
{
  const auto *prefix = reinterpret_cast<const uchar *>(FWord.data());
  quint64 ordinal = 0;
  TNode node;
  TChildren children;
  if (!GetNode(0, node) || !ChildrenOf(node, children))
    return 0;
  int i = 0;
  while (i < prefixLength) {
    const uchar c = prefix[i];
    bool selected = false;
    ForEachChild(children, [&](quint32 child) {
      if (selected)
        return;
      TNode candidate;
      if (!GetNode(child, candidate))
        return;
      if (candidate.ch() == c) {
        selected = true;
        node = candidate;
      } else {
        ordinal += WordsBelow(child, i + 1);
      }
    });
    if (!selected)
      return ordinal;
    ++i;
    if (i == prefixLength)
      return ordinal;
    ordinal += node.endOfWord() ? 1 : 0;
    i += node.k;
    if (!ChildrenOf(node, children))
      return ordinal;
  }
  return ordinal;
}

void TMainDictionary::EnumerateFast(quint32 index, int position, bool ascii, quint64 ordinal)
{
  if (FWalkFull || !CountVisit())
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
  if (node.endOfWord() && ConsiderFast(ordinal, length, ascii))
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
  if (node.endOfWord())
    ++ordinal;
  if (children.direct)
    return EnumerateFast(children.ref, next, ascii, ordinal);
  quint32 linkage = children.ref;
  for (quint32 i = 0; i < children.number && !FWalkFull; ++i) {
    quint32 child;
    if (!ReadLinkage(linkage, child))
      break;
    EnumerateFast(child, next, ascii, ordinal);
    ordinal += child < FCounts.size() ? FCounts[child] : 0;
  }
}

// ConsiderCandidate's answer for the word in FWord, `length` bytes long, the word `ordinal`.
bool TMainDictionary::ConsiderFast(quint64 ordinal, int length, bool ascii)
{
  QString candidate;
  bool haveCandidate = false;
  // The word's code: kept, or computed and kept.
  const quint64 hash = FPathHash[size_t(length)];
  const char16_t *code = nullptr;
  int L = 0;
  if (ordinal < FCodes->ref.size() && FCodes->ref[ordinal] != 0) {
    const char16_t *entry = FCodes->pool.data() + (FCodes->ref[ordinal] - 1);
    quint64 stored = 0;
    std::memcpy(&stored, entry, sizeof stored);
    if (stored == hash) {
      L = entry[4];
      code = entry + 5;
    }
  }
  char16_t fromFile[NoCode];
  if (!code && ordinal < FCodes->fileAt.size() && FCodes->fileAt[ordinal] != 0) {
    const auto *entry =
        reinterpret_cast<const uchar *>(FCodes->file.constData()) + (FCodes->fileAt[ordinal] - 1);
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
    if (ordinal < FCodes->ref.size() && L <= 0xFFFF &&
        FCodes->pool.size() + entrySize < std::numeric_limits<quint32>::max()) {
      const size_t at = FCodes->pool.size();
      FCodes->pool.resize(at + entrySize);
      std::memcpy(FCodes->pool.data() + at, &hash, sizeof hash);
      FCodes->pool[at + 4] = char16_t(L);
      std::copy(code, code + L, FCodes->pool.data() + at + 5);
      FCodes->ref[ordinal] = quint32(at + 1);
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
