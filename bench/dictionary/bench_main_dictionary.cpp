// The shipped "aussie.wdm" side by side with Hunspell over the same en_AU source: open time,
// lookups per second over a mixed list of words and non-words, and the sound-alike suggestions
// per misspelling. Each pair runs the same inputs; compare items_per_second and times. Also the
// phonetic code alone, over the whole word list.
#include "tree_dictionary.h"
#include "wrMainDictionary.h"
#include "wrPhoneticsMap.h"

#include <hunspell.hxx>

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct Inputs {
  QStringList mixed; // half dictionary words, half near misses
  std::vector<std::string> mixedUtf8;
  // The mixed list split by the dictionary's answer, to compare both sides on found words and on
  // non-words apart (the cost of a miss differs from that of a hit).
  QStringList words, nonWords;
  std::vector<std::string> wordsUtf8, nonWordsUtf8;
  QStringList misspelt;
  std::vector<std::string> misspeltUtf8;
};

const Inputs &inputs()
{
  static const Inputs in = [] {
    Inputs r;
    QFile f(QStringLiteral(LW_AUSSIE_WORDS));
    if (!f.open(QIODevice::ReadOnly))
      qFatal("cannot read %s", LW_AUSSIE_WORDS);
    const QStringList words =
        QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    std::mt19937 rng(7);
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyz");
    for (int i = 0; i < 20000; ++i) {
      QString w = words[qsizetype(rng() % words.size())];
      if (i % 2) // change one letter: mostly a non-word
        w[qsizetype(rng() % w.size())] = letters[qsizetype(rng() % 26)];
      r.mixedUtf8.push_back(w.toStdString());
    }
    // Made in one pass so that the strings lie together in memory, like Hunspell's short
    // std::string inputs: both sides then read their inputs from the cache.
    r.mixed.reserve(qsizetype(r.mixedUtf8.size()));
    for (const std::string &w : r.mixedUtf8)
      r.mixed.append(QString::fromStdString(w));
    TMainDictionary d;
    d.SetFilename(QStringLiteral(LW_AUSSIE_WDM));
    for (const std::string &w : r.mixedUtf8)
      (d.WordExists(QString::fromStdString(w)) ? r.wordsUtf8 : r.nonWordsUtf8).push_back(w);
    for (const std::string &w : r.wordsUtf8)
      r.words.append(QString::fromStdString(w));
    for (const std::string &w : r.nonWordsUtf8)
      r.nonWords.append(QString::fromStdString(w));
    r.misspelt = {
        QStringLiteral("recieve"),  QStringLiteral("thier"),      QStringLiteral("becuase"),
        QStringLiteral("nite"),     QStringLiteral("fone"),       QStringLiteral("wich"),
        QStringLiteral("seperate"), QStringLiteral("definately"), QStringLiteral("occured"),
        QStringLiteral("tommorow"), QStringLiteral("acommodate"), QStringLiteral("goverment")};
    for (const QString &w : r.misspelt)
      r.misspeltUtf8.push_back(w.toStdString());
    return r;
  }();
  return in;
}

std::unique_ptr<Hunspell> openHunspell()
{
  return std::make_unique<Hunspell>(LW_HUNSPELL_AFF, LW_HUNSPELL_DIC);
}

void BM_Open_Linewright(benchmark::State &state)
{
  for (auto _ : state) {
    TMainDictionary d;
    d.SetFilename(QStringLiteral(LW_AUSSIE_WDM));
    d.SetLoaded(true);
    if (!d.Loaded())
      state.SkipWithError("aussie.wdm does not load");
    benchmark::DoNotOptimize(d.WordCount());
  }
}
BENCHMARK(BM_Open_Linewright)->Unit(benchmark::kMicrosecond);

void BM_Open_Hunspell(benchmark::State &state)
{
  for (auto _ : state) {
    auto h = openHunspell();
    benchmark::DoNotOptimize(h.get());
  }
}
BENCHMARK(BM_Open_Hunspell)->Unit(benchmark::kMillisecond)->Iterations(10);

enum WordSet { Mixed, Words, NonWords };

const QStringList &wordSet(WordSet set)
{
  const Inputs &in = inputs();
  return set == Words ? in.words : set == NonWords ? in.nonWords : in.mixed;
}

