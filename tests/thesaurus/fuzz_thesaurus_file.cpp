// Bad-input entry point of the thesaurus reader: load any bytes as a thesaurus file and look
// words up. A damaged file may fail to load or end a lookup with EReadError; it must never read
// outside the buffers, hang or crash.
#include "wrThesaurusFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  static const QString path = QDir::temp().filePath(
      QStringLiteral("lw-fuzz-thesaurus-%1.wdt").arg(QCoreApplication::applicationPid()));
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
      return 0;
    f.write(reinterpret_cast<const char *>(data), qint64(size));
  }
  TThesaurusFile file;
  file.SetFileName(path);
  static const char16_t *const words[] = {u"happy",   u"Happy", u"HAPPY",     u"",
                                          u"cartoon", u"cart",  u"car",       u"merry",
                                          u"gladden", u"zebra", u"caf\u00E9", u"\u4E00"};
  for (const char16_t *w : words) {
    try {
      if (file.LookupWord(QString::fromUtf16(w))) {
        // Touch every string the lookup produced.
        qsizetype total = 0;
        for (const auto &c : file.Contexts()) {
          total += c->ContextWord.size() + c->ContextKindName.size();
          for (const QStringList &list : c->Words)
            for (const QString &s : list)
              total += s.size();
        }
        (void)total;
      }
    } catch (const EReadError &) {
    }
  }
  for (quint16 n : {0, 1, 2, 100, 65535}) {
    try {
      (void)file.NodeWord(n);
    } catch (const EReadError &) {
    }
  }
  return 0;
}
