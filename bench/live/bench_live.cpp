// Live spelling in the real editor, painted offscreen: a full screen (40 lines of prose with a
// few misspellings) painted fresh with live spelling on and off, a repaint of an unchanged
// screen, a last line measured with and without a selection, and one character typed into a
// 5 MB text up to the painted underline.
#include "shipped_session.h"
#include "wrLiveRichEdit.h"
#include "wrRichEdit.h"
#include "wrSpellBase.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextCursor>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

const char *const Prose[] = {
    "The morning weather over the paddock was clear, and the kangaroo stood near the fence.",
    "She travelled to the library because the garden needed a new colour before evening.",
    "A question about the programme came up, but nobody had an answer for the neighbour.",
    "They walked down to the billabong where eucalyptus trees leant over the quiet water.",
    "Many people came back after the long day, and the old man opened the window wide.",
};
const char *const Misspelled[] = {"teh", "wrold", "recieve", "freind", "becuase"};

struct TFixture {
  QTemporaryDir Temp;
  std::unique_ptr<TWrightSpell3Base> Spell;

  TFixture()
  {
    InstallLiveRichEditFactory();
    Spell = NewShippedSession(Temp.path());
    Spell->SetConfigDefaultOptions({soLiveSpelling, soLiveCorrect});
  }

  // An editor showing at least 40 lines of `lines` lines of prose, every eighth with a
  // misspelling.
  std::unique_ptr<TWrightRichEdit> NewEditor(int lines, bool live)
  {
    auto e = std::make_unique<TWrightRichEdit>();
    e->resize(900, 760);
    QString text;
    for (int i = 0; i < lines; ++i) {
      QString line = QString::fromLatin1(Prose[i % 5]);
      if (i % 8 == 3)
        line.replace(QStringLiteral("the "), QString::fromLatin1(Misspelled[i % 5]) + ' ');
      text += line + QStringLiteral("\r\n");
    }
    e->SetText(text);
    e->SetWrightSpell(Spell.get());
    e->SetLiveSpelling(live);
    e->show();
    QApplication::processEvents();
    e->viewport()->repaint(); // the first paint after showing is never buffered
    e->viewport()->repaint();
    return e;
  }
};

TFixture &Fixture()
{
  static TFixture f;
  return f;
}

TWrightLiveRichEdit *Engine(TWrightRichEdit &e)
{
  return dynamic_cast<TWrightLiveRichEdit *>(e.LiveInterface());
}

// Every visible line checked and measured again, then painted.
void BM_PaintFreshScreen(benchmark::State &state)
{
  const bool live = state.range(0) != 0;
  auto e = Fixture().NewEditor(40, live);
  TWrightLiveRichEdit *engine = Engine(*e);
  const qint64 checked = engine->LinesChecked();
  for (auto _ : state) {
    engine->MarkAllLinesDirty();
    engine->ResetDrawDeltas();
    e->viewport()->repaint();
  }
  state.counters["lines_checked_per_paint"] =
      double(engine->LinesChecked() - checked) / double(state.iterations());
  state.SetLabel(live ? "live spelling on" : "live spelling off");
}
BENCHMARK(BM_PaintFreshScreen)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// Nothing changed: every line comes from the cache.
void BM_RepaintUnchangedScreen(benchmark::State &state)
{
  auto e = Fixture().NewEditor(40, true);
  TWrightLiveRichEdit *engine = Engine(*e);
  const qint64 checked = engine->LinesChecked();
  for (auto _ : state)
    e->viewport()->repaint();
  state.counters["lines_checked_per_paint"] =
      double(engine->LinesChecked() - checked) / double(state.iterations());
}
BENCHMARK(BM_RepaintUnchangedScreen)->Unit(benchmark::kMillisecond);

// The whole text on screen, its last line misspelled and measured afresh at each paint: buffered
// (no selection), and unbuffered with a word selected, where the last line is measured on an
// off-screen rendering of the text.
void BM_PaintLastLineMeasured(benchmark::State &state)
{
  const bool selected = state.range(0) != 0;
  auto e = Fixture().NewEditor(36, true); // line 35 holds a misspelling
  QTextCursor end(e->document());
  end.movePosition(QTextCursor::End);
  end.deletePreviousChar(); // line 35 becomes the last
  HWND w = e.get();
  if (selected)
    w->SetSel(4, 11); // "morning"
  TWrightLiveRichEdit *engine = Engine(*e);
  for (auto _ : state) {
    engine->ResetDrawDeltas();
    e->viewport()->repaint();
  }
  const TLineCache *cache = engine->LineCache(35);
  state.SetLabel(std::string(selected ? "word selected, unbuffered" : "buffered") +
                 (cache && cache->DrawDelta > 0 ? ", measured" : ", not measured"));
}
BENCHMARK(BM_PaintLastLineMeasured)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void SendKey(QWidget *w, int key, const QString &text)
{
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &release);
}

// One character typed into a word in the middle of a 5 MB text: the key, the edit, the check of
// the changed line and the paint that underlines it. The character is taken back untimed.
void BM_TypeCharacterIn5MBText(benchmark::State &state)
{
  const bool live = state.range(0) != 0;
  static std::unique_ptr<TWrightRichEdit> editors[2];
  std::unique_ptr<TWrightRichEdit> &e = editors[live];
  if (!e)
    e = Fixture().NewEditor(60'000, live); // 60,000 lines of ~86 characters: 5.2 MB
  HWND w = e.get();
  const int line = 30'000;
  w->SetSel(w->LineIndex(line) + 3, w->LineIndex(line) + 3); // after "The"
  w->ScrollCaret();
  e->viewport()->repaint();
  TWrightLiveRichEdit *engine = Engine(*e);
  const qint64 checked = engine->LinesChecked();
  for (auto _ : state) {
    SendKey(e.get(), Qt::Key_X, QStringLiteral("x"));
    e->viewport()->repaint();
    state.PauseTiming();
    SendKey(e.get(), Qt::Key_Backspace, QString());
    e->viewport()->repaint();
    state.ResumeTiming();
  }
  const TLineCache *cache = engine->LineCache(line);
  state.counters["lines_checked_per_key"] =
      double(engine->LinesChecked() - checked) / double(2 * state.iterations());
  state.counters["text_MB"] = double(w->GetTextLength()) / 1e6;
  state.SetLabel(!live ? "live spelling off" : cache ? "underlined" : "line not cached");
  e.reset(); // before the application ends
}
BENCHMARK(BM_TypeCharacterIn5MBText)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
