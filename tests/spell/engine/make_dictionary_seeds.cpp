// Writes the seed files of the bad-input test: small valid main dictionaries of both versions
// from the compiler, and the hand-built file in both linkage widths.
//   make_dictionary_seeds DIR
#include "dictionary_fixture.h"

#include <QDir>
#include <cstdio>

int main(int argc, char **argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_dictionary_seeds DIR\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  const QStringList words{
      QStringLiteral("a"),         QStringLiteral("an"),           QStringLiteral("and"),
      QStringLiteral("ane"),       QStringLiteral("ang"),          QStringLiteral("ani"),
      QStringLiteral("ank"),       QStringLiteral("ano"),          QStringLiteral("ant"),
      QStringLiteral("any"),       QStringLiteral("beetroot"),     QStringLiteral("beetroots"),
      QStringLiteral("phone"),     QStringLiteral("fond"),         QStringLiteral("Fonda"),
      QStringLiteral("font"),      QStringLiteral("night"),        QStringLiteral("nit"),
      QStringLiteral("caf\u00E9"), QStringLiteral("abbreviation"), QStringLiteral("I")};
  struct Seed {
    const char *name;
    QStringList words;
    int minor;
  } seeds[] = {
      {"small.wdm", words + QStringList{QStringLiteral("\u65E5\u672C")}, 1},
      {"small-ansi.wdm", words, 0},
  };
  for (const Seed &s : seeds) {
    const QString error =
        WriteMainDictionary(dir.filePath(QString::fromLatin1(s.name)), s.words, s.minor);
    if (!error.isEmpty()) {
      std::fprintf(stderr, "make_dictionary_seeds: %s\n", qPrintable(error));
      return 1;
    }
  }
  for (bool wide : {false, true}) {
    QFile f(dir.filePath(wide ? QStringLiteral("hand-wide.wdm") : QStringLiteral("hand.wdm")));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        f.write(handFile(wide).image()) < 0) {
      std::fprintf(stderr, "make_dictionary_seeds: cannot write %s\n", qPrintable(f.fileName()));
      return 1;
    }
  }
  return 0;
}
