#include "RichTextEdControls.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFormLayout>
#include <QIcon>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>
#include <QVBoxLayout>
#include <iterator>

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
  p.drawText(contentsRect(),
             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextExpandTabs, FCaption);
}

void TRulerPanel::resizeEvent(QResizeEvent *event)
{
  QFrame::resizeEvent(event);
  if (OnResize)
    OnResize(this);
}

// --- Font dialog -----------------------------------------------------------------------------------

namespace {

struct TBasicColor {
  const char *Name;
  quint32 Value; // 0x00BBGGRR
};

// The colour list of the classic font dialog, in its order.
constexpr TBasicColor BasicColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Grey", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};

QIcon Swatch(quint32 c)
{
  QPixmap pm(16, 12);
  pm.fill(QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)));
  QPainter p(&pm);
  p.setPen(Qt::black);
  p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
  return QIcon(pm);
}

} // namespace

TFontDialog::TFontDialog(QWidget *parent) : QDialog(parent)
{
  setWindowTitle(QStringLiteral("Font"));
  setModal(true);
  FontPanel = new QFontDialog(this);
  FontPanel->setObjectName(QStringLiteral("FontPanel"));
  FontPanel->setOptions(QFontDialog::DontUseNativeDialog | QFontDialog::NoButtons);
  FontPanel->setWindowFlags(Qt::Widget);
  FontPanel->setSizeGripEnabled(false);
  ColorBox = new QComboBox(this);
  ColorBox->setObjectName(QStringLiteral("ColorBox"));
  for (const TBasicColor &c : BasicColors)
    ColorBox->addItem(Swatch(c.Value), QLatin1String(c.Name), c.Value);
  Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto *colour = new QFormLayout;
  colour->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
  colour->addRow(QStringLiteral("&Colour:"), ColorBox);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(FontPanel);
  layout->addLayout(colour);
  layout->addWidget(Buttons);
  FontPanel->show();
}

QFont TFontDialog::Font() const { return FontPanel->currentFont(); }

void TFontDialog::SetFont(const QFont &font)
{
  QFont shown = font;
  // The panel lists installed faces only; a missing face is shown as the one drawn instead.
  if (!QFontDatabase::families().contains(font.family()))
    shown.setFamily(QFontInfo(font).family());
  FontPanel->setCurrentFont(shown);
}

quint32 TFontDialog::Color() const { return ColorBox->currentData().toUInt(); }

void TFontDialog::SetColor(quint32 color)
{
  color &= 0xFFFFFF;
  int index = ColorBox->findData(color);
  if (index < 0) {
    // One custom entry after the basic colours, holding the colour the dialog was opened with.
    const int custom = int(std::size(BasicColors));
    if (ColorBox->count() > custom)
      ColorBox->removeItem(custom);
    ColorBox->addItem(Swatch(color), QStringLiteral("Custom"), color);
    index = custom;
  }
  ColorBox->setCurrentIndex(index);
}

bool TFontDialog::Execute() { return exec() == QDialog::Accepted; }
