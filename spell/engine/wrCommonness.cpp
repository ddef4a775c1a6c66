#include "wrCommonness.h"

#include "rtRegularFile.h"
#include "wrUtil.h"

#include <QFileInfo>
#include <QMutex>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

constexpr qint64 HeaderSize = 32;
constexpr int MinBucketBits = 4;
constexpr int MaxBucketBits = 24;

// The order of the table: hash, then length, then code units.
int CompareKey(quint32 ha, const char16_t *a, qsizetype na, quint32 hb, const char16_t *b,
               qsizetype nb)
{
  if (ha != hb)
    return ha < hb ? -1 : 1;
  if (na != nb)
    return na < nb ? -1 : 1;
  for (qsizetype i = 0; i < na; ++i)
    if (a[i] != b[i])
      return a[i] < b[i] ? -1 : 1;
  return 0;
}

void PutWord(QByteArray &Out, qsizetype At, quint32 Value)
{
  qToLittleEndian(Value, Out.data() + At);
}

} // namespace

TWordCommonness::TWordCommonness() = default;
TWordCommonness::~TWordCommonness() = default;

QString TWordCommonness::SideFileName(const QString &DictionaryFile)
{
  const QFileInfo info(DictionaryFile);
  return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".wdf");
}

quint32 TWordCommonness::Hash(QStringView Word)
{
  // FNV-1a over the code units; the top bits choose the bucket, all of them order it.
  quint32 h = 2166136261u;
  for (const QChar c : Word)
    h = (h ^ c.unicode()) * 16777619u;
  return h;
}

void TWordCommonness::Clear()
{
  FMapped.reset();
  FBuilt.clear();
  FBuckets = nullptr;
  FEntries = nullptr;
  FPool = nullptr;
  FBucketBits = 0;
  FCount = 0;
}

QByteArray TWordCommonness::CompileTable(const std::vector<std::pair<QString, int>> &Words)
{
  struct TWord {
    quint32 hash;
    const char16_t *units;
    qsizetype length;
    int cls;
  };
  std::vector<TWord> words;
  words.reserve(Words.size());
  for (const auto &[word, cls] : Words)
    if (!word.isEmpty() && word.size() <= 0xFFFF && cls >= 0 && cls < Unknown)
      words.push_back(
          {Hash(word), reinterpret_cast<const char16_t *>(word.utf16()), word.size(), cls});
  std::sort(words.begin(), words.end(), [](const TWord &a, const TWord &b) {
    return CompareKey(a.hash, a.units, a.length, b.hash, b.units, b.length) < 0;
  });
  // A word listed at several levels keeps its commonest.
  std::vector<TWord> unique;
  unique.reserve(words.size());
  qint64 poolUnits = 0;
  for (const TWord &w : words) {
    if (!unique.empty() && CompareKey(unique.back().hash, unique.back().units, unique.back().length,
                                      w.hash, w.units, w.length) == 0) {
      unique.back().cls = std::min(unique.back().cls, w.cls);
      continue;
    }
    unique.push_back(w);
    poolUnits += 1 + w.length;
  }
  if (poolUnits >= (qint64(1) << OffsetBits) - 1)
    return QByteArray(); // a side file far beyond any dictionary's
  // About two entries a bucket: the bucket starts cost a quarter of the entries.
  int bits = MinBucketBits;
  while (bits < MaxBucketBits && (size_t(1) << (bits + 1)) <= unique.size())
    ++bits;
  const size_t buckets = size_t(1) << bits;
  const qint64 bucketsAt = HeaderSize;
  const qint64 entriesAt = bucketsAt + qint64(buckets + 1) * 4;
  const qint64 poolAt = entriesAt + qint64(unique.size()) * 8;
  QByteArray out(poolAt + poolUnits * 2, '\0');
  std::memcpy(out.data(), TableMagic, 16);
  PutWord(out, 16, quint32(unique.size()));
  PutWord(out, 20, quint32(bits));
  PutWord(out, 24, quint32(poolUnits));
  std::vector<quint32> starts(buckets + 1, 0);
  for (const TWord &w : unique)
    ++starts[(w.hash >> (32 - bits)) + 1];
  for (size_t b = 0; b < buckets; ++b)
    starts[b + 1] += starts[b];
  for (size_t b = 0; b <= buckets; ++b)
    PutWord(out, bucketsAt + qint64(b) * 4, starts[b]);
  qint64 pool = 0;
  for (size_t i = 0; i < unique.size(); ++i) {
    const TWord &w = unique[i];
    PutWord(out, entriesAt + qint64(i) * 8, w.hash);
    PutWord(out, entriesAt + qint64(i) * 8 + 4, quint32(pool + 1) | (quint32(w.cls) << OffsetBits));
    qToLittleEndian(quint16(w.length), out.data() + poolAt + pool * 2);
    for (qsizetype k = 0; k < w.length; ++k)
      qToLittleEndian(quint16(w.units[k]), out.data() + poolAt + (pool + 1 + k) * 2);
    pool += 1 + w.length;
  }
  return out;
}

