#pragma once
// The misspellings the suggestion benchmarks measure: codespell's list of common misspellings
// (GPL-2, Debian package codespell), entries with one intended word that the shipped dictionary
// holds and whose misspelling it does not, taken at an even stride through the sorted list so
// that every run uses the same words. Needs LW_AUSSIE_WORDS and LW_CODESPELL_LIST. Also the
// thread's CPU clock the benchmarks time requests with.
#include <QFile>
#include <QSet>
#include <QString>
#include <QStringList>

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

inline QSet<QString> ReadWordList()
{
  QFile f(QStringLiteral(LW_AUSSIE_WORDS));
  if (!f.open(QIODevice::ReadOnly))
    qFatal("cannot read %s", LW_AUSSIE_WORDS);
  QSet<QString> words;
  for (const QString &w : QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts))
    words.insert(w.trimmed());
  return words;
}

// Count misspellings taken at an even stride through the eligible entries.
inline std::vector<TMisspelling> SelectMisspellings(size_t Count)
{
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
  const size_t stride = std::max<size_t>(1, eligible.size() / Count);
  for (size_t i = 0; i < eligible.size() && chosen.size() < Count; i += stride)
    chosen.push_back(eligible[i]);
  return chosen;
}

// The 400 the in-process suggestion benchmarks use.
inline const std::vector<TMisspelling> &Misspellings()
{
  static const std::vector<TMisspelling> list = SelectMisspellings(WordCount);
  return list;
}

// The thread's CPU time: on a shared, loaded machine wall time measures the neighbours.
inline double ThreadMs()
{
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Runs Suggest over every misspelling of Misspellings() once per iteration and reports
// median_ms and p90_ms (thread CPU time per request), top1, top5 and the number of words.
inline void MeasureSuggestions(benchmark::State &State,
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

} // namespace
