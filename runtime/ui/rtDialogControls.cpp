#include "rtDialogControls.h"

#include <QLabel>
#include <QPushButton>

void SetFixedDialogFrame(QWidget *Dialog)
{
  Dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint);
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
