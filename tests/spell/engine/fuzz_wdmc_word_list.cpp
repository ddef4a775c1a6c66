// Bad-input entry point of wdmc: any bytes as its word list, compiled into a dictionary of
// either version, which the reader must then open and answer from. A list may be refused with
// a message; it must never crash, hang or take memory out of proportion to its size.
#include "wdmcCompiler.h"
#include "wrMainDictionary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  static const QString path = QDir::temp().filePath(
      QStringLiteral("lw-fuzz-wdmc-%1.wdm").arg(QCoreApplication::applicationPid()));
  TMainDictionarySource source;
  ParseWordList(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), source.words);
  source.title = QStringLiteral("fuzz");
  source.language = 3081;
  for (int minor : {1, 0}) {
    source.minorVersion = minor;
    QByteArray image;
    QString error;
    TMainDictionaryStats stats;
    if (!CompileMainDictionary(source, image, error, &stats)) {
      if (error.isEmpty()) {
        std::fprintf(stderr, "fuzz_wdmc_word_list: refused without a message\n");
        std::abort();
      }
      continue;
    }
    {
      QFile f(path);
      if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
      f.write(image);
    }
    TMainDictionary d;
    d.SetFilename(path);
    // Every word the compiler kept is found again (the first few suffice to catch a bad image).
    int checked = 0;
    for (const QString &w : source.words) {
      if (checked++ == 16)
        break;
      (void)d.WordExists(w);
    }
  }
  return 0;
}
