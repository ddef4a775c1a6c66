// Underline placement measured on the rendered pixels: the off-screen rendering matches the
// editor's own painting, the wavy line sits at the line box's bottom or on the text's baseline,
// and its ends follow the word's edges.

#include "live_fixture.h"

#include <QFontMetrics>
#include <QScrollBar>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextLayout>

#include <functional>
#include <iostream>

namespace {

// The first misspelling's underline: every red row between its columns.
struct TUnderline {
  std::vector<int> rows;
  int top() const { return rows.empty() ? -1 : rows.front(); }
  int bottom() const { return rows.empty() ? -1 : rows.back(); }
};

class UnderlineTest : public LiveTest {
protected:
  void SetUp() override
  {
    LiveTest::SetUp();
    Editor->clearFocus();
  }

  void SetFont(int pointSize)
  {
    QFont f = Editor->document()->defaultFont();
    f.setPointSize(pointSize);
    Editor->document()->setDefaultFont(f);
  }

  TUnderline UnderlineOf(const QImage &image, int from, int to, int yFrom = 0, int yTo = -1)
  {
    TUnderline u;
    u.rows =
        RedRows(image, Window()->PosFromChar(from).x(), Window()->PosFromChar(to).x(), yFrom, yTo);
    return u;
  }
};

TEST_F(UnderlineTest, BufferedPaintShowsTheTextWhereTheEditorPaintsIt)
{
  const struct {
    const char *name;
    int indentedLine;
    int scroll; // pixels scrolled down
  } rows[] = {
      {"plain lines", -1, 0},
      {"an indented line", 1, 0},
      {"the first visible line indented", 0, 0},
      {"scrolled half a line", 1, 7},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.name);
    QString text;
    for (int i = 0; i < 40; ++i)
      text += QStringLiteral("house word the house spelling check %1\n").arg(i);
    Window()->SetText(text);
    if (r.indentedLine >= 0) {
      QTextCursor c(Editor->document()->findBlockByNumber(r.indentedLine));
      QTextBlockFormat indented;
      indented.setLeftMargin(20);
      c.mergeBlockFormat(indented);
    }
    Editor->SetLiveSpelling(true);
    QApplication::processEvents(); // the layout of the new text settles, scroll bar included
    Editor->verticalScrollBar()->setValue(r.scroll);
    const QImage live = Grab();
    ASSERT_FALSE(Engine->LastBuffer().isNull()) << "the paint was buffered";
    Editor->SetLiveSpelling(false);
    const QImage plain = Grab();
    ASSERT_EQ(live.size(), plain.size());
    int differing = 0;
    QRect where;
    for (int y = 0; y < live.height(); ++y)
      for (int x = 0; x < live.width(); ++x)
        if ((live.pixel(x, y) & 0xFFFFFF) != (plain.pixel(x, y) & 0xFFFFFF)) {
          ++differing;
          where |= QRect(x, y, 1, 1);
        }
    EXPECT_EQ(differing, 0) << "differences within " << where.x() << "," << where.y() << " "
                            << where.width() << "x" << where.height();
  }
}

TEST_F(UnderlineTest, LargeParagraphSpacingPutsTheLineAtTheBoxBottomOrOnTheBaseline)
{
  SetFont(8);
  Window()->SetText(QStringLiteral("wrold house\nhouse"));
  QTextCursor c(Editor->document()->firstBlock());
  QTextBlockFormat spaced;
  spaced.setBottomMargin(40);
  c.mergeBlockFormat(spaced);
  const int top = Window()->PosFromChar(0).y();
  const int nextTop = Window()->PosFromChar(Window()->LineIndex(1)).y();
  const QFontMetrics metrics(Editor->document()->defaultFont());
  ASSERT_GT(nextTop - top, metrics.height() + 30);
  const int inkBottom = top + metrics.ascent() - 1;

  for (const bool irregular : {false, true}) {
    SCOPED_TRACE(irregular ? "irregular line heights" : "regular line heights");
    Editor->SetIrregularLineHeights(irregular);
    Engine->ResetDrawDeltas();
    Engine->MarkAllLinesDirty();
    const TUnderline u = UnderlineOf(Grab(), 0, 5, top, nextTop + 8);
    ASSERT_FALSE(u.rows.empty());
    if (!irregular) {
      // The last four pixels above the next line's top.
      EXPECT_GE(u.top(), nextTop - 4);
      EXPECT_LT(u.bottom(), nextTop);
    } else {
      // From the text's baseline row down two pixels.
      EXPECT_NEAR(u.top(), inkBottom, 1);
      EXPECT_LE(u.bottom() - u.top(), 2);
    }
  }
}

