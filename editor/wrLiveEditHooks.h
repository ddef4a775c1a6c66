#pragma once
// The narrow interface through which an editing widget hands its events to a live spelling
// engine, and through which it configures that engine. The editor layer declares it; the live
// spelling layer (spell/live, TWrightLiveRichEdit) implements it. TWrightRichEdit owns one and
// calls each hook at the moment its comment names; a Boolean result true means "go on with the
// widget's own handling of the event".
//
// Coordinates are client (viewport) coordinates unless a name says screen. No hook raises.

#include "wrTypes.h"

#include <QColor>
#include <QPoint>
#include <QString>
#include <QtGlobal>

class QObject;
class QPaintDevice;
class QPaintEvent;
class TWrightSpellBase;

class TLiveEditHooks {
public:
  virtual ~TLiveEditHooks() = default;

  // --- Hooks, in the order a host calls them --------------------------------------------------
  // A paint of the client area is due, before the widget paints. False: the engine painted the
  // whole request itself. PaintCleanup: call WMPaintCleanup after the widget painted.
  virtual bool WMPaint(QPaintEvent *Message, bool &PaintCleanup) = 0;
  // After the widget painted, still inside the same paint.
  virtual void WMPaintCleanup(QPaintEvent *Message) = 0;
  // An erase of the background into Device (the window's own when null). False: suppress it.
  // For hosts with a separate erase step; Qt widgets fill their background inside the paint.
  virtual bool WMEraseBkgnd(QPaintDevice *Device) = 0;
  // A context-menu request at a screen position, (-1, -1) from the keyboard. False: the live
  // menu handled it; true: show the widget's own menu.
  virtual bool WMContextMenu(const QPoint &ScreenPos) = 0;
  virtual void WMSize() = 0;                                       // before the widget resizes
  virtual bool WMKeyDown(int Key, Qt::KeyboardModifiers Modifiers) = 0; // subclass hosts only
  virtual void WMKeyUp() = 0;                                      // before the widget's key up
  virtual void KeyPress(QChar &Key) = 0;                           // each typed character
  virtual bool WMRButtonDown(const QPoint &ClientPos) = 0;         // subclass hosts only
  virtual bool WMRButtonUp(const QPoint &ClientPos) = 0;           // subclass hosts only
  virtual void EMSetReadOnly() = 0;      // after the read-only state changed
  virtual void EMSetTargetDevice() = 0;  // before the widget gets a target device / line width
  virtual void EMGetOleInterface() = 0;  // embedded objects were asked for
  virtual void WMKillFocus() = 0;        // after the widget lost the focus
  virtual void WMPaste() = 0;            // after a paste
  virtual void EMSetCharFormat() = 0;    // after character formatting was applied
  virtual void NotifySelectionChange() = 0; // after the selection or caret moved
  // AComponent is being removed (Removing) or inserted.
  virtual void Notification(QObject *AComponent, bool Removing) = 0;

  // --- Configuration (the engine's properties) -------------------------------------------------
  virtual QObject *WinControl() const = 0;
  virtual void SetWinControl(QObject *Value) = 0;
  virtual bool LiveSpelling() const = 0;
  virtual void SetLiveSpelling(bool Value) = 0;
  virtual bool LiveCorrect() const = 0;
  virtual void SetLiveCorrect(bool Value) = 0;
  virtual TWrightSpellBase *WrightSpell() const = 0;
  virtual void SetWrightSpell(TWrightSpellBase *Value) = 0;
  virtual QColor LiveSpellingColor() const = 0;
  virtual void SetLiveSpellingColor(const QColor &Value) = 0;
  virtual bool DoubleBuffered() const = 0;
  virtual void SetDoubleBuffered(bool Value) = 0;
  virtual bool LiveSpellingOptions() const = 0;
  virtual void SetLiveSpellingOptions(bool Value) = 0;
  virtual TSpellPopupOptions LiveMenuOptions() const = 0;
  virtual void SetLiveMenuOptions(TSpellPopupOptions Value) = 0;
  virtual bool LiveSpellingReadOnly() const = 0;
  virtual void SetLiveSpellingReadOnly(bool Value) = 0;
  virtual bool IrregularLeftMargin() const = 0;
  virtual void SetIrregularLeftMargin(bool Value) = 0;
  virtual bool IrregularLineHeights() const = 0;
  virtual void SetIrregularLineHeights(bool Value) = 0;
  virtual bool AggressiveContextMenu() const = 0;
  virtual void SetAggressiveContextMenu(bool Value) = 0;
  virtual QString ExpansionChars() const = 0;
  virtual void SetExpansionChars(const QString &Value) = 0;
  virtual const TWordCheckEvent &OnWordCheck() const = 0;
  virtual void SetOnWordCheck(const TWordCheckEvent &Value) = 0;
  // Runs a check of the attached window (the spelling dialog over its text).
  virtual void Check(TCheckType CheckType) = 0;
};
