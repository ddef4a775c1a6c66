// The window parser over the real editing surface, plus a scripted window for the exact
// message arithmetic (scrolling, screen rectangles, class names).
#include "ignore_test_util.h"
#include "rtWidgetWindow.h"
#include "wrIgnore.h"
#include "wrRichEdit.h"
#include "wrWinAPIParser.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {
struct Cursor {
  int x = 0, y = 0;
  bool operator==(const Cursor &o) const { return x == o.x && y == o.y; }
};
std::ostream &operator<<(std::ostream &os, const Cursor &c)
{
  return os << "(" << c.x << "," << c.y << ")";
}

Cursor Pos(TWinAPIControlParser &p)
{
  Cursor c;
  p.GetPosition(c.x, c.y);
  return c;
}

HWND WindowOf(TWrightRichEdit &ed) { return TEditWindow::FromControl(&ed); }

// All words from the parser's cursor on; each must sit just before the cursor on its line.
QStringList WordsThrough(TMainParsingEngine &engine, TWinAPIControlParser &parser)
{
  QStringList words;
  for (int guard = 0; guard < 1000; ++guard) {
    const QString w = engine.NextWord(&parser);
    if (w.isEmpty())
      break;
    const QString line = parser.GetLine();
    const Cursor c = Pos(parser);
    EXPECT_EQ(line.mid(c.x - w.size(), w.size()), w) << "word " << w.toStdString() << " at " << c;
    words << w;
  }
  return words;
}

class WindowParser : public testing::Test {
protected:
  void SetText(const QString &text)
  {
    WindowOf(ed)->SetText(text);
    parser.Initialize(&ed);
  }
  TWrightRichEdit ed;
  TWinAPIControlParser parser;
  TMainParsingEngine engine;
};
} // namespace

TEST_F(WindowParser, BindsToTheEditorsWindow)
{
  SetText(QStringLiteral("x"));
  EXPECT_EQ(parser.ControlHWND(), WindowOf(ed));
  EXPECT_EQ(parser.Control(), &ed);
  EXPECT_EQ(parser.GetControl(), &ed);
  EXPECT_EQ(parser.ControlType(), actRichEdit2);
}

TEST_F(WindowParser, CursorMovesAcrossLineEnds)
{
  SetText(QStringLiteral("ab\r\ncd\r\n\r\nz"));
  struct Step {
    bool forward;
    bool ok;
    Cursor at;
    char16_t ch;
  };
  const Step steps[] = {
      {true, true, {1, 0}, u'b'},   {true, true, {2, 0}, u'\r'}, {true, true, {3, 0}, u'\n'},
      {true, true, {0, 1}, u'c'},   // from the LF onto the next line
      {false, true, {3, 0}, u'\n'}, // and back onto the LF
      {true, true, {0, 1}, u'c'},   {true, true, {1, 1}, u'd'},  {true, true, {2, 1}, u'\r'},
      {true, true, {3, 1}, u'\n'},  {true, true, {0, 2}, u'\r'}, // an empty line is CR LF
      {true, true, {1, 2}, u'\n'},  {true, true, {0, 3}, u'z'},  {true, true, {1, 3}, u'\r'},
      {true, true, {2, 3}, u'\n'}, // the last line ends in CR LF too
      {true, false, {0, 4}, 0},    // past the end
  };
  EXPECT_EQ(parser.GetChar(), QChar(u'a'));
  for (const Step &s : steps) {
    const bool ok = s.forward ? parser.MoveNext() : parser.MovePrevious();
    EXPECT_EQ(ok, s.ok) << "to " << s.at;
    EXPECT_EQ(Pos(parser), s.at);
    EXPECT_EQ(parser.GetChar(), QChar(s.ch)) << "at " << s.at;
  }
  // At the very start a step back fails and stays.
  parser.SetPosition(0, 0, ptCurrent);
  EXPECT_FALSE(parser.MovePrevious());
  EXPECT_EQ(Pos(parser), (Cursor{0, 0}));
  EXPECT_EQ(parser.GetChar(), QChar(u'a'));
  parser.SetPosition(0, 1, ptCurrent);
  EXPECT_EQ(parser.GetLine(), QStringLiteral("cd\r\n"));
  parser.SetPosition(0, 9, ptCurrent);
  EXPECT_EQ(parser.GetLine(), QString());
  EXPECT_EQ(parser.GetChar(), QChar(0));
}

