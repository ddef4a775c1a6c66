#include "wrRichEditSubclass.h"

#include "rtErrorBox.h"
#include "rtWidgetWindow.h"

#include <QAbstractScrollArea>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWidget>

// The stand-in for the replaced window procedure: filters the widget and its viewport.
class TWrightRichEditSubclass::TFilter : public QObject {
public:
  explicit TFilter(TWrightRichEditSubclass *owner) : FOwner(owner) {}

protected:
  bool eventFilter(QObject *watched, QEvent *event) override
  {
    if (FOwner->FPassing)
      return false; // an event handed on to the widget by the owner itself
    bool consumed = false;
    // Like an exception in a window procedure: reported, and the event ends there.
    if (!RunCommand([&] { consumed = FOwner->WindowProc(watched, event); }))
      return true;
    return consumed;
  }

private:
  TWrightRichEditSubclass *FOwner;
};

TWrightRichEditSubclass::TWrightRichEditSubclass() : FInstance(std::make_unique<TFilter>(this))
{
  // A foreign widget is reached through the edit-window factory; whoever attaches one may not
  // have installed it yet (the options dialog's sample).
  InstallEditWindowFactory();
}

TWrightRichEditSubclass::~TWrightRichEditSubclass()
{
  SetWinControl(nullptr);
  Unsubclass();
}

void TWrightRichEditSubclass::Unsubclass()
{
  if (FSubclassWidget) {
    FSubclassWidget->removeEventFilter(FInstance.get());
    if (auto *area = qobject_cast<QAbstractScrollArea *>(FSubclassWidget.data()))
      area->viewport()->removeEventFilter(FInstance.get());
  }
  QObject::disconnect(FWidgetDestroyed);
  FSubclassWidget = nullptr;
  FSubclassHandle = nullptr;
}

void TWrightRichEditSubclass::SetWindowHandle(HWND Value)
{
  Unsubclass();
  TWrightLiveRichEdit::SetWindowHandle(Value);
  auto *widget = Value ? qobject_cast<QWidget *>(Value->Control()) : nullptr;
  if (!widget)
    return;
  FSubclassHandle = Value;
  FSubclassWidget = widget;
  widget->installEventFilter(FInstance.get());
  if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
    area->viewport()->installEventFilter(FInstance.get());
  int start = 0, end = 0;
  Value->GetSel(start, end);
  FLastStartPos = quint32(start);
  // The window's end: its adapter is already gone, so the engine only forgets it.
  FWidgetDestroyed = QObject::connect(widget, &QObject::destroyed, [this] {
    FSubclassHandle = nullptr;
    FSubclassWidget = nullptr;
    FHandle = nullptr;
    FEdit = nullptr;
    FEditGiven = false;
    UpdateWatchState();
  });
}

void TWrightRichEditSubclass::SelectionTest()
{
  if (!FHandle)
    return;
  int start = 0, end = 0;
  FHandle->GetSel(start, end);
  if (quint32(start) != FLastStartPos) {
    FLastStartPos = quint32(start);
    NotifySelectionChange();
  }
}

bool TWrightRichEditSubclass::PassOn(QObject *Watched, QEvent *Event)
{
  FPassing = true;
  struct TReset {
    bool &Flag;
    ~TReset() { Flag = false; }
  } reset{FPassing};
  QCoreApplication::sendEvent(Watched, Event);
  return true;
}

bool TWrightRichEditSubclass::WindowProc(QObject *Watched, QEvent *Event)
{
  if (!FSubclassHandle)
    return false;
  switch (Event->type()) {
  case QEvent::Resize:
    if (Watched == FSubclassWidget)
      WMSize();
    return false;
  case QEvent::FocusOut:
    if (Watched != FSubclassWidget)
      return false;
    PassOn(Watched, Event);
    WMKillFocus();
    return true;
  case QEvent::Paint: {
    if (Watched == FSubclassWidget && qobject_cast<QAbstractScrollArea *>(Watched))
      return false; // the frame; the text is painted on the viewport
    bool cleanup = false;
    auto *paint = static_cast<QPaintEvent *>(Event);
    if (WMPaint(paint, cleanup))
      PassOn(Watched, Event);
    if (cleanup)
      WMPaintCleanup(paint);
    return true;
  }
  case QEvent::ContextMenu: {
    auto *menu = static_cast<QContextMenuEvent *>(Event);
    const QPoint at =
        menu->reason() == QContextMenuEvent::Keyboard ? QPoint(-1, -1) : menu->globalPos();
    return !WMContextMenu(at);
  }
  case QEvent::ReadOnlyChange:
    EMSetReadOnly();
    return false;
  case QEvent::KeyPress: {
    auto *key = static_cast<QKeyEvent *>(Event);
    if (!WMKeyDown(key->key(), key->modifiers()))
      return true;
    if (!key->text().isEmpty()) {
      QChar c = key->text().at(0);
      KeyPress(c);
    }
    if (key->matches(QKeySequence::Paste)) {
      PassOn(Watched, Event);
      WMPaste();
      return true;
    }
    return false;
  }
  case QEvent::KeyRelease:
    WMKeyUp();
    SelectionTest();
    return false;
  case QEvent::MouseButtonPress: {
    auto *mouse = static_cast<QMouseEvent *>(Event);
    if (mouse->button() == Qt::RightButton)
      return !WMRButtonDown(mouse->position().toPoint());
    return false;
  }
  case QEvent::MouseButtonRelease: {
    auto *mouse = static_cast<QMouseEvent *>(Event);
    if (mouse->button() == Qt::RightButton) {
      if (!WMRButtonUp(mouse->position().toPoint()))
        return true;
    }
    SelectionTest();
    return false;
  }
  default:
    return false;
  }
}
