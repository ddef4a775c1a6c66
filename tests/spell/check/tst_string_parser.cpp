#include "wrStringParser.h"

#include <gtest/gtest.h>

namespace {
struct Cursor {
  int x = 0, y = 0;
};
Cursor Pos(TStringParser &p)
{
  Cursor c;
  p.GetPosition(c.x, c.y);
  return c;
}
} // namespace

TEST(StringParser, ReadsOneBasedAndReachesJustPastTheEnd)
{
  QString text = QStringLiteral("ab");
  TStringParser p;
  p.Initialize(&text);
  EXPECT_EQ(Pos(p).x, 1);
  EXPECT_EQ(p.GetChar(), QChar(u'a'));
  EXPECT_TRUE(p.MoveNext());
  EXPECT_EQ(p.GetChar(), QChar(u'b'));
  EXPECT_TRUE(p.MoveNext()); // 2 -> 3: just past the end is reachable
  EXPECT_EQ(Pos(p).x, 3);
  EXPECT_EQ(p.GetChar(), QChar(0));
  EXPECT_FALSE(p.MoveNext()); // 3 -> 4 fails
  EXPECT_EQ(p.GetChar(), QChar(0));
  EXPECT_EQ(p.GetLine(), text);
}

TEST(StringParser, MovePreviousStopsAtTheFirstCharacter)
{
  QString text = QStringLiteral("ab");
  TStringParser p;
  p.Initialize(&text);
  p.SetPosition(2, 7, ptCurrent);
  EXPECT_EQ(Pos(p).y, 0); // one line only
  EXPECT_TRUE(p.MovePrevious());
  EXPECT_EQ(Pos(p).x, 1);
  EXPECT_FALSE(p.MovePrevious());
  EXPECT_EQ(Pos(p).x, 1);
  p.SetPosition(-5, 0, ptCurrent);
  EXPECT_EQ(Pos(p).x, 1); // clamped to the first character
}

TEST(StringParser, EndLimitStopsAndFollowsReplacement)
{
  QString text = QStringLiteral("abc");
  TStringParser p;
  p.Initialize(&text);
  p.SetPosition(2, 0, ptEnd);
  p.SetPosition(2, 0, ptCurrent);
  EXPECT_FALSE(p.MoveNext());       // 2 -> 3 passes the limit
  EXPECT_EQ(p.GetChar(), QChar(0)); // and reads as no text
  p.SetPosition(3, 0, ptCurrent);
  // The cursor stands just behind "b": select it and replace it.
  p.SelectWord(1);
  EXPECT_EQ(Pos(p).x, 2);
  p.ReplaceWord(QStringLiteral("xyz"), 0);
  EXPECT_EQ(text, QStringLiteral("axyzc")); // the caller's variable changed in place
  EXPECT_EQ(Pos(p).x, 5);
  // The limit moved by two to 4: position 4 is reachable, 5 is not.
  p.SetPosition(3, 0, ptCurrent);
  EXPECT_TRUE(p.MoveNext());
  EXPECT_EQ(p.GetChar(), QChar(u'z'));
  EXPECT_FALSE(p.MoveNext());
}

TEST(StringParser, SelectIgnoreAndShorterReplacement)
{
  QString text = QStringLiteral("one two three");
  TStringParser p;
  p.Initialize(&text);
  p.SetPosition(8, 0, ptCurrent); // just behind "two"
  p.SelectWord(3);
  EXPECT_EQ(Pos(p).x, 5);
  p.IgnoreWord(0);
  EXPECT_EQ(Pos(p).x, 8);
  p.SelectWord(3);
  p.ReplaceWord(QString(), 0);
  EXPECT_EQ(text, QStringLiteral("one  three"));
  EXPECT_EQ(Pos(p).x, 5);
}

TEST(StringParser, NoScreenPositionAndSelectionIsTheCursor)
{
  QString text = QStringLiteral("word");
  TStringParser p;
  p.Initialize(&text);
  p.SetPosition(3, 0, ptCurrent);
  int xs = 0, ys = 9, xe = 0, ye = 9;
  p.GetSelectionPosition(xs, ys, xe, ye);
  EXPECT_EQ(xs, 3);
  EXPECT_EQ(xe, 3);
  EXPECT_EQ(ys, 0);
  EXPECT_EQ(ye, 0);
  QRect r;
  p.GetControlScreenPosition(r);
  EXPECT_EQ(r.left(), -1);
  EXPECT_EQ(r.top(), -1);
  EXPECT_EQ(r.right(), -1);
  EXPECT_EQ(r.bottom(), -1);
  p.GetSelectionScreenPosition(r);
  EXPECT_EQ(r.left(), -1);
  EXPECT_EQ(r.bottom(), -1);
}

TEST(StringParser, NullVariableReadsAsEmptyText)
{
  TStringParser p;
  p.Initialize(static_cast<QString *>(nullptr));
  EXPECT_EQ(p.GetChar(), QChar(0));
  EXPECT_FALSE(p.MoveNext()); // position 1 is already past the end
  p.SelectWord(1);
  p.ReplaceWord(QStringLiteral("x"), 0); // must not crash
  EXPECT_TRUE(p.GetLine().isEmpty());
}