bool TWordCommonness::UseTable(const uchar *Data, qint64 Size)
{
  // Used in place: the table's words are read as the host's, which must be little-endian.
  if constexpr (Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
    return false;
  if (Size < HeaderSize || std::memcmp(Data, TableMagic, 16) != 0)
    return false;
  const quint32 count = qFromLittleEndian<quint32>(Data + 16);
  const quint32 bits = qFromLittleEndian<quint32>(Data + 20);
  const quint32 poolUnits = qFromLittleEndian<quint32>(Data + 24);
  if (qFromLittleEndian<quint32>(Data + 28) != 0 || bits < MinBucketBits || bits > MaxBucketBits ||
      poolUnits >= (1u << OffsetBits))
    return false;
  const qint64 buckets = qint64(1) << bits;
  const qint64 entriesAt = HeaderSize + (buckets + 1) * 4;
  const qint64 poolAt = entriesAt + qint64(count) * 8;
  if (poolAt + qint64(poolUnits) * 2 != Size)
    return false;
  const auto *starts = reinterpret_cast<const quint32 *>(Data + HeaderSize);
  const auto *entries = reinterpret_cast<const TEntry *>(Data + entriesAt);
  const auto *pool = reinterpret_cast<const char16_t *>(Data + poolAt);
  // One pass over the whole table, so that a lookup can trust what it reads.
  if (starts[0] != 0 || starts[buckets] != count)
    return false;
  const int shift = 32 - int(bits);
  for (qint64 b = 0; b < buckets; ++b) {
    const quint32 lo = starts[b], hi = starts[b + 1];
    if (hi < lo || hi > count)
      return false;
    for (quint32 i = lo; i < hi; ++i) {
      const TEntry &e = entries[i];
      const quint32 offset = e.entry & ((1u << OffsetBits) - 1);
      if (qint64(e.hash >> shift) != b || offset == 0 || offset > poolUnits ||
          (e.entry >> OffsetBits) >= quint32(Unknown))
        return false;
      const quint32 at = offset - 1;
      const qsizetype length = pool[at];
      if (length == 0 || qint64(at) + 1 + length > qint64(poolUnits))
        return false;
      const char16_t *units = pool + at + 1;
      if (Hash(QStringView(units, length)) != e.hash)
        return false;
      if (i > 0) {
        const TEntry &p = entries[i - 1];
        const quint32 pat = (p.entry & ((1u << OffsetBits) - 1)) - 1;
        if (CompareKey(p.hash, pool + pat + 1, pool[pat], e.hash, units, length) >= 0)
          return false;
      }
    }
  }
  FBuckets = starts;
  FEntries = entries;
  FPool = pool;
  FBucketBits = quint32(bits);
  FCount = qsizetype(count);
  return true;
}

bool TWordCommonness::LoadList(const QByteArray &Text)
{
  const char *p = Text.constData();
  const char *const end = p + Text.size();
  // One line at a time, trimmed.
  auto nextLine = [&p, end](const char *&begin, const char *&stop) {
    const char *eol = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
    if (!eol)
      eol = end;
    begin = p;
    stop = eol;
    p = eol < end ? eol + 1 : end;
    auto space = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (begin < stop && space(*begin))
      ++begin;
    while (stop > begin && space(stop[-1]))
      --stop;
  };
  const char *begin, *stop;
  nextLine(begin, stop);
  if (QByteArrayView(begin, stop - begin) != QByteArrayView("LWCOMMON 1"))
    return false;
  int current = -1;
  std::vector<std::pair<QString, int>> words;
  while (p < end) {
    nextLine(begin, stop);
    if (begin == stop)
      continue;
    if (*begin == '=') {
      bool ok = false;
      current = QByteArray(begin + 1, stop - begin - 1).toInt(&ok);
      if (!ok || current < 0 || current >= Unknown)
        return false;
      continue;
    }
    if (current < 0)
      return false;
    words.emplace_back(QString::fromUtf8(begin, stop - begin), current);
  }
  FBuilt = CompileTable(words);
  return !FBuilt.isEmpty() &&
         UseTable(reinterpret_cast<const uchar *>(FBuilt.constData()), FBuilt.size());
}

bool TWordCommonness::Load(const QString &FileName)
{
  Clear();
  auto mapped = std::make_unique<TMappedFile>();
  bool ok = mapped->Open(FileName, MaxFileSize);
  const uchar *data = mapped->Data();
  const qint64 size = mapped->Size();
  if (ok && size >= 16 && std::memcmp(data, TableMagic, 16) == 0) {
    ok = UseTable(data, size);
    FMapped = std::move(mapped);
  } else if (ok) {
    ok = LoadList(QByteArray::fromRawData(reinterpret_cast<const char *>(data), size));
  }
  if (!ok)
    Clear();
  return ok;
}

int TWordCommonness::Find(QStringView Word) const
{
  if (!FBuckets)
    return -1;
  const quint32 h = Hash(Word);
  const auto *units = reinterpret_cast<const char16_t *>(Word.utf16());
  const quint32 b = h >> (32 - FBucketBits);
  quint32 lo = FBuckets[b], hi = FBuckets[b + 1];
  while (lo < hi) {
    const quint32 mid = lo + (hi - lo) / 2;
    const TEntry &e = FEntries[mid];
    const quint32 at = (e.entry & ((1u << OffsetBits) - 1)) - 1;
    const int c = CompareKey(e.hash, FPool + at + 1, FPool[at], h, units, Word.size());
    if (c == 0)
      return int(e.entry >> OffsetBits);
    if (c < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  return -1;
}

int TWordCommonness::Class(const QString &Word) const
{
  int found = Find(Word);
  if (found < 0) {
    const QString lower = Word.toLower();
    if (lower != Word)
      found = Find(lower);
  }
  return found < 0 ? Unknown : found;
}

std::shared_ptr<const TWordCommonness> TWordCommonness::ForDictionary(const QString &DictionaryFile)
{
  // Asked once per suggestion request: the side file's name is kept per dictionary, and its
  // stamp is read with one stat (QFileInfo's local modification time cost 0.07 ms a request,
  // a fifth of a whole request on bench_suggest).
  struct TEntry {
    QString side;
    TFileStamp stamp;
    std::shared_ptr<const TWordCommonness> commonness;
  };
  static QMutex lock;
  static std::map<QString, TEntry> loaded;
  if (DictionaryFile.isEmpty())
    return nullptr;
  QMutexLocker guard(&lock);
  auto [at, added] = loaded.try_emplace(DictionaryFile);
  TEntry &entry = at->second;
  if (added)
    entry.side = SideFileName(DictionaryFile);
  const TFileStamp stamp = ReadFileStamp(entry.side);
  if (added || !(entry.stamp == stamp)) {
    auto c = std::make_shared<TWordCommonness>();
    entry.stamp = stamp;
    entry.commonness = stamp.size >= 0 && c->Load(entry.side) ? std::move(c) : nullptr;
  }
  return entry.commonness;
}
