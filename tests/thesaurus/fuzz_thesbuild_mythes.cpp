// Bad-input entry point of thesbuild: any bytes as its MyThes source, parsed, selected under
// small budgets and built into a thesaurus image. A source may be refused with a message; it
// must never crash, hang or take memory out of proportion to its size.
#include "MythesImport.h"
#include "ThesaurusWriter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  std::vector<TMythesEntry> entries;
  QString error;
  if (!ParseMythes(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), entries,
                   error)) {
    if (error.isEmpty()) {
      std::fprintf(stderr, "fuzz_thesbuild_mythes: refused without a message\n");
      std::abort();
    }
    return 0;
  }
  // The shipped budgets and small ones, so that running out of either is reached too.
  for (int budget : {0, 40}) {
    TThesaurusWriter writer;
    writer.Name = QStringLiteral("fuzz");
    TThesaurusSelection selection;
    if (budget) {
      selection.maxNodes = budget * 4;
      selection.maxContexts = budget;
    }
    if (!SelectMythes(entries, selection, writer, error))
      continue;
    QByteArray image;
    (void)writer.Build(image);
  }
  return 0;
}
