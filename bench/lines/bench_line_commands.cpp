// Every line command, Convert to Plaintext and both all-in-one pastes as a user meets them: 5 MB
// of real prose (the GPL-3 text, repeated) pasted into the main window's editor, live spelling on
// over the shipped dictionary, each command run by its button's handler, the window shown on the
// (offscreen) screen. Each command is timed
// until the event loop is idle again: the command, the layout the editor finishes between events,
// the paint and the live check of the lines on screen.
//
// The text comes in two ways, as users paste it: plain text whose lines end alternately in CR LF
// and LF (a file from another system, a terminal), and rich text, each paragraph an HTML <p> as a
// browser or word processor puts it on the clipboard. Putting the text in place beforehand is
// not timed, except in BM_Paste. BM_Reference_EditorReplacesWholeText is what the editor widget
// itself takes to replace the whole text once, which every rebuilding command does at least.

#include "LineCommands.h"
#include "RichTextEd.h"
#include "wrRichEdit.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

#include <ctime>
#include <functional>
#include <memory>

namespace {

constexpr qsizetype TargetSize = 5'000'000;
const char *const ProseFile = "/usr/share/common-licenses/GPL-3";

QString Prose()
{
  QFile f(QString::fromLatin1(ProseFile));
  if (!f.open(QIODevice::ReadOnly))
    return QString();
  return QString::fromUtf8(f.readAll());
}

// The prose repeated to 5 MB, its lines ending alternately in CR LF and LF.
const QString &PlainSource()
{
  static const QString text = [] {
    const QStringList lines = Prose().split(u'\n');
    QString t;
    t.reserve(TargetSize + 100'000);
    for (qsizetype i = 0; t.size() < TargetSize; ++i) {
      t += lines[i % lines.size()];
      t += (i % 2) ? QStringLiteral("\n") : QStringLiteral("\r\n");
    }
    return t;
  }();
  return text;
}

// The prose repeated to 5 MB of text, each paragraph (lines up to a blank line) one HTML <p>.
const QString &HtmlSource()
{
  static const QString html = [] {
    QStringList paragraphs;
    for (const QString &p : Prose().split(QStringLiteral("\n\n"))) {
      const QString joined = p.simplified();
      if (!joined.isEmpty())
        paragraphs += QStringLiteral("<p>") + joined.toHtmlEscaped() + QStringLiteral("</p>\n");
    }
    QString h = QStringLiteral("<html><body>\n");
    for (qsizetype i = 0, text = 0; text < TargetSize; ++i) {
      const QString &p = paragraphs[i % paragraphs.size()];
      h += p;
      text += p.size() - 8;
    }
    h += QStringLiteral("</body></html>");
    return h;
  }();
  return html;
}

enum TSource { soPlain, soHtml };

double ProcessCpuMs()
{
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

void PutOnClipboard(TSource source)
{
  auto *data = new QMimeData;
  if (source == soHtml)
    data->setHtml(HtmlSource());
  else
    data->setText(PlainSource());
  QApplication::clipboard()->setMimeData(data);
}

// Counts every event delivered in the application, so that idle can be told from busy.
class TEventCounter : public QObject {
public:
  quint64 Delivered = 0;
  bool eventFilter(QObject *, QEvent *) override
  {
    ++Delivered;
    return false;
  }
};

struct TFixture {
  QTemporaryDir Temp;
  std::unique_ptr<TRichTextEd> Window;
  TEventCounter Counter;

  TFixture()
  {
    // The user's files (Spell.cfg, a new custom dictionary) go to a folder of the run's own; the
    // shipped dictionaries are read beside the program.
    qputenv("XDG_CONFIG_HOME", (Temp.path() + "/config").toUtf8());
    qputenv("XDG_DATA_HOME", (Temp.path() + "/data").toUtf8());
    Window = std::make_unique<TRichTextEd>();
    TStringList folders;
    folders.Add(Temp.path());
    folders.Add(QStringLiteral("%AppDir%\\Dictionaries"));
    Window->WrightAutoLiveSpell1->SetConfigDictionaryDir(folders);
    Window->WrightAutoLiveSpell1->SetConfigFilename(Temp.path() + "/Spell.cfg");
    Window->show();
    Window->Editor->setFocus();
    qApp->installEventFilter(&Counter);
    RunUntilIdle();
  }
  ~TFixture() { qApp->removeEventFilter(&Counter); }

  // Runs the event loop until no event has been delivered for 200 ms; answers the milliseconds
  // from `clock`'s start to the end of the last event delivered.
  qint64 RunUntilIdle(const QElapsedTimer *clock = nullptr)
  {
    QElapsedTimer local;
    local.start();
    const QElapsedTimer &c = clock ? *clock : local;
    qint64 lastBusy = c.elapsed();
    for (;;) {
      const quint64 before = Counter.Delivered;
      QCoreApplication::sendPostedEvents();
      QAbstractEventDispatcher::instance()->processEvents(QEventLoop::AllEvents);
      const qint64 now = c.elapsed();
      if (Counter.Delivered != before)
        lastBusy = now;
      else if (now - lastBusy > 200)
        return lastBusy;
      else
        QThread::usleep(500);
    }
  }
};

// Made on first use, destroyed in main while the application still exists.
std::unique_ptr<TFixture> TheFixture;

TFixture &Fixture()
{
  if (!TheFixture)
    TheFixture = std::make_unique<TFixture>();
  return *TheFixture;
}

// Runs `command` on the pasted text (or, for the pastes, on an empty editor with the text on the
// clipboard) and reports the time until idle as the iteration's time.
void RunCommand(benchmark::State &state, const std::function<void(TRichTextEd &)> &command,
                bool fromClipboard = false, int selStart = 0, int selEnd = 0)
{
  const TSource source = TSource(state.range(0));
  TFixture &f = Fixture();
  TEditWindow &editor = *f.Window->Editor;
  for (auto _ : state) {
    editor.Clear(); // also drops the undo history of the previous round
    PutOnClipboard(source);
    if (!fromClipboard) {
      editor.PasteFromClipboard();
      editor.SetSel(selStart, selEnd);
    }
    f.RunUntilIdle();
    const int lengthBefore = editor.GetTextLength();

    const double cpuBefore = ProcessCpuMs();
    QElapsedTimer clock;
    clock.start();
    command(*f.Window);
    const qint64 commandReturned = clock.elapsed();
    const qint64 idle = f.RunUntilIdle(&clock);
    state.SetIterationTime(double(idle) / 1000.0);

    // The processor time of the command up to idle (the quiet wait at the end costs nothing):
    // on a machine shared with other work the honest figure beside the elapsed one.
    state.counters["cpu_ms"] = ProcessCpuMs() - cpuBefore;
    state.counters["returned_ms"] = double(commandReturned);
    state.counters["chars_before"] = lengthBefore;
    state.counters["chars_after"] = editor.GetTextLength();
    state.counters["lines_after"] = editor.LinesCount();
  }
  state.SetLabel(source == soHtml ? "rich text paste" : "plain text paste");
}

#define LINE_BENCH(name, handler, ...)                                                             \
  void name(benchmark::State &state)                                                               \
  {                                                                                                \
    RunCommand(                                                                                    \
        state, [](TRichTextEd &w) { (w.*handler)(); }, ##__VA_ARGS__);                             \
  }                                                                                                \
  BENCHMARK(name)                                                                                  \
      ->Arg(soPlain)                                                                               \
      ->Arg(soHtml)                                                                                \
      ->UseManualTime()                                                                            \
      ->Unit(benchmark::kMillisecond)                                                              \
      ->Iterations(2)

LINE_BENCH(BM_Paste, &TRichTextEd::EditPaste, true);
LINE_BENCH(BM_ConvertBarsToCrLf, &TRichTextEd::ToolButton9Click);
LINE_BENCH(BM_ConvertCommasToCrLf, &TRichTextEd::ToolButton11Click);
LINE_BENCH(BM_ConvertDashesToCrLf, &TRichTextEd::ToolButton19Click);
LINE_BENCH(BM_ConvertSemicolonsToCrLf, &TRichTextEd::ToolButton22Click);
LINE_BENCH(BM_ConvertCrLfToSemicolons, &TRichTextEd::ToolButton23Click);
LINE_BENCH(BM_AddCrLfToPlusSigns, &TRichTextEd::ToolButton24Click);
LINE_BENCH(BM_RemoveBlankLines, &TRichTextEd::ToolButton12Click);
LINE_BENCH(BM_TrimLines, &TRichTextEd::ToolButton14Click);
LINE_BENCH(BM_IndentLines, &TRichTextEd::IndentActExecute);
LINE_BENCH(BM_UnIndentLines, &TRichTextEd::UnIndentActExecute);
LINE_BENCH(BM_DashIndentLines, &TRichTextEd::DashIndentActExecute);
LINE_BENCH(BM_DashUnIndentLines, &TRichTextEd::DashUnIndentActExecute);
// "GNU GENERAL PUBLIC LICENSE" (characters 4 to 30 of line 0) occurs, in varying case, throughout.
LINE_BENCH(BM_ProperCaseSelection, &TRichTextEd::ToolButton20Click, false, 4, 30);
LINE_BENCH(BM_ConvertToPlaintext, &TRichTextEd::ToolButton16Click);
LINE_BENCH(BM_AllInOneDashIndentPaste, &TRichTextEd::SpecialPasteBtn1Click, true);
LINE_BENCH(BM_AllInOneNoIndentPaste, &TRichTextEd::SpecialPasteBtn2Click, true);

// What the editor widget itself takes to replace the whole text once, as one undo step.
void BM_Reference_EditorReplacesWholeText(benchmark::State &state)
{
  RunCommand(state, [](TRichTextEd &w) {
    w.Editor->BeginEditBlock();
    w.Editor->SetTextEx(w.Editor->GetText(), true);
    w.Editor->EndEditBlock();
  });
}
BENCHMARK(BM_Reference_EditorReplacesWholeText)
    ->Arg(soPlain)
    ->Arg(soHtml)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// The conversion on the string alone, without the editor.
void BM_Reference_ConvertToPlainTextStringOnly(benchmark::State &state)
{
  for (auto _ : state)
    benchmark::DoNotOptimize(ConvertToPlainText(PlainSource(), DefaultKeepText));
}
BENCHMARK(BM_Reference_ConvertToPlainTextStringOnly)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char **argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  TheFixture.reset();
  benchmark::Shutdown();
  return 0;
}
