#pragma once
// TWrightRichEditSubclass: live spelling for any edit widget we did not write. It attaches to
// the widget's window by filtering the widget's events (and its viewport's), which stands in
// for replacing the window procedure, and delivers the engine's hooks around the widget's own
// handling in the same order as TWrightRichEdit:
//   resize: WMSize, then the widget; focus out: the widget, then WMKillFocus;
//   paint: WMPaint, the widget's paint only when it answers true, then WMPaintCleanup;
//   context menu: the widget's own only when WMContextMenu answers true;
//   key press: KeyPress with the typed character and WMKeyDown (the widget's handling only when
//   it answers true); key release: WMKeyUp, the selection test, the widget;
//   right button down / up: WMRButtonDown / WMRButtonUp; left, middle button up: the selection
//   test; paste (the standard key): the widget, then WMPaste.
// The selection test calls NotifySelectionChange when the selection start moved since the last
// test (a foreign widget's own notifications are not relied on).
//
// The filter is removed when the window handle is replaced, when the object is freed, and when
// the widget is destroyed (the engine then forgets the window). An exception escaping a hook is
// caught and given to the application's error handler; the event then ends there.

#include "wrLiveRichEdit.h"

#include <QObject>

class TWrightRichEditSubclass : public TWrightLiveRichEdit {
public:
  TWrightRichEditSubclass();
  ~TWrightRichEditSubclass() override;

  // Lets go of the previous window, attaches the engine, then filters the new window's widget.
  void SetWindowHandle(HWND Value) override;

  // The window currently filtered, or null.
  HWND SubclassHandle() const { return FSubclassHandle; }

private:
  class TFilter;
  friend class TFilter;
  // The event filter; true when the event was consumed.
  bool WindowProc(QObject *Watched, QEvent *Event);
  void SelectionTest();
  void Unsubclass();
  // Hands the event to the widget now (past this filter), so a hook can follow its handling.
  bool PassOn(QObject *Watched, QEvent *Event);

  HWND FSubclassHandle = nullptr;
  QPointer<QObject> FSubclassWidget;
  std::unique_ptr<TFilter> FInstance;
  QMetaObject::Connection FWidgetDestroyed;
  quint32 FLastStartPos = 0;
  bool FPassing = false;
};
