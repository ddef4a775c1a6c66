// The phonetic codes side file of TMainDictionary (declared in wrMainDictionary.h): writing it
// for the compiler and reading it, checked, for suggestion requests.
#include "wrMainDictionary.h"
#include "wrMainDictionaryPrivate.h"

#include "wrEngineLog.h"
#include "wrPhoneticsMap.h"
#include "wrUtil.h"

#include "rtRegularFile.h"

#include <QFile>
#include <QStringView>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <limits>

using namespace wrMainDictionaryPrivate;

// --- The phonetic codes side file --------------------------------------------------------------
// Layout (little-endian): the 8 bytes "WDPHON01", the dictionary's 64-bit checksum, its node count
// (64-bit), the number of maps (32-bit), per map 40 bytes: rule key (64-bit), start depth, limit,
// repeats removed (0/1), probe (32-bit each), section offset and size (64-bit each). A section
// holds, for every word in walk order (its ordinal: children in stored order, a node's own word
// before the words below it): a length byte and that many Latin-1 code units, or 255 for a code
// not kept (not Latin-1, or 255 units or more). Keyed by word rather than node: a node shared by
// equal endings ends many words. A dictionary of more than 2^23 words gets no sections.
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
  static const char16_t *const probes[] = {u"phonetic",   u"knight",
                                           u"through",    u"schedule",
                                           u"xylophone",  u"quick",
                                           u"cycle",      u"ghost",
                                           u"watch",      u"write",
                                           u"psalm",      u"science",
                                           u"judge",      u"thumb",
                                           u"whisky",     u"dough",
                                           u"tough",      u"chaos",
                                           u"church",     u"mnemonic",
                                           u"gnome",      u"ocean",
                                           u"nation",     u"vision",
                                           u"sugar",      u"cello",
                                           u"gem",        u"bagge",
                                           u"happy",      u"sunny",
                                           u"aardvark",   u"caf\u00E9",
                                           u"na\u00EFve", u"\u0436\u0443\u043A",
                                           u"oeuvre",     u"ll",
                                           u"y",          u"by",
                                           u"xx",         u"q"};
  quint32 h = 2166136261u;
  for (const char16_t *p : probes) {
    const QString code = Map.GetMapping(QString::fromUtf16(p));
    for (const QChar c : code)
      h = (h ^ c.unicode()) * 16777619u;
    h = (h ^ 0xFFFFu) * 16777619u;
  }
  return h;
}

bool TMainDictionary::CollectFrom(quint32 index, int position, quint64 ordinal)
{
  if (!CountVisit())
    return false;
  TNode node;
  if (!GetNode(index, node) || position + 1 >= WordBufferSize)
    return true;
  FWord[position] = char(node.ch());
  FWord[position + 1] = 0;
  if (node.endOfWord()) {
    if (ordinal != FCollected.size() || ordinal >= CodeWordLimit)
      return false;
    FCollected.push_back(QByteArray(FWord.data()));
    ++ordinal;
  }
  const int next = position + 1 + node.k;
  if (next + 1 >= WordBufferSize)
    return true;
  std::memcpy(FWord.data() + position + 1, node.packed, node.k);
  FWord[next] = 0;
  TChildren children;
  if (!ChildrenOf(node, children))
    return true;
  bool consistent = true;
  ForEachChild(children, [&](quint32 child) {
    consistent = consistent && CollectFrom(child, next, ordinal);
    ordinal += WordsBelow(child, next);
  });
  return consistent;
}

QByteArray TMainDictionary::CodeFileImage(const std::vector<const TPhoneticsMap *> &Maps)
{
  if (!FLoaded)
    SetLoaded(true);
  if (!FLoaded)
    return QByteArray();
  const quint64 nodeCount = FNodeIndexStart[NodeClasses];
  PrepareNodeFacts();
  // Every word by its ordinal. The walk checks that its order gives each word the ordinal the
  // counts give it, as the suggestion walk will: a damaged file whose counts disagree, or one
  // beyond the budget or the word limit, gets no sections.
  FCollected.clear();
  FWalkVisits = 0;
  FWalkBudget = WalkBudget();
  bool consistent = FWordTotal <= CodeWordLimit;
  TNode root;
  TChildren children;
  quint64 ordinal = 0;
  if (consistent && GetNode(0, root) && ChildrenOf(root, children))
    ForEachChild(children, [&](quint32 child) {
      consistent = consistent && CollectFrom(child, 0, ordinal);
      ordinal += WordsBelow(child, 1);
    });
  const std::vector<QByteArray> words = std::move(FCollected);
  FCollected.clear();
  consistent = consistent && words.size() == FWordTotal;
  const size_t mapCount = consistent ? Maps.size() : 0;

  QByteArray image;
  auto put = [&image](auto value, int bytes) {
    for (int i = 0; i < bytes; ++i)
      image.append(char((quint64(value) >> (8 * i)) & 0xFF));
  };
  image.append(CodeFileMagic, sizeof CodeFileMagic);
  put(Checksum(), 8);
  put(nodeCount, 8);
  put(mapCount, 4);
  const qsizetype keysAt = image.size();
  image.append(QByteArray(qsizetype(mapCount) * CodeKeySize, '\0'));
  for (size_t m = 0; m < mapCount; ++m) {
    const TPhoneticsMap &map = *Maps[m];
    const qint64 start = image.size();
    for (const QByteArray &bytes : words) {
      const QString code =
          map.GetMapping(CodePageToWide(FCodePage, bytes.constData(), bytes.size()));
      const bool keep = code.size() < NoCode && std::all_of(code.begin(), code.end(), [](QChar c) {
                          return c.unicode() < 256;
                        });
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
  // Each word's entry, by ordinal; an entry past the section refuses the file.
  if (FWordTotal > CodeWordLimit)
    return;
  std::vector<quint32> at(Cache.ref.size(), 0);
  quint64 pos = 0;
  const quint64 end = length;
  for (quint64 ordinal = 0; ordinal < FWordTotal; ++ordinal) {
    if (pos >= end)
      return;
    const uchar n = p[pos];
    if (n == NoCode) {
      ++pos;
      continue;
    }
    if (quint64(n) + 1 > end - pos)
      return;
    if (ordinal < at.size())
      at[size_t(ordinal)] = quint32(pos + 1);
    pos += 1 + n;
  }
  if (pos != end)
    return;
  Cache.file = section;
  Cache.fileAt = std::move(at);
}
