// wduc: writes a custom dictionary (".wdu") from plain-text lists.
//
//   wduc --out FILE [--version 4.1|4.0] [--ignore LIST]... [--exclude LIST]...
//        [--autocorrect LIST]...
//
// Lists are UTF-8 text, one entry a line. Surrounding white space is dropped; empty lines and
// lines starting with "#" are skipped. An ignore or exclude list holds one word a line; an
// auto-correct list holds "misspelling -> correction" (the correction may contain spaces).
// Entries are added in the order given (ignore lists, then exclude, then auto-correct), so the
// same lists always give the same bytes. Version 4.1 stores UTF-8, 4.0 Windows-1252.
//
// Any entry the dictionary would refuse (empty, already in a list, too long, not representable
// in a 4.0 file) stops the tool with "LIST:LINE: reason" and exit status 1; nothing is written.
#include "rtCodePage.h"
#include "wducLists.h"
#include "wrCustomDictionary.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <stdio.h>
#include <vector>

namespace {

int fail(const QString &message)
{
  std::fprintf(stderr, "wduc: %s\n", qPrintable(message));
  return 1;
}

int usage()
{
  std::fprintf(stderr, "usage: wduc --out FILE [--version 4.1|4.0] [--ignore LIST]... "
                       "[--exclude LIST]... [--autocorrect LIST]...\n");
  return 2;
}

} // namespace

int main(int argc, char **argv)
{
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  QString out;
  quint32 codePage = CP_UTF8;
  std::vector<std::pair<char, QString>> lists;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString &a = args[i];
    if (i + 1 >= args.size())
      return usage();
    const QString value = args[++i];
    if (a == QLatin1String("--out"))
      out = value;
    else if (a == QLatin1String("--version") &&
             (value == QLatin1String("4.1") || value == QLatin1String("4.0")))
      codePage = value == QLatin1String("4.0") ? CP_ACP : CP_UTF8;
    else if (a == QLatin1String("--ignore"))
      lists.emplace_back(TCustomDictionary::KindIgnore, value);
    else if (a == QLatin1String("--exclude"))
      lists.emplace_back(TCustomDictionary::KindExclude, value);
    else if (a == QLatin1String("--autocorrect"))
      lists.emplace_back(TCustomDictionary::KindAutoCorrect, value);
    else
      return usage();
  }
  if (out.isEmpty())
    return usage();

  std::vector<TWducEntry> entries;
  for (char kind : {TCustomDictionary::KindIgnore, TCustomDictionary::KindExclude,
                    TCustomDictionary::KindAutoCorrect})
    for (const auto &[listKind, path] : lists) {
      if (listKind != kind)
        continue;
      const QString error = ReadWducList(path, kind, entries);
      if (!error.isEmpty())
        return fail(error);
    }

  // The dictionary takes its version from the file it loads: start from an empty file of the
  // wanted version in a scratch folder.
  QTemporaryDir scratch;
  if (!scratch.isValid())
    return fail(QStringLiteral("cannot create a scratch folder"));
  const QString seed = scratch.filePath(QStringLiteral("seed.wdu"));
  {
    const QByteArray empty = EmptyWducFile(codePage);
    QFile f(seed);
    if (!f.open(QIODevice::WriteOnly) || f.write(empty) != empty.size())
      return fail(QStringLiteral("cannot write %1").arg(seed));
  }
  TCustomDictionary d;
  d.SetFilename(seed);
  for (const TWducEntry &e : entries) {
    const QString error = AddWducEntry(d, e, codePage);
    if (!error.isEmpty())
      return fail(error);
  }
  // Written beside the output and renamed into place once it reads back whole: a failing run
  // leaves no output file (and an older one as it was).
  const QString staged = out + QStringLiteral(".wduc-new");
  QFile::remove(staged);
  d.SaveAs(staged);
  d.SetModified(false);
  struct TStaged {
    QString name;
    ~TStaged() { QFile::remove(name); }
  } cleanup{staged};

  // Read the result back: a save reports nothing, so check that every entry arrived.
  TCustomDictionary check;
  check.SetFilename(staged);
  check.SetLoaded(true);
  const int expected = int(entries.size());
  if (!check.Loaded() || check.WordCount() != expected || check.CodePage() != codePage)
    return fail(QStringLiteral("cannot write %1").arg(out));
  for (const TWducEntry &e : entries)
    if (!WducEntryReadsBack(check, e))
      return fail(QStringLiteral("%1 does not read back: %2").arg(out, e.Where));
  if (::rename(QFile::encodeName(staged).constData(), QFile::encodeName(out).constData()) != 0)
    return fail(QStringLiteral("cannot write %1").arg(out));
  std::printf("wduc: %s: %d ignore, %d exclude, %d auto-correct entries, version %s\n",
              qPrintable(QFileInfo(out).fileName()), check.IgnoreCount(), check.ExcludeCount(),
              check.AutoCorrectCount(), codePage == CP_ACP ? "4.0" : "4.1");
  return 0;
}
