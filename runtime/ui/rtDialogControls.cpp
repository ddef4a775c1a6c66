#include "rtDialogControls.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

void SetFixedDialogFrame(QWidget *Dialog)
{
  Dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
}

int TitleFrameWidth(const QString &Title)
{
  // Icon, three buttons and the edges: about 22 pixels each and 24 of padding in the common
  // themes (openbox, xfwm4, Metacity-like frames) at their default sizes.
  constexpr int FrameAllowance = 4 * 22 + 24;
  QFont font = QApplication::font();
  font.setBold(true);
  if (font.pointSizeF() < 11)
    font.setPointSizeF(11);
  return QFontMetrics(font).horizontalAdvance(Title) + FrameAllowance;
}

QPushButton *MakeButton(QWidget *Parent, const QString &Name, const QRect &Rect,
                        const QString &Caption)
{
  auto *b = new QPushButton(Caption, Parent);
  b->setObjectName(Name);
  if (!Rect.isNull())
    b->setGeometry(Rect);
  b->setAutoDefault(false);
  return b;
}

QLabel *MakeLabel(QWidget *Parent, const QString &Name, const QRect &Rect, QWidget *Buddy,
                  const QString &Caption)
{
  auto *l = new QLabel(Caption, Parent);
  l->setObjectName(Name);
  if (!Rect.isNull())
    l->setGeometry(Rect);
  if (Buddy)
    l->setBuddy(Buddy);
  return l;
}
