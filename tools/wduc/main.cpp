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
#include "wrCustomDictionary.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <stdio.h>
#include <vector>

namespace {

struct Entry {
  char kind;
  QString word;
  QString correction;
  QString where; // "LIST:LINE" for messages
};

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

bool readList(const QString &path, char kind, std::vector<Entry> &entries, QString &error)
{
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("cannot read %1").arg(path);
    return false;
  }
  const QList<QByteArray> lines = f.readAll().split('\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString where = QStringLiteral("%1:%2").arg(path).arg(i + 1);
    QString line = QString::fromUtf8(lines[i]).trimmed();
    if (i == 0 && line.startsWith(QChar(0xFEFF))) // byte-order mark of some editors
      line = line.mid(1).trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
      continue;
    Entry e{kind, line, QString(), where};
    if (kind == TCustomDictionary::KindAutoCorrect) {
      const qsizetype arrow = line.indexOf(QLatin1String("->"));
      if (arrow < 0) {
        error = where + QStringLiteral(": expected \"misspelling -> correction\"");
        return false;
      }
      e.word = line.left(arrow).trimmed();
      e.correction = line.mid(arrow + 2).trimmed();
      if (e.correction.isEmpty()) {
        error = where + QStringLiteral(": empty correction");
        return false;
      }
    }
    if (e.word.contains(QLatin1Char(' '))) {
      error = where + QStringLiteral(": \"%1\" is not a single word").arg(e.word);
      return false;
    }
    entries.push_back(e);
  }
  return true;
}

QString reasonRefused(TCustomDictionary &d, const Entry &e)
{
  if (e.word.isEmpty())
    return QStringLiteral("empty word");
  if (e.word.contains(QChar(0)) || e.correction.contains(QChar(0)))
    return QStringLiteral("the entry contains a zero character");
  if (e.word.size() + e.correction.size() > TCustomDictionary::MaxEntryUnits)
    return QStringLiteral("word and correction are longer than %1 characters")
        .arg(TCustomDictionary::MaxEntryUnits);
  QString correction;
  if (d.IgnoreExists(e.word) || d.ExcludeExists(e.word) || d.AutoCorrectExists(e.word, correction))
    return QStringLiteral("\"%1\" is already in a list").arg(e.word);
  return QStringLiteral("the entry does not fit an entry of the file");
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

  std::vector<Entry> entries;
  for (char kind : {TCustomDictionary::KindIgnore, TCustomDictionary::KindExclude,
                    TCustomDictionary::KindAutoCorrect})
    for (const auto &[listKind, path] : lists) {
      QString error;
      if (listKind == kind && !readList(path, kind, entries, error))
        return fail(error);
    }

  // The dictionary takes its version from the file it loads: start from an empty file of the
  // wanted version in a scratch folder.
  QTemporaryDir scratch;
  if (!scratch.isValid())
    return fail(QStringLiteral("cannot create a scratch folder"));
  const QString seed = scratch.filePath(QStringLiteral("seed.wdu"));
  {
    QByteArray empty = TCustomDictionary::Banner(codePage);
    empty.append('\0').append('\x1A').append(QByteArray(24, '\0'));
    QFile f(seed);
    if (!f.open(QIODevice::WriteOnly) || f.write(empty) != empty.size())
      return fail(QStringLiteral("cannot write %1").arg(seed));
  }
  TCustomDictionary d;
  d.SetFilename(seed);
  for (const Entry &e : entries) {
    if (codePage == CP_ACP) {
      // A 4.0 file stores a best-fit substitute for what Windows-1252 lacks; such a word would
      // not be found under its own spelling.
      for (const QString &text : {e.word, e.correction})
        if (DecodeWindows1252(EncodeWindows1252(text)) != text)
          return fail(e.where + QStringLiteral(": \"%1\" cannot be stored in a version 4.0 "
                                               "(Windows-1252) file")
                                    .arg(text));
    }
    bool added = false;
    switch (e.kind) {
    case TCustomDictionary::KindIgnore:
      added = d.AddIgnore(e.word);
      break;
    case TCustomDictionary::KindExclude:
      added = d.AddExclude(e.word);
      break;
    default:
      added = d.AddAutoCorrect(e.word, e.correction);
      break;
    }
    if (!added)
      return fail(e.where + QStringLiteral(": ") + reasonRefused(d, e));
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
  for (const Entry &e : entries) {
    QString correction;
    const bool found =
        e.kind == TCustomDictionary::KindIgnore ? check.IgnoreExists(e.word)
        : e.kind == TCustomDictionary::KindExclude
            ? check.ExcludeExists(e.word)
            : check.AutoCorrectExists(e.word, correction) && correction == e.correction;
    if (!found)
      return fail(QStringLiteral("%1 does not read back: %2").arg(out, e.where));
  }
  if (::rename(QFile::encodeName(staged).constData(), QFile::encodeName(out).constData()) != 0)
    return fail(QStringLiteral("cannot write %1").arg(out));
  std::printf("wduc: %s: %d ignore, %d exclude, %d auto-correct entries, version %s\n",
              qPrintable(QFileInfo(out).fileName()), check.IgnoreCount(), check.ExcludeCount(),
              check.AutoCorrectCount(), codePage == CP_ACP ? "4.0" : "4.1");
  return 0;
}
