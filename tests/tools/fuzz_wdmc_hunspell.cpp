// Bad-input entry point of wdmc --hunspell: any bytes as an affix file and a dictionary file
// (split at the first zero byte), expanded and compiled. Input may be refused with a message;
// it must never crash, hang or take memory out of proportion to its size, however many forms
// its rules would give.
#include "wdmcCompiler.h"
#include "wdmcHunspell.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
  const qsizetype zero = input.indexOf('\0');
  const QByteArray aff = zero < 0 ? input : input.left(zero);
  const QByteArray dic = zero < 0 ? QByteArray() : input.mid(zero + 1);
  THunspellExpansion expansion;
  QString error;
  if (!ExpandHunspell(dic, aff, expansion, error, 20000)) {
    if (error.isEmpty()) {
      std::fprintf(stderr, "fuzz_wdmc_hunspell: refused without a message\n");
      std::abort();
    }
    return 0;
  }
  TMainDictionarySource source;
  source.words = expansion.words;
  source.title = QStringLiteral("fuzz");
  source.language = 1036;
  QByteArray image;
  TMainDictionaryStats stats;
  if (!CompileMainDictionary(source, image, error, &stats) && error.isEmpty()) {
    std::fprintf(stderr, "fuzz_wdmc_hunspell: compiler refused without a message\n");
    std::abort();
  }
  return 0;
}
