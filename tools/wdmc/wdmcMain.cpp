// wdmc: compiles a main dictionary (.wdm) from a word list or a Hunspell dictionary.
#include "wdmcCompiler.h"
#include "wdmcHunspell.h"
#include "wrMainDictionary.h"
#include "wrPhoneticsMap.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

int usage()
{
  std::fprintf(
      stderr,
      "usage: wdmc (--words LIST | --hunspell DIC [--aff AFF]) --title TITLE --language ID\n"
      "            [--ansi] [--save-words LIST] [--codes] -o OUT.wdm\n"
      "LIST is UTF-8 text, one word a line; '#' starts a comment line.\n"
      "DIC and AFF are a Hunspell dictionary, expanded to every prefix and suffix form\n"
      "(AFF defaults to DIC with the extension .aff).\n"
      "--save-words also writes the words, sorted, one a line.\n"
      "--ansi writes version 4.0 (Windows-1252) instead of 4.1 (UTF-8).\n"
      "--codes also writes the phonetic codes side file OUT.wdp, which spares suggestion\n"
      "requests computing them (the language's rules and the default rules, start depths 1, 2).\n");
  return 2;
}

int fail(const QString &message)
{
  std::fprintf(stderr, "wdmc: %s\n", qPrintable(message));
  return 1;
}

// A failed or interrupted build never leaves a half-written file for the program to open: a
// file is written beside its place and renamed into it. A device or pipe (/dev/null,
// /dev/stdout) is written as it is: renaming over it would replace it, for everyone when run
// as root.
bool writeOutput(const QString &name, const QByteArray &bytes, QString &error)
{
  const QFileInfo info(name);
  if (info.exists() && !info.isFile() && !info.isDir()) {
    QFile direct(name);
    if (direct.open(QIODevice::WriteOnly) && direct.write(bytes) == bytes.size() && direct.flush())
      return true;
    error = QStringLiteral("cannot write %1: %2").arg(name, direct.errorString());
    return false;
  }
  QSaveFile out(name);
  if (out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit())
    return true;
  error = QStringLiteral("cannot write %1: %2").arg(name, out.errorString());
  return false;
}

} // namespace

int main(int argc, char **argv)
{
  QCoreApplication app(argc, argv);
  QStringList args = app.arguments();
  args.removeFirst();
  QString words, hunspell, aff, title, output, saveWords;
  quint32 language = 0;
  bool ansi = false, codes = false;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString a = args[i];
    auto value = [&](QString &target) {
      if (i + 1 >= args.size())
        return false;
      target = args[++i];
      return true;
    };
    bool ok = true;
    if (a == QLatin1String("--words"))
      ok = value(words);
    else if (a == QLatin1String("--hunspell"))
      ok = value(hunspell);
    else if (a == QLatin1String("--aff"))
      ok = value(aff);
    else if (a == QLatin1String("--save-words"))
      ok = value(saveWords);
    else if (a == QLatin1String("--title"))
      ok = value(title);
    else if (a == QLatin1String("--language")) {
      QString v;
      ok = value(v) && (language = v.toUInt(&ok), ok);
    } else if (a == QLatin1String("-o"))
      ok = value(output);
    else if (a == QLatin1String("--ansi"))
      ansi = true;
    else if (a == QLatin1String("--codes"))
      codes = true;
    else
      ok = false;
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
    if (!writeOutput(saveWords, sorted.join(QLatin1Char('\n')).toUtf8() + '\n', error))
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
  if (!writeOutput(output, image, error))
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
    if (!writeOutput(sideName, side, error))
      return fail(error);
    std::printf("%s: %lld bytes\n", qPrintable(sideName), qint64(side.size()));
  }
  return 0;
}
