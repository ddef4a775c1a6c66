#include "rtFormPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

// A top-level form of a fixed size on the (offscreen) primary screen.
class FormPlacementTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    FForm.setGeometry(QRect(100, 100, 300, 200));
    FWork = FormScreen(&FForm)->availableGeometry();
    FMonitor = FormScreen(&FForm)->geometry();
    ASSERT_GE(FWork.width(), 600);
    ASSERT_GE(FWork.height(), 400);
  }
  QPoint Pos() const { return FForm.frameGeometry().topLeft(); }
  int W() const { return FForm.frameGeometry().width(); }
  int H() const { return FForm.frameGeometry().height(); }

  QWidget FForm;
  QRect FWork, FMonitor;
};

} // namespace

TEST_F(FormPlacementTest, MoveFormInsideWorkArea)
{
  const int right = FWork.x() + FWork.width();
  const int bottom = FWork.y() + FWork.height();
  const struct {
    const char *name;
    int x, y;
    QPoint expected;
  } cases[] = {
      {"inside", FWork.x() + 10, FWork.y() + 20, {FWork.x() + 10, FWork.y() + 20}},
      {"left of and above", FWork.x() - 50, FWork.y() - 70, FWork.topLeft()},
      {"beyond right and bottom", right - 10, bottom - 5, {right - W(), bottom - H()}},
      {"exactly fitting", right - W(), bottom - H(), {right - W(), bottom - H()}},
  };
  for (const auto &c : cases) {
    MoveFormInsideWorkArea(&FForm, c.x, c.y);
    EXPECT_EQ(Pos(), c.expected) << c.name;
    EXPECT_EQ(FForm.size(), QSize(300, 200)) << c.name;
  }
  MoveFormInsideWorkArea(nullptr, 0, 0); // ignored
}

TEST_F(FormPlacementTest, PlaceFormNearRect)
{
  const int monRight = FMonitor.x() + FMonitor.width();
  const int monBottom = FMonitor.y() + FMonitor.height();
  const QRect word(FWork.x() + 40, FWork.y() + 50, 60, 16);
  const QRect nearBottom(FWork.x() + 40, monBottom - 30, 60, 16);
  const QRect nearRight(monRight - 100, FWork.y() + 50, 60, 16);
  const QPoint start(FWork.x() + 200, FWork.y() + 150);
  const struct {
    const char *name;
    QRect anchor;
    bool alignLeft, placeBelow;
    QPoint expected;
  } cases[] = {
      {"below, left-aligned", word, true, true, {word.x(), word.y() + word.height()}},
      {"below only", word, false, true, {start.x(), word.y() + word.height()}},
      {"left-aligned only", word, true, false, {word.x(), start.y()}},
      {"neither", word, false, false, start},
      {"no room below: above", nearBottom, true, true, {nearBottom.x(), nearBottom.y() - H()}},
      {"beyond the right edge",
       nearRight,
       true,
       true,
       {monRight - W(), nearRight.y() + nearRight.height()}},
  };
  for (const auto &c : cases) {
    FForm.move(start);
    PlaceFormNearRect(&FForm, c.anchor, c.alignLeft, c.placeBelow);
    EXPECT_EQ(Pos(), c.expected) << c.name;
  }
}
