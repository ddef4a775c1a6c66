#include "rtWidgetWindow.h"

#include "rtLineEditWindow.h"
#include "rtTextEditWindow.h"

#include <QAbstractScrollArea>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>

TWidgetWindow::TWidgetWindow(QWidget *widget) : FWidget(widget) {}

TWidgetWindow::~TWidgetWindow() = default;

QWidget *TWidgetWindow::ClientWidget() const
{
  if (auto *area = qobject_cast<QAbstractScrollArea *>(FWidget))
    return area->viewport();
  return FWidget;
}

QString TWidgetWindow::ClassName() const
{
  return QString::fromLatin1(FWidget->metaObject()->className());
}

std::vector<HWND> TWidgetWindow::Children() const
{
  // Child windows in creation order; adapter objects and other non-widgets are not windows.
  std::vector<HWND> result;
  for (QObject *child : FWidget->children()) {
    if (!child->isWidgetType() || static_cast<QWidget *>(child)->isWindow())
      continue;
    if (HWND w = TEditWindow::FromControl(child))
      result.push_back(w);
  }
  return result;
}

QRect TWidgetWindow::WindowRect() const
{
  return QRect(FWidget->mapToGlobal(QPoint(0, 0)), FWidget->size());
}

QSize TWidgetWindow::ClientSize() const { return ClientWidget()->size(); }

QPoint TWidgetWindow::ClientToScreen(const QPoint &p) const
{
  return ClientWidget()->mapToGlobal(p);
}

QPoint TWidgetWindow::ScreenToClient(const QPoint &p) const
{
  return ClientWidget()->mapFromGlobal(p);
}

int TWidgetWindow::LineHeight() const
{
  // tmHeight + tmExternalLeading
  return QFontMetrics(FWidget->font()).lineSpacing();
}

bool TWidgetWindow::HandleAllocated() const { return true; }

QObject *TWidgetWindow::Control() const { return FWidget; }

void TWidgetWindow::SetFocus()
{
  // As with a native window: focusing a control also activates its top-level window, so that
  // a command run from a modeless dialog leaves the keyboard, and the selection shown, in the
  // control. Asked for even when the window already counts as active: a click that is
  // activating another window may not have been reported yet.
  QWidget *top = FWidget->window();
  if (top->isVisible())
    top->activateWindow();
  FWidget->setFocus(Qt::OtherFocusReason);
}

void TWidgetWindow::Repaint()
{
  FWidget->update();
  ClientWidget()->repaint();
}

void TWidgetWindow::Invalidate(const QRect &r)
{
  if (r.isEmpty())
    ClientWidget()->update();
  else
    ClientWidget()->update(r);
}

void TWidgetWindow::Update()
{
  // Paint what is pending now (a hidden widget has nothing to paint).
  if (ClientWidget()->isVisible())
    ClientWidget()->repaint();
}

void TWidgetWindow::SetRedraw(bool redraw)
{
  ClientWidget()->setUpdatesEnabled(redraw);
  if (redraw)
    ClientWidget()->update();
}

namespace {

// Owns the adapter of a widget; a child object of the widget, so both go together.
class TEditWindowHolder : public QObject {
public:
  TEditWindowHolder(QWidget *widget, std::unique_ptr<TEditWindow> window)
      : QObject(widget), FWindow(std::move(window))
  {
  }
  ~TEditWindowHolder() override
  {
    // The widget is being destroyed: keep FromControl from answering a dead adapter.
    TEditWindow::Unregister(parent());
  }
  TEditWindow *Window() const { return FWindow.get(); }

private:
  std::unique_ptr<TEditWindow> FWindow;
};

HWND MakeWindow(QObject *control)
{
  auto *widget = qobject_cast<QWidget *>(control);
  if (!widget)
    return nullptr;
  std::unique_ptr<TEditWindow> window;
  if (auto *rich = qobject_cast<QTextEdit *>(widget))
    window = std::make_unique<TTextEditWindow>(rich, true);
  else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget))
    window = std::make_unique<TPlainEditWindow>(plain, false);
  else if (auto *line = qobject_cast<QLineEdit *>(widget))
    window = std::make_unique<TLineEditWindow>(line);
  else
    window = std::make_unique<TWidgetWindow>(widget);
  HWND result = window.get();
  new TEditWindowHolder(widget, std::move(window));
  TEditWindow::Register(widget, result);
  return result;
}

} // namespace

void InstallEditWindowFactory() { TEditWindow::SetFactory(&MakeWindow); }
