// Underline placement of TWrightLiveRichEdit (declared in wrLiveRichEdit.h): the row bounds of
// a word, the baseline measured on the rendered text, the last line's baseline and the wavy line.
#include "wrLiveRichEdit.h"
#include "wrLiveRichEditPrivate.h"

#include "rtEditWindow.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <vector>

using wrLiveRichEditPrivate::Rgb;

quint32 TLiveCanvas::Pixel(int x, int y) const
{
  if (!Pixels || x < 0 || y < 0 || x >= Pixels->width() || y >= Pixels->height())
    return InvalidColor;
  return Pixels->pixel(x, y) & 0x00FFFFFFu;
}

// --- Underline placement -----------------------------------------------------------------------

void TWrightLiveRichEdit::RowBounds(int Pos, int &Top, int &NextTop) const
{
  Top = FHandle->PosFromChar(Pos).y();
  const int line = FHandle->LineFromChar(Pos);
  const int lineStart = FHandle->LineIndex(line);
  const int lineEnd = lineStart + FHandle->LineLength(lineStart);
  // The first position of the line on a lower row (rows only grow downwards). Most lines are
  // not wrapped: their end on the same row answers with one position lookup instead of a
  // search of seven (each lookup lays out the row again; 0.6 ms of a key in a 5 MB text).
  int lo = Pos + 1, hi = lineEnd + 1;
  if (lo <= lineEnd && FHandle->PosFromChar(lineEnd).y() <= Top)
    lo = hi;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (FHandle->PosFromChar(mid).y() > Top)
      hi = mid;
    else
      lo = mid + 1;
  }
  if (lo <= lineEnd) {
    NextTop = FHandle->PosFromChar(lo).y();
    return;
  }
  const int nextStart = FHandle->LineIndex(line + 1);
  NextTop = nextStart >= 0 ? FHandle->PosFromChar(nextStart).y() : -1;
}

qint32 TWrightLiveRichEdit::UnderlineBaseline(const TLiveCanvas &DC, qint32 Line, qint32 FromChar,
                                              qint32 ToChar, TLineChanged Changed)
{
  if (!HandleValid())
    return 0;
  int top = 0, nextTop = -1;
  RowBounds(FromChar, top, nextTop);
  // The metrics of the window's plain font, not of the text's.
  QWidget *client = ClientWidget();
  const QFontMetrics plain(client ? client->font() : QGuiApplication::font());
  int y = plain.height() + plain.leading() + top;
  if (nextTop >= 0) {
    if (FIrregularLineHeights && nextTop > top)
      y = MeasureBaseline(DC, Line, FHandle->PosFromChar(FromChar).x(), top, nextTop) + top;
    else if (nextTop > y)
      y = nextTop; // the zigzag in the last four pixels above the next line

    return y;
  }
  // The last row: the control's default font as a better estimate, then the pixels.
  QString face;
  int heightTwips = 0;
  FHandle->GetDefaultCharFormat(face, heightTwips);
  if (!face.isEmpty() && heightTwips > 0) {
    QFont font(face.left(32));
    font.setPointSize(qMax(1, heightTwips / 20));
    const QFontMetrics metrics(font);
    const int height = metrics.height() - 1;
    if (height + metrics.leading() + top > y)
      y = height + metrics.leading() + top;
  }
  return MeasureLastLineBaseline(DC, y - top, Line, FromChar, ToChar, top, Changed) + top;
}

qint32 TWrightLiveRichEdit::MeasureBaseline(const TLiveCanvas &DC, qint32 Line, qint32 X,
                                            qint32 Top, qint32 NextTop)
{
  const int h = NextTop - Top;
  TLineCache *cache =
      Line >= 0 && Line < int(FLineList.size()) ? FLineList[size_t(Line)].get() : nullptr;
  if (cache && cache->NextLineDelta == h && cache->DrawDelta > 0)
    return cache->DrawDelta;
  if (h <= 0)
    return h;
  const quint32 live = Rgb(FLiveColor);
  std::vector<int> counts(size_t(h), 0);
  int total = 0;
  for (int x = X;; ++x) {
    bool seen = false, bottomHit = false, haveFirst = false;
    quint32 first = 0;
    int change = 0;
    for (int r = 0; r < h; ++r) {
      const quint32 c = DC.Pixel(x, Top + r);
      if (c == TLiveCanvas::InvalidColor || c == live)
        continue;
      seen = true;
      if (!haveFirst) {
        first = c;
        haveFirst = true;
      } else if (c != first) {
        change = r;
      }
      if (r == h - 1)
        bottomHit = true;
    }
    if (change > 0 && bottomHit) {
      ++total;
      ++counts[size_t(change)];
    }
    if (!seen || total > 6 * h)
      break;
  }
  int best = 0;
  for (int r = 1; r < h; ++r)
    if (counts[size_t(r)] > counts[size_t(best)])
      best = r;
  if (best > 0 && counts[size_t(best)] > 5) {
    const int result = best + 4;
    if (cache) {
      cache->NextLineDelta = h;
      cache->DrawDelta = result;
    }
    return result;
  }
  return h;
}

