#include "RichTextEdControls.h"

#include <QLineEdit>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

TUpDown::TUpDown(QWidget *parent)
    : QWidget(parent), FUp(new QToolButton(this)), FDown(new QToolButton(this))
{
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  for (QToolButton *b : {FUp, FDown}) {
    b->setArrowType(b == FUp ? Qt::UpArrow : Qt::DownArrow);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    b->setFixedWidth(15);
    b->setIconSize(QSize(7, 5));
    layout->addWidget(b);
  }
  connect(FUp, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(FDown, &QToolButton::clicked, this, [this] { StepBy(-1); });
  setFixedWidth(15);
}

void TUpDown::SetRange(int min, int max)
{
  FMin = min;
  FMax = max;
  SetPosition(FPosition);
}

void TUpDown::SetPosition(int position)
{
  FPosition = qBound(FMin, position, FMax);
  if (FAssociate)
    FAssociate->setText(QString::number(FPosition));
}

void TUpDown::StepBy(int steps)
{
  // Start from what the box shows, as the user may have typed into it.
  int current = FPosition;
  if (FAssociate) {
    bool ok = false;
    const int typed = FAssociate->text().toInt(&ok);
    if (ok)
      current = typed;
  }
  if (OnChanging)
    OnChanging(this);
  SetPosition(current + steps * FIncrement);
}

TRulerPanel::TRulerPanel(QWidget *parent) : QFrame(parent)
{
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(1);
}

void TRulerPanel::SetCaption(const QString &caption)
{
  FCaption = caption;
  update();
}

void TRulerPanel::paintEvent(QPaintEvent *event)
{
  QFrame::paintEvent(event);
  QPainter p(this);
  p.setPen(palette().color(QPalette::WindowText));
  p.setFont(font());
  p.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs,
             FCaption);
}

void TRulerPanel::resizeEvent(QResizeEvent *event)
{
  QFrame::resizeEvent(event);
  if (OnResize)
    OnResize(this);
}
