// thesbuild: builds the shipped thesaurus file from a MyThes-format source.
//   thesbuild --mythes th_en_AU_v2.dat --out Wordnest.wdt [--name NAME]
#include "MythesImport.h"
#include "ThesaurusWriter.h"

#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

static int Fail(const QString &message)
{
  std::fprintf(stderr, "thesbuild: error: %s\n", qPrintable(message));
  return 1;
}

int main(int argc, char **argv)
{
  QCoreApplication app(argc, argv);
  QString source, out, name = QStringLiteral("Wordnest English");
  int maxSenses = 0;
  const QStringList args = app.arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString &a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == QLatin1String("--mythes") && hasValue)
      source = args[++i];
    else if (a == QLatin1String("--out") && hasValue)
      out = args[++i];
    else if (a == QLatin1String("--name") && hasValue)
      name = args[++i];
    else if (a == QLatin1String("--max-senses") && hasValue)
      maxSenses = args[++i].toInt();
    else
      return Fail(QStringLiteral(
          "usage: thesbuild --mythes FILE.dat --out FILE.wdt [--name NAME] [--max-senses N]"));
  }
  if (source.isEmpty() || out.isEmpty())
    return Fail(QStringLiteral(
        "usage: thesbuild --mythes FILE.dat --out FILE.wdt [--name NAME] [--max-senses N]"));

  std::vector<TMythesEntry> entries;
  QString error;
  if (!ReadMythes(source, entries, error))
    return Fail(error);

  TThesaurusWriter writer;
  writer.Name = name;
  TThesaurusSelection sel;
  if (maxSenses > 0)
    sel.maxSenses = maxSenses;
  if (!SelectMythes(entries, sel, writer, error))
    return Fail(error);
  if (!writer.WriteFile(out))
    return Fail(writer.Error);

  std::printf("thesbuild: %s: %d of %d candidate headwords, %d contexts (limit %d), %d words, "
              "%d nodes (limit %d: %d trie + %d tail), link area %d bytes, index %d bytes\n",
              qPrintable(out), sel.headwords, sel.candidates, sel.contexts, sel.maxContexts,
              sel.words, writer.NodeCount, TThesaurusWriter::MaxNodes, writer.TrieNodeCount,
              writer.TailNodeCount, writer.LinkAreaSize, writer.IndexAreaSize);
  return 0;
}
