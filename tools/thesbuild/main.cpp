// thesbuild: builds the shipped thesaurus file from a MyThes-format source.
//   thesbuild --mythes th_en_AU_v2.dat --out Wordnest.wdt [--name NAME] [--max-senses N]
#include "MythesImport.h"
#include "ThesaurusWriter.h"
#include "toolSupport.h"

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
  QCommandLineParser parser;
  parser.setApplicationDescription(
      QStringLiteral("Builds a thesaurus file (.wdt) from a MyThes-format source."));
  const QCommandLineOption sourceOption(QStringLiteral("mythes"),
                                        QStringLiteral("The MyThes source (.dat)."),
                                        QStringLiteral("FILE.dat"));
  const QCommandLineOption outOption(QStringLiteral("out"),
                                     QStringLiteral("The thesaurus to write (.wdt)."),
                                     QStringLiteral("FILE.wdt"));
  const QCommandLineOption nameOption(
      QStringLiteral("name"), QStringLiteral("The thesaurus's name (default: Wordnest English)."),
      QStringLiteral("NAME"), QStringLiteral("Wordnest English"));
  const QCommandLineOption sensesOption(QStringLiteral("max-senses"),
                                        QStringLiteral("At most N senses a headword."),
                                        QStringLiteral("N"));
  parser.addOptions({sourceOption, outOption, nameOption, sensesOption});
  int exitCode = 0;
  if (ParseToolArguments(parser, app.arguments(), 1, exitCode) == tpExit)
    return exitCode;
  const QString source = parser.value(sourceOption), out = parser.value(outOption),
                name = parser.value(nameOption);
  const int maxSenses = parser.value(sensesOption).toInt();
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