qint32 TWrightLiveRichEdit::MeasureLastLineBaseline(const TLiveCanvas &DC, qint32 Estimate,
                                                    qint32 Line, qint32 FromChar, qint32 ToChar,
                                                    qint32 Top, TLineChanged Changed)
{
  TLineCache *cache =
      Line >= 0 && Line < int(FLineList.size()) ? FLineList[size_t(Line)].get() : nullptr;
  if (!cache)
    return Estimate;
  if (!Changed && cache->NextLineDelta == 0 && cache->DrawDelta > 0)
    return cache->DrawDelta;
  if (!DC.Pixels) {
    // The window itself cannot be read (an unbuffered paint, e.g. while the live menu's word is
    // selected): measure on the text rendered off-screen, as the buffered paint would.
    if (const QImage *image = MeasureSurface()) {
      TLiveCanvas rendered = DC;
      rendered.Pixels = image;
      return MeasureLastLineBaseline(rendered, Estimate, Line, FromChar, ToChar, Top, Changed);
    }
  }
  // Still no pixels (a window that cannot render its text, a row outside the surface): the last
  // measurement of this row stays. The estimate comes from the plain font and lands mid-height
  // on a row with larger text, where it would stay until that area repaints.
  const int kept = cache->NextLineDelta <= 1 ? cache->DrawDelta : 0;
  const auto unmeasured = [&] { return kept > 0 ? kept : Estimate; };
  const int a = FHandle->PosFromChar(FromChar).x();
  const int b = FHandle->PosFromChar(ToChar).x();
  const quint32 live = Rgb(FLiveColor);

  // Quick probe on two rows: does one colour fill most of the lower row?
  struct TProbeRow {
    bool haveFirst = false, haveSecond = false;
    quint32 first = 0, second = 0;
    int firstCount = 0, secondCount = 0;
  } rows[2];
  const int probeY[2] = {Top + Estimate - 8, Top + Estimate - 3};
  for (int x = a; x <= b; ++x) {
    for (int r = 0; r < 2; ++r) {
      const quint32 c = DC.Pixel(x, probeY[r]);
      if (c == TLiveCanvas::InvalidColor)
        return unmeasured();
      TProbeRow &row = rows[r];
      if (!row.haveFirst) {
        if (c != live) {
          row.first = c;
          row.haveFirst = true;
          row.firstCount = 1;
        }
      } else if (c == row.first) {
        ++row.firstCount;
      } else if (!row.haveSecond) {
        if (c != live) {
          row.second = c;
          row.haveSecond = true;
          row.secondCount = 1;
        }
      } else if (c == row.second) {
        ++row.secondCount;
      }
    }
  }
  cache->NextLineDelta = 0;
  cache->DrawDelta = 0;
  if (!rows[0].haveSecond) {
    cache->NextLineDelta = 1;
  } else {
    // Round half to even, as the threshold was defined.
    const int t = int(std::nearbyint((b - a) * 0.85));
    if (rows[1].firstCount > t || rows[1].secondCount > t) {
      cache->DrawDelta = Estimate;
      if (Line > 0 && !FIrregularLineHeights)
        return Estimate;
    }
  }

  // Full scan: the lowest ink row of each column, the most frequent one wins.
  CacheBackgroundColor();
  const quint32 background = Rgb(FBackgroundColor);
  constexpr int Rows = 300;
  std::vector<int> counts(Rows, 0);
  for (int x = a; x <= b; ++x) {
    bool valid = true, haveFirst = false;
    quint32 first = 0;
    int last = 0;
    for (int r = 0; r < Rows; ++r) {
      const quint32 c = DC.Pixel(x, Top + r);
      if (c == TLiveCanvas::InvalidColor) {
        valid = r > 0;
        break;
      }
      if (!haveFirst) {
        if (c != live) {
          first = c;
          haveFirst = true;
        }
      } else if (c != first) {
        if (c != live && c != background)
          last = r;
      } else if (last > 0 && r - 15 > last) {
        break; // well below the ink
      }
    }
    if (last > 0 && valid && last < Rows)
      ++counts[size_t(last)];
  }
  int best = 0, best3 = 2, late = 0;
  for (int r = 1; r < Rows; ++r) {
    if (counts[size_t(r)] > counts[size_t(best)]) {
      best = r;
      late = r;
    }
    if (r > 3 && counts[size_t(r)] + counts[size_t(r - 1)] + counts[size_t(r - 2)] >
                     counts[size_t(best3)] + counts[size_t(best3 - 1)] + counts[size_t(best3 - 2)])
      best3 = r;
    if (r > late && late > 0 && counts[size_t(r)] >= counts[size_t(late)] / 3 &&
        counts[size_t(r)] + (r - late) >= counts[size_t(late)])
      late = r;
  }
  if (best > 0 && best < best3)
    best = best3;
  if (late > 0 && best < late)
    best = late;
  if (best > 0 && counts[size_t(best)] > 0) {
    cache->DrawDelta = best + 4;
    return best + 4;
  }
  return Estimate;
}

std::vector<QPoint> TWrightLiveRichEdit::SquigglePoints(qint32 Y, qint32 FromChar, qint32 ToChar)
{
  std::vector<QPoint> points;
  if (!HandleValid())
    return points;
  const int a = FHandle->PosFromChar(FromChar).x();
  const int b = FHandle->PosFromChar(ToChar).x();
  bool up = true;
  for (int x = a; points.size() < 1024 && x < b; x += 2) {
    points.emplace_back(x, up ? Y - 4 : Y - 2);
    up = !up;
  }
  if (!points.empty())
    points.back().setX(b);
  return points;
}

void TWrightLiveRichEdit::DrawSquiggle(const TLiveCanvas &DC, qint32 Y, qint32 FromChar,
                                       qint32 ToChar)
{
  if (!DC.Painter)
    return;
  const std::vector<QPoint> points = SquigglePoints(Y, FromChar, ToChar);
  if (points.size() == 1)
    DC.Painter->drawPoint(points.front());
  else if (!points.empty())
    DC.Painter->drawPolyline(points.data(), int(points.size()));
}
