// Screen mapping and painting: position <-> point, scrolling, off-screen rendering,
// background, hide-selection and redraw switching.

#include "editor_test_util.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

namespace {

int CountPixels(const QImage &image, const std::function<bool(QRgb)> &pred)
{
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      n += pred(image.pixel(x, y)) ? 1 : 0;
  return n;
}

bool InsidePair(const QString &text, int pos)
{
  return pos > 0 && pos < text.size() && text.at(pos).isLowSurrogate() &&
         text.at(pos - 1).isHighSurrogate();
}

class ScreenTable : public ::testing::TestWithParam<TSurface> {
protected:
  ScreenTable()
  {
    Holder.Widget->show();
    QApplication::processEvents();
  }
  TSurfaceHolder Holder{GetParam()};
  HWND W = Holder.Window;
};

TEST_P(ScreenTable, PositionPointRoundTrips)
{
  for (const TextCase &c : TextCases()) {
    SCOPED_TRACE(c.name);
    W->SetText(c.input);
    const QString text = W->GetText();
    const std::vector<int> starts = LineStarts(c.lines);
    int previousY = INT_MIN;
    for (int i = 0; i < c.lines.size(); ++i) {
      const int start = starts[size_t(i)];
      const int end = start + int(c.lines[i].size());
      const QPoint first = W->PosFromChar(start);
      EXPECT_GT(first.y(), previousY) << "each line lower than the last, line " << i;
      previousY = first.y();
      // The position after the last character is that character's right edge, on the same row.
      if (!c.lines[i].isEmpty() && c.lines[i].size() < 40) {
        EXPECT_GT(W->PosFromChar(end).x(), first.x()) << "line " << i;
        EXPECT_EQ(W->PosFromChar(end).y(), first.y()) << "line " << i;
      }
      // Between CR and LF is the end of the line's text.
      if (i + 1 < c.lines.size()) {
        EXPECT_EQ(W->PosFromChar(end + 1), W->PosFromChar(end)) << "line " << i;
      }

      std::vector<int> samples{start, end, start + int(c.lines[i].size()) / 2, start + 1};
      for (int p : samples) {
        if (p > end || InsidePair(text, p))
          continue;
        const QPoint pt = W->PosFromChar(p);
        EXPECT_EQ(W->CharFromPos(pt + QPoint(0, 2)), p) << "line " << i << " pos " << p;
      }
    }
    EXPECT_EQ(W->PosFromChar(text.size() + 1), QPoint(-1, -1));
    EXPECT_EQ(W->PosFromChar(-1), QPoint(-1, -1));
  }
}

TEST_P(ScreenTable, ScrollingByLinesAndToTheCaret)
{
  QString text;
  for (int i = 0; i < 200; ++i)
    text += QStringLiteral("line %1\r\n").arg(i);
  W->SetText(text);
  QApplication::processEvents();
  EXPECT_EQ(W->GetFirstVisibleLine(), 0);
  const int visible = W->ClientSize().height() / qMax(1, W->LineHeight());
  ASSERT_GT(visible, 3);

  W->LineScroll(10);
  EXPECT_EQ(W->GetFirstVisibleLine(), 10);
  // A scrolled-away line has a negative y.
  EXPECT_LT(W->PosFromChar(W->LineIndex(2)).y(), 0);
  EXPECT_EQ(W->CharFromPos(W->PosFromChar(W->LineIndex(12)) + QPoint(0, 2)), W->LineIndex(12));
  W->LineScroll(-3);
  EXPECT_EQ(W->GetFirstVisibleLine(), 7);
  W->LineScroll(-100);
  EXPECT_EQ(W->GetFirstVisibleLine(), 0);

  // Selecting does not scroll; EM_SCROLLCARET brings the caret into view.
  W->SetSel(W->LineIndex(150), W->LineIndex(150));
  EXPECT_EQ(W->GetFirstVisibleLine(), 0);
  auto wholeInView = [&](int line) {
    const int y = W->PosFromChar(W->LineIndex(line)).y();
    return y >= 0 && y + W->LineHeight() <= W->ClientSize().height();
  };
  EXPECT_FALSE(wholeInView(150));
  W->ScrollCaret();
  EXPECT_TRUE(wholeInView(150));
  EXPECT_LE(W->GetFirstVisibleLine(), 150);
  EXPECT_GT(W->GetFirstVisibleLine(), 150 - visible - 1);

  // Setting the selection length scrolls its end into view.
  W->LineScroll(-1000);
  W->SetSelStart(W->LineIndex(100));
  EXPECT_EQ(W->GetFirstVisibleLine(), 0);
  W->SetSelLength(3);
  EXPECT_TRUE(wholeInView(100));
}

TEST_P(ScreenTable, BackgroundColourAndErase)
{
  const quint32 red = 0x0000FF; // COLORREF: 0x00BBGGRR
  W->SetBackgroundColor(red);
  EXPECT_EQ(W->SetBackgroundColor(0x00FF00), red) << "answers the previous colour";
  QImage image(W->ClientSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  W->EraseBackground(&image);
  EXPECT_EQ(image.pixel(5, 5), qRgb(0, 255, 0));
  EXPECT_EQ(W->SetBackgroundColor(CLR_DEFAULT), 0x00FF00u);
  const QColor system = QGuiApplication::palette().color(QPalette::Base);
  EXPECT_EQ(W->SetBackgroundColor(CLR_DEFAULT), quint32(system.red()) |
                                                    (quint32(system.green()) << 8) |
                                                    (quint32(system.blue()) << 16));
}

TEST_P(ScreenTable, RedrawOffSuppressesPaintingUntilOn)
{
  W->SetText("paint me");
  QApplication::processEvents();
  struct Counter : QObject {
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
      paints += e->type() == QEvent::Paint ? 1 : 0;
      return false;
    }
  } counter;
  QWidget *viewport = Holder.Widget->findChild<QWidget *>(QStringLiteral("qt_scrollarea_viewport"));
  ASSERT_NE(viewport, nullptr);
  viewport->installEventFilter(&counter);

  W->SetRedraw(false);
  W->SetText("changed while frozen");
  W->Invalidate();
  W->Update();
  W->Repaint();
  QApplication::processEvents();
  EXPECT_EQ(counter.paints, 0);
  EXPECT_EQ(W->GetText(), "changed while frozen") << "editing goes on while redraw is off";

  W->SetRedraw(true);
  W->Update();
  QApplication::processEvents();
  EXPECT_GT(counter.paints, 0);
  viewport->removeEventFilter(&counter);
}

INSTANTIATE_TEST_SUITE_P(Surfaces, ScreenTable, ::testing::Values(TSurface::Rich, TSurface::Plain),
                         [](const auto &info) { return std::string(SurfaceName(info.param)); });

// --- Rich-only painting ------------------------------------------------------------------------

class RichPaint : public ::testing::Test {
protected:
  RichPaint()
  {
    Ed.resize(420, 300);
    Ed.show();
    QApplication::processEvents();
  }
  TWrightRichEdit Ed;
  HWND W = &Ed;
};

QImage WhiteImage(int w, int h)
{
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

int InkIn(const QImage &image, const QRect &r)
{
  return CountPixels(image.copy(r), [](QRgb p) { return qGray(p) < 160; });
}

TEST_F(RichPaint, FormatRangeRendersFromAPositionIntoAnImage)
{
  W->SetText("MMMM first\r\n\r\nWWWW third");
  QImage image = WhiteImage(400, 200);
  const double tw = 1440.0 / image.logicalDpiX();
  const QRect twips(0, 0, int(400 * tw), int(200 * tw));

  W->ClearFormatCache();
  EXPECT_EQ(W->FormatRange(&image, 0, twips), W->GetTextLength()) << "all of it fits";
  const int lineH = W->LineHeight();
  EXPECT_GT(InkIn(image, QRect(0, 0, 400, lineH)), 20) << "line 0 on the top row";
  EXPECT_GT(InkIn(image, QRect(0, 2 * lineH, 400, lineH)), 20) << "line 2 two rows down";

  // From line 2: its top lands on the rectangle's top, nothing above it is drawn.
  QImage from2 = WhiteImage(400, 200);
  EXPECT_EQ(W->FormatRange(&from2, W->LineIndex(2), twips), W->GetTextLength());
  EXPECT_GT(InkIn(from2, QRect(0, 0, 400, lineH)), 20);
  EXPECT_EQ(InkIn(from2, QRect(0, lineH, 400, 200 - lineH)), 0);

  // Into an offset rectangle: nothing outside it.
  QImage offset = WhiteImage(400, 200);
  const QRect inner(int(100 * tw), int(50 * tw), int(300 * tw), int(150 * tw));
  W->FormatRange(&offset, 0, inner);
  EXPECT_EQ(InkIn(offset, QRect(0, 0, 400, 50)), 0);
  EXPECT_EQ(InkIn(offset, QRect(0, 0, 100, 200)), 0);
  EXPECT_GT(InkIn(offset, QRect(100, 50, 300, 150)), 20);

  // A rectangle one line high: rendering stops before the first line that does not fit.
  QImage small = WhiteImage(400, 200);
  const int next = W->FormatRange(&small, 0, QRect(0, 0, int(400 * tw), int(lineH * 1.5 * tw)));
  EXPECT_GT(next, 0);
  EXPECT_LT(next, W->GetTextLength());
  EXPECT_EQ(InkIn(small, QRect(0, 2 * lineH, 400, 200 - 2 * lineH)), 0);
}

TEST_F(RichPaint, HideSelectionDrawsTheSelectionOnlyWithFocusOrWhenOff)
{
  W->SetText("WWWWWWWWWWWWWWWW");
  W->SelectAll();
  const QColor highlight =
      QGuiApplication::palette().color(QPalette::Inactive, QPalette::Highlight);
  ASSERT_NE(highlight, QGuiApplication::palette().color(QPalette::Inactive, QPalette::Base));
  auto highlighted = [&] {
    const QImage image = Ed.viewport()->grab().toImage();
    return CountPixels(image, [&](QRgb p) { return p == highlight.rgb(); });
  };
  Ed.clearFocus();
  ASSERT_FALSE(Ed.hasFocus());
  EXPECT_EQ(highlighted(), 0) << "hidden without focus from the start";
  W->SetHideSelection(false);
  EXPECT_GT(highlighted(), 50) << "kept visible without focus";
  W->SetHideSelection(true);
  EXPECT_EQ(highlighted(), 0) << "hidden without focus";
  W->SetHideSelection(false);
  EXPECT_GT(highlighted(), 50);
  // A new background keeps a hidden selection hidden.
  W->SetHideSelection(true);
  W->SetBackgroundColor(0x00E0E0);
  {
    const QImage image = Ed.viewport()->grab().toImage();
    EXPECT_EQ(CountPixels(image, [&](QRgb p) { return p == highlight.rgb(); }), 0);
    EXPECT_GT(CountPixels(image, [&](QRgb p) { return p == qRgb(0xE0, 0xE0, 0); }), 1000);
  }
  W->SetHideSelection(false);

  // With focus the selection shows whatever the setting.
  W->SetHideSelection(true);
  Ed.setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(Ed.hasFocus());
  const QColor active = QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight);
  const QImage image = Ed.viewport()->grab().toImage();
  EXPECT_GT(CountPixels(image, [&](QRgb p) { return p == active.rgb(); }), 50);
}

} // namespace