TEST_F(UnderlineTest, LargerFontOnTheLastLineIsUnderlinedAtItsBaseline)
{
  const struct {
    const char *name;
    const char *text;
  } rows[] = {
      {"no descenders", "house\nwrold hmm"},
      {"a few descenders", "house\nwrongly hmm"},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.name);
    Window()->SetText(QString::fromLatin1(r.text));
    const int start = Window()->LineIndex(1);
    QTextCursor c(Editor->document()->findBlockByNumber(1));
    c.select(QTextCursor::BlockUnderCursor);
    QTextCharFormat large;
    large.setFontPointSize(20);
    c.mergeCharFormat(large);
    QFont f = Editor->document()->defaultFont();
    f.setPointSize(20);
    const QFontMetrics metrics(f);
    const int top = Window()->PosFromChar(start).y();
    const int end =
        start + int(QString::fromLatin1(r.text).section('\n', 1).section(' ', 0, 0).size());
    const TUnderline u = UnderlineOf(Grab(), start, end);
    ASSERT_FALSE(u.rows.empty());
    EXPECT_NEAR(u.top(), top + metrics.ascent() - 1, 1);
    EXPECT_LE(u.bottom() - u.top(), 2);
    // Measured once; the unchanged line keeps its measurement.
    const TLineCache *cache = Engine->LineCache(1);
    ASSERT_NE(cache, nullptr);
    EXPECT_GT(cache->DrawDelta, 0);
  }
}

TEST_F(UnderlineTest, MixedSizeLastLineKeepsItsBaselineThroughAnUnbufferedRecheck)
{
  // A selection (the live menu selects its word) makes the paint unbuffered: no pixels can be
  // read, yet a re-check of the last line must not move its wavy line off the baseline.
  Editor->SetIrregularLineHeights(true);
  SetFont(8);
  const QString last = QStringLiteral("Small print: definately smal, mixd");
  Window()->SetText(QStringLiteral("house word\nhouse the wrold\n") + last);
  const int start = Window()->LineIndex(2);
  const QTextBlock block = Editor->document()->findBlockByNumber(2);
  QTextCursor c(block);
  c.setPosition(block.position() + int(last.indexOf(u"mixd")));
  c.setPosition(block.position() + int(last.size()), QTextCursor::KeepAnchor);
  QTextCharFormat large;
  large.setFontPointSize(20);
  large.setFontWeight(QFont::Bold);
  c.mergeCharFormat(large);
  QApplication::processEvents();
  const QTextLine row = block.layout()->lineAt(0);
  const int top = Window()->PosFromChar(start).y();
  const int baseline = top + qRound(row.ascent()) - 1;
  ASSERT_GT(qRound(row.ascent()), QFontMetrics(Editor->document()->defaultFont()).height())
      << "the large word sets the row's baseline well below the small text's height";

  const TUnderline buffered = UnderlineOf(Grab(), start, start + 5, top);
  ASSERT_FALSE(Engine->LastBuffer().isNull());
  ASSERT_FALSE(buffered.rows.empty());
  EXPECT_NEAR(buffered.top(), baseline, 1);

  const struct {
    const char *name;
    std::function<bool()> recheck; // false: the platform gives no focus
  } rows[] = {
      {"every line re-checked (a word added from the live menu)",
       [this] {
         Engine->MarkAllLinesDirty();
         return true;
       }},
      {"the measurement dropped (a format applied)",
       [this] {
         Engine->ResetDrawDeltas();
         return true;
       }},
      {"the last line's text changed",
       [&] {
         QTextCursor edit(block);
         edit.setPosition(block.position() + 5);
         edit.insertText(QStringLiteral(" "));
         return true;
       }},
      {"the caret leaves the word being typed at the end",
       [&] {
         Editor->activateWindow();
         Editor->setFocus();
         QApplication::processEvents();
         if (!Editor->hasFocus())
           return false;
         const int end = start + Window()->LineLength(start);
         Window()->SetSel(end, end);
         Type(Editor.get(), QStringLiteral(" mixd"));
         Grab(1);
         const TLineCache *cache = Engine->LineCache(2);
         EXPECT_TRUE(cache && cache->Dirty)
             << "the word at the caret is spared: the line stays to be re-checked";
         return true;
       }},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.name);
    if (!r.recheck()) {
      std::cout << "[ SKIPPED  ] " << r.name << ": the platform gives no focus\n";
      continue;
    }
    Window()->SetSel(6, 10); // "word" on the first line, as the live menu selects it
    for (int paint = 0; paint < 2; ++paint) {
      SCOPED_TRACE(paint == 0 ? "the re-checking paint" : "the paint after it");
      const TUnderline u = UnderlineOf(Grab(1), start, start + 5, top);
      ASSERT_FALSE(Engine->CanDoubleBuffer());
      ASSERT_FALSE(u.rows.empty());
      EXPECT_EQ(u.rows, buffered.rows);
    }
    Window()->SetSel(0, 0);
    Grab(); // buffered again: the next case starts from a measured line
  }
}