TEST_F(WindowParser, WordsOfEveryLine)
{
  SetText(QStringLiteral("First line's words.\r\n\r\n  e.g. 3.14 AT&T\r\nlast"));
  EXPECT_EQ(WordsThrough(engine, parser),
            (QStringList{"First", "line's", "words", "e.g.", "3.14", "AT", "&T", "last"}));
  EXPECT_TRUE(engine.NextWord(&parser).isEmpty());
}

TEST_F(WindowParser, WordCasesThroughTheEditor)
{
  // The word tables of the string parser give the same words from the editor, each case on
  // a line of its own after a first line that ends in a word.
  for (bool french : {false, true}) {
    engine.SetLanguage(french ? 0x040C : 0x0409);
    for (const WordCase &c : french ? FrenchWordCases() : WordCases()) {
      SetText(QStringLiteral("first\r\n") + QString::fromUtf8(c.text));
      EXPECT_EQ(WordsThrough(engine, parser), QStringList{"first"} + c.words) << c.text;
    }
  }
}

TEST_F(WindowParser, EndLimitStopsPastItsColumnOnItsLine)
{
  SetText(QStringLiteral("abcdef\r\nghijkl"));
  parser.SetPosition(2, 1, ptEnd);
  parser.SetPosition(4, 0, ptCurrent);
  EXPECT_TRUE(parser.MoveNext()); // line 0 lies before the limit's line
  EXPECT_TRUE(parser.MoveNext());
  EXPECT_TRUE(parser.MoveNext());
  EXPECT_TRUE(parser.MoveNext());
  EXPECT_EQ(Pos(parser), (Cursor{0, 1}));
  EXPECT_TRUE(parser.MoveNext());
  EXPECT_TRUE(parser.MoveNext());
  EXPECT_EQ(parser.GetChar(), QChar(u'i')); // the limit's column itself is readable
  EXPECT_FALSE(parser.MoveNext());
  EXPECT_EQ(parser.GetChar(), QChar(0));
}

TEST_F(WindowParser, SelectReplaceAndIgnoreThroughTheEditor)
{
  SetText(QStringLiteral("helo wrld ok\r\nsecond"));
  HWND w = WindowOf(ed);
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("helo"));
  parser.SelectWord(4);
  EXPECT_EQ(Pos(parser), (Cursor{0, 0}));
  EXPECT_EQ(w->GetSelText(), QStringLiteral("helo"));
  parser.ReplaceWord(QStringLiteral("hello"), 0);
  EXPECT_EQ(Pos(parser), (Cursor{5, 0}));
  EXPECT_EQ(w->GetText(), QStringLiteral("hello wrld ok\r\nsecond"));

  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("wrld"));
  parser.SelectWord(4);
  parser.IgnoreWord(0);
  EXPECT_EQ(Pos(parser), (Cursor{10, 0}));
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("ok"));
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("second"));
  parser.SelectWord(6);
  int s = 0, e = 0;
  w->GetSel(s, e);
  EXPECT_EQ(s, 15); // line 1 starts after "hello wrld ok" + CR LF
  EXPECT_EQ(e, 21);
  parser.ReplaceWord(QStringLiteral("2nd"), 0);
  EXPECT_EQ(w->GetText(), QStringLiteral("hello wrld ok\r\n2nd"));
  EXPECT_TRUE(engine.NextWord(&parser).isEmpty());
}

TEST_F(WindowParser, LongerReplacementKeepsTheRestOfItsLine)
{
  // The replacement makes the line longer than the buffered copy: the words after it on the
  // same line must still come, then the next line's.
  struct Case {
    const char *text;
    const char *replacement;
    QStringList after;
  };
  const Case cases[] = {
      {"teh b c\r\nnext", "the-longest-word", {"b", "c", "next"}},
      {"teh\r\nnext", "thethethethe", {"next"}},
      {"teh x", "t", {"x"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text);
    SetText(QString::fromUtf8(c.text));
    EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("teh"));
    parser.SelectWord(3);
    parser.ReplaceWord(QString::fromUtf8(c.replacement), 0);
    EXPECT_EQ(Pos(parser), (Cursor{int(strlen(c.replacement)), 0}));
    EXPECT_EQ(WordsThrough(engine, parser), c.after);
  }
}

