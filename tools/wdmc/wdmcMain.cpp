// wdmc: compiles a main dictionary (.wdm) from a word list.
#include "wdmcCompiler.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cstdio>

namespace {

int usage()
{
  std::fprintf(stderr, "usage: wdmc --words LIST --title TITLE --language ID [--ansi] -o OUT.wdm\n"
                       "LIST is UTF-8 text, one word a line; '#' starts a comment line.\n"
                       "--ansi writes version 4.0 (Windows-1252) instead of 4.1 (UTF-8).\n");
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
  QStringList args = app.arguments();
  args.removeFirst();
  QString words, title, output;
  quint32 language = 0;
  bool ansi = false;
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
    else if (a == QLatin1String("--title"))
      ok = value(title);
    else if (a == QLatin1String("--language")) {
      QString v;
      ok = value(v) && (language = v.toUInt(&ok), ok);
    } else if (a == QLatin1String("-o"))
      ok = value(output);
    else if (a == QLatin1String("--ansi"))
      ansi = true;
    else
      ok = false;
    if (!ok)
      return usage();
  }
  if (output.isEmpty() || words.isEmpty())
    return usage();

  QString error;
  TMainDictionarySource source;
  source.title = title;
  source.language = language;
  source.minorVersion = ansi ? 0 : 1;
  if (!ReadWordList(words, source.words, error))
    return fail(error);
  QByteArray image;
  TMainDictionaryStats stats;
  if (!CompileMainDictionary(source, image, error, &stats))
    return fail(error);
  // A failed or interrupted build never leaves a half-written dictionary for the program to open.
  QSaveFile out(output);
  if (!out.open(QIODevice::WriteOnly) || out.write(image) != image.size() || !out.commit())
    return fail(QStringLiteral("cannot write %1: %2").arg(output, out.errorString()));
  std::printf("%s: %u words, %u nodes, %u linkage bytes, %lld bytes\n", qPrintable(output),
              stats.wordCount, stats.nodeCount, stats.linkageSize, qint64(image.size()));
  if (stats.skipped > 0)
    std::fprintf(stderr, "wdmc: skipped %d words that the format cannot store (e.g. \"%s\")\n",
                 stats.skipped, qPrintable(stats.skippedSamples.value(0)));
  return 0;
}