TEST_F(UnderlineTest, WavyLineEndsExactlyAtTheWordsRightEdge)
{
  Editor->setLineWrapMode(QTextEdit::NoWrap);
  Editor->SetOnWordCheck([](QObject *, const QString &Word, TWordCheckType &CheckType, QString &) {
    CheckType = Word == "l" ? wcDenied : CheckType;
  });
  const QString wide(600, QChar(u'm'));
  Window()->SetText(QStringLiteral("house l house\n") + wide + QStringLiteral("\nhouse"));
  Grab();
  const struct {
    const char *name;
    int from, to;
    size_t points;
  } rows[] = {
      {"one narrow letter", 6, 7, 0},
      {"wider than 2048 pixels", Window()->LineIndex(1), Window()->LineIndex(1) + 600, 1024},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.name);
    const int a = Window()->PosFromChar(r.from).x(), b = Window()->PosFromChar(r.to).x();
    const std::vector<QPoint> points = Engine->SquigglePoints(50, r.from, r.to);
    ASSERT_FALSE(points.empty());
    EXPECT_EQ(points.front().x(), a);
    EXPECT_EQ(points.back().x(), b);
    for (size_t i = 0; i < points.size(); ++i)
      EXPECT_EQ(points[i].y(), i % 2 ? 48 : 46);
    if (r.points) {
      ASSERT_GT(b - a, 2048);
      EXPECT_EQ(points.size(), r.points);
      EXPECT_GT(points.back().x() - points[points.size() - 2].x(), 2)
          << "the last segment is one long slope";
    }
  }
  // The narrow letter's underline is painted.
  EXPECT_FALSE(
      RedRows(Grab(), Window()->PosFromChar(6).x(), Window()->PosFromChar(7).x() + 1).empty());
}

TEST_F(UnderlineTest, PixelReadsOutsideTheSurfaceAreInvalid)
{
  QImage image(10, 5, QImage::Format_RGB32);
  image.fill(QColor(1, 2, 3));
  TLiveCanvas dc;
  dc.Pixels = &image;
  const struct {
    int x, y;
    quint32 expected;
  } rows[] = {{0, 0, 0x010203},
              {9, 4, 0x010203},
              {-1, 0, TLiveCanvas::InvalidColor},
              {10, 0, TLiveCanvas::InvalidColor},
              {0, 5, TLiveCanvas::InvalidColor},
              {0, -1, TLiveCanvas::InvalidColor}};
  for (const auto &r : rows) {
    SCOPED_TRACE(testing::Message() << r.x << "," << r.y);
    EXPECT_EQ(dc.Pixel(r.x, r.y), r.expected);
  }
  TLiveCanvas window; // the window itself: nothing to read
  EXPECT_EQ(window.Pixel(0, 0), TLiveCanvas::InvalidColor);
}

} // namespace
