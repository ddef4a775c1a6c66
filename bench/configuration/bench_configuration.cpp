// Loading and saving "Spell.cfg" as its size grows. The bad case is a section whose list
// counts claim the most entries a load reads (65,536) among many other lines: every entry key
// is looked up, so a load that rescans the section per look-up is quadratic (a 139 KB file took
// 93 s). Run: bench_configuration [--benchmark_filter=...]
#include "rtIniFile.h"
#include "wrConfiguration.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

class TBenchOwner : public TWrightConfigOwner {
public:
  QString Filename;
  TStringList Empty;
  TConfigStorage ConfigStorage() override { return csFile; }
  QString ConfigID() override { return QStringLiteral("alice"); }
  QString ConfigFilename() override { return Filename; }
  QString ConfigRegistryKey() override { return QString(); }
  QString ExpandVars(const QString &Path) override { return Path; }
  QString ExpandWrightVars(const QString &Path) override { return Path; }
  const TStringList &ConfigDefaultMain() override { return Empty; }
  const TStringList &ConfigDefaultCustom() override { return Empty; }
  QString ConfigDefaultActiveCustom() override { return QString(); }
  TSpellOptions ConfigDefaultOptions() override { return {}; }
  bool ConfigUseMSWordCustom() override { return false; }
  bool ConfigDefaultUseMSWordCustom() override { return false; }
  const TStringList &ConfigAvailableMSWordCustom() override { return Empty; }
  QString QuoteChars() override { return QStringLiteral(">"); }
  void FireConfigBeforeLoad(bool) override {}
  void FireConfigLoaded() override {}
  void FireConfigSaved() override {}
  void FireConfigurationChanged(bool) override {}
  QString FireReadString(const QString &, const QString &, const QString &Default) override
  {
    return Default;
  }
  void FireWriteString(const QString &, const QString &, const QString &) override {}
};

// A section with every list claiming 65,536 entries, a few real ones, and `lines` other keys
// (another program's data in the same section): 9,000 of them make the 139 KB case.
QByteArray damagedFile(int lines)
{
  QByteArray text = "[alice]\n_FirstRun=+\n";
  for (const char *list : {"_Main", "_Custom", "_MSWordCustom", "_NewPaths", "_UserData"})
    text += QByteArray(list) + "_count=65536\n" + list + "_0=first\n" + list + "_1=second\n";
  for (int i = 0; i < lines; ++i)
    text += "Other" + QByteArray::number(i) + "=value\n";
  return text;
}

void LoadDamagedSection(benchmark::State &state)
{
  QTemporaryDir dir;
  TBenchOwner owner;
  owner.Filename = dir.path() + QStringLiteral("/Spell.cfg");
  const QByteArray bytes = damagedFile(int(state.range(0)));
  {
    QFile f(owner.Filename);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
  }
  for (auto _ : state) {
    TWrightConfig config;
    config.SetWrightSpell(&owner);
    config.SetLoaded(true);
    benchmark::DoNotOptimize(config.MainDictionaries().Count());
    config.SetModified(false); // no save on destruction
  }
  state.counters["file_kB"] = double(bytes.size()) / 1024;
}
BENCHMARK(LoadDamagedSection)
    ->Arg(500)
    ->Arg(2000)
    ->Arg(9000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

void SaveAndLoadRoundTrip(benchmark::State &state)
{
  QTemporaryDir dir;
  TBenchOwner owner;
  owner.Filename = dir.path() + QStringLiteral("/Spell.cfg");
  {
    TWrightConfig config;
    config.SetWrightSpell(&owner);
    config.SetLoaded(true);
    for (int i = 0; i < state.range(0); ++i)
      config.MainDictionaries().Add(QStringLiteral("dictionary%1.wdm").arg(i));
    config.SaveConfiguration();
  }
  for (auto _ : state) {
    TWrightConfig config;
    config.SetWrightSpell(&owner);
    config.SetLoaded(true);
    config.SaveConfiguration();
  }
}
BENCHMARK(SaveAndLoadRoundTrip)->Arg(100)->Arg(5000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
