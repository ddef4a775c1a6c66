#include "wrCommonness.h"

#include "wrUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>

#include <map>

QString TWordCommonness::SideFileName(const QString &DictionaryFile)
{
  const QFileInfo info(DictionaryFile);
  return info.path() + QLatin1Char('/') + info.completeBaseName() + QStringLiteral(".wdf");
}

bool TWordCommonness::Load(const QString &FileName)
{
  FClasses.clear();
  QFile f(FileName);
  if (!f.open(QIODevice::ReadOnly))
    return false;
  const QByteArray all = f.readAll();
  const QList<QByteArray> lines = all.split('\n');
  if (lines.isEmpty() || lines[0].trimmed() != "LWCOMMON 1")
    return false;
  FClasses.reserve(lines.size());
  int current = -1;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray line = lines[i].trimmed();
    if (line.isEmpty())
      continue;
    if (line.startsWith('=')) {
      bool ok = false;
      current = line.mid(1).toInt(&ok);
      if (!ok || current < 0 || current >= Unknown) {
        FClasses.clear();
        return false;
      }
      continue;
    }
    if (current < 0) {
      FClasses.clear();
      return false;
    }
    const QString word = QString::fromUtf8(line);
    // A word listed at several levels keeps its commonest.
    auto it = FClasses.find(word);
    if (it == FClasses.end())
      FClasses.insert(word, quint8(current));
    else if (current < *it)
      *it = quint8(current);
  }
  return true;
}

int TWordCommonness::Class(const QString &Word) const
{
  auto it = FClasses.constFind(Word);
  if (it != FClasses.constEnd())
    return *it;
  const QString lower = Word.toLower();
  if (lower != Word) {
    it = FClasses.constFind(lower);
    if (it != FClasses.constEnd())
      return *it;
  }
  return Unknown;
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
