// Checks and suggestions through Enchant's broker, as a desktop program makes them, beside the
// same calls on the provider's session in process, and beside Enchant's Hunspell and Aspell
// providers on the same words (en_AU). Run by run_bench_enchant.sh, which gives Enchant a module
// folder holding this build's provider next to the system's Hunspell and Aspell providers.
//
// ProviderCallback: the module's own callbacks called directly, the provider's share of a call.
// Check: every word of a real prose text (the GPL-3 licence text), once per iteration; reports
// ns_per_word. Suggest: the 400 codespell misspellings; reports median_ms, p90_ms (thread CPU
// time per request), top1 and top5.
#include "EnchantSession.h"
#include "misspellings.h"
#include "wrUtil.h"

#include <enchant-provider.h>
#include <enchant.h>

#include <dlfcn.h>

#include <QRegularExpression>

#include <benchmark/benchmark.h>

#include <functional>
#include <map>
#include <memory>

namespace {

const std::vector<std::string> &ProseWords()
{
  static const std::vector<std::string> words = [] {
    QFile f(QStringLiteral("/usr/share/common-licenses/GPL-3"));
    if (!f.open(QIODevice::ReadOnly))
      qFatal("cannot read the GPL-3 text");
    std::vector<std::string> out;
    static const QRegularExpression word(QStringLiteral("[A-Za-z']+"));
    auto it = word.globalMatch(QString::fromUtf8(f.readAll()));
    while (it.hasNext())
      out.push_back(it.next().captured().toStdString());
    return out;
  }();
  return words;
}

struct TBroker {
  EnchantBroker *Broker = enchant_broker_init();
  ~TBroker() { enchant_broker_free(Broker); }
  EnchantDict *Dict(const char *Provider)
  {
    enchant_broker_set_ordering(Broker, "en_AU", Provider);
    EnchantDict *d = enchant_broker_request_dict(Broker, "en_AU");
    if (!d)
      return nullptr;
    // The ordering is a preference: make sure the wanted provider answered.
    const char *name = nullptr;
    enchant_dict_describe(
        d,
        [](const char *, const char *ProviderName, const char *, const char *, void *Data) {
          *static_cast<const char **>(Data) = ProviderName;
        },
        &name);
    if (!name || std::string(name) != Provider) {
      enchant_broker_free_dict(Broker, d);
      return nullptr;
    }
    return d;
  }
};

// A broker per provider: a broker keeps the first dictionary it made for a tag, whatever the
// ordering says later.
TBroker &Broker(const std::string &Provider)
{
  static std::map<std::string, std::unique_ptr<TBroker>> brokers;
  auto &b = brokers[Provider];
  if (!b)
    b = std::make_unique<TBroker>();
  return *b;
}

TEnchantSession &InProcess()
{
  static TEnchantSession *session = [] {
    SetAppDirOverride(qEnvironmentVariable("LW_BENCH_APP_DIR"));
    auto *s = new TEnchantSession;
    if (!s->Open(s->DictionaryFor(QStringLiteral("en_AU"))))
      qFatal("the provider's dictionary cannot be opened in process");
    return s;
  }();
  return *session;
}

void MeasureCheck(benchmark::State &State, const std::function<bool(const std::string &)> &Check)
{
  const auto &words = ProseWords();
  int rejected = 0;
  double ms = 0;
  for (auto _ : State) {
    rejected = 0;
    const double start = ThreadMs();
    for (const std::string &w : words)
      rejected += !Check(w);
    ms += ThreadMs() - start;
  }
  State.counters["ns_per_word"] = ms * 1e6 / double(State.iterations()) / double(words.size());
  State.counters["rejected"] = rejected;
}

void BM_Check_InProcess(benchmark::State &State)
{
  TEnchantSession &s = InProcess();
  MeasureCheck(State, [&](const std::string &w) { return s.Check(QString::fromStdString(w)); });
}

// The provider's own callback, called as the broker calls it but without the broker's work
// around it (its word lists, which it stats on every call).
EnchantDict *ProviderDict()
{
  static EnchantDict *dict = [] {
    const QString module = qEnvironmentVariable("LW_BENCH_APP_DIR") + "/enchant_linewright.so";
    void *h = dlopen(module.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!h)
      qFatal("cannot load the provider: %s", dlerror());
    auto init = reinterpret_cast<EnchantProvider *(*)()>(dlsym(h, "init_enchant_provider"));
    EnchantProvider *p = init ? init() : nullptr;
    return p ? p->request_dict(p, "en_AU") : nullptr;
  }();
  return dict;
}

void BM_Check_ProviderCallback(benchmark::State &State)
{
  EnchantDict *d = ProviderDict();
  if (!d)
    return State.SkipWithError("provider not available");
  MeasureCheck(State, [&](const std::string &w) { return d->check(d, w.data(), w.size()) == 0; });
}

void BM_Suggest_ProviderCallback(benchmark::State &State)
{
  EnchantDict *d = ProviderDict();
  if (!d)
    return State.SkipWithError("provider not available");
  MeasureSuggestions(State, [&](const TMisspelling &m) {
    size_t n = 0;
    char **s = d->suggest(d, m.WrongUtf8.data(), m.WrongUtf8.size(), &n);
    QStringList out;
    for (size_t i = 0; i < n; ++i)
      out << QString::fromUtf8(s[i]);
    g_strfreev(s);
    return out;
  });
}

void BM_Suggest_InProcess(benchmark::State &State)
{
  TEnchantSession &s = InProcess();
  MeasureSuggestions(State, [&](const TMisspelling &m) { return s.Suggestions(m.Wrong); });
}

void CheckThrough(benchmark::State &State, const char *Provider)
{
  EnchantDict *d = Broker(Provider).Dict(Provider);
  if (!d)
    return State.SkipWithError("provider not available");
  MeasureCheck(State, [&](const std::string &w) {
    return enchant_dict_check(d, w.data(), ssize_t(w.size())) == 0;
  });
}

void SuggestThrough(benchmark::State &State, const char *Provider)
{
  EnchantDict *d = Broker(Provider).Dict(Provider);
  if (!d)
    return State.SkipWithError("provider not available");
  MeasureSuggestions(State, [&](const TMisspelling &m) {
    size_t n = 0;
    char **s = enchant_dict_suggest(d, m.WrongUtf8.data(), ssize_t(m.WrongUtf8.size()), &n);
    QStringList out;
    for (size_t i = 0; i < n; ++i)
      out << QString::fromUtf8(s[i]);
    enchant_dict_free_string_list(d, s);
    return out;
  });
}

} // namespace

BENCHMARK(BM_Check_InProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check_ProviderCallback)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CheckThrough, linewright, "linewright")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CheckThrough, hunspell, "hunspell")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CheckThrough, aspell, "aspell")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Suggest_InProcess)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Suggest_ProviderCallback)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(SuggestThrough, linewright, "linewright")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(SuggestThrough, hunspell, "hunspell")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK_CAPTURE(SuggestThrough, aspell, "aspell")->Unit(benchmark::kMillisecond)->Iterations(3);
