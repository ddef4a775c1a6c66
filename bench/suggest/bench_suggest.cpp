// Suggestions for real misspellings, side by side with Hunspell and Aspell (en_AU) on the same
// words. The words come from codespell's list of common misspellings (GPL-2, Debian package
// codespell): entries with one intended word that the shipped dictionary holds, whose
// misspelling it does not, taken at an even stride through the sorted list so that every run
// uses the same 400.
//
// Each benchmark asks for the suggestions of every word once per iteration and reports
// median_ms and p90_ms (CPU time per misspelling), top1 and top5 (share of words whose intended
// word is first, or among the first five) and the number of words; Linewright also first_ms, the
// CPU time of the session's first request.
#include "wrSpellBase.h"

#include <aspell.h>
#include <hunspell.h>

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QStringList>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int WordCount = 400;

struct TMisspelling {
  QString Wrong, Right;
  std::string WrongUtf8;
};

QSet<QString> ReadWordList()
{
  QFile f(QStringLiteral(LW_AUSSIE_WORDS));
  if (!f.open(QIODevice::ReadOnly))
    qFatal("cannot read %s", LW_AUSSIE_WORDS);
  QSet<QString> words;
  for (const QString &w : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts))
    words.insert(w.trimmed());
  return words;
}

const std::vector<TMisspelling> &Misspellings()
{
  static const std::vector<TMisspelling> list = [] {
    const QSet<QString> words = ReadWordList();
    QFile f(QStringLiteral(LW_CODESPELL_LIST));
    if (!f.open(QIODevice::ReadOnly))
      qFatal("cannot read %s", LW_CODESPELL_LIST);
    std::vector<TMisspelling> eligible;
    for (const QString &line : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
      const qsizetype arrow = line.indexOf(QStringLiteral("->"));
      if (arrow <= 0)
        continue;
      const QString wrong = line.left(arrow).trimmed();
      const QString right = line.mid(arrow + 2).trimmed();
      // One intended word, letters only, both of a length a person types.
      auto plain = [](const QString &w) {
        return w.size() >= 3 &&
               std::all_of(w.begin(), w.end(), [](QChar c) { return c >= u'a' && c <= u'z'; });
      };
      if (!plain(wrong) || !plain(right) || !words.contains(right) || words.contains(wrong))
        continue;
      eligible.push_back({wrong, right, wrong.toStdString()});
    }
    std::vector<TMisspelling> chosen;
    const size_t stride = std::max<size_t>(1, eligible.size() / WordCount);
    for (size_t i = 0; i < eligible.size() && chosen.size() < size_t(WordCount); i += stride)
      chosen.push_back(eligible[i]);
    return chosen;
  }();
  return list;
}

