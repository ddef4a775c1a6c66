// wdmcommon: writes the commonness side file of a main dictionary (see wrCommonness.h) from SCOWL's
// size levels: each word of the dictionary's list gets the lowest level of any SCOWL list
// that holds it (the English and Australian lists: words, upper-case words, contractions,
// proper names, abbreviations). Words in no SCOWL list are left out (class Unknown).
//
// usage: wdmcommon --words LIST --scowl DIR -o OUT.wdf
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSaveFile>

#include <cstdio>
#include <map>

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
  QString words, scowl, output;
  const QStringList args = app.arguments();
  for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
    if (args[i] == QLatin1String("--words"))
      words = args[i + 1];
    else if (args[i] == QLatin1String("--scowl"))
      scowl = args[i + 1];
    else if (args[i] == QLatin1String("-o"))
      output = args[i + 1];
    else
      return Fail(QStringLiteral("unknown option %1").arg(args[i]));
  }
  if (words.isEmpty() || scowl.isEmpty() || output.isEmpty())
    return Fail(QStringLiteral("usage: wdmcommon --words LIST --scowl DIR -o OUT.wdf"));

  QFile list(words);
  if (!list.open(QIODevice::ReadOnly))
    return Fail(QStringLiteral("cannot read %1").arg(words));
  QHash<QString, int> level;
  for (const QByteArray &line : list.readAll().split('\n'))
    if (!line.trimmed().isEmpty())
      level.insert(QString::fromUtf8(line.trimmed()), 100);

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

  std::map<int, QStringList> groups;
  for (auto it = level.cbegin(); it != level.cend(); ++it)
    if (it.value() < 100)
      groups[it.value()] << it.key();
  QByteArray out = "LWCOMMON 1\n";
  for (auto &[size, group] : groups) {
    group.sort();
    out += '=' + QByteArray::number(size) + '\n';
    out += group.join(u'\n').toUtf8() + '\n';
  }
  QSaveFile save(output);
  if (!save.open(QIODevice::WriteOnly) || save.write(out) != out.size() || !save.commit())
    return Fail(QStringLiteral("cannot write %1").arg(output));
  return 0;
}