TEST_F(WindowParser, IgnoreRuleCasesThroughTheEditor)
{
  for (const IgnoreCase &c : AllIgnoreCases()) {
    SetText(QString::fromStdString(c.text));
    const IgnoreOutcome o = RunRules(c.rules, parser);
    EXPECT_EQ(o.formed, c.formed) << c.text << " formed " << Show(o.formed);
    EXPECT_EQ(o.accepted, c.accepted) << c.text << " accepted " << Show(o.accepted);
  }
}

TEST_F(WindowParser, QuotedLinesAreJudgedByTheCursorsLine)
{
  SetText(QStringLiteral("> helo wrld\r\n > helo\r\nplain"));
  TQuotedLineIgnore rule;
  rule.QuoteChars = QStringLiteral(">");
  QStringList accepted;
  for (QString w = engine.NextWord(&parser); !w.isEmpty(); w = engine.NextWord(&parser)) {
    int x = 0, y = 0;
    parser.GetPosition(x, y);
    accepted << QStringLiteral("%1:%2:%3")
                    .arg(y)
                    .arg(w)
                    .arg(rule.ExecuteWordIgnorePostCheck(w, &parser));
  }
  EXPECT_EQ(accepted, (QStringList{"0:helo:1", "0:wrld:1", "1:helo:0", "2:plain:0"}));
}

TEST_F(WindowParser, SelectionCheckFollowsReplacementsOnTheLimitLine)
{
  // Check a selection that ends after "cc": replacing "bb.." moves the limit with the text, so
  // the check still ends after "cc" and never reaches "dd".
  struct Case {
    const char *text;
    int selEnd;
    const char *word;
    const char *replacement;
  };
  const Case cases[] = {
      {"aa bb cc dd", 8, "bb", "bbbbb"},  // longer
      {"aa bbbb cc dd", 10, "bbbb", "b"}, // shorter
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.replacement);
    SetText(QString::fromUtf8(c.text));
    WindowOf(ed)->SetSel(0, c.selEnd);
    engine.Initialize(&parser, 0);
    EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("aa"));
    EXPECT_EQ(engine.NextWord(&parser), QString::fromUtf8(c.word));
    parser.SelectWord(int(strlen(c.word)));
    parser.ReplaceWord(QString::fromUtf8(c.replacement), 0);
    EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("cc"));
    EXPECT_TRUE(engine.NextWord(&parser).isEmpty());
  }
}

TEST_F(WindowParser, SelectionEndingInsideAWord)
{
  for (bool allow : {false, true}) {
    SCOPED_TRACE(allow);
    SetText(QStringLiteral("one\r\ntwo three four"));
    WindowOf(ed)->SetSel(5, 12); // "two thr"
    engine.AllowIncompleteLastWord = allow;
    engine.Initialize(&parser, 0);
    EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("two"));
    // The limit is column 7 of line 1: the cut word is returned only when allowed.
    EXPECT_EQ(engine.NextWord(&parser), allow ? QStringLiteral("three").left(4) : QString());
    EXPECT_TRUE(engine.NextWord(&parser).isEmpty());
  }
}

TEST_F(WindowParser, CheckFromTheCursorAndCursorPositions)
{
  SetText(QStringLiteral("first line\r\nsecond line here"));
  HWND w = WindowOf(ed);
  w->SetSel(15, 23); // from inside "second" to inside "here"
  int x = 0, y = 0;
  parser.GetCursorPosition(x, y);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 1);
  int xs = 0, ys = 0, xe = 0, ye = 0;
  parser.GetSelectionPosition(xs, ys, xe, ye);
  EXPECT_EQ((Cursor{xs, ys}), (Cursor{3, 1}));
  EXPECT_EQ((Cursor{xe, ye}), (Cursor{11, 1}));
  engine.Initialize(&parser, 1);
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("second"));
  engine.Initialize(&parser, 2);
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("first"));
  // The first word of a line: stepping back stops on the previous line's LF.
  engine.AdjustToPosition(&parser, 2, 1);
  EXPECT_EQ(Pos(parser), (Cursor{11, 0}));
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("second"));
}

