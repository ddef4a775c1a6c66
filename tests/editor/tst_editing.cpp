// Selection, replacement and undo, whole-text replacement, attributes, notifications,
// typed line breaks and the clipboard, on the real editor widgets.

#include "editor_test_util.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <map>

namespace {

void SendKey(QWidget *w, int key, Qt::KeyboardModifiers mods, const QString &text)
{
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(w, &release);
}

void Type(QWidget *w, const QString &text)
{
  for (QChar c : text)
    SendKey(w, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

std::pair<int, int> Sel(HWND w)
{
  int s = -1, e = -1;
  w->GetSel(s, e);
  return {s, e};
}

class Editing : public ::testing::TestWithParam<TSurface> {
protected:
  TSurfaceHolder Holder{GetParam()};
  HWND W = Holder.Window;
};

TEST_P(Editing, SelectionUsesBreaksOfTwo)
{
  W->SetText("ab\r\ncd\r\nef");
  struct Case {
    int start, end;
    std::pair<int, int> read;
    const char *selText;
  };
  const Case cases[] = {
      {0, 2, {0, 2}, "ab"},         {1, 5, {1, 5}, "b\r\nc"},
      {4, 10, {4, 10}, "cd\r\nef"}, {0, -1, {0, 10}, "ab\r\ncd\r\nef"}, // end -1: to the end
      {7, 100, {6, 10}, "\r\nef"}, // from between CR and LF (line 1's end), clamped
      {6, 2, {2, 6}, "\r\ncd"},    // caret before the anchor reads ordered
      {3, 3, {2, 2}, ""},          // between CR and LF: the end of the line's text
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << c.start << "," << c.end);
    W->SetSel(c.start, c.end);
    EXPECT_EQ(Sel(W), c.read);
    EXPECT_EQ(W->GetSelText(), QString::fromLatin1(c.selText));
  }
  // start -1 removes the selection, the caret stays at its end.
  W->SetSel(1, 5);
  W->SetSel(-1, 0);
  EXPECT_EQ(Sel(W), std::make_pair(5, 5));

  // Selection properties: setting the start collapses, setting the length keeps the start.
  W->SetSel(1, 5);
  W->SetSelStart(4);
  EXPECT_EQ(W->GetSelStart(), 4);
  EXPECT_EQ(W->GetSelLength(), 0);
  W->SetSelLength(4);
  EXPECT_EQ(Sel(W), std::make_pair(4, 8));
  W->SelectAll();
  EXPECT_EQ(Sel(W), std::make_pair(0, 10));
}

TEST(EditWindowSelection, StartAboveLimitReadsAsZero)
{
  // What an edit control answers through an unsigned -1 start.
  struct HugeStart : TEditWindow {
    int start = 0;
    void GetSel(int &s, int &e) const override
    {
      s = start;
      e = 5;
    }
  } w;
  w.start = int(0x7FFFFFFFu);
  EXPECT_EQ(w.GetSelStart(), 0);
  w.start = -1;
  EXPECT_EQ(w.GetSelStart(), 0);
  w.start = 0x7FFFFFFE;
  EXPECT_EQ(w.GetSelStart(), 0x7FFFFFFE);
  w.start = 3;
  EXPECT_EQ(w.GetSelStart(), 3);
  EXPECT_EQ(w.GetSelLength(), 2);
}

TEST_P(Editing, ReplaceSelectionWithAndWithoutUndo)
{
  W->SetText("hello world");
  EXPECT_FALSE(W->CanUndo()) << "a new text starts a new history";

  W->SetSel(6, 11);
  W->ReplaceSel("there\r\nand\rmore", true);
  EXPECT_EQ(W->GetText(), "hello there\r\nand\r\nmore");
  EXPECT_EQ(Sel(W), std::make_pair(22, 22)) << "caret after the inserted text";
  ExpectConsistent(W);
  ASSERT_TRUE(W->CanUndo());
  W->Undo();
  EXPECT_EQ(W->GetText(), "hello world");

  // Without undo on a fresh history: nothing to undo afterwards.
  W->SetText("hello world");
  W->SetSel(0, 5);
  W->ReplaceSel("HELLO", false);
  EXPECT_EQ(W->GetText(), "HELLO world");
  EXPECT_FALSE(W->CanUndo());

  // Without undo after an undoable edit: the replacement is a step of its own, so undo gives
  // back exactly the text before it and only a second undo takes back the earlier edit.
  W->SetSel(11, 11);
  W->ReplaceSel("!", true);
  W->SetSel(0, 5);
  W->ReplaceSel("Howdy, all", false);
  EXPECT_EQ(W->GetText(), "Howdy, all world!");
  W->Undo();
  EXPECT_EQ(W->GetText(), "HELLO world!");
  ExpectConsistent(W);
  W->Undo();
  EXPECT_EQ(W->GetText(), "HELLO world");
  ExpectConsistent(W);
}

TEST_P(Editing, WholeTextReplacementHistoryAndEditBlocks)
{
  W->SetText("base");
  W->SetSel(4, 4);
  W->ReplaceSel(" one", true);
  W->SetTextEx("replaced\rtext", true);
  EXPECT_EQ(W->GetText(), "replaced\r\ntext");
  ASSERT_TRUE(W->CanUndo());
  W->Undo();
  EXPECT_EQ(W->GetText(), "base one") << "the kept history undoes the replacement";

  // Edits between Begin and End, nested, are one step.
  W->BeginEditBlock();
  W->SetSel(0, 0);
  W->ReplaceSel("[", true);
  W->BeginEditBlock();
  W->SetTextEx(W->GetText() + "]", true);
  W->EndEditBlock();
  W->SetSel(1, 1);
  W->ReplaceSel("x", false);
  W->EndEditBlock();
  W->EndEditBlock(); // unbalanced: harmless
  EXPECT_EQ(W->GetText(), "[xbase one]");
  W->Undo();
  EXPECT_EQ(W->GetText(), "base one");

  W->SetText("fresh");
  EXPECT_FALSE(W->CanUndo());
}

TEST_P(Editing, ChangeAndSelectionNotifications)
{
  int changes = 0, selections = 0;
  W->OnChange = [&](TEditWindow *sender) {
    EXPECT_EQ(sender, W);
    ++changes;
  };
  W->OnSelectionChange = [&](TEditWindow *sender) {
    EXPECT_EQ(sender, W);
    ++selections;
  };
  struct Step {
    const char *name;
    std::function<void()> act;
    bool change, selection;
  };
  const Step steps[] = {
      {"set text", [&] { W->SetText("abc\r\ndef"); }, true, false},
      {"select", [&] { W->SetSel(1, 3); }, false, true},
      {"same selection again", [&] { W->SetSel(1, 3); }, false, false},
      {"replace", [&] { W->ReplaceSel("X", true); }, true, true},
      {"write a line", [&] { W->SetLineText(1, "zz"); }, true, false},
      {"typed", [&] { Type(Holder.Widget.get(), "q"); }, true, true},
      {"undo", [&] { W->Undo(); }, true, true},
      {"clear", [&] { W->Clear(); }, true, true},
  };
  for (const Step &s : steps) {
    SCOPED_TRACE(s.name);
    changes = selections = 0;
    s.act();
    EXPECT_EQ(changes > 0, s.change);
    if (s.selection)
      EXPECT_GT(selections, 0);
    else
      EXPECT_EQ(selections, 0);
  }
  W->OnChange = nullptr;
  W->OnSelectionChange = nullptr;
}

TEST_P(Editing, EveryTypedLineBreakIsALine)
{
  QWidget *edit = Holder.Widget.get();
  W->SetText("");
  Type(edit, "ab");
  SendKey(edit, Qt::Key_Return, Qt::ShiftModifier, "\r");
  Type(edit, "c");
  SendKey(edit, Qt::Key_Return, Qt::NoModifier, "\r");
  Type(edit, "d");
  SendKey(edit, Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier, "\r");
  Type(edit, "e");
  EXPECT_EQ(W->GetText(), "ab\r\nc\r\nd\r\ne");
  EXPECT_EQ(W->LinesCount(), 4);
  EXPECT_EQ(W->LineIndex(1), 4);
  EXPECT_EQ(W->LineFromChar(W->GetTextLength()), 3);
  ExpectConsistent(W);
}

TEST_P(Editing, ClipboardCutCopyPaste)
{
  QClipboard *clip = QApplication::clipboard();
  W->SetText("one two\r\nthree");
  W->SetSel(0, 3);
  W->CopyToClipboard();
  EXPECT_EQ(clip->text(), "one");
  W->SetSel(4, 12);
  W->CutToClipboard();
  EXPECT_EQ(W->GetText(), "one ee");
  EXPECT_EQ(clip->text().replace("\r\n", "\n"), "two\nthr");
  W->SetSel(0, 0);
  W->PasteFromClipboard();
  EXPECT_EQ(W->GetText(), "two\r\nthrone ee");

  // A paste replaces the selection; every kind of break in it becomes a line.
  clip->setText("x\r\ny\rz\nw");
  W->SetSel(0, 3);
  W->PasteFromClipboard();
  EXPECT_EQ(W->GetText(), "x\r\ny\r\nz\r\nw\r\nthrone ee");
  ExpectConsistent(W);

  // Keyboard paste takes the same road.
  clip->setText(QStringLiteral("p\u2028q"));
  W->SetSel(0, 0);
  SendKey(Holder.Widget.get(), Qt::Key_V, Qt::ControlModifier, QString());
  EXPECT_TRUE(W->GetText().startsWith("p\r\nqx\r\n")) << W->GetText().toStdString();
  ExpectConsistent(W);
}

TEST_P(Editing, ClearReadOnlyAndPlainTextFlags)
{
  W->SetText("some text");
  W->SetSel(9, 9);
  W->ReplaceSel("!", true);
  EXPECT_TRUE(W->Modified());
  W->Clear();
  EXPECT_EQ(W->GetText(), "");
  EXPECT_EQ(W->LinesCount(), 0);
  EXPECT_FALSE(W->Modified());
  EXPECT_FALSE(W->CanUndo());

  EXPECT_FALSE(W->IsReadOnly());
  W->SetText("fixed");
  W->SetReadOnly(true);
  EXPECT_TRUE(W->IsReadOnly());
  W->SetSel(5, 5);
  Type(Holder.Widget.get(), "zz");
  QApplication::clipboard()->setText("pasted");
  W->PasteFromClipboard();
  EXPECT_EQ(W->GetText(), "fixed") << "the user cannot change a read-only text";
  W->SetText("program may");
  EXPECT_EQ(W->GetText(), "program may");
  W->SetReadOnly(false);
  EXPECT_FALSE(W->IsReadOnly());

  // The plain-text flag is only kept; the content is untouched by it.
  EXPECT_FALSE(W->PlainText());
  W->SetPlainText(true);
  EXPECT_TRUE(W->PlainText());
  EXPECT_EQ(W->GetText(), "program may");
  W->SetPlainText(false);
  EXPECT_FALSE(W->PlainText());
}

INSTANTIATE_TEST_SUITE_P(Surfaces, Editing, ::testing::Values(TSurface::Rich, TSurface::Plain),
                         [](const auto &info) { return std::string(SurfaceName(info.param)); });

// --- Rich-only: attributes, formatting on whole-text replacement, rich paste -------------------

class RichAttributes : public ::testing::Test {
protected:
  TWrightRichEdit Ed;
  HWND W = &Ed;
};

constexpr TFontStyles Bold = FontStyleBit(TFontStyle::fsBold);
constexpr TFontStyles Italic = FontStyleBit(TFontStyle::fsItalic);
constexpr TFontStyles Underline = FontStyleBit(TFontStyle::fsUnderline);

TEST_F(RichAttributes, SelectionAttributesRoundTripAndStayOnTheSelection)
{
  struct Case {
    const char *name;
    TCharAttributes set;
  };
  const Case cases[] = {
      {"bold big", {"Courier New", 20, Bold, 0x000000, 1, 0}},
      {"italic underline coloured", {"Arial", 9, Italic | Underline, 0x0000FF, 1, 0}},
      {"all styles", {"Times New Roman", 14, Bold | Italic | Underline, 0x123456, 0, 2}},
      {"plain", {"Arial", 8, 0, 0x00FF00, 1, 1}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    W->SetText("before middle after");
    const TCharAttributes outside = [&] {
      W->SetSel(0, 6);
      return W->GetSelAttributes();
    }();
    W->SetSel(7, 13);
    W->SetSelAttributes(c.set);
    // Read back with the caret at either end of the selection.
    for (auto [from, to] : {std::pair{7, 13}, std::pair{13, 7}}) {
      SCOPED_TRACE(testing::Message() << "selection " << from << "," << to);
      W->SetSel(from, to);
      const TCharAttributes got = W->GetSelAttributes();
      EXPECT_EQ(got.Name, c.set.Name);
      EXPECT_EQ(got.Size, c.set.Size);
      EXPECT_EQ(got.Style, c.set.Style);
      EXPECT_EQ(got.Color, c.set.Color);
      EXPECT_EQ(got.Charset, c.set.Charset);
      EXPECT_EQ(got.Pitch, c.set.Pitch);
    }
    // Characters outside the selection keep theirs.
    for (int pos : {0, 14}) {
      W->SetSel(pos, pos + 5);
      const TCharAttributes o = W->GetSelAttributes();
      EXPECT_EQ(o.Size, outside.Size) << pos;
      EXPECT_EQ(o.Style, outside.Style) << pos;
      EXPECT_EQ(o.Color, outside.Color) << pos;
    }
  }
}

TEST_F(RichAttributes, InsertionPointAttributesApplyToTypedText)
{
  W->SetText("ab");
  W->SetSel(1, 1);
  TCharAttributes a = W->GetSelAttributes();
  a.Style = Bold;
  a.Size = 17;
  W->SetSelAttributes(a);
  Type(&Ed, "X");
  EXPECT_EQ(W->GetText(), "aXb");
  W->SetSel(1, 2);
  EXPECT_EQ(W->GetSelAttributes().Style, Bold);
  EXPECT_EQ(W->GetSelAttributes().Size, 17);
  W->SetSel(2, 3);
  EXPECT_EQ(W->GetSelAttributes().Style, 0u);
}

TEST_F(RichAttributes, WholeTextReplacementDropsFormatting)
{
  W->SetText("styled\r\nlines");
  W->SelectAll();
  TCharAttributes a = W->GetSelAttributes();
  const TCharAttributes plain = a;
  a.Style = Bold | Italic;
  a.Size = 30;
  a.Color = 0x0000FF;
  W->SetSelAttributes(a);
  TParaAttributes p;
  p.Alignment = 2;
  p.Numbering = 1;
  W->SetParagraph(p);

  for (bool keepUndo : {false, true}) {
    SCOPED_TRACE(keepUndo);
    W->SetTextEx("new\r\ntext", keepUndo);
    for (int pos : {0, 5}) {
      W->SetSel(pos, pos + 2);
      const TCharAttributes got = W->GetSelAttributes();
      EXPECT_EQ(got.Style, 0u);
      EXPECT_EQ(got.Size, plain.Size);
      EXPECT_EQ(got.Color, plain.Color);
      EXPECT_EQ(W->GetParagraph().Alignment, 0);
      EXPECT_EQ(W->GetParagraph().Numbering, 0);
    }
    EXPECT_EQ(W->GetText(), "new\r\ntext") << "bullets are not text";
  }
}

TEST_F(RichAttributes, DefaultAttributesAndTheWidgetFont)
{
  TCharAttributes d = W->GetDefAttributes();
  d.Name = "Arial";
  d.Size = 13;
  d.Style = Italic;
  d.Color = 0x00AA00;
  W->SetDefAttributes(d);
  const TCharAttributes got = W->GetDefAttributes();
  EXPECT_EQ(got.Name, "Arial");
  EXPECT_EQ(got.Size, 13);
  EXPECT_EQ(got.Style, Italic);
  EXPECT_EQ(got.Color, 0x00AA00u);
  QString face;
  int twips = 0;
  W->GetDefaultCharFormat(face, twips);
  EXPECT_EQ(face, "Arial");
  EXPECT_EQ(twips, 13 * 20);
  // New, unformatted text takes the default attributes.
  W->SetText("plain");
  W->SetSel(0, 3);
  EXPECT_EQ(W->GetSelAttributes().Size, 13);

  // The surface's own font sets the default attributes; face names are cut to 31 units.
  QFont f(QStringLiteral("Courier New"));
  f.setPointSize(11);
  Ed.setFont(f);
  EXPECT_EQ(W->GetDefAttributes().Name, "Courier New");
  EXPECT_EQ(W->GetDefAttributes().Size, 11);
  QFont longName(QString(40, QChar(u'F')));
  longName.setPointSize(10);
  Ed.setFont(longName);
  W->GetDefaultCharFormat(face, twips);
  EXPECT_EQ(face, QString(31, QChar(u'F')));
  EXPECT_EQ(twips, 200);
}

// The bullet as the document draws it beside the first line of paragraph Index: its box, or an
// empty one when nothing is drawn there.
struct TMarker {
  QRect Box;
  int LineTop = 0, LineHeight = 0;
};

TMarker MarkerOf(const QTextDocument *shown, int index)
{
  // A copy of its own is laid out at once; the editor's lays out lazily, between events.
  const std::unique_ptr<QTextDocument> doc(shown->clone());
  doc->setTextWidth(400);
  QImage image(doc->size().toSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    doc->drawContents(&p);
  }
  const QTextBlock b = doc->findBlockByNumber(index);
  const QTextLine line = b.layout()->lineAt(0);
  TMarker m;
  m.LineTop = int(b.layout()->position().y() + line.y());
  m.LineHeight = int(line.height());
  const int textLeft = int(b.layout()->position().x() + line.naturalTextRect().left());
  for (int y = m.LineTop; y < m.LineTop + m.LineHeight && y < image.height(); ++y)
    for (int x = 0; x < textLeft; ++x)
      if (qGray(image.pixel(x, y)) < 160)
        m.Box |= QRect(x, y, 1, 1);
  return m;
}

// A bullet or number is as big as its paragraph's text, sits in the middle of its first line and
// is drawn whole, whether the size was chosen before or after the bullets, for the first
// paragraph too (whose own format no selection reaches).
TEST_F(RichAttributes, BulletsFollowTheParagraphsFontSize)
{
  enum TSizeBy { sbSizeFirst, sbSizeAfter, sbPaste };
  const struct Case {
    const char *name;
    int numbering, size;
    TSizeBy by;
  } cases[] = {
      {"numbers, 8 pt", 2, 8, sbSizeFirst},        {"numbers, then 18 pt", 2, 18, sbSizeAfter},
      {"bullets, 8 pt", 1, 8, sbSizeFirst},        {"18 pt, then bullets", 1, 18, sbSizeFirst},
      {"bullets, then 28 pt", 1, 28, sbSizeAfter}, {"bullets, then 18 pt", 1, 18, sbSizeAfter},
  };
  std::map<int, int> small; // marker height at 8 pt, by numbering
  QRect beforeChange;       // the first marker before the last size change
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    W->SetText("Bullet paragraph here\r\nSecond line");
    TCharAttributes a = W->GetDefAttributes();
    a.Name = "Arial";
    a.Size = c.size;
    TParaAttributes p;
    p.Numbering = c.numbering;
    W->SelectAll();
    if (c.by == sbSizeFirst)
      W->SetSelAttributes(a);
    W->SetParagraphAttributes(p, TParaAttributeSet{TParaAttribute::paNumbering});
    if (c.by == sbSizeAfter) {
      beforeChange = MarkerOf(Ed.document(), 0).Box;
      W->SetSelAttributes(a);
    }
    if (c.by == sbPaste) {
      // Each paragraph's first word replaced by a paste of big text.
      QMimeData big;
      big.setHtml(QStringLiteral("<span style=\"font-family:Arial; font-size:%1pt\">Pasted</span>")
                      .arg(c.size));
      W->SetSel(0, 6); // "Bullet"
      Ed.InsertMimeData(&big);
      W->SetSel(23, 23 + 6); // "Second"
      Ed.InsertMimeData(&big);
      ASSERT_EQ(W->GetText(), "Pasted paragraph here\r\nPasted line");
      for (int at : {0, 23}) {
        W->SetSel(at, at);
        EXPECT_EQ(W->GetParagraph().Numbering, c.numbering) << "the paste kept the list";
      }
    }
    for (int block : {0, 1}) {
      SCOPED_TRACE(testing::Message() << "paragraph " << block);
      const TMarker m = MarkerOf(Ed.document(), block);
      ASSERT_FALSE(m.Box.isEmpty()) << "no marker drawn";
      const int middle = m.LineTop + m.LineHeight / 2;
      EXPECT_LE(std::abs(m.Box.center().y() - middle), m.LineHeight / 6)
          << "marker at " << m.Box.top() << ".." << m.Box.bottom() << " on a line from "
          << m.LineTop << ", " << m.LineHeight << " high";
      EXPECT_GT(m.Box.left(), 0) << "the marker is cut at the edge";
      if (c.size == 8)
        small[c.numbering] = m.Box.height();
      else
        EXPECT_GE(m.Box.height(), small[c.numbering] * c.size / 8 - 2)
            << "at 8 pt it is " << small[c.numbering] << " high";
    }
    EXPECT_EQ(W->GetParagraph().LeftIndent, c.numbering == 1 ? 10 : 0) << "indents as set";
  }
  // The bullets' size goes with the size change: one undo step takes back both.
  W->Undo();
  W->SetSel(0, 1);
  EXPECT_EQ(W->GetSelAttributes().Size, W->GetDefAttributes().Size);
  EXPECT_EQ(W->GetParagraph().Numbering, 1);
  EXPECT_EQ(MarkerOf(Ed.document(), 0).Box, beforeChange);
}

TEST_F(RichAttributes, ParagraphNumberingAndIndentRules)
{
  struct Case {
    const char *name;
    TParaAttributes before; // the paragraph's state first
    TParaAttributes set;
    TParaAttributes read;
  };
  const Case cases[] = {
      {"alignment right", {}, {1, 0, 0, 0, 0}, {1, 0, 0, 0, 0}},
      {"alignment centre", {}, {2, 0, 0, 0, 0}, {2, 0, 0, 0, 0}},
      {"indents in points", {}, {0, 0, 12, -6, 7}, {0, 0, 12, -6, 7}},
      {"bullets raise a small left indent", {}, {0, 1, 0, 5, 0}, {0, 1, 0, 10, 0}},
      {"bullets keep a larger one", {}, {0, 1, 0, 15, 0}, {0, 1, 0, 15, 0}},
      {"numbers keep any left indent", {}, {0, 2, 0, 5, 0}, {0, 2, 0, 5, 0}},
      {"numbering off resets the left indent", {0, 1, 0, 18, 0}, {0, 0, 4, 18, 3}, {0, 0, 4, 0, 3}},
      {"a left indent on bullets already on", {0, 1, 0, 10, 0}, {0, 1, 0, 25, 0}, {0, 1, 0, 25, 0}},
      {"a left indent without numbering", {}, {0, 0, 0, 8, 0}, {0, 0, 0, 8, 0}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    W->SetText("first\r\nsecond\r\nthird");
    W->SetSel(0, 0);
    W->SetParagraph(c.before);
    W->SetParagraph(c.set);
    const TParaAttributes got = W->GetParagraph();
    EXPECT_EQ(got.Alignment, c.read.Alignment);
    EXPECT_EQ(got.Numbering, c.read.Numbering);
    EXPECT_EQ(got.FirstIndent, c.read.FirstIndent);
    EXPECT_EQ(got.LeftIndent, c.read.LeftIndent);
    EXPECT_EQ(got.RightIndent, c.read.RightIndent);
    EXPECT_EQ(W->GetText(), "first\r\nsecond\r\nthird");
  }
}

TEST_F(RichAttributes, ParagraphAttributesReachEveryTouchedParagraph)
{
  W->SetText("one\r\ntwo\r\nthree\r\nfour");
  W->SetSel(2, 7); // from line 0 into line 1
  TParaAttributes p;
  p.Alignment = 2;
  p.Numbering = 2;
  p.FirstIndent = 3;
  W->SetParagraph(p);
  for (int line = 0; line < 4; ++line) {
    SCOPED_TRACE(line);
    W->SetSel(W->LineIndex(line), W->LineIndex(line));
    const bool touched = line < 2;
    EXPECT_EQ(W->GetParagraph().Alignment, touched ? 2 : 0);
    EXPECT_EQ(W->GetParagraph().Numbering, touched ? 2 : 0);
    EXPECT_EQ(W->GetParagraph().FirstIndent, touched ? 3 : 0);
  }
  EXPECT_EQ(W->GetText(), "one\r\ntwo\r\nthree\r\nfour");
  ExpectConsistent(W);
}

TEST_F(RichAttributes, ParagraphMaskWritesOneAttributeAndKeepsEachParagraphsOthers)
{
  // Line 0 plain, line 1 with its own indents and alignment; both selected.
  const TParaAttributes second{1, 0, 20, 5, 7};
  struct Case {
    const char *name;
    TParaAttribute which;
    TParaAttributes value;
    TParaAttributes first, secondRead; // what each paragraph reads afterwards
  };
  const Case cases[] = {
      {"alignment",
       TParaAttribute::paAlignment,
       {2, 0, 0, 0, 0},
       {2, 0, 0, 0, 0},
       {2, 0, 20, 5, 7}},
      {"first indent",
       TParaAttribute::paFirstIndent,
       {0, 0, 9, 0, 0},
       {0, 0, 9, 0, 0},
       {1, 0, 9, 5, 7}},
      {"left indent",
       TParaAttribute::paLeftIndent,
       {0, 0, 0, -3, 0},
       {0, 0, 0, -3, 0},
       {1, 0, 20, -3, 7}},
      {"right indent",
       TParaAttribute::paRightIndent,
       {0, 0, 0, 0, 11},
       {0, 0, 0, 0, 11},
       {1, 0, 20, 5, 11}},
      {"bullets",
       TParaAttribute::paNumbering,
       {0, 1, 0, 0, 0},
       {0, 1, 0, 10, 0},
       {1, 1, 20, 10, 7}},
      {"numbers", TParaAttribute::paNumbering, {0, 2, 0, 0, 0}, {0, 2, 0, 0, 0}, {1, 2, 20, 5, 7}},
      {"numbering off",
       TParaAttribute::paNumbering,
       {0, 0, 0, 0, 0},
       {0, 0, 0, 0, 0},
       {1, 0, 20, 0, 7}},
  };
  auto expectParagraph = [&](int line, const TParaAttributes &want) {
    SCOPED_TRACE(line);
    W->SetSel(W->LineIndex(line), W->LineIndex(line));
    const TParaAttributes got = W->GetParagraph();
    EXPECT_EQ(got.Alignment, want.Alignment);
    EXPECT_EQ(got.Numbering, want.Numbering);
    EXPECT_EQ(got.FirstIndent, want.FirstIndent);
    EXPECT_EQ(got.LeftIndent, want.LeftIndent);
    EXPECT_EQ(got.RightIndent, want.RightIndent);
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    W->SetText("one\r\ntwo\r\nthree");
    W->SetSel(W->LineIndex(1), W->LineIndex(1));
    W->SetParagraph(second);
    W->SetSel(1, W->LineIndex(1) + 1);
    W->SetParagraphAttributes(c.value, ParaAttributeBit(c.which));
    expectParagraph(0, c.first);
    expectParagraph(1, c.secondRead);
    expectParagraph(2, {});
    EXPECT_EQ(W->GetText(), "one\r\ntwo\r\nthree");
  }
}

TEST_F(RichAttributes, NumberingRuleHoldsWheneverNumberingIsWritten)
{
  struct Case {
    const char *name;
    TParaAttributes before;
    int numbering;
    int left; // left indent read afterwards
  };
  const Case cases[] = {
      {"bullets again on bullets with a small left indent", {0, 1, 0, 4, 0}, 1, 10},
      {"bullets again keep a larger left indent", {0, 1, 0, 25, 0}, 1, 25},
      {"numbering off again resets the left indent", {0, 0, 0, 18, 0}, 0, 0},
      {"numbers again keep any left indent", {0, 2, 0, 4, 0}, 2, 4},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    W->SetText("para");
    W->SetParagraph(c.before);
    // The left indent as given, below what the bullets rule would make it.
    W->SetParagraphAttributes(c.before, ParaAttributeBit(TParaAttribute::paLeftIndent));
    ASSERT_EQ(W->GetParagraph().Numbering, c.before.Numbering);
    ASSERT_EQ(W->GetParagraph().LeftIndent, c.before.LeftIndent);
    TParaAttributes p;
    p.Numbering = c.numbering;
    W->SetParagraphAttributes(p, ParaAttributeBit(TParaAttribute::paNumbering));
    EXPECT_EQ(W->GetParagraph().Numbering, c.numbering);
    EXPECT_EQ(W->GetParagraph().LeftIndent, c.left);
  }
}

TEST_F(RichAttributes, RichPasteKeepsFormattingAndTurnsBreaksIntoLines)
{
  auto *mime = new QMimeData;
  mime->setHtml("<b>bold</b><br>next<p>para</p>");
  mime->setText("bold\nnext\npara");
  QApplication::clipboard()->setMimeData(mime);
  W->SetText("");
  W->PasteFromClipboard();
  const QStringList lines = W->GetText().split("\r\n");
  ASSERT_GE(lines.size(), 3) << W->GetText().toStdString();
  EXPECT_EQ(lines[0], "bold");
  EXPECT_EQ(lines[1], "next");
  EXPECT_TRUE(lines.contains("para"));
  ExpectConsistent(W);
  W->SetSel(0, 4);
  EXPECT_EQ(W->GetSelAttributes().Style, Bold);

  // A table has no place in a line list: it comes in as its text.
  auto *table = new QMimeData;
  table->setHtml("<table><tr><td>c1</td><td>c2</td></tr></table>");
  table->setText("c1\tc2");
  QApplication::clipboard()->setMimeData(table);
  W->SetText("");
  W->PasteFromClipboard();
  EXPECT_EQ(W->GetText(), "c1\tc2");
  ExpectConsistent(W);
}

} // namespace
