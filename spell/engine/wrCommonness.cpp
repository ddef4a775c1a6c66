#include "wrCommonness.h"

#include "wrUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <algorithm>
#include <cstring>
#include <map>

QString TWordCommonness::SideFileName(const QString &DictionaryFile)
{
  const QFileInfo info(DictionaryFile);
  return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".wdf");
}

quint32 TWordCommonness::Hash(QStringView Word)
{
  // FNV-1a over the code units; the table keeps the low bits for the slot, all for the test.
  quint32 h = 2166136261u;
  for (const QChar c : Word)
    h = (h ^ c.unicode()) * 16777619u;
  return h;
}

void TWordCommonness::Clear()
{
  FPool.clear();
  FSlots.clear();
  FCount = 0;
}

size_t TWordCommonness::Find(QStringView Word, quint32 H) const
{
  if (FSlots.empty())
    return NotFound;
  const size_t mask = FSlots.size() - 1;
  for (size_t i = H & mask;; i = (i + 1) & mask) {
    const TSlot &slot = FSlots[i];
    if (slot.entry == 0)
      return NotFound;
    if (slot.hash != H)
      continue;
    const size_t at = (slot.entry & ((1u << OffsetBits) - 1)) - 1;
    const qsizetype length = FPool[at];
    if (length == Word.size() &&
        std::equal(Word.begin(), Word.end(), FPool.begin() + qsizetype(at) + 1,
                   [](QChar a, char16_t b) { return a.unicode() == b; }))
      return i;
  }
}

bool TWordCommonness::Add(QStringView Word, int Class)
{
  if (Word.isEmpty() || Word.size() > 0xFFFF)
    return true; // never asked for
  const quint32 h = Hash(Word);
  if (const size_t found = Find(Word, h); found != NotFound) {
    // A word listed at several levels keeps its commonest.
    TSlot &slot = FSlots[found];
    if (quint32(Class) < (slot.entry >> OffsetBits))
      slot.entry = (slot.entry & ((1u << OffsetBits) - 1)) | (quint32(Class) << OffsetBits);
    return true;
  }
  if (FPool.size() + 1 + size_t(Word.size()) >= (size_t(1) << OffsetBits) - 1)
    return false; // a side file far beyond any dictionary's
  // Load sizes the table for every line a word; this only guards against it filling up.
  if (size_t(FCount + 1) * 4 > FSlots.size() * 3)
    return false;
  const size_t at = FPool.size();
  FPool.push_back(char16_t(Word.size()));
  for (const QChar c : Word)
    FPool.push_back(c.unicode());
  const size_t mask = FSlots.size() - 1;
  size_t i = h & mask;
  while (FSlots[i].entry != 0)
    i = (i + 1) & mask;
  FSlots[i] = {h, quint32(at + 1) | (quint32(Class) << OffsetBits)};
  ++FCount;
  return true;
}

bool TWordCommonness::Load(const QString &FileName)
{
  Clear();
  QFile f(FileName);
  if (!f.open(QIODevice::ReadOnly))
    return false;
  const QByteArray all = f.readAll();
  const char *p = all.constData();
  const char *const end = p + all.size();
  // One line at a time, trimmed; ASCII words (nearly all) are widened in place.
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
  // Sized once for every line a word, at most three quarters full: a missing word (most
  // capitalised forms) ends its probe within a cache line or two.
  const qsizetype lines = qsizetype(std::count(p, end, '\n')) + 1;
  size_t tableSize = 1024;
  while (tableSize * 3 < size_t(lines) * 4)
    tableSize *= 2;
  FSlots.assign(tableSize, TSlot());
  FPool.reserve(size_t(all.size()) + size_t(lines));
  const char *begin, *stop;
  nextLine(begin, stop);
  if (QByteArrayView(begin, stop - begin) != QByteArrayView("LWCOMMON 1")) {
    Clear();
    return false;
  }
  int current = -1;
  QString wide;
  while (p < end) {
    nextLine(begin, stop);
    if (begin == stop)
      continue;
    if (*begin == '=') {
      bool ok = false;
      current = QByteArray(begin + 1, stop - begin - 1).toInt(&ok);
      if (!ok || current < 0 || current >= Unknown) {
        Clear();
        return false;
      }
      continue;
    }
    if (current < 0) {
      Clear();
      return false;
    }
    const qsizetype n = stop - begin;
    if (std::all_of(begin, stop, [](char c) { return uchar(c) < 0x80; })) {
      wide.resize(n);
      for (qsizetype i = 0; i < n; ++i)
        wide[i] = QLatin1Char(begin[i]);
    } else {
      wide = QString::fromUtf8(begin, n);
    }
    if (!Add(wide, current)) {
      Clear();
      return false;
    }
  }
  return true;
}

int TWordCommonness::Class(const QString &Word) const
{
  size_t found = Find(Word, Hash(Word));
  if (found == NotFound) {
    const QString lower = Word.toLower();
    if (lower != Word)
      found = Find(lower, Hash(lower));
  }
  return found == NotFound ? Unknown : int(FSlots[found].entry >> OffsetBits);
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