TEST_F(WindowParser, ReadsTheEditorsCurrentTextAfterAReplacement)
{
  SetText(QStringLiteral("cat"));
  EXPECT_EQ(parser.GetChar(), QChar(u'c'));
  // Changed behind the parser's back: noticed once the line is reloaded.
  WindowOf(ed)->SetText(QStringLiteral("dog"));
  parser.SetPosition(0, 0, ptCurrent);
  EXPECT_EQ(parser.GetChar(), QChar(u'd'));
  // Lines that came or went since the last load are counted anew.
  WindowOf(ed)->SetText(QStringLiteral("one\r\ntwo"));
  parser.SetPosition(0, 1, ptCurrent);
  EXPECT_EQ(parser.GetChar(), QChar(u't'));
  WindowOf(ed)->SetText(QStringLiteral("one"));
  parser.SetPosition(0, 1, ptCurrent);
  EXPECT_EQ(parser.GetChar(), QChar(0));
  EXPECT_TRUE(parser.GetLine().isEmpty());
}

TEST_F(WindowParser, ScreenRectangles)
{
  ed.resize(300, 200);
  ed.show();
  SetText(QStringLiteral("alpha beta\r\ngamma"));
  HWND w = WindowOf(ed);
  QRect control;
  parser.GetControlScreenPosition(control);
  const QPoint origin = w->ClientToScreen(QPoint(0, 0));
  EXPECT_EQ(control.topLeft(), origin);
  EXPECT_EQ(control.right() - control.left(), w->WindowRect().width());
  EXPECT_EQ(control.bottom() - control.top(), w->WindowRect().height());

  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("alpha"));
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("beta"));
  parser.SelectWord(4);
  QRect sel;
  parser.GetSelectionScreenPosition(sel);
  EXPECT_EQ(sel.topLeft(), w->ClientToScreen(w->PosFromChar(6)));
  EXPECT_EQ(sel.right(), w->ClientToScreen(w->PosFromChar(10)).x());
  EXPECT_GT(sel.right(), sel.left());
  // Down to the next line's top at least one line height below.
  EXPECT_GE(sel.bottom() - sel.top(), w->LineHeight());
  EXPECT_GE(sel.bottom(), w->ClientToScreen(w->PosFromChar(w->LineIndex(1))).y());
}

TEST_F(WindowParser, CenterSelectionScrollsTheWordIntoTheMiddle)
{
  ed.resize(300, 120);
  ed.show();
  QString text;
  for (int i = 0; i < 200; ++i)
    text += QStringLiteral("line%1 word\r\n").arg(i);
  SetText(text);
  HWND w = WindowOf(ed);
  parser.SetPosition(0, 150, ptCurrent);
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("line150"));
  parser.SelectWord(7);
  parser.CenterSelection();
  const int visible = w->ClientSize().height() / w->LineHeight();
  ASSERT_GT(visible, 1);
  const int first = w->GetFirstVisibleLine();
  EXPECT_LE(first, 150);
  EXPECT_GT(first + visible, 150);
  EXPECT_NEAR(first, 150 - visible / 2, 1);
  int s = 0, e = 0;
  w->GetSel(s, e);
  EXPECT_EQ(w->GetSelText(), QStringLiteral("line150")); // selection restored
}

TEST(WindowParserContainer, ReadsThroughTheFirstChildEditWindow)
{
  InstallEditWindowFactory();
  QWidget container;
  auto *layout = new QVBoxLayout(&container);
  auto *label = new QWidget(&container); // answers no edit message
  auto *editor = new TWrightRichEdit(&container);
  layout->addWidget(label);
  layout->addWidget(editor);
  TEditWindow::FromControl(editor)->SetText(QStringLiteral("inside words"));

  TWinAPIControlParser parser;
  parser.Initialize(&container);
  EXPECT_EQ(parser.ControlHWND(), TEditWindow::FromControl(editor));
  EXPECT_EQ(parser.GetControl(), &container);
  EXPECT_EQ(parser.ControlType(), actRichEdit2);
  TMainParsingEngine engine;
  EXPECT_EQ(WordsThrough(engine, parser), (QStringList{"inside", "words"}));
}