const std::vector<std::string> &wordSetUtf8(WordSet set)
{
  const Inputs &in = inputs();
  return set == Words ? in.wordsUtf8 : set == NonWords ? in.nonWordsUtf8 : in.mixedUtf8;
}

// The shipped file (equal endings shared) or the same words as a plain trie.
QString dictionaryFile(bool tree)
{
  return tree
             ? TreeDictionaryFolder(QStringLiteral(LW_AUSSIE_WORDS)) + QStringLiteral("/aussie.wdm")
             : QStringLiteral(LW_AUSSIE_WDM);
}

void BM_WordExists_Linewright(benchmark::State &state, WordSet set, bool tree = false)
{
  const QStringList &list = wordSet(set);
  TMainDictionary d;
  d.SetFilename(dictionaryFile(tree));
  int found = 0;
  for (auto _ : state)
    for (const QString &w : list)
      found += d.WordExists(w);
  state.SetItemsProcessed(state.iterations() * list.size());
  state.counters["words"] = double(list.size());
  state.counters["found"] = double(found) / double(state.iterations());
}
BENCHMARK_CAPTURE(BM_WordExists_Linewright, mixed, Mixed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WordExists_Linewright, words, Words)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WordExists_Linewright, nonwords, NonWords)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WordExists_Linewright, mixed_trie, Mixed, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WordExists_Linewright, words_trie, Words, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WordExists_Linewright, nonwords_trie, NonWords, true)
    ->Unit(benchmark::kMillisecond);

void BM_Spell_Hunspell(benchmark::State &state, WordSet set)
{
  const std::vector<std::string> &list = wordSetUtf8(set);
  auto h = openHunspell();
  int found = 0;
  for (auto _ : state)
    for (const std::string &w : list)
      found += h->spell(w);
  state.SetItemsProcessed(state.iterations() * qint64(list.size()));
  state.counters["words"] = double(list.size());
  state.counters["found"] = double(found) / double(state.iterations());
}
BENCHMARK_CAPTURE(BM_Spell_Hunspell, mixed, Mixed)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Spell_Hunspell, words, Words)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Spell_Hunspell, nonwords, NonWords)->Unit(benchmark::kMillisecond);

// The phonetic walk of the main dictionary only (the edit-based candidates come from elsewhere),
// against Hunspell's complete suggest().
void BM_Suggest_Linewright(benchmark::State &state, bool tree)
{
  const Inputs &in = inputs();
  TMainDictionary d;
  d.SetFilename(dictionaryFile(tree));
  TPhoneticsMap map;
  map.SetLanguage(3081);
  map.SetStartDepth(2);
  for (auto _ : state)
    for (const QString &w : in.misspelt) {
      QStringList s;
      d.Suggest(w, map, s);
      benchmark::DoNotOptimize(s.size());
    }
  state.SetItemsProcessed(state.iterations() * in.misspelt.size());
}
BENCHMARK_CAPTURE(BM_Suggest_Linewright, shared, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Suggest_Linewright, trie, true)->Unit(benchmark::kMillisecond);

// The phonetic code of every word of the shipped list, as the check session configures the map
// (English table, start depth 2): a suggestion request codes some 170 dictionary words.
void BM_PhoneticCode_Linewright(benchmark::State &state)
{
  static const QStringList words = [] {
    QFile f(QStringLiteral(LW_AUSSIE_WORDS));
    if (!f.open(QIODevice::ReadOnly))
      qFatal("cannot read %s", LW_AUSSIE_WORDS);
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }();
  TPhoneticsMap map;
  map.SetLanguage(3081);
  map.SetStartDepth(2);
  for (auto _ : state)
    for (const QString &w : words)
      benchmark::DoNotOptimize(map.GetMapping(w));
  state.SetItemsProcessed(state.iterations() * words.size());
}
BENCHMARK(BM_PhoneticCode_Linewright)->Unit(benchmark::kMillisecond);

void BM_Suggest_Hunspell(benchmark::State &state)
{
  const Inputs &in = inputs();
  auto h = openHunspell();
  for (auto _ : state)
    for (const std::string &w : in.misspeltUtf8)
      benchmark::DoNotOptimize(h->suggest(w).size());
  state.SetItemsProcessed(state.iterations() * qint64(in.misspeltUtf8.size()));
}
BENCHMARK(BM_Suggest_Hunspell)->Unit(benchmark::kMillisecond);

} // namespace
