// Bad-input entry point of the main dictionary reader: open any bytes as a ".wdm" file, look
// words up and run the phonetic walk. A damaged file may be refused or answer "not found"; it
// must never read outside the mapping, hang or crash.
#include "wrMainDictionary.h"
#include "wrPhoneticsMap.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  static const QString path = QDir::temp().filePath(
      QStringLiteral("lw-fuzz-main-dictionary-%1.wdm").arg(QCoreApplication::applicationPid()));
  static TPhoneticsMap *map = [] {
    auto *m = new TPhoneticsMap;
    m->SetLanguage(3081);
    m->SetStartDepth(2);
    return m;
  }();
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
      return 0;
    f.write(reinterpret_cast<const char *>(data), qint64(size));
  }
  TMainDictionary d;
  d.SetFilename(path);
  static const char16_t *const words[] = {
      u"a",     u"an",   u"and",       u"any",          u"beetroot", u"bee",  u"phone", u"fone",
      u"night", u"nite", u"caf\u00E9", u"\u65E5\u672C", u"",         u"b0Zz", u"Fonda"};
  for (const char16_t *w : words) {
    const QString word = QString::fromUtf16(w);
    (void)d.WordExists(word);
    (void)d.WordLength(word);
  }
  QStringList suggestions;
  for (const char16_t *w : {u"fone", u"nite", u"beetrot", u"anny", u"b0Zy"})
    d.Suggest(QString::fromUtf16(w), *map, suggestions);
  // The codes side file: written for these bytes, then damaged at places the input chooses, so
  // that the reader meets headers that match the dictionary and sections that do not.
  const QString codes = TMainDictionary::CodeFileName(path);
  QByteArray image = d.CodeFileImage({map});
  if (!image.isEmpty() && size > 0) {
    for (size_t i = 0; i < std::min<size_t>(size, 16); ++i) {
      const qsizetype at = qsizetype((size_t(data[i]) * 7919 + i * 31) % size_t(image.size()));
      image[at] = char(image[at] ^ data[(i + 1) % size]);
    }
    QFile f(codes);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
      f.write(image);
  }
  {
    TMainDictionary withCodes;
    withCodes.SetFilename(path);
    for (const char16_t *w : {u"fone", u"nite", u"beetrot"})
      withCodes.Suggest(QString::fromUtf16(w), *map, suggestions);
  }
  qsizetype total = 0;
  for (const QString &s : suggestions)
    total += s.size();
  (void)total;
  QFile::remove(codes);
  QFile::remove(path);
  return 0;
}