TEST(WindowParserWidgets, EveryKindOfTextWidgetIsRead)
{
  // The parser serves any text control of the program through its edit window: Qt's rich,
  // plain multi-line and single-line editors.
  InstallEditWindowFactory();
  QTextEdit rich;
  rich.setPlainText(QStringLiteral("rich tekst\nsecond line"));
  QPlainTextEdit plain;
  plain.setPlainText(QStringLiteral("plain tekst\nsecond line"));
  QLineEdit single;
  single.setText(QStringLiteral("single tekst, one line"));
  struct Case {
    QWidget *widget;
    TWinAPIControlType type;
    QStringList words;
  };
  const Case cases[] = {
      {&rich, actRichEdit2, {"rich", "tekst", "second", "line"}},
      {&plain, actEdit, {"plain", "tekst", "second", "line"}},
      {&single, actEdit, {"single", "tekst", "one", "line"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.widget->metaObject()->className());
    TWinAPIControlParser parser;
    parser.Initialize(c.widget);
    ASSERT_NE(parser.ControlHWND(), nullptr);
    EXPECT_EQ(parser.ControlType(), c.type);
    TMainParsingEngine engine;
    EXPECT_EQ(WordsThrough(engine, parser), c.words);
    // Correct the second word in place.
    parser.Initialize(c.widget);
    engine.NextWord(&parser);
    EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("tekst"));
    parser.SelectWord(5);
    parser.ReplaceWord(QStringLiteral("text"), 0);
    EXPECT_TRUE(parser.ControlHWND()->GetText().contains(QStringLiteral(" text")));
    EXPECT_FALSE(parser.ControlHWND()->GetText().contains(QStringLiteral("tekst")));
    EXPECT_FALSE(engine.NextWord(&parser).isEmpty()); // the check goes on after it
  }
}

namespace {
// A scripted window: fixed lines, recorded messages.
class ScriptWindow : public TEditWindow {
public:
  QString cls = QStringLiteral("Edit");
  bool rich = false;
  QStringList lines;
  std::vector<HWND> kids;
  int selStart = 0, selEnd = 0;
  mutable int offered = -1;
  mutable int fetches = 0;
  int first = 0;
  std::vector<int> scrolls;
  std::vector<std::pair<int, int>> sels;
  int caretScrolls = 0;

  QString ClassName() const override { return cls; }
  std::vector<HWND> Children() const override { return kids; }
  void ExGetSel(int &a, int &b) const override
  {
    if (rich) {
      a = selStart;
      b = selEnd;
    }
  }
  int GetLineCount() const override { return int(lines.size()); }
  int GetLine(int line, char16_t *buffer) const override
  {
    offered = buffer[0];
    ++fetches;
    if (line < 0 || line >= lines.size())
      return 0;
    const QString &l = lines[line];
    const int n = std::min<int>(int(l.size()), buffer[0]);
    std::copy_n(l.utf16(), n, buffer);
    return n;
  }
  int LineIndex(int line) const override
  {
    if (line < 0 || line >= lines.size())
      return -1;
    int p = 0;
    for (int i = 0; i < line; ++i)
      p += int(lines[i].size()) + 2;
    return p;
  }
  int LineFromChar(int pos) const override
  {
    for (int i = int(lines.size()) - 1; i >= 0; --i)
      if (LineIndex(i) <= pos)
        return i;
    return 0;
  }
  void GetSel(int &s, int &e) const override
  {
    s = selStart;
    e = selEnd;
  }
  void SetSel(int s, int e) override
  {
    selStart = s;
    selEnd = e;
    sels.emplace_back(s, e);
  }
  QPoint PosFromChar(int pos) const override
  {
    const int line = LineFromChar(pos);
    return QPoint(5 + 7 * (pos - LineIndex(line)), 12 * (line - first));
  }
  QPoint ClientToScreen(const QPoint &p) const override { return p + QPoint(100, 200); }
  QRect WindowRect() const override { return QRect(98, 190, 300, 150); }
  QSize ClientSize() const override { return QSize(290, 125); }
  int LineHeight() const override { return 10; }
  int GetFirstVisibleLine() const override { return first; }
  void LineScroll(int n) override { scrolls.push_back(n); }
  void ScrollCaret() override { ++caretScrolls; }
};
} // namespace

