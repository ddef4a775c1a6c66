// Writes the seed files of the bad-input test: small valid thesaurus files from the builder.
//   make_thesaurus_seeds DIR
#include "thesaurus_content.h"

#include <QDir>
#include <cstdio>

int main(int argc, char **argv)
{
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_thesaurus_seeds DIR\n");
    return 2;
  }
  const QDir dir(QString::fromLocal8Bit(argv[1]));
  struct Seed {
    const char *name;
    void (*fill)(TThesaurusWriter &);
    bool tails;
  } seeds[] = {
      {"happy.wdt", AddHappyContent, true},
      {"happy-plain.wdt", AddHappyContent, false},
      {"tails.wdt", AddTailContent, true},
  };
  for (const Seed &s : seeds) {
    TThesaurusWriter w;
    w.UseTailChains = s.tails;
    s.fill(w);
    if (!w.WriteFile(dir.filePath(QString::fromLatin1(s.name)))) {
      std::fprintf(stderr, "make_thesaurus_seeds: %s\n", qPrintable(w.Error));
      return 1;
    }
  }
  return 0;
}
