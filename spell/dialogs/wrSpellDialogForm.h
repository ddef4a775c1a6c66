#pragma once
// The window side of a spelling dialog form: a QDialog that the check session can show, hide,
// run modally, place beside a word and hook (show, activate, deactivate). Both spelling
// dialogs derive from it.
//
// Closing the window (close box, Esc) asks CloseRequested, which the dialogs turn into Cancel.

#include "wrSpellDialogLink.h"
#include "wrTypes.h"

#include <QDialog>

class QPushButton;

class TSpellDialogBaseForm : public QDialog, public TSpellDialogForm {
  Q_OBJECT
public:
  explicit TSpellDialogBaseForm(QWidget *Parent = nullptr);

  void SetHelp(const QString &HelpFile, qint32 HelpContext) override;
  QString HelpFile() const { return FHelpFile; }
  qint32 HelpContext() const { return FHelpContext; }

  void ShowModeless() override;
  void HideModeless() override;
  void RunModal() override;
  void EndModal() override;
  QRect FrameRect() override;
  void MoveTo(const QPoint &TopLeft) override;
  void MoveInsideWorkArea(const QPoint &TopLeft) override;
  void PlaceNearRect(const QRect &Anchor, bool Horizontal, bool Vertical) override;
  QRect MonitorRect() override;
  QRect ScreenRect() override;
  QRect DesktopRect() override;
  void UseDefaultPosition() override;

  // Close box and Esc.
  void reject() override;

protected:
  // The command buttons both dialogs have, shown and enabled by the controller's command sets.
  struct TCommandButtons {
    QPushButton *Undo, *Options, *IgnoreAll, *Ignore, *ChangeAll, *Change, *Add, *AutoCorrect,
        *Help, *Cancel;
  };
  // Help shows only with a help context; Undo takes the place of a hidden Options button
  // rather than leaving a gap.
  static void ApplyCommandButtons(const TCommandButtons &Buttons, TSpellDialogCommands Visible,
                                  TSpellDialogCommands Enabled, bool HasHelpContext);

  // What closing the window means; by default it just closes.
  virtual void CloseRequested();
  void showEvent(QShowEvent *event) override;
  bool event(QEvent *event) override;

private:
  QString FHelpFile;
  qint32 FHelpContext = 0;
};

// The dialogs' classic 8-point sans-serif face; see ClassicSansFont.
class QFont;
QFont SpellDialogFont();
