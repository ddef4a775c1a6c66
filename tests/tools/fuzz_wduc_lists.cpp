// Bad-input entry point of wduc: any bytes as each kind of list, the entries added to a custom
// dictionary of either version as the tool adds them, then saved and read back. A line or entry
// may be refused with a message; nothing may crash, hang, take memory out of proportion to the
// input, or be accepted and then lost by the save.
#include "rtCodePage.h"
#include "wducLists.h"
#include "wrCustomDictionary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void fault(const char *what, const QString &detail)
{
  std::fprintf(stderr, "fuzz_wduc_lists: %s: %s\n", what, qPrintable(detail));
  std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  // Saves sync to disk; on a memory file system that costs nothing.
  static const QString dir =
      QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
  static const QString pid = QString::number(QCoreApplication::applicationPid());
  static const QString seed = dir + QStringLiteral("/lw-fuzz-wduc-%1-seed.wdu").arg(pid);
  static const QString saved = dir + QStringLiteral("/lw-fuzz-wduc-%1.wdu").arg(pid);

  const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
  std::vector<TWducEntry> entries;
  for (char kind : {TCustomDictionary::KindIgnore, TCustomDictionary::KindExclude,
                    TCustomDictionary::KindAutoCorrect}) {
    const qsizetype before = qsizetype(entries.size());
    const QString error = ParseWducList(bytes, QStringLiteral("list"), kind, entries);
    if (!error.isEmpty() && !error.startsWith(QStringLiteral("list:")))
      fault("parse error without its line", error);
    for (qsizetype i = before; i < qsizetype(entries.size()); ++i)
      if (entries[i].Word.isEmpty() && kind != TCustomDictionary::KindAutoCorrect)
        fault("empty word kept", entries[i].Where);
  }

  for (quint32 codePage : {CP_UTF8, CP_ACP}) {
    {
      const QByteArray empty = EmptyWducFile(codePage);
      QFile f(seed);
      if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(empty) != empty.size())
        return 0;
    }
    // Unlike the tool, go on past a refused entry so that later lines are exercised too.
    std::vector<const TWducEntry *> added;
    {
      TCustomDictionary d;
      d.SetFilename(seed);
      for (const TWducEntry &e : entries) {
        const QString error = AddWducEntry(d, e, codePage);
        if (error.isEmpty())
          added.push_back(&e);
        else if (!error.startsWith(e.Where + QStringLiteral(": ")))
          fault("refused without naming the line", error);
      }
      QFile::remove(saved);
      d.SaveAs(saved);
      d.SetModified(false);
    }
    TCustomDictionary check;
    check.SetFilename(saved);
    check.SetLoaded(true);
    if (!check.Loaded() || check.WordCount() != int(added.size()) || check.CodePage() != codePage)
      fault("the saved dictionary does not hold what was added",
            QStringLiteral("%1 of %2 entries").arg(check.WordCount()).arg(added.size()));
    for (const TWducEntry *e : added)
      if (!WducEntryReadsBack(check, *e))
        fault("an added entry does not read back", e->Where);
  }
  QFile::remove(seed);
  QFile::remove(saved);
  return 0;
}
