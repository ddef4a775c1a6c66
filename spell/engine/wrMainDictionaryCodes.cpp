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
      const bool keep =
          !bytes.isEmpty() && code.size() < NoCode &&
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
