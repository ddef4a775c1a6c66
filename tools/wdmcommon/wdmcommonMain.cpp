// wdmcommon: writes the commonness side file of a main dictionary (see wrCommonness.h) from SCOWL's
// size levels: each word of the dictionary's list gets the lowest level of any SCOWL list
// that holds it (the English and Australian lists: words, upper-case words, contractions,
// proper names, abbreviations). Words in no SCOWL list are left out (class Unknown). The file
// is the table the reader maps as it lies.
//
// usage: wdmcommon --words LIST --scowl DIR -o OUT.wdf
#include "toolSupport.h"
#include "wrCommonness.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>

#include <cstdio>

namespace {

int Fail(const QString &Message)
{
  std::fprintf(stderr, "wdmcommon: %s\n", qPrintable(Message));
  return 1;
}

} // namespace

int main(int argc, char *argv[])
{
  QCoreApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Writes the commonness side file of a main dictionary from SCOWL's size "
                     "levels."));
  const QCommandLineOption wordsOption(QStringLiteral("words"),
                                       QStringLiteral("The dictionary's words, one a line."),
                                       QStringLiteral("LIST"));
  const QCommandLineOption scowlOption(QStringLiteral("scowl"),
                                       QStringLiteral("The folder of SCOWL's size-level lists."),
                                       QStringLiteral("DIR"));
  const QCommandLineOption outputOption(QStringLiteral("o"),
                                        QStringLiteral("The side file to write (.wdf)."),
                                        QStringLiteral("OUT.wdf"));
  parser.addOptions({wordsOption, scowlOption, outputOption});
  int exitCode = 0;
  if (ParseToolArguments(parser, app.arguments(), 1, exitCode) == tpExit)
    return exitCode;
  const QString words = parser.value(wordsOption), scowl = parser.value(scowlOption),
                output = parser.value(outputOption);
  if (words.isEmpty() || scowl.isEmpty() || output.isEmpty())
    return Fail(QStringLiteral("usage: wdmcommon --words LIST --scowl DIR -o OUT.wdf"));

  QFile list(words);
  if (!list.open(QIODevice::ReadOnly))
    return Fail(QStringLiteral("cannot read %1").arg(words));
  QHash<QString, int> level;
  for (const QByteArray &line : list.readAll().split('\n'))
    if (!line.trimmed().isEmpty())
      level.insert(QString::fromUtf8(line.trimmed()), TWordCommonness::Unknown);

  static const QRegularExpression name(QStringLiteral(
      "^(english|australian)-(words|upper|contractions|proper-names|abbreviations)\\.(\\d+)$"));
  const QStringList files = QDir(scowl).entryList(QDir::Files, QDir::Name);
  int used = 0;
  for (const QString &file : files) {
    const auto m = name.match(file);
    if (!m.hasMatch())
      continue;
    const int size = m.captured(3).toInt();
    QFile f(QDir(scowl).filePath(file));
    if (!f.open(QIODevice::ReadOnly))
      return Fail(QStringLiteral("cannot read %1").arg(f.fileName()));
    ++used;
    // SCOWL's lists are ISO-8859-1 in older releases and UTF-8 in newer ones.
    const QByteArray all = f.readAll();
    const QString text = QString::fromUtf8(all).contains(QChar::ReplacementCharacter)
                             ? QString::fromLatin1(all)
                             : QString::fromUtf8(all);
    for (const QString &w : text.split(u'\n', Qt::SkipEmptyParts)) {
      auto it = level.find(w.trimmed());
      if (it != level.end() && size < *it)
        *it = size;
    }
  }
  if (used == 0)
    return Fail(QStringLiteral("no SCOWL lists in %1").arg(scowl));

  std::vector<std::pair<QString, int>> classes;
  for (auto it = level.cbegin(); it != level.cend(); ++it)
    if (it.value() < TWordCommonness::Unknown)
      classes.emplace_back(it.key(), it.value());
  const QByteArray table = TWordCommonness::CompileTable(classes);
  if (table.isEmpty())
    return Fail(QStringLiteral("too many words for one side file"));
  QString error;
  if (!WriteOutputFile(output, table, error))
    return Fail(error);
  return 0;
}
