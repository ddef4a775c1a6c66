// The line clean-up commands, plain-text conversion and all-in-one pastes, run on the real
// editor widget: one table of (commands, input, expected text), each row also undone.

#include "print_qstring.h"

#include "LineCommands.h"
#include "wrRichEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <ostream>
#include <vector>

namespace {

using Command = std::function<void(TEditWindow &)>;

// Keep-option texts as the drop-down list shows them.
const QString KeepAtStart = QStringLiteral("Apostrophes,Quotemarks,Commas");
const QString KeepNoQuotes = QStringLiteral("Apostrophes,Commas");
const QString KeepSignsAndTabs = QStringLiteral("Trademark,Copyright,Registered,Tabs");

Command Bars() { return ConvertBarsToCrLf; }
Command Commas() { return ConvertCommasToCrLf; }
Command Dashes() { return ConvertDashesToCrLf; }
Command Semicolons() { return ConvertSemicolonsToCrLf; }
Command ToSemicolons() { return ConvertCrLfToSemicolons; }
Command Plus() { return AddCrLfToPlusSigns; }
Command RemoveBlank() { return RemoveBlankLines; }
Command Trim() { return TrimLines; }
Command Indent() { return IndentLines; }
Command UnIndent() { return UnIndentLines; }
Command DashIndent() { return DashIndentLines; }
Command DashUnIndent() { return DashUnIndentLines; }
Command ProperCase()
{
  return [](TEditWindow &e) {
    int userSS = -1;
    ProperCaseSelection(e, userSS);
  };
}
Command Plain(const QString &keep = KeepAtStart)
{
  return [keep](TEditWindow &e) { ConvertToPlaintextCommand(e, keep); };
}
Command PasteDash(const QString &keep = KeepAtStart)
{
  return [keep](TEditWindow &e) { AllInOneDashIndentPaste(e, keep); };
}
Command PasteNoIndent(const QString &keep = KeepAtStart)
{
  return [keep](TEditWindow &e) { AllInOneNoIndentPaste(e, keep); };
}

QString Repeat(QChar c, int n) { return QString(n, c); }

struct Case {
  const char *name;
  std::vector<Command> commands;
  QString input;
  QString expected;
  int selStart = 0; // selection before the commands (proper case; paste position)
  int selEnd = 0;
  std::optional<QString> clipboard = std::nullopt; // nullopt: clipboard emptied
};

std::vector<Case> Cases()
{
  const QString longLine = Repeat(u'x', 5000);
  return {
      // Empty editor: nothing to do for any command.
      {"empty bars", {Bars()}, "", ""},
      {"empty commas", {Commas()}, "", ""},
      {"empty dashes", {Dashes()}, "", ""},
      {"empty semicolons", {Semicolons()}, "", ""},
      {"empty to semicolons", {ToSemicolons()}, "", ""},
      {"empty plus", {Plus()}, "", ""},
      {"empty remove blank", {RemoveBlank()}, "", ""},
      {"empty trim", {Trim()}, "", ""},
      {"empty indent", {Indent()}, "", ""},
      {"empty un-indent", {UnIndent()}, "", ""},
      {"empty dash indent", {DashIndent()}, "", ""},
      {"empty dash un-indent", {DashUnIndent()}, "", ""},
      {"empty proper case", {ProperCase()}, "", ""},
      {"empty convert to plaintext", {Plain()}, "", ""},

      // Separators: replaced left to right, spaces around them stay on the new lines.
      {"bars", {Bars()}, "a|b|c", "a\r\nb\r\nc"},
      {"bars with spaces around", {Bars()}, "a | b", "a \r\n b"},
      {"comma then space", {Commas()}, "a, b", "a\r\n b"},
      {"dash with spaces, en dash kept", {Dashes()}, "x - y\u2013z", "x \r\n y\u2013z"},
      {"semicolons", {Semicolons()}, "a ;b;;c", "a \r\nb\r\n\r\nc"},
      {"breaks to semicolons", {ToSemicolons()}, "a\r\nb\r\n", "a;b;"},
      {"breaks to semicolons keep blank lines", {ToSemicolons()}, "a\r\n\r\nb", "a;;b"},
      {"plus gets a break", {Plus()}, "x+y", "x+\r\ny"},
      {"plus at the end", {Plus()}, "a+b+", "a+\r\nb+\r\n"},
      {"separator in a long line",
       {Commas()},
       longLine + "," + longLine,
       longLine + "\r\n" + longLine},

      // Remove blank lines: white-space-only lines go, line ends are trimmed, one empty line
      // before the final break.
      {"remove blank", {RemoveBlank()}, "a\r\n\r\n  \r\nb", "a\r\nb\r\n\r\n"},
      {"remove blank without blanks", {RemoveBlank()}, "a\r\nb", "a\r\nb\r\n\r\n"},
      {"remove blank keeps leading space", {RemoveBlank()}, "  a \t\r\nb", "  a\r\nb\r\n\r\n"},
      {"remove blank on blanks only", {RemoveBlank()}, "  \r\n\t\r\n", "\r\n"},
      {"remove blank twice", {RemoveBlank(), RemoveBlank()}, "a", "a\r\n\r\n"},
      {"remove blank keeps a long line",
       {RemoveBlank()},
       longLine + "  \r\n\r\nb",
       longLine + "\r\nb\r\n\r\n"},

      // Trim: both ends of each line, blank lines stay, every run adds an empty line.
      {"trim", {Trim()}, " a \r\n\r\n\tb\t", "a\r\n\r\nb\r\n\r\n"},
      {"trim twice", {Trim(), Trim()}, "a", "a\r\n\r\n\r\n"},
      {"trim control characters", {Trim()}, "\x01 a\x1f", "a\r\n\r\n"},
      {"trim a long line", {Trim()}, "  " + longLine + "  ", longLine + "\r\n\r\n"},

      // Indents: line 0 never changes; the empty line after the final break is not a line.
      {"indent single line", {Indent()}, "a", "a"},
      {"indent two lines", {Indent()}, "a\r\nb\r\n", "a\r\n   b\r\n"},
      {"indent empty line", {Indent()}, "a\r\n\r\nb", "a\r\n   \r\n   b"},
      {"indent before (", {Indent()}, "a\r\n(b)", "a\r\n   (b)"},
      {"indent a long line", {Indent()}, "a\r\n" + longLine + "y", "a\r\n   " + longLine + "y"},
      {"un-indent one level", {UnIndent()}, "a\r\n      x", "a\r\n   x"},
      {"un-indent leaves line 0 and short indents", {UnIndent()}, "   a\r\n  b", "   a\r\n  b"},
      {"un-indent a long line",
       {UnIndent()},
       "a\r\n   " + longLine + "y",
       "a\r\n" + longLine + "y"},
      {"dash indent",
       {DashIndent()},
       "head\r\nitem\r\n(note)\r\n\r\nlast",
       "head\r\n - item\r\n   (note)\r\n - \r\n - last"},
      {"dash indent single line", {DashIndent()}, "(a)", "(a)"},
      {"dash indent a long line",
       {DashIndent()},
       "a\r\n" + longLine + "y\r\n(" + longLine + ")",
       "a\r\n - " + longLine + "y\r\n   (" + longLine + ")"},
      {"dash un-indent keeps ( lines",
       {DashUnIndent()},
       "head\r\n - item\r\n   (note)\r\n-x",
       "head\r\nitem\r\n   (note)\r\n-x"},
      {"dash un-indent a long line",
       {DashUnIndent()},
       "a\r\n - " + longLine + "y",
       "a\r\n" + longLine + "y"},
      {"dash indent then un-indent",
       {DashIndent(), UnIndent()},
       "a\r\n(b)\r\nc",
       "a\r\n(b)\r\n - c"},

      // Proper case: words of 3 or more characters, the last word always; ASCII letters only;
      // every occurrence in the text, in any case.
      {"proper case", {ProperCase()}, "the QUICK fox is ok", "The Quick Fox is Ok", 0, 19},
      {"proper case every occurrence",
       {ProperCase()},
       "the QUICK fox is ok\r\nTHE quick FOX IS OK!\r\nthe quick fox",
       "The Quick Fox is Ok\r\nThe Quick Fox is Ok!\r\nthe quick fox",
       0,
       19},
      {"proper case non-ASCII first letter",
       {ProperCase()},
       "\u00e9mile zola",
       "\u00e9mile Zola",
       0,
       10},
      {"proper case keeps non-ASCII case",
       {ProperCase()},
       "\u00c9MILE ZOLA",
       "\u00c9mile Zola",
       0,
       10},
      {"proper case matches non-ASCII in any case",
       {ProperCase()},
       "\u00e9mile and \u00c9MILE",
       "\u00e9mile and \u00e9mile",
       0,
       5},
      {"proper case trims the selection", {ProperCase()}, "a fox  fox", "a Fox  Fox", 1, 6},
      {"proper case keeps runs of spaces", {ProperCase()}, "big  red", "Big  Red", 0, 8},
      {"proper case on spaces only", {ProperCase()}, "a   b", "a   b", 1, 4},
      {"proper case without selection", {ProperCase()}, "abc def", "abc def", 2, 2},
      {"proper case keeps a tab between words",
       {ProperCase()},
       "one \ttwo three",
       "One \tTwo Three",
       0,
       14},
      {"proper case across a line break",
       {ProperCase()},
       "dear SIR\r\n madam",
       "Dear Sir\r\n Madam",
       0,
       16},

      // Convert to Plaintext: space pairs first, then the code page, then the keep-options.
      {"plain with options at start",
       {Plain()},
       "a \u2122 b\u00aec\u00a9d\te'f,g\"h\u201di \u201cj\u2019",
       "a  bcde'f,g\"h\"i \u201cj\u2019"},
      {"plain without quotemarks", {Plain(KeepNoQuotes)}, "say \"hi\u201d it's", "say hi it's"},
      {"plain keeping signs and tabs",
       {Plain(KeepSignsAndTabs)},
       "\u2122\u00ae\u00a9\t'\",\u201d",
       "\u2122\u00ae\u00a9\t"},
      {"plain with nothing kept", {Plain(QString())}, "a\tb", "ab"},
      {"plain reduces space pairs", {Plain()}, "1 2  3   4    5     6", "1 2 3  4  5   6"},
      {"plain best fit and ?", {Plain()}, "\u0151\u017a\u2011\u2003\u2603", "oz- ?"},
      {"plain keeps 1252 characters",
       {Plain()},
       "\u00e9\u2014\u20ac\u2026",
       "\u00e9\u2014\u20ac\u2026"},
      {"plain keeps a long line",
       {Plain()},
       longLine + "\r\n" + longLine,
       longLine + "\r\n" + longLine},

      // All-in-one pastes: paste at the caret, convert, trim, drop blank lines, dash-indent.
      {"paste dash indent",
       {PasteDash()},
       "",
       "one\r\n - two\r\n   (three)\r\n\r\n",
       0,
       0,
       QString("one\r\ntwo\r\n(three)")},
      {"paste dash indent one line", {PasteDash()}, "", "solo\r\n\r\n", 0, 0, QString("solo")},
      {"paste no indent",
       {PasteNoIndent()},
       "",
       "first\r\nsecond\r\n\r\n",
       0,
       0,
       QString("  first  \r\n\r\n\r\n  second  ")},
      {"paste with lone LF", {PasteNoIndent()}, "", "a\r\nb\r\n\r\n", 0, 0, QString("a\nb")},
      {"paste at the caret",
       {PasteDash()},
       "old  text\r\nend",
       "old new, stuff text\r\n - end\r\n\r\n",
       4,
       4,
       QString("new,  stuff")},
      {"paste replaces the selection",
       {PasteNoIndent()},
       "keep DROP keep",
       "keep x keep\r\n\r\n",
       5,
       9,
       QString("x")},
      {"paste with empty clipboard", {PasteDash()}, "  x  \r\n\r\n  (y)", "x\r\n   (y)\r\n\r\n"},
      {"paste on empty editor and clipboard", {PasteDash()}, "", ""},
  };
}

// Puts the row's clipboard in place and confirms the platform really holds it, so that a
// platform without a working clipboard fails here and not as a wrong paste result.
::testing::AssertionResult PrepareClipboard(const std::optional<QString> &text)
{
  QClipboard *clipboard = QApplication::clipboard();
  if (text)
    clipboard->setText(*text);
  else
    clipboard->clear();
  const QString held = clipboard->text();
  if (held == text.value_or(QString()))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "the clipboard holds \"" << held.toStdString() << '"';
}

class LineCommandsTest : public ::testing::Test {
protected:
  TWrightRichEdit Widget;
  TEditWindow &Editor = Widget;
};

TEST(LineCommandsTable, ResultsAndOneUndoStepEach)
{
  for (const Case &c : Cases()) {
    SCOPED_TRACE(c.name);
    // A fresh editor per row: no history, font or selection left over from another row.
    TWrightRichEdit widget;
    TEditWindow &editor = widget;
    editor.SetText(c.input);
    editor.SetSel(c.selStart, c.selEnd);
    ASSERT_TRUE(PrepareClipboard(c.clipboard));

    std::vector<QString> states{editor.GetText()};
    for (const Command &cmd : c.commands) {
      cmd(editor);
      states.push_back(editor.GetText());
    }
    EXPECT_EQ(editor.GetText(), c.expected);

    // Each Ctrl+Z brings back the text as it was before one command, the last one first.
    for (size_t i = c.commands.size(); i > 0; --i) {
      editor.Undo();
      EXPECT_EQ(editor.GetText(), states[i - 1]) << "undo of command " << i;
    }
  }
}

TEST_F(LineCommandsTest, ProperCaseRemembersSelectionStartAndKeepsSelection)
{
  Editor.SetText("say hello world");
  Editor.SetSel(4, 15);
  int userSS = -1;
  ProperCaseSelection(Editor, userSS);
  EXPECT_EQ(Editor.GetText(), "say Hello World");
  EXPECT_EQ(userSS, 4);
  int s = 0, e = 0;
  Editor.GetSel(s, e);
  EXPECT_EQ(s, 4);
  EXPECT_EQ(e, 15);

  // Nothing selected: nothing happens, UserSS keeps its value.
  userSS = -1;
  Editor.SetSel(2, 2);
  ProperCaseSelection(Editor, userSS);
  EXPECT_EQ(userSS, -1);
}

// Ctrl+Z after each of several commands walks back one command at a time.
TEST_F(LineCommandsTest, UndoAfterCommandsInARow)
{
  Editor.SetText("a|b\r\nc");
  ConvertBarsToCrLf(Editor);
  IndentLines(Editor);
  Editor.SetSel(Editor.GetTextLength(), Editor.GetTextLength());
  ASSERT_TRUE(PrepareClipboard(QString(" d  e")));
  AllInOneNoIndentPaste(Editor, KeepAtStart);
  ConvertCrLfToSemicolons(Editor);
  ASSERT_EQ(Editor.GetText(), "a;b;c d e;;");
  Editor.Undo();
  EXPECT_EQ(Editor.GetText(), "a\r\nb\r\nc d e\r\n\r\n");
  Editor.Undo();
  EXPECT_EQ(Editor.GetText(), "a\r\n   b\r\n   c");
  Editor.Undo();
  EXPECT_EQ(Editor.GetText(), "a\r\nb\r\nc");
  Editor.Undo();
  EXPECT_EQ(Editor.GetText(), "a|b\r\nc");
  EXPECT_FALSE(Editor.CanUndo());
}

TEST_F(LineCommandsTest, ConvertToPlaintextDropsFormattingAndLeavesCaretAtStart)
{
  Editor.SetText("bold and big");
  Editor.SetSel(0, 4);
  TCharAttributes a = Editor.GetSelAttributes();
  a.Name = "Courier New";
  a.Size = 20;
  a.Style = FontStyleBit(TFontStyle::fsBold) | FontStyleBit(TFontStyle::fsItalic);
  Editor.SetSelAttributes(a);

  ConvertToPlaintextCommand(Editor, KeepAtStart);

  EXPECT_EQ(Editor.GetText(), "bold and big");
  for (int pos : {0, 3, 6}) {
    Editor.SetSel(pos, pos + 1);
    const TCharAttributes after = Editor.GetSelAttributes();
    EXPECT_EQ(after.Name, "Arial") << pos;
    EXPECT_EQ(after.Size, 8) << pos;
    EXPECT_EQ(after.Style, 0u) << pos;
  }
  EXPECT_EQ(Editor.GetDefAttributes().Name, "Arial");
  EXPECT_EQ(Editor.GetDefAttributes().Size, 8);
}

// The characters take the new default attributes; a style the default font keeps does not
// reach them.
TEST_F(LineCommandsTest, ConvertToPlaintextLeavesNoStyleAlsoUnderAStyledDefaultFont)
{
  TCharAttributes def = Editor.GetDefAttributes();
  def.Name = "Courier New";
  def.Size = 14;
  def.Style = FontStyleBit(TFontStyle::fsBold) | FontStyleBit(TFontStyle::fsUnderline);
  Editor.SetDefAttributes(def);
  Editor.SetText("styled by default");
  ASSERT_TRUE(Editor.GetSelAttributes().Style.Contains(TFontStyle::fsBold));

  ConvertToPlaintextCommand(Editor, KeepAtStart);

  for (int pos : {0, 7, 16}) {
    SCOPED_TRACE(pos);
    Editor.SetSel(pos, pos + 1);
    const TCharAttributes after = Editor.GetSelAttributes();
    EXPECT_EQ(after.Name, "Arial");
    EXPECT_EQ(after.Size, 8);
    EXPECT_EQ(after.Style, 0u);
  }
}

TEST_F(LineCommandsTest, CaretAtStartAfterConvert)
{
  Editor.SetText("abc def");
  Editor.SetSel(3, 5);
  ConvertToPlaintextCommand(Editor, KeepAtStart);
  int s = -1, e = -1;
  Editor.GetSel(s, e);
  EXPECT_EQ(s, 0);
  EXPECT_EQ(e, 0);
}

// Joining a long text makes one paragraph too long to analyse again for every caret query,
// repaint and blink: it keeps its analysis while the caret is in it, and only then (the memory
// is freed once the caret has left). The text and its single undo step are unaffected.
TEST_F(LineCommandsTest, JoinedLongTextKeepsItsAnalysisWhileTheCaretIsInIt)
{
  QString text;
  for (int i = 0; i < 15'000; ++i)
    text += QStringLiteral("line %1\r\n").arg(i, 5, 10, QLatin1Char('0'));
  Editor.SetText(text);
  const QTextDocument *doc = Widget.document();
  ASSERT_FALSE(doc->firstBlock().layout()->cacheEnabled()) << "short lines drop their analysis";

  ConvertCrLfToSemicolons(Editor);
  ASSERT_EQ(Editor.LinesCount(), 1);
  EXPECT_EQ(Editor.GetTextLength(), 15'000 * 11);
  EXPECT_TRUE(doc->firstBlock().layout()->cacheEnabled());

  // The caret leaves for a short line after it, and comes back.
  Editor.SetSel(Editor.GetTextLength(), Editor.GetTextLength());
  Editor.ReplaceSel(QStringLiteral("\r\nshort"), true);
  ASSERT_EQ(doc->blockCount(), 2);
  EXPECT_FALSE(doc->firstBlock().layout()->cacheEnabled());
  EXPECT_FALSE(doc->lastBlock().layout()->cacheEnabled());
  Editor.SetSel(0, 0);
  EXPECT_TRUE(doc->firstBlock().layout()->cacheEnabled());

  Editor.Undo();
  Editor.Undo();
  EXPECT_EQ(Editor.GetText(), text);
}

// The caption and the formatting band are the window's (tests/app).
TEST_F(LineCommandsTest, ToggleSwitchesModeButKeepsText)
{
  bool plaintextOn = true;
  Editor.SetText("some text");
  Editor.SetSel(0, 4);
  TCharAttributes a = Editor.GetSelAttributes();
  a.Style = FontStyleBit(TFontStyle::fsBold);
  Editor.SetSelAttributes(a);

  TogglePlaintextRichtext(Editor, true, plaintextOn);
  EXPECT_FALSE(plaintextOn);
  EXPECT_FALSE(Editor.PlainText());

  TogglePlaintextRichtext(Editor, false, plaintextOn);
  EXPECT_TRUE(plaintextOn);
  EXPECT_TRUE(Editor.PlainText());

  EXPECT_EQ(Editor.GetText(), "some text");
  Editor.SetSel(0, 1);
  EXPECT_EQ(Editor.GetSelAttributes().Style, FontStyleBit(TFontStyle::fsBold));
}

// The conversion functions on their own: what the editor cannot hold (a lone LF or CR stays
// in a string) and the order of the stripping steps.
TEST(PlainTextConversion, BreaksAndStrippingOrder)
{
  EXPECT_EQ(ConvertToPlainText("a\nb\rc\r\nd", KeepAtStart), "a\r\nb\r\nc\r\nd");
  // The right double quotation mark becomes a quotation mark before quotation marks are removed.
  EXPECT_EQ(StripUnkeptCharacters("\u201d\"\u201c", KeepNoQuotes), "\u201c");
  // Space pairs are reduced before the stripping: a removed sign leaves two spaces.
  EXPECT_EQ(ConvertToPlainText("a \u00ae b", KeepAtStart), "a  b");
  // A tab between CR and LF: the breaks are counted before the tab goes, so two remain.
  EXPECT_EQ(ConvertToPlainText("a\r\t\nb", KeepAtStart), "a\r\n\r\nb");
}

// The conversion goes through the code page of the user's locale, so the user's own script
// survives it; characters that code page lacks still become "?".
TEST(PlainTextConversion, UserScriptSurvivesTheCodePageOfTheLocale)
{
  const QByteArray oldAll = qgetenv("LC_ALL");
  const bool hadAll = qEnvironmentVariableIsSet("LC_ALL");
  const struct {
    const char *locale;
    QString text, expected;
  } cases[] = {
      {"ru_RU.UTF-8",
       QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442  \u043C\u0438\u0440 \u05E9"),
       QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442 \u043C\u0438\u0440 ?")},
      {"el_GR.UTF-8", QStringLiteral("\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1"),
       QStringLiteral("\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1")},
      {"he_IL.UTF-8", QStringLiteral("\u05E9\u05DC\u05D5\u05DD"),
       QStringLiteral("\u05E9\u05DC\u05D5\u05DD")},
      {"ar_SA.UTF-8", QStringLiteral("\u0645\u0631\u062D\u0628\u0627"),
       QStringLiteral("\u0645\u0631\u062D\u0628\u0627")},
      {"zh_CN.UTF-8", QStringLiteral("\u4E2D\u6587 \u05E9"), QStringLiteral("\u4E2D\u6587 ?")},
      {"C", QStringLiteral("\u041F\u0440\u0438 caf\u00E9"), QStringLiteral("??? caf\u00E9")},
      {"en_AU.UTF-8", QStringLiteral("\u039A\u03B1"), QStringLiteral("??")},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.locale);
    qputenv("LC_ALL", c.locale);
    EXPECT_EQ(ConvertToPlainText(c.text, KeepAtStart), c.expected);
  }
  if (hadAll)
    qputenv("LC_ALL", oldAll);
  else
    qunsetenv("LC_ALL");
}

// The conversion counts the characters that became "?" because the code page holds them in no
// form; question marks of the text itself, and characters kept in a nearby form, do not count.
TEST(PlainTextConversion, CountsTheCharactersItCouldNotKeep)
{
  const QByteArray oldAll = qgetenv("LC_ALL");
  const bool hadAll = qEnvironmentVariableIsSet("LC_ALL");
  qputenv("LC_ALL", "C");
  const struct {
    QString text;
    qsizetype lost;
  } cases[] = {
      {QStringLiteral("Why? Because."), 0},
      {QStringLiteral("caf\u00E9 \u0151z \u2014 \u00FCber"), 0}, // kept, or their best fit
      {QStringLiteral("\u039A\u03B1\u03BB\u03B7 day"), 4},       // Greek
      {QStringLiteral("\u4E2D\u6587?"), 2},                      // Chinese
      {QStringLiteral("ok \U0001F600 ok \U0001F44D"), 2},        // two emoji
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    qsizetype lost = -1;
    const QString plain = ConvertToPlainText(c.text, KeepAtStart, &lost);
    EXPECT_EQ(lost, c.lost) << plain.toStdString();
  }
  if (hadAll)
    qputenv("LC_ALL", oldAll);
  else
    qunsetenv("LC_ALL");
}

TEST(ProperCaseText, Words)
{
  EXPECT_EQ(ToProperCase("the QUICK fox is ok"), "The Quick Fox is Ok");
  EXPECT_EQ(ToProperCase("a"), "A"); // the last word whatever its length
  EXPECT_EQ(ToProperCase("of at"), "of At");
  EXPECT_EQ(ToProperCase("x  y"), "x  Y");
  EXPECT_EQ(ToProperCase(""), "");
  EXPECT_EQ(ToProperCase("\u00fcber ALLES"), "\u00fcber Alles");
}

} // namespace
