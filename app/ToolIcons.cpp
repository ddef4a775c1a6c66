#include "ToolIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor Ink(0x1F, 0x3A, 0x60);
const QColor Paper(0xFF, 0xFF, 0xFF);
const QColor PaperEdge(0x70, 0x80, 0x90);
const QColor Accent(0x1E, 0x6F, 0xC8);
const QColor Red(0xC8, 0x28, 0x28);
const QColor Green(0x2E, 0x8B, 0x3A);

class TIconPainter {
public:
  TIconPainter() : FPix(16, 16)
  {
    FPix.fill(Qt::transparent);
    P.begin(&FPix);
    P.setRenderHint(QPainter::Antialiasing, true);
    P.setRenderHint(QPainter::TextAntialiasing, true);
  }
  QIcon Done()
  {
    P.end();
    return QIcon(FPix);
  }

  void Page(const QRectF &r = QRectF(2.5, 1.5, 11, 13))
  {
    P.setPen(QPen(PaperEdge, 1));
    P.setBrush(Paper);
    P.drawRect(r);
  }
  void Lines(qreal x, qreal y, const QList<qreal> &widths, qreal step = 3, const QColor &c = Ink)
  {
    P.setPen(QPen(c, 1.2));
    for (qreal w : widths) {
      P.drawLine(QPointF(x, y), QPointF(x + w, y));
      y += step;
    }
  }
  void Text(const QRectF &r, const QString &s, int px, bool bold = true, const QColor &c = Ink,
            bool italic = false, bool serif = false)
  {
    QFont f(serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
    f.setPixelSize(px);
    f.setBold(bold);
    f.setItalic(italic);
    P.setFont(f);
    P.setPen(c);
    P.drawText(r, Qt::AlignCenter, s);
  }
  // A return arrow (line break) ending at the lower left of r.
  void BreakArrow(const QRectF &r, const QColor &c = Accent)
  {
    P.setPen(QPen(c, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    P.setBrush(Qt::NoBrush);
    const qreal x1 = r.right(), y1 = r.top(), y2 = r.bottom() - 1, x0 = r.left() + 1;
    QPainterPath path;
    path.moveTo(x1, y1);
    path.lineTo(x1, y2);
    path.lineTo(x0, y2);
    P.drawPath(path);
    P.drawLine(QPointF(x0, y2), QPointF(x0 + 3, y2 - 3));
    P.drawLine(QPointF(x0, y2), QPointF(x0 + 3, y2 + 3));
  }
  void Arrow(QPointF from, QPointF to, const QColor &c = Accent)
  {
    P.setPen(QPen(c, 1.4, Qt::SolidLine, Qt::RoundCap));
    P.drawLine(from, to);
    const QPointF d = (to - from) / std::max(1.0, std::hypot(to.x() - from.x(), to.y() - from.y()));
    const QPointF n(-d.y(), d.x());
    P.drawLine(to, to - d * 3 + n * 3);
    P.drawLine(to, to - d * 3 - n * 3);
  }
  void Clipboard()
  {
    P.setPen(QPen(QColor(0x6B, 0x4A, 0x2B), 1));
    P.setBrush(QColor(0xC8, 0x96, 0x5A));
    P.drawRoundedRect(QRectF(2.5, 2.5, 11, 13), 1, 1);
    P.setBrush(Paper);
    P.setPen(QPen(PaperEdge, 1));
    P.drawRect(QRectF(4.5, 4.5, 7, 9));
    P.setBrush(QColor(0x90, 0x90, 0x90));
    P.setPen(Qt::NoPen);
    P.drawRect(QRectF(5.5, 1, 5, 3));
  }

  QPainter P;

private:
  QPixmap FPix;
};

QIcon Draw(const QString &name)
{
  TIconPainter ip;
  QPainter &p = ip.P;
  auto separatorIcon = [&](const QString &sep) {
    ip.Text(QRectF(0, 0, 8, 12), sep, 12, true, Ink);
    ip.BreakArrow(QRectF(6, 3, 8, 10));
  };
  if (name == QLatin1String("ToolButton4")) { // close
    p.setPen(QPen(Red, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 4), QPointF(12, 12));
    p.drawLine(QPointF(12, 4), QPointF(4, 12));
  } else if (name == QLatin1String("UndoButton")) {
    p.setPen(QPen(Accent, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(4, 7);
    path.cubicTo(7, 3, 14, 4, 13, 10);
    path.cubicTo(12.5, 12, 11, 13, 9, 13);
    p.drawPath(path);
    p.setBrush(Accent);
    p.setPen(Qt::NoPen);
    p.drawPolygon(QPolygonF({QPointF(2, 3), QPointF(2, 10), QPointF(8, 9)}));
  } else if (name == QLatin1String("CutButton")) {
    p.setPen(QPen(Ink, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(2, 10, 4, 4));
    p.drawEllipse(QRectF(10, 10, 4, 4));
    p.drawLine(QPointF(5.5, 10.5), QPointF(11, 1.5));
    p.drawLine(QPointF(10.5, 10.5), QPointF(5, 1.5));
  } else if (name == QLatin1String("CopyButton")) {
    ip.Page(QRectF(1.5, 1.5, 8, 10));
    ip.Page(QRectF(6.5, 4.5, 8, 10));
    ip.Lines(8, 8, {5, 5, 3}, 2);
  } else if (name == QLatin1String("PasteButton")) {
    ip.Clipboard();
    ip.Lines(6, 7.5, {4, 4, 3}, 2);
  } else if (name == QLatin1String("ToolButton6")) { // clear
    ip.Page();
    p.setPen(QPen(Red, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(5, 5), QPointF(11, 11));
    p.drawLine(QPointF(11, 5), QPointF(5, 11));
  } else if (name == QLatin1String("ToolButton3")) { // spell checker set-up
    ip.Text(QRectF(0, 0, 16, 10), QStringLiteral("abc"), 8, true, Ink);
    p.setPen(QPen(Red, 1));
    QPainterPath wave;
    wave.moveTo(1, 11);
    for (int x = 1; x < 15; x += 2)
      wave.lineTo(x + 1, (x / 2) % 2 ? 11 : 13);
    p.drawPath(wave);
    p.setPen(QPen(Green, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 14), QPointF(11, 15.5));
    p.drawLine(QPointF(11, 15.5), QPointF(15, 10.5));
  } else if (name == QLatin1String("ToolButton8")) { // text editor
    ip.Page();
    ip.Lines(4.5, 4.5, {7, 6, 7, 4}, 2.5);
    p.setPen(QPen(QColor(0xD9, 0x8C, 0x1F), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9, 13), QPointF(14.5, 7.5));
  } else if (name == QLatin1String("ToolButton10")) { // spreadsheet
    p.setPen(QPen(Green, 1));
    p.setBrush(Paper);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(QColor(0xC9, 0xE7, 0xCC));
    p.drawRect(QRectF(1.5, 2.5, 13, 3));
    for (qreal x : {5.5, 10.0})
      p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
    for (qreal y : {8.5, 11.0})
      p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
  } else if (name == QLatin1String("DashIndent") || name == QLatin1String("ToolButton1") ||
             name == QLatin1String("ToolButton2") || name == QLatin1String("ToolButton7")) {
    const bool dash = name == QLatin1String("DashIndent") || name == QLatin1String("ToolButton1");
    const bool indent = name == QLatin1String("DashIndent") || name == QLatin1String("ToolButton2");
    ip.Lines(1, 2.5, {14});
    for (qreal y : {6.5, 10.0, 13.5}) {
      if (dash) {
        p.setPen(QPen(Accent, 1.4));
        p.drawLine(QPointF(indent ? 4 : 1, y), QPointF(indent ? 6 : 3, y));
      }
      ip.Lines(indent ? 8 : 5, y, {indent ? 7.0 : 10.0});
    }
    if (!dash) {
      if (indent)
        ip.Arrow(QPointF(1, 10), QPointF(6, 10));
      else
        ip.Arrow(QPointF(6, 10), QPointF(1, 10));
    } else if (!indent) {
      p.setPen(QPen(Red, 1.3));
      p.drawLine(QPointF(0.5, 8), QPointF(4.5, 12));
    }
  } else if (name == QLatin1String("ToolButton9")) {
    separatorIcon(QStringLiteral("|"));
  } else if (name == QLatin1String("ToolButton11")) {
    separatorIcon(QStringLiteral(","));
  } else if (name == QLatin1String("ToolButton19")) {
    separatorIcon(QStringLiteral("-"));
  } else if (name == QLatin1String("ToolButton22")) {
    separatorIcon(QStringLiteral(";"));
  } else if (name == QLatin1String("ToolButton23")) { // line breaks to semicolons
    ip.BreakArrow(QRectF(1, 2, 7, 8));
    ip.Text(QRectF(8, 2, 8, 13), QStringLiteral(";"), 13, true, Ink);
  } else if (name == QLatin1String("ToolButton24")) {
    separatorIcon(QStringLiteral("+"));
  } else if (name == QLatin1String("ToolButton12")) { // remove blank lines
    ip.Lines(1, 3, {12});
    ip.Lines(1, 13, {12});
    p.setPen(QPen(Red, 1.2, Qt::DotLine));
    p.drawLine(QPointF(1, 8), QPointF(13, 8));
    ip.Arrow(QPointF(15, 4), QPointF(15, 11), Accent);
  } else if (name == QLatin1String("ToolButton14")) { // trim
    ip.Lines(5, 8, {6});
    ip.Arrow(QPointF(0.5, 8), QPointF(4, 8));
    ip.Arrow(QPointF(15.5, 8), QPointF(12, 8));
    ip.Lines(5, 4, {6}, 0, PaperEdge);
    ip.Lines(5, 12, {6}, 0, PaperEdge);
  } else if (name == QLatin1String("ToolButton13")) { // ruler
    p.setPen(QPen(QColor(0x8A, 0x6D, 0x2F), 1));
    p.setBrush(QColor(0xF2, 0xD7, 0x8A));
    p.drawRect(QRectF(0.5, 5.5, 15, 6));
    for (int x = 2; x < 15; x += 2)
      p.drawLine(QPointF(x + 0.5, 5.5), QPointF(x + 0.5, x % 4 ? 7.5 : 9));
  } else if (name == QLatin1String("ToolButton15")) { // replace
    ip.Text(QRectF(0, 0, 8, 9), QStringLiteral("a"), 10, true, Ink);
    ip.Text(QRectF(8, 7, 8, 9), QStringLiteral("b"), 10, true, Accent);
    ip.Arrow(QPointF(3, 10), QPointF(7, 13));
  } else if (name == QLatin1String("ToolButton20")) { // proper case
    ip.Text(QRectF(0, 0, 16, 16), QStringLiteral("Aa"), 11, true, Ink);
  } else if (name == QLatin1String("ToolButton16")) { // to plain text
    ip.Page();
    ip.Text(QRectF(2, 1, 12, 14), QStringLiteral("T"), 11, true, Ink, false, true);
  } else if (name == QLatin1String("ToolButton18")) { // plain / rich
    ip.Text(QRectF(0, 0, 16, 16), QStringLiteral("\u00B6"), 14, true, Accent);
  } else if (name == QLatin1String("SpecialPasteBtn1")) { // all-in-one paste, dash-indented
    // Told apart from the plain one by its shape: a first line, then lines hanging behind bold
    // dashes, and a blue badge.
    ip.Clipboard();
    ip.Lines(5.5, 6.5, {5}, 2);
    p.setPen(QPen(Red, 1.6, Qt::SolidLine, Qt::FlatCap));
    for (qreal y : {9.0, 11.8}) {
      p.drawLine(QPointF(5.5, y), QPointF(7.3, y));
      ip.Lines(8.5, y, {3});
      p.setPen(QPen(Red, 1.6, Qt::SolidLine, Qt::FlatCap));
    }
    p.setBrush(Accent);
    p.setPen(QPen(Qt::white, 0.8));
    p.drawEllipse(QPointF(12.3, 3.7), 3.4, 3.4);
    p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(10.6, 3.7), QPointF(14, 3.7));
  } else if (name == QLatin1String("SpecialPasteBtn2")) { // all-in-one paste, no indent
    // Flush lines and a yellow star badge.
    ip.Clipboard();
    ip.Lines(5.5, 6.5, {5, 5, 5}, 2.7);
    p.setBrush(QColor(0xF5, 0xC2, 0x1B));
    p.setPen(QPen(QColor(0xA0, 0x70, 0x00), 0.8));
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
      const qreal a = -M_PI / 2 + i * M_PI / 5, r = i % 2 ? 1.6 : 3.8;
      star << QPointF(12 + r * std::cos(a), 4 + r * std::sin(a));
    }
    p.drawPolygon(star);
  } else if (name == QLatin1String("ToolButton17")) { // font dialog
    ip.Text(QRectF(0, 0, 16, 16), QStringLiteral("F"), 13, true, Ink, false, true);
  } else if (name == QLatin1String("BoldButton")) {
    ip.Text(QRectF(0, 0, 16, 16), QStringLiteral("B"), 13, true, Ink);
  } else if (name == QLatin1String("ItalicButton")) {
    ip.Text(QRectF(0, 0, 16, 16), QStringLiteral("I"), 13, false, Ink, true, true);
  } else if (name == QLatin1String("UnderlineButton")) {
    ip.Text(QRectF(0, -1, 16, 14), QStringLiteral("U"), 12, false, Ink);
    ip.Lines(3, 14.5, {10});
  } else if (name == QLatin1String("LeftAlign")) {
    ip.Lines(1.5, 2.5, {13, 9, 13, 9}, 3.5);
  } else if (name == QLatin1String("CenterAlign")) {
    ip.Lines(1.5, 2.5, {13}, 3.5);
    ip.Lines(3.5, 6, {9}, 3.5);
    ip.Lines(1.5, 9.5, {13}, 3.5);
    ip.Lines(3.5, 13, {9}, 3.5);
  } else if (name == QLatin1String("RightAlign")) {
    ip.Lines(1.5, 2.5, {13}, 3.5);
    ip.Lines(5.5, 6, {9}, 3.5);
    ip.Lines(1.5, 9.5, {13}, 3.5);
    ip.Lines(5.5, 13, {9}, 3.5);
  } else if (name == QLatin1String("BulletsButton")) {
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    for (qreal y : {3.0, 8.0, 13.0})
      p.drawEllipse(QPointF(2.5, y), 1.5, 1.5);
    ip.Lines(6, 3, {9, 9, 9}, 5);
  } else if (name == QLatin1String("BulletsNumButton")) {
    ip.Text(QRectF(0, -1, 5, 8), QStringLiteral("1"), 7, true, Ink);
    ip.Text(QRectF(0, 4, 5, 8), QStringLiteral("2"), 7, true, Ink);
    ip.Text(QRectF(0, 9, 5, 8), QStringLiteral("3"), 7, true, Ink);
    ip.Lines(6, 3, {9, 9, 9}, 5);
  } else {
    ip.Page();
  }
  return ip.Done();
}

} // namespace

QIcon ToolIcon(const QString &name) { return Draw(name); }