// The thread's CPU time: on a shared, loaded machine wall time measures the neighbours.
double ThreadMs()
{
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Runs Suggest over every misspelling and reports the figures.
void Measure(benchmark::State &State,
             const std::function<QStringList(const TMisspelling &)> &Suggest)
{
  const auto &list = Misspellings();
  std::vector<double> ms;
  int top1 = 0, top5 = 0;
  for (auto _ : State) {
    ms.clear();
    top1 = top5 = 0;
    for (const TMisspelling &m : list) {
      const double start = ThreadMs();
      const QStringList s = Suggest(m);
      ms.push_back(ThreadMs() - start);
      const qsizetype at = s.indexOf(m.Right);
      top1 += at == 0;
      top5 += at >= 0 && at < 5;
      benchmark::DoNotOptimize(s);
    }
  }
  std::sort(ms.begin(), ms.end());
  State.counters["words"] = double(list.size());
  State.counters["median_ms"] = ms[ms.size() / 2];
  State.counters["p90_ms"] = ms[ms.size() * 9 / 10];
  State.counters["top1"] = double(top1) / double(list.size());
  State.counters["top5"] = double(top5) / double(list.size());
}

// The check session as the main window configures it (phonetic depth 2, distance 4, divisor 2),
// over the shipped dictionary only; StartDepth 1 is the component's own default, which the
// earlier figures of this benchmark were taken with.
std::unique_ptr<TWrightSpellBase> NewSession(const QString &Folder, int StartDepth)
{
  auto s = std::make_unique<TWrightSpellBase>();
  s->SetConfigStorage(csNone);
  TStringList dirs;
  dirs.Add(Folder);
  s->SetConfigDictionaryDir(dirs);
  TStringList main;
  main.Add(QStringLiteral("aussie.wdm"));
  s->SetConfigDefaultMain(main);
  s->SetConfigDefaultCustom(TStringList());
  // An in-memory active dictionary: the benchmark writes nothing into the dictionary folder.
  s->SetConfigDefaultActiveCustom(QString());
  s->SetConfigUseMSWordCustom(false);
  s->SetSuggestionsLearning(false);
  s->SetPhoneticMaxDistance(4);
  s->SetPhoneticDivisor(2);
  s->SetPhoneticDepth(StartDepth);
  return s;
}

void MeasureSession(benchmark::State &State, const QString &Folder, int StartDepth = 2)
{
  auto session = NewSession(Folder, StartDepth);
  // The first request opens the dictionary and measures its trie once (first_ms).
  TStringList warm;
  const double start = ThreadMs();
  session->Suggest(QStringLiteral("warmup"), warm);
  const double first = ThreadMs() - start;
  Measure(State, [&](const TMisspelling &m) {
    TStringList words;
    session->Suggest(m.Wrong, words);
    return words.ToQStringList();
  });
  State.counters["first_ms"] = first;
}

// With both side files beside the dictionary, as shipped: commonness (aussie.wdf) and phonetic
// codes (aussie.wdp).
void BM_Suggest_Linewright(benchmark::State &State)
{
  MeasureSession(State, QStringLiteral(LW_DICTIONARY_DIR));
}

// The dictionary in a folder of its own with the named side files only.
void MeasureWithSideFiles(benchmark::State &State, const QStringList &SideFiles)
{
  QTemporaryDir dir;
  for (const QString &name : QStringList{QStringLiteral("aussie.wdm")} + SideFiles)
    if (!QFile::copy(QStringLiteral(LW_DICTIONARY_DIR "/") + name, dir.filePath(name)))
      return State.SkipWithError(qPrintable(QStringLiteral("cannot copy ") + name));
  MeasureSession(State, dir.path());
}

// No commonness: the ranking's own order for equal ranks.
void BM_Suggest_Linewright_NoCommonness(benchmark::State &State)
{
  MeasureWithSideFiles(State, {QStringLiteral("aussie.wdp")});
}

// No phonetic codes: the walk computes the code of every word it tests.
void BM_Suggest_Linewright_NoCodes(benchmark::State &State)
{
  MeasureWithSideFiles(State, {QStringLiteral("aussie.wdf")});
}

// Neither side file.
void BM_Suggest_Linewright_NoSideFiles(benchmark::State &State) { MeasureWithSideFiles(State, {}); }

// The component's default start depth: the phonetic walk takes every word below the first letter.
void BM_Suggest_Linewright_StartDepth1(benchmark::State &State)
{
  MeasureSession(State, QStringLiteral(LW_DICTIONARY_DIR), 1);
}

void BM_Suggest_Hunspell(benchmark::State &State)
{
  Hunhandle *h = Hunspell_create(LW_HUNSPELL_AFF, LW_HUNSPELL_DIC);
  Measure(State, [&](const TMisspelling &m) {
    char **list = nullptr;
    const int n = Hunspell_suggest(h, &list, m.WrongUtf8.c_str());
    QStringList words;
    for (int i = 0; i < n; ++i)
      words << QString::fromUtf8(list[i]);
    Hunspell_free_list(h, &list, n);
    return words;
  });
  Hunspell_destroy(h);
}

void BM_Suggest_Aspell(benchmark::State &State)
{
  AspellConfig *config = new_aspell_config();
  aspell_config_replace(config, "lang", "en_AU");
  aspell_config_replace(config, "encoding", "utf-8");
  AspellCanHaveError *made = new_aspell_speller(config);
  delete_aspell_config(config);
  if (aspell_error_number(made) != 0) {
    State.SkipWithError(aspell_error_message(made));
    delete_aspell_can_have_error(made);
    return;
  }
  AspellSpeller *speller = to_aspell_speller(made);
  Measure(State, [&](const TMisspelling &m) {
    const AspellWordList *list =
        aspell_speller_suggest(speller, m.WrongUtf8.c_str(), int(m.WrongUtf8.size()));
    AspellStringEnumeration *e = aspell_word_list_elements(list);
    QStringList words;
    while (const char *w = aspell_string_enumeration_next(e))
      words << QString::fromUtf8(w);
    delete_aspell_string_enumeration(e);
    return words;
  });
  delete_aspell_speller(speller);
}

} // namespace

BENCHMARK(BM_Suggest_Linewright)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Suggest_Linewright_NoCommonness)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Suggest_Linewright_NoCodes)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Suggest_Linewright_NoSideFiles)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Suggest_Linewright_StartDepth1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Suggest_Hunspell)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Suggest_Aspell)->Iterations(1)->Unit(benchmark::kMillisecond);
