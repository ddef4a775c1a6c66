// libFuzzer entry point of linewright-spell's pipe (also run over a fixed corpus under the
// sanitizers): any bytes on standard input, as an editor session (-a) and, for a quarter of the
// sizes, as a list run (-l). The answer must be whole: the banner, then one empty line per checked
// line.
#include "SpellPipe.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  static int argc = 1;
  static char name[] = "fuzz_spell_pipe";
  static char *argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  // "#" saves sync to disk; on a memory file system that costs nothing, which keeps the corpus
  // fast.
  static QTemporaryDir scratch(QDir(QStringLiteral("/dev/shm")).exists()
                                   ? QStringLiteral("/dev/shm/lw-fuzz-pipe-XXXXXX")
                                   : QDir::tempPath() + QStringLiteral("/lw-fuzz-pipe-XXXXXX"));
  const QString config = scratch.filePath(QStringLiteral("Spell.cfg"));
  const QString personal = scratch.filePath(QStringLiteral("personal.wdu"));

  QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
  for (const char *mode : {"-a", "-l"}) {
    if (mode[1] == 'l' && size % 4 != 1)
      continue;
    QBuffer in(&input), out, err;
    in.open(QIODevice::ReadOnly);
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int code = RunSpellCommand({QString::fromLatin1(mode), QStringLiteral("-d"),
                                      QStringLiteral(LW_PIPE_WDM), QStringLiteral("-p"), personal,
                                      QStringLiteral("--config"), config},
                                     in, out, err);
    if (code != 0 || !err.data().isEmpty())
      std::abort();
    if (mode[1] == 'a' && !out.data().startsWith(SpellPipeVersionLine))
      std::abort();
  }
  // A "#" in the input may have saved the personal dictionary: start the next input afresh.
  QFile::remove(personal);
  return 0;
}
