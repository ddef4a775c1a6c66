// Word breaking throughput: the string parser over a 1 MB text held in a string, and the
// window parser over the same text in the editing surface (the widget the checker walks).
#include "wrParseEngine.h"
#include "wrRichEdit.h"
#include "wrStringParser.h"
#include "wrWinAPIParser.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {
// About 1 MB of English-like prose in lines of at most 72 characters, with the constructs the
// engine treats specially: apostrophes, inner periods, numbers, '&', quotes and punctuation.
const QString &SampleText()
{
  static const QString text = [] {
    static const char *const vocabulary[] = {
        "the",         "quick",    "brown",   "fox",   "jumps", "over",       "lazy",
        "dog",         "don't",    "e.g.",    "3.14",  "AT&T",  "'quoted'",   "\"double\"",
        "paragraph",   "spelling", "checker", "words", "it's",  "na\u00efve", "caf\u00e9",
        "Stra\u00dfe", "no.5",     "U.S.A.",  "and",   "of",    "to",         "in",
        "a",           "is",       "that",    "for",   "with",  "as",         "was",
        "on",          "be",       "at",      "by",    "this"};
    static const char *const punctuation[] = {"",  "",  "",  "",  "",  ",",
                                              ".", ";", ":", "!", "?", " -"};
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<size_t> word(0, std::size(vocabulary) - 1);
    std::uniform_int_distribution<size_t> punct(0, std::size(punctuation) - 1);
    QString t;
    t.reserve(1 << 20);
    QString line;
    while (t.size() + line.size() < (1 << 20) - 80) {
      QString w =
          QString::fromUtf8(vocabulary[word(rng)]) + QString::fromUtf8(punctuation[punct(rng)]);
      if (line.size() + 1 + w.size() > 72) {
        t += line;
        t += QStringLiteral("\r\n");
        line.clear();
      }
      if (!line.isEmpty())
        line += u' ';
      line += w;
    }
    t += line;
    return t;
  }();
  return text;
}

// Breaks the sample text into words once per iteration; Restart puts the parser back at the
// start of the text.
template <typename Restart>
void CountWords(benchmark::State &state, TControlParser &parser, Restart restart)
{
  TMainParsingEngine engine;
  int64_t words = 0;
  for (auto _ : state) {
    restart();
    int64_t n = 0;
    while (!engine.NextWord(&parser).isEmpty())
      ++n;
    benchmark::DoNotOptimize(n);
    words += n;
  }
  state.SetItemsProcessed(words);
  state.SetBytesProcessed(int64_t(state.iterations()) * SampleText().size() *
                          int64_t(sizeof(QChar)));
  state.counters["words_per_pass"] = double(words) / double(state.iterations());
}

void BM_StringParserWords(benchmark::State &state)
{
  QString text = SampleText();
  TStringParser parser;
  CountWords(state, parser, [&] { parser.Initialize(&text); });
}
BENCHMARK(BM_StringParserWords)->Unit(benchmark::kMillisecond);

void BM_WindowParserWords(benchmark::State &state)
{
  TWrightRichEdit editor;
  editor.resize(800, 600);
  HWND window = TEditWindow::FromControl(&editor);
  window->SetText(SampleText());
  TWinAPIControlParser parser;
  CountWords(state, parser, [&] { parser.Initialize(&editor); });
}
BENCHMARK(BM_WindowParserWords)->Unit(benchmark::kMillisecond);
} // namespace
