// Every line command, Convert to Plaintext and both all-in-one pastes on a 100,000-line,
// 5-million-character text in the real editor widget, shown on the (offscreen) screen. The
// timed part is the command itself plus the events it leaves behind (layout, repaint); putting
// the text in place beforehand is not timed.

#include "LineCommands.h"
#include "wrRichEdit.h"

#include <QApplication>
#include <QClipboard>
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

constexpr int LineCount = 100'000;
// Eight of every ten lines have this length, the other two are blank: with the CR LF breaks
// 5,050,000 characters in all.
constexpr int LineLength = 60;

// Lines with work for every command: separators, blank and white-space-only lines, indents
// and dash indents, lines starting with "(", double spaces, tabs, signs the keep-options strip
// and characters outside the 8-bit code page.
QString SampleLine(int i)
{
  QString s;
  switch (i % 10) {
  case 0:
    return QString();
  case 1:
    return QStringLiteral("   \t ");
  case 2:
    s = QStringLiteral("   indented quick brown fox, item %1").arg(i);
    break;
  case 3:
    s = QStringLiteral(" - dashed QUICK Brown fox; item %1").arg(i);
    break;
  case 4:
    s = QStringLiteral("(note %1) quick brown fox | a+b").arg(i);
    break;
  case 5:
    s = QStringLiteral("  Caf\u00e9 \u2122 \u0151z \u201dquoted\u201d, it's %1  ").arg(i);
    break;
  default:
    s = QStringLiteral("a|b|c, d - e; f+g\th  quick brown fox %1").arg(i);
    break;
  }
  while (s.size() < LineLength)
    s += QLatin1Char('x');
  s.truncate(LineLength);
  return s;
}

const QString &SampleText()
{
  static const QString text = [] {
    QString t;
    t.reserve(qsizetype(LineCount) * (LineLength + 2));
    for (int i = 0; i < LineCount; ++i) {
      t += SampleLine(i);
      t += QStringLiteral("\r\n");
    }
    return t;
  }();
  return text;
}

struct Editor {
  TWrightRichEdit Widget;
  Editor()
  {
    Widget.resize(800, 600);
    Widget.show();
    QCoreApplication::processEvents();
  }
};

// Made on first use, destroyed in main while the application still exists.
std::unique_ptr<Editor> TheEditorInstance;

Editor &TheEditor()
{
  if (!TheEditorInstance)
    TheEditorInstance = std::make_unique<Editor>();
  return *TheEditorInstance;
}

// Runs `command` on the sample text in the editor (or on an empty editor with the sample
// text on the clipboard, for the pastes).
void RunCommand(benchmark::State &state, const std::function<void(TEditWindow &)> &command,
                bool fromClipboard = false, int selStart = 0, int selEnd = 0)
{
  TWrightRichEdit &widget = TheEditor().Widget;
  TEditWindow &editor = widget;
  for (auto _ : state) {
    state.PauseTiming();
    editor.Clear(); // also drops the undo history of the previous round
    if (fromClipboard) {
      QApplication::clipboard()->setText(SampleText());
    } else {
      editor.SetText(SampleText());
      editor.SetSel(selStart, selEnd);
    }
    QCoreApplication::processEvents();
    const int lengthBefore = editor.GetTextLength();
    state.ResumeTiming();

    command(editor);
    QCoreApplication::processEvents();

    state.PauseTiming();
    const int lengthAfter = editor.GetTextLength();
    state.counters["chars_before"] = lengthBefore;
    state.counters["chars_after"] = lengthAfter;
    state.counters["lines_after"] = editor.LinesCount();
    state.ResumeTiming();
  }
}

const QString Keep = DefaultKeepText;

#define LINE_BENCH(name, ...)                                                                      \
  void name(benchmark::State &state) { RunCommand(state, __VA_ARGS__); }                           \
  BENCHMARK(name)->Unit(benchmark::kMillisecond)->Iterations(2)

LINE_BENCH(BM_ConvertBarsToCrLf, ConvertBarsToCrLf);
LINE_BENCH(BM_ConvertCommasToCrLf, ConvertCommasToCrLf);
LINE_BENCH(BM_ConvertDashesToCrLf, ConvertDashesToCrLf);
LINE_BENCH(BM_ConvertSemicolonsToCrLf, ConvertSemicolonsToCrLf);
LINE_BENCH(BM_ConvertCrLfToSemicolons, ConvertCrLfToSemicolons);
LINE_BENCH(BM_AddCrLfToPlusSigns, AddCrLfToPlusSigns);
LINE_BENCH(BM_RemoveBlankLines, RemoveBlankLines);
LINE_BENCH(BM_TrimLines, TrimLines);
LINE_BENCH(BM_IndentLines, IndentLines);
LINE_BENCH(BM_UnIndentLines, UnIndentLines);
LINE_BENCH(BM_DashIndentLines, DashIndentLines);
LINE_BENCH(BM_DashUnIndentLines, DashUnIndentLines);
// "quick brown fox" (characters 12 to 27 of line 2) occurs, in varying case, on most lines.
LINE_BENCH(
    BM_ProperCaseSelection,
    [](TEditWindow &e) {
      int userSS = 0;
      ProperCaseSelection(e, userSS);
    },
    false, 2 * (LineLength + 2) + 12, 2 * (LineLength + 2) + 27);
LINE_BENCH(BM_ConvertToPlaintext, [](TEditWindow &e) { ConvertToPlaintextCommand(e, Keep); });
LINE_BENCH(
    BM_AllInOneDashIndentPaste, [](TEditWindow &e) { AllInOneDashIndentPaste(e, Keep); }, true);
LINE_BENCH(
    BM_AllInOneNoIndentPaste, [](TEditWindow &e) { AllInOneNoIndentPaste(e, Keep); }, true);

// Reference points: what the editor widget itself takes to replace the whole text once (every
// rebuilding command does this at least), and the conversion on the string alone.
LINE_BENCH(BM_Reference_EditorReplacesWholeText, [](TEditWindow &e) {
  e.BeginEditBlock();
  e.SetTextEx(e.GetText(), true);
  e.EndEditBlock();
});

void BM_Reference_ConvertToPlainTextStringOnly(benchmark::State &state)
{
  for (auto _ : state)
    benchmark::DoNotOptimize(ConvertToPlainText(SampleText(), Keep));
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
  TheEditorInstance.reset();
  benchmark::Shutdown();
  return 0;
}
