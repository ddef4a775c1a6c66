// Bad-input entry point of the configuration store: any bytes as "Spell.cfg", loaded, changed,
// saved and loaded and saved again. Besides never crashing or reading out of bounds, a save
// must leave the other sections as they read before it, must not depend on what the file held
// beyond what it loaded (from the second round on, a round trip writes the same bytes), and loading
// must stay in proportion to the file.
#include "config_owner.h"
#include "rtIniFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray g_input;

// Ends the run with the input kept beside the working file, for a look at it.
[[noreturn]] void fail(const char *what, int line)
{
  const QString kept = QDir::temp().filePath(QStringLiteral("lw-fuzz-configuration-failed-%1.cfg")
                                                 .arg(QCoreApplication::applicationPid()));
  QFile f(kept);
  if (f.open(QIODevice::WriteOnly)) {
    f.write(g_input);
    f.close();
  }
  std::fprintf(stderr, "fuzz_configuration: check failed: %s (line %d); input in %s\n", what, line,
               qPrintable(kept));
  std::abort();
}

#define FUZZ_CHECK(cond)                                                                           \
  do {                                                                                             \
    if (!(cond))                                                                                   \
      fail(#cond, __LINE__);                                                                       \
  } while (0)

QByteArray readAll(const QString &path)
{
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The sections other than `own`, as a reader sees them.
QList<QList<QPair<QString, QString>>> otherSections(const QString &path, const QString &own)
{
  TIniFile ini(path);
  QList<QList<QPair<QString, QString>>> result;
  for (const QString &name : ini.ReadSections())
    if (name.compare(own, Qt::CaseInsensitive) != 0)
      result.append(ini.ReadSection(name));
  return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
  static const QString dir = [] {
    // In memory where there is such a folder: every save syncs the file.
    const QDir base(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                              : QDir::tempPath());
    const QString d = base.filePath(
        QStringLiteral("lw-fuzz-configuration-%1").arg(QCoreApplication::applicationPid()));
    QDir().mkpath(d);
    static const QString *const removeAtExit = new QString(d);
    std::atexit([] { QDir(*removeAtExit).removeRecursively(); });
    return d;
  }();
  static const QString path = dir + QStringLiteral("/Spell.cfg");
  g_input = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
      return 0;
    f.write(reinterpret_cast<const char *>(data), qint64(size));
  }
  TTestConfigOwner owner;
  owner.ID = QStringLiteral("alice");
  owner.Filename = path;
  const auto others = otherSections(path, owner.ID);

  {
    TWrightConfig config;
    config.SetWrightSpell(&owner);
    config.SetLoaded(true);
    FUZZ_CHECK(config.Loaded());
    config.MainDictionaries().Add(QStringLiteral("fuzz.wdm"));
    config.SetConfigurationData(QStringLiteral("fuzz"), QStringLiteral("1"));
    (void)config.GetConfigurationData(QStringLiteral("colour"));
    config.SaveConfiguration();
  }
  const QByteArray first = readAll(path);
  FUZZ_CHECK(otherSections(path, owner.ID) == others);
  if (first != g_input)
    FUZZ_CHECK(TIniFile(path).ReadString(owner.ID, QStringLiteral("User_fuzz"), QString()) ==
               QLatin1String("1"));

  // A save writes what a load gives back, except that what the file cannot hold is made to
  // fit once (a line break in a host name becomes a blank, so its pair gets a key the next
  // time): from the second round on, the bytes stay the same.
  auto roundTrip = [&owner] {
    TWrightConfig config;
    config.SetWrightSpell(&owner);
    config.SetLoaded(true);
    config.SaveConfiguration();
    return readAll(path);
  };
  const QByteArray second = roundTrip();
  if (second != first)
    FUZZ_CHECK(roundTrip() == second);
  return 0;
}
