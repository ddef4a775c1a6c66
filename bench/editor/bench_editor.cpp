// Position conversions of the real editor widget on a 100,000-line text: each call must cost
// a tree lookup, not a walk over the text, so random access stays as fast as sequential access.

#include "wrRichEdit.h"

#include <QApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <map>
#include <random>

namespace {

constexpr int LineCount = 100'000;

// One editor per text size for all benchmarks: filling it is not what is measured.
TWrightRichEdit &Editor(int lines = LineCount)
{
  static std::map<int, TWrightRichEdit *> editors;
  TWrightRichEdit *&e = editors[lines];
  if (!e) {
    e = new TWrightRichEdit;
    e->resize(600, 400);
    QString text;
    text.reserve(qsizetype(lines) * 32);
    for (int i = 0; i < lines; ++i)
      text += QStringLiteral("line %1 with a few words\r\n").arg(i);
    e->SetText(text);
  }
  return *e;
}

std::vector<int> RandomValues(int count, int max)
{
  std::mt19937 rng(42);
  std::uniform_int_distribution<int> dist(0, max);
  std::vector<int> v(static_cast<size_t>(count));
  for (int &x : v)
    x = dist(rng);
  return v;
}

void BM_LineIndexRandom(benchmark::State &state)
{
  HWND w = &Editor();
  const std::vector<int> lines = RandomValues(4096, LineCount);
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(w->LineIndex(lines[i++ & 4095]));
  }
}
BENCHMARK(BM_LineIndexRandom);

void BM_LineFromCharRandom(benchmark::State &state)
{
  HWND w = &Editor(int(state.range(0)));
  const std::vector<int> positions = RandomValues(4096, w->GetTextLength());
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(w->LineFromChar(positions[i++ & 4095]));
  }
}
// The cost grows with the logarithm of the size, not with the size.
BENCHMARK(BM_LineFromCharRandom)->Arg(1'000)->Arg(10'000)->Arg(LineCount);

// A parser's walk: every line start in order.
void BM_LineFromCharSequential(benchmark::State &state)
{
  HWND w = &Editor();
  int line = 0;
  for (auto _ : state) {
    const int pos = w->LineIndex(line) + 3;
    benchmark::DoNotOptimize(w->LineFromChar(pos));
    line = line + 1 < LineCount ? line + 1 : 0;
  }
}
BENCHMARK(BM_LineFromCharSequential);

void BM_GetLineRandom(benchmark::State &state)
{
  HWND w = &Editor();
  const std::vector<int> lines = RandomValues(4096, LineCount - 1);
  std::vector<char16_t> buffer(4097);
  size_t i = 0;
  for (auto _ : state) {
    buffer[0] = 4096;
    benchmark::DoNotOptimize(w->GetLine(lines[i++ & 4095], buffer.data()));
  }
}
BENCHMARK(BM_GetLineRandom);

void BM_SelectionRoundTripRandom(benchmark::State &state)
{
  HWND w = &Editor();
  const std::vector<int> positions = RandomValues(4096, w->GetTextLength());
  size_t i = 0;
  for (auto _ : state) {
    const int p = positions[i++ & 4095];
    w->SetSel(p, p);
    int s = 0, e = 0;
    w->GetSel(s, e);
    benchmark::DoNotOptimize(s);
  }
}
BENCHMARK(BM_SelectionRoundTripRandom);

// What live spelling does on each paint: the screen position of a visible line's start and
// one client area rendered off-screen from there, deep inside a large text.
void BM_PaintFromLineRandom(benchmark::State &state)
{
  TWrightRichEdit &ed = Editor();
  ed.show();
  QApplication::processEvents();
  HWND w = &ed;
  const std::vector<int> lines = RandomValues(256, LineCount - 100);
  QImage image(w->ClientSize(), QImage::Format_RGB32);
  const int tw = 1440 / image.logicalDpiX();
  const QRect twips(2 * tw, 0, (image.width() - 2) * tw, (image.height() + 30) * tw);
  size_t i = 0;
  for (auto _ : state) {
    const int start = w->LineIndex(lines[i++ & 255]);
    benchmark::DoNotOptimize(w->PosFromChar(start));
    benchmark::DoNotOptimize(w->FormatRange(&image, start, twips));
  }
}
BENCHMARK(BM_PaintFromLineRandom);

} // namespace
