#pragma once
// What the check session needs of the widget layers: the spelling dialog form, the controller
// placed on it, and the few desktop services a check uses (message boxes, the busy cursor).
// The session is QtCore only; the dialog layers implement these interfaces.
//
// The spelling dialog is a QObject (its form widget) that also derives from TSpellDialogForm;
// the session finds the interface with dynamic_cast, and the controller as the first object
// among the form's children that derives from TSpellDialogController. A form or host that
// lacks the interface is simply not shown, placed or asked: the check still runs to its end.
//
// Screen rectangles follow the placement helpers of the widget layer: Right and Bottom are
// exclusive (QRect(x, y, width, height) read through x(), y(), width(), height()).

#include "wrTypes.h"
#include "wrUtil.h"

#include <QPoint>
#include <QRect>
#include <QString>

class TCustomDictionary;
class TWrightSpellBase;

// The spelling dialog form as the check sees it.
class TSpellDialogForm {
public:
  virtual ~TSpellDialogForm();

  // The help file and context of the spelling dialog, given once to a new form.
  virtual void SetHelp(const QString &HelpFile, qint32 HelpContext) = 0;

  // Modeless use: make the form visible / hide it.
  virtual void ShowModeless() = 0;
  virtual void HideModeless() = 0;
  // Modal use: runs the form modally and returns when EndModal is called (or the user closes it).
  virtual void RunModal() = 0;
  // Ends a modal run with the OK result.
  virtual void EndModal() = 0;

  // The frame rectangle (window with its frame) in screen coordinates.
  virtual QRect FrameRect() = 0;
  // Moves the frame's top-left corner, as it is (no work-area correction).
  virtual void MoveTo(const QPoint &TopLeft) = 0;
  // Moves the frame to TopLeft, shifted into the work area of its monitor.
  virtual void MoveInsideWorkArea(const QPoint &TopLeft) = 0;
  // Puts the frame beside Anchor: below it (above when it does not fit) when Vertical,
  // left-aligned with it when Horizontal; then keeps it inside the work area.
  virtual void PlaceNearRect(const QRect &Anchor, bool Horizontal, bool Vertical) = 0;
  // The whole rectangle of the monitor the form is on.
  virtual QRect MonitorRect() = 0;
  // The primary screen and the virtual desktop.
  virtual QRect ScreenRect() = 0;
  virtual QRect DesktopRect() = 0;
  // Leaves the position to the window system (first show only).
  virtual void UseDefaultPosition() = 0;

  // The form's show, activate and deactivate events. The form raises each when it happens;
  // its own handlers sit here, and the session chains in front of them while it uses the form.
  TNotifyEvent OnShow;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
};

// The controller on the spelling dialog form (the widget layer's TConfigurationDialogCtrl).
class TSpellDialogController {
public:
  virtual ~TSpellDialogController();

  // Binding: the session sets itself (ignored by a controller that already has one) and the
  // dictionary the form edits (none for the spelling dialog).
  virtual void SetWrightSpell(TWrightSpellBase *WrightSpell) = 0;
  virtual void SetCustomDictionary(TCustomDictionary *CustomDictionary) = 0;
  // The word hook: called with each word the dialog is to show; empty when unassigned.
  virtual TWordPromptEvent PromptWordHook() = 0;
};

// Desktop services of a check that are not tied to the dialog.
class TSpellCheckHost {
public:
  virtual ~TSpellCheckHost();

  // An information message box with an OK button.
  virtual void ShowInformation(const QString &Text, const QString &Caption) = 0;
  // A Yes/No question box; true for Yes.
  virtual bool AskYesNo(const QString &Text, const QString &Caption) = 0;
  // The busy (hourglass) cursor on or off; calls come in pairs.
  virtual void SetBusyCursor(bool Busy) = 0;
};
