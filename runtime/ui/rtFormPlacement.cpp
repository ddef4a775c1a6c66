#include "rtFormPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QScreen *FormScreen(const QWidget *Form)
{
  if (Form) {
    if (QScreen *s = QGuiApplication::screenAt(Form->frameGeometry().center()))
      return s;
    if (QScreen *s = Form->screen())
      return s;
  }
  return QGuiApplication::primaryScreen();
}

void PlaceFormNearRect(QWidget *Form, QRect Anchor, bool AlignLeft, bool PlaceBelow)
{
  if (!Form)
    return;
  // Frames here are what Qt reports, so the anchor needs no allowance for wide window frames.
  const int anchorLeft = Anchor.x();
  const int anchorTop = Anchor.y();
  const int anchorBottom = Anchor.y() + Anchor.height();
  const QRect frame = Form->frameGeometry();
  int x = frame.x();
  int y = frame.y();
  const QScreen *screen = FormScreen(Form);
  const QRect monitor = screen ? screen->geometry() : QRect();
  if (AlignLeft) {
    x = anchorLeft;
    if (screen && monitor.x() + monitor.width() < anchorLeft + frame.width())
      x = monitor.x() + monitor.width() - frame.width();
  }
  if (PlaceBelow) {
    if (!screen || anchorBottom + frame.height() <= monitor.y() + monitor.height())
      y = anchorBottom;
    else
      y = anchorTop - frame.height();
  }
  MoveFormInsideWorkArea(Form, x, y);
}

void MoveFormInsideWorkArea(QWidget *Form, int X, int Y)
{
  if (!Form)
    return;
  const QRect frame = Form->frameGeometry();
  if (const QScreen *screen = FormScreen(Form)) {
    const QRect work = screen->availableGeometry();
    const int right = work.x() + work.width();
    const int bottom = work.y() + work.height();
    X = std::max(X, work.x());
    Y = std::max(Y, work.y());
    if (X + frame.width() > right)
      X = right - frame.width();
    if (Y + frame.height() > bottom)
      Y = bottom - frame.height();
  }
  Form->move(X, Y);
}

void SetTabOrderChain(std::initializer_list<QWidget *> Controls)
{
  QWidget *previous = nullptr;
  for (QWidget *control : Controls) {
    if (previous)
      QWidget::setTabOrder(previous, control);
    previous = control;
  }
}
