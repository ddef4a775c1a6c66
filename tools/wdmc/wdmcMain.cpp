// wdmc: compiles a main dictionary (.wdm) from a word list or a Hunspell dictionary.
#include "toolSupport.h"
#include "wdmcCompiler.h"
#include "wdmcHunspell.h"
#include "wrMainDictionary.h"
#include "wrPhoneticsMap.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

const char *const Usage =
    "usage: wdmc (--words LIST | --hunspell DIC [--aff AFF]) --title TITLE --language ID\n"
    "            [--ansi] [--save-words LIST] [--codes] -o OUT.wdm\n";

int usage()
{
  std::fputs(Usage, stderr);
  std::fputs("(wdmc --help tells more)\n", stderr);
  return 2;
}

int fail(const QString &message)
{
  std::fprintf(stderr, "wdmc: %s\n", qPrintable(message));
  return 1;
}

} // namespace

int main(int argc, char **argv)
{
  QCoreApplication app(argc, argv);
  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromLatin1(
      "Compiles a main dictionary (.wdm) from a word list or a Hunspell dictionary.\n"
      "LIST is UTF-8 text, one word a line; '#' starts a comment line.\n"
      "DIC and AFF are a Hunspell dictionary, expanded to every prefix and suffix form\n"
      "(AFF defaults to DIC with the extension .aff)."));
  const QCommandLineOption wordsOption(
      QStringLiteral("words"), QStringLiteral("The words, one a line."), QStringLiteral("LIST"));
  const QCommandLineOption hunspellOption(QStringLiteral("hunspell"),
                                          QStringLiteral("A Hunspell dictionary (.dic)."),
                                          QStringLiteral("DIC"));
  const QCommandLineOption affOption(
      QStringLiteral("aff"), QStringLiteral("Its affix file (.aff)."), QStringLiteral("AFF"));
  const QCommandLineOption titleOption(
      QStringLiteral("title"), QStringLiteral("The dictionary's title."), QStringLiteral("TITLE"));
  const QCommandLineOption languageOption(QStringLiteral("language"),
                                          QStringLiteral("Its Windows language identifier."),
                                          QStringLiteral("ID"));
  const QCommandLineOption ansiOption(
      QStringLiteral("ansi"),
      QStringLiteral("Writes version 4.0 (Windows-1252) instead of 4.1 (UTF-8)."));
  const QCommandLineOption saveWordsOption(
      QStringLiteral("save-words"), QStringLiteral("Also writes the words, sorted, one a line."),
      QStringLiteral("LIST"));
  const QCommandLineOption codesOption(
      QStringLiteral("codes"),
      QStringLiteral("Also writes the phonetic codes side file OUT.wdp, which spares suggestion "
                     "requests computing them (the language's rules and the default rules, "
                     "start depths 1, 2)."));
  const QCommandLineOption outputOption(QStringLiteral("o"),
                                        QStringLiteral("The dictionary to write (.wdm)."),
                                        QStringLiteral("OUT.wdm"));
  parser.addOptions({wordsOption, hunspellOption, affOption, titleOption, languageOption,
                     ansiOption, saveWordsOption, codesOption, outputOption});
  int exitCode = 0;
  if (ParseToolArguments(parser, app.arguments(), 2, exitCode) == tpExit)
    return exitCode;
  const QString words = parser.value(wordsOption), hunspell = parser.value(hunspellOption),
                title = parser.value(titleOption), output = parser.value(outputOption),
                saveWords = parser.value(saveWordsOption);
  QString aff = parser.value(affOption);
  const bool ansi = parser.isSet(ansiOption), codes = parser.isSet(codesOption);
  quint32 language = 0;
  if (parser.isSet(languageOption)) {
    bool ok = false;
    language = parser.value(languageOption).toUInt(&ok);
    if (!ok)
      return usage();
  }
  if (output.isEmpty() || words.isEmpty() == hunspell.isEmpty() ||
      (!aff.isEmpty() && hunspell.isEmpty()))
    return usage();

  QString error;
  TMainDictionarySource source;
  source.title = title;
  source.language = language;
  source.minorVersion = ansi ? 0 : 1;
  if (!hunspell.isEmpty()) {
    if (aff.isEmpty())
      aff = (hunspell.endsWith(QLatin1String(".dic")) ? hunspell.chopped(4) : hunspell) +
            QLatin1String(".aff");
    THunspellExpansion expansion;
    if (!ExpandHunspellFiles(hunspell, aff, expansion, error))
      return fail(error);
    std::printf("%s: %lld entries (%s) expand to %lld word forms (%lld entries or forms left "
                "out: compound-only, forbidden, malformed or holding spaces)\n",
                qPrintable(hunspell), qint64(expansion.stems), qPrintable(expansion.encoding),
                qint64(expansion.words.size()), qint64(expansion.dropped));
    source.words = std::move(expansion.words);
  } else if (!ReadWordList(words, source.words, error)) {
    return fail(error);
  }
  if (!saveWords.isEmpty()) {
    QStringList sorted = source.words;
    sorted.sort();
    sorted.removeDuplicates();
    if (!WriteOutputFile(saveWords, sorted.join(QLatin1Char('\n')).toUtf8() + '\n', error))
      return fail(error);
  }
  QByteArray image;
  TMainDictionaryStats stats;
  if (!CompileMainDictionary(source, image, error, &stats))
    return fail(error);
  if (stats.wordCount == 0)
    return fail(stats.skipped > 0 ? QStringLiteral("none of the %1 words can be stored in this "
                                                   "format (e.g. \"%2\")")
                                        .arg(stats.skipped)
                                        .arg(stats.skippedSamples.value(0))
                                  : QStringLiteral("the word list is empty"));
  if (!WriteOutputFile(output, image, error))
    return fail(error);
  std::printf("%s: %u words, %u nodes, %u linkage bytes, %lld bytes\n", qPrintable(output),
              stats.wordCount, stats.nodeCount, stats.linkageSize, qint64(image.size()));
  if (stats.skipped > 0)
    std::fprintf(stderr, "wdmc: skipped %d words that the format cannot store (e.g. \"%s\")\n",
                 stats.skipped, qPrintable(stats.skippedSamples.value(0)));
  if (codes) {
    // The maps the check session uses: the main window's start depth 2, the component's 1.
    std::vector<std::unique_ptr<TPhoneticsMap>> maps;
    std::vector<const TPhoneticsMap *> views;
    for (const quint32 rules : {language, 0u})
      for (const int depth : {2, 1}) {
        auto map = std::make_unique<TPhoneticsMap>();
        map->SetLanguage(rules);
        map->SetStartDepth(depth);
        views.push_back(map.get());
        maps.push_back(std::move(map));
      }
    TMainDictionary dictionary;
    dictionary.SetFilename(output);
    const QByteArray side = dictionary.CodeFileImage(views);
    const QString sideName = TMainDictionary::CodeFileName(output);
    if (side.isEmpty())
      return fail(QStringLiteral("cannot read %1 back for its codes").arg(output));
    if (!WriteOutputFile(sideName, side, error))
      return fail(error);
    std::printf("%s: %lld bytes\n", qPrintable(sideName), qint64(side.size()));
  }
  return 0;
}