TEST(WindowParserScripted, ControlTypeFromClassNameAndProbe)
{
  struct Case {
    const char *cls;
    bool rich;
    TWinAPIControlType type;
  };
  const Case cases[] = {
      {"RichEdit20W", false, actRichEdit2},
      {"RICHEDIT50W", false, actRichEdit},
      {"RichEdit", false, actRichEdit},
      {"TMyRichEditor", false, actRichEdit},
      {"TRichEdit2Box", false, actRichEdit2},
      {"TSyntaxMemo", false, actRichEdit},
      {"TLMDMemo", false, actRichEdit},
      {"Edit", false, actEdit},
      {"TMemo", false, actEdit},
      {"TMemo", true, actRichEdit}, // answers the probe
  };
  for (const Case &c : cases) {
    ScriptWindow w;
    w.cls = QString::fromLatin1(c.cls);
    w.rich = c.rich;
    w.lines = {QStringLiteral("x")};
    TWinAPIControlParser parser;
    parser.InitializeFromHWND(&w);
    EXPECT_EQ(parser.ControlType(), c.type) << c.cls << (c.rich ? " (rich probe)" : "");
  }
}

TEST(WindowParserScripted, ContainerSkipsChildrenWithoutText)
{
  ScriptWindow container, empty, first, second;
  empty.cls = QStringLiteral("Button");
  first.cls = QStringLiteral("RichEdit20W");
  first.lines = {QStringLiteral("first")};
  second.lines = {QStringLiteral("second")};
  container.cls = QStringLiteral("TPanel");
  container.kids = {&empty, &first, &second};
  TWinAPIControlParser parser;
  parser.InitializeFromHWND(&container);
  EXPECT_EQ(parser.ControlHWND(), &first);
  EXPECT_EQ(parser.ControlType(), actRichEdit2);
  EXPECT_EQ(parser.GetChar(), QChar(u'f'));

  // No edit window anywhere: an empty text.
  ScriptWindow bare;
  bare.cls = QStringLiteral("TPanel");
  parser.InitializeFromHWND(&bare);
  EXPECT_EQ(parser.GetChar(), QChar(0));
  EXPECT_FALSE(parser.MoveNext());
  TMainParsingEngine engine;
  EXPECT_TRUE(engine.NextWord(&parser).isEmpty());
  parser.InitializeFromHWND(nullptr);
  EXPECT_EQ(parser.GetChar(), QChar(0));
  EXPECT_TRUE(engine.NextWord(&parser).isEmpty());
  parser.SelectWord(1);
  parser.ReplaceWord(QStringLiteral("x"), 0);
  parser.CenterSelection();
}

TEST(WindowParserScripted, EndLimitCoversEveryLaterLine)
{
  // A limit column beyond its line's end: the LF is the last valid position, the next line
  // lies beyond the limit whatever its column.
  ScriptWindow w;
  w.lines = {QStringLiteral("abc"), QStringLiteral("def")};
  TWinAPIControlParser parser;
  parser.InitializeFromHWND(&w);
  parser.SetPosition(10, 0, ptEnd);
  parser.SetPosition(2, 0, ptCurrent);
  EXPECT_TRUE(parser.MoveNext());  // CR
  EXPECT_TRUE(parser.MoveNext());  // LF
  EXPECT_FALSE(parser.MoveNext()); // (0, 1)
  EXPECT_EQ(parser.GetChar(), QChar(0));
  TMainParsingEngine engine;
  parser.SetPosition(0, 0, ptCurrent);
  EXPECT_EQ(engine.NextWord(&parser), QStringLiteral("abc"));
  EXPECT_TRUE(engine.NextWord(&parser).isEmpty());
}

