// libFuzzer entry point of the custom dictionary reader (also run over a fixed corpus under the
// sanitizers). A file is either refused or loaded whole; a loaded one must answer every
// operation from inside its own data and write out a file that reads back the same.
#include "wrCustomDictionary.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>

namespace {

QStringList allWords(TCustomDictionary &d)
{
  QStringList words;
  for (int i = 0; i < d.IgnoreCount(); ++i)
    words << d.GetIgnoreWord(unsigned(i));
  for (int i = 0; i < d.ExcludeCount(); ++i)
    words << d.GetExcludeWord(unsigned(i));
  for (int i = 0; i < d.AutoCorrectCount(); ++i) {
    QString correction;
    words << d.GetAutoCorrectWord(unsigned(i), correction) << correction;
  }
  // Words added while the lists are current go to the end of their list, so only a reload
  // gives slot order: compare contents, not order.
  words.sort();
  return words;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  // Saves sync to disk; on a memory file system that costs nothing, which keeps the corpus fast.
  static QTemporaryDir scratch(QDir(QStringLiteral("/dev/shm")).exists()
                                   ? QStringLiteral("/dev/shm/lw-fuzz-wdu-XXXXXX")
                                   : QDir::tempPath() + QStringLiteral("/lw-fuzz-wdu-XXXXXX"));
  const QString input = scratch.filePath(QStringLiteral("input.wdu"));
  const QString copy = scratch.filePath(QStringLiteral("copy.wdu"));
  {
    QFile f(input);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
      return 0;
    f.write(reinterpret_cast<const char *>(data), qint64(size));
  }
  TCustomDictionary d;
  d.SetFilename(input);
  d.SetLoaded(true);
  if (!d.Loaded())
    return 0;
  for (int i = 0; i < d.IgnoreCount(); ++i)
    d.IgnoreExists(d.GetIgnoreWord(unsigned(i)));
  QString correction;
  d.AutoCorrectExists(QStringLiteral("teh"), correction);
  d.RemoveIgnore(d.GetIgnoreWord(0));
  d.RemoveAutoCorrect(d.GetAutoCorrectWord(0, correction));
  // Enough additions to grow a small table through the prime list.
  for (int i = 0; i < 70; ++i)
    d.AddIgnore(QStringLiteral("fuzzword%1").arg(i));
  d.AddAutoCorrect(QStringLiteral("adn"), QStringLiteral("and"));
  d.SaveAs(copy);
  d.SetModified(false);

  TCustomDictionary back;
  back.SetFilename(copy);
  back.SetLoaded(true);
  if (!back.Loaded() || back.WordCount() != d.WordCount() || allWords(back) != allWords(d))
    __builtin_trap(); // what this reader writes, it must read back
  QFile::remove(copy);
  return 0;
}
