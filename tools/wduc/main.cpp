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
#include "toolSupport.h"
#include "wducLists.h"
#include "wrCustomDictionary.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
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

// "--version 4.0" chooses the file's version, as it always has; a bare "--version" prints the
// tool's own.
QStringList withFormatVersion(QStringList Args)
{
  for (qsizetype i = 1; i < Args.size(); ++i) {
    if (Args[i] == QLatin1String("--version") && i + 1 < Args.size() &&
        !Args[i + 1].startsWith(u'-'))
      Args[i] = QStringLiteral("--format-version");
    else if (Args[i].startsWith(QLatin1String("--version=")))
      Args[i].replace(0, 9, QStringLiteral("--format-version"));
  }
  return Args;
}

} // namespace

int main(int argc, char **argv)
{
  QCoreApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromLatin1(
      "Writes a custom dictionary (.wdu) from plain-text lists: UTF-8, one entry a line, '#'\n"
      "starts a comment line; an auto-correct list holds \"misspelling -> correction\"."));
  const QCommandLineOption outOption(QStringLiteral("out"),
                                     QStringLiteral("The dictionary to write (.wdu)."),
                                     QStringLiteral("FILE"));
  const QCommandLineOption formatOption(
      QStringLiteral("format-version"),
      QStringLiteral("The file's version: 4.1 (UTF-8, the default) or 4.0 (Windows-1252); "
                     "also given as --version 4.0."),
      QStringLiteral("4.1|4.0"));
  const QCommandLineOption ignoreOption(QStringLiteral("ignore"),
                                        QStringLiteral("A list of words to accept."),
                                        QStringLiteral("LIST"));
  const QCommandLineOption excludeOption(QStringLiteral("exclude"),
                                         QStringLiteral("A list of words to refuse."),
                                         QStringLiteral("LIST"));
  const QCommandLineOption autocorrectOption(QStringLiteral("autocorrect"),
                                             QStringLiteral("A list of auto-corrections."),
                                             QStringLiteral("LIST"));
  parser.addOptions({outOption, formatOption, ignoreOption, excludeOption, autocorrectOption});
  int exitCode = 0;
  if (ParseToolArguments(parser, withFormatVersion(app.arguments()), 2, exitCode) == tpExit)
    return exitCode;
  const QString out = parser.value(outOption);
  quint32 codePage = CP_UTF8;
  if (parser.isSet(formatOption)) {
    const QString value = parser.value(formatOption);
    if (value != QLatin1String("4.1") && value != QLatin1String("4.0"))
      return usage();
    codePage = value == QLatin1String("4.0") ? CP_ACP : CP_UTF8;
  }
  std::vector<std::pair<char, QString>> lists;
  for (const auto &[option, kind] :
       {std::pair{&ignoreOption, TCustomDictionary::KindIgnore},
        std::pair{&excludeOption, TCustomDictionary::KindExclude},
        std::pair{&autocorrectOption, TCustomDictionary::KindAutoCorrect}})
    for (const QString &path : parser.values(*option))
      lists.emplace_back(kind, path);
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
  // Saved and read back in the scratch folder, then written into place whole: a failing run
  // leaves no output file (and an older one as it was).
  const QString staged = scratch.filePath(QStringLiteral("out.wdu"));
  d.SaveAs(staged);
  d.SetModified(false);

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
  QFile written(staged);
  if (!written.open(QIODevice::ReadOnly))
    return fail(QStringLiteral("cannot write %1").arg(out));
  QString error;
  if (!WriteOutputFile(out, written.readAll(), error))
    return fail(error);
  std::printf("wduc: %s: %d ignore, %d exclude, %d auto-correct entries, version %s\n",
              qPrintable(QFileInfo(out).fileName()), check.IgnoreCount(), check.ExcludeCount(),
              check.AutoCorrectCount(), codePage == CP_ACP ? "4.0" : "4.1");
  return 0;
}