TEST(WindowParserScripted, EachLineIsFetchedOnceWhileTheCursorStaysOnIt)
{
  ScriptWindow w;
  w.lines = {QStringLiteral("one two three"), QString(), QStringLiteral("four five")};
  TWinAPIControlParser parser;
  parser.InitializeFromHWND(&w);
  TMainParsingEngine engine;
  QStringList words;
  for (QString word = engine.NextWord(&parser); !word.isEmpty(); word = engine.NextWord(&parser))
    words << word;
  EXPECT_EQ(words, (QStringList{"one", "two", "three", "four", "five"}));
  EXPECT_EQ(w.fetches, 3);
  // Moving back onto a line that left the buffer fetches it again; a new position does too.
  parser.SetPosition(0, 2, ptCurrent);
  EXPECT_EQ(parser.GetChar(), QChar(u'f'));
  EXPECT_TRUE(parser.MovePrevious());
  EXPECT_EQ(parser.GetChar(), QChar(u'\n'));
  EXPECT_EQ(w.fetches, 5);
}

TEST(WindowParserScripted, LinesAreFetchedWithTheBufferCapacityAndCut)
{
  ScriptWindow w;
  w.lines = {QString(20000, u'a'), QStringLiteral("b")};
  TWinAPIControlParser parser;
  parser.InitializeFromHWND(&w);
  const QString line = parser.GetLine();
  EXPECT_EQ(w.offered, TWinAPIControlParser::LineBufferCapacity);
  EXPECT_EQ(TWinAPIControlParser::LineBufferCapacity, 16374);
  EXPECT_EQ(line.size(), 16374 + 2);
  EXPECT_TRUE(line.endsWith(QStringLiteral("a\r\n")));
  parser.SetPosition(16375, 0, ptCurrent);
  EXPECT_EQ(parser.GetChar(), QChar(u'\n'));
  EXPECT_TRUE(parser.MoveNext());
  EXPECT_EQ(parser.GetChar(), QChar(u'b'));
}

TEST(WindowParserScripted, CenterSelectionArithmetic)
{
  ScriptWindow w;
  for (int i = 0; i < 40; ++i)
    w.lines << QStringLiteral("word%1").arg(i);
  w.first = 3;
  TWinAPIControlParser parser;
  parser.InitializeFromHWND(&w);
  parser.SetPosition(6, 20, ptCurrent);
  parser.SelectWord(6); // "word20"
  w.sels.clear();
  parser.CenterSelection();
  // 125 / 10 = 12 visible lines: scroll by 20 - 6 - 3.
  EXPECT_EQ(w.scrolls, std::vector<int>{11});
  const int s = w.LineIndex(20);
  const std::vector<std::pair<int, int>> expected = {{s, s}, {s + 6, s + 6}, {s, s + 6}};
  EXPECT_EQ(w.sels, expected);
  EXPECT_EQ(w.caretScrolls, 2);
}

TEST(WindowParserScripted, SelectionScreenRectangle)
{
  ScriptWindow w;
  w.lines = {QStringLiteral("alpha beta"), QStringLiteral("gamma")};
  TWinAPIControlParser parser;
  parser.InitializeFromHWND(&w);
  parser.SetPosition(10, 0, ptCurrent);
  parser.SelectWord(4);
  QRect r;
  parser.GetSelectionScreenPosition(r);
  EXPECT_EQ(r.left(), 100 + 5 + 7 * 6);
  EXPECT_EQ(r.top(), 200);
  EXPECT_EQ(r.right(), 100 + 5 + 7 * 10);
  EXPECT_EQ(r.bottom(), 200 + 12); // the next line's top lies below one line height (10)
  // On the last line there is no next line: one line height.
  parser.SetPosition(5, 1, ptCurrent);
  parser.SelectWord(5);
  parser.GetSelectionScreenPosition(r);
  EXPECT_EQ(r.top(), 212);
  EXPECT_EQ(r.bottom(), 222);
  QRect c;
  parser.GetControlScreenPosition(c);
  EXPECT_EQ(c.left(), 100);
  EXPECT_EQ(c.top(), 200);
  EXPECT_EQ(c.right(), 400);
  EXPECT_EQ(c.bottom(), 350);
}
