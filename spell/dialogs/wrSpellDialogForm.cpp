#include "wrSpellDialogForm.h"

#include "rtDialogControls.h"
#include "rtFonts.h"
#include "rtFormPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

TSpellDialogBaseForm::TSpellDialogBaseForm(QWidget *Parent) : QDialog(Parent)
{
  // Fixed dialog border with the system menu only.
  SetFixedDialogFrame(this);
  setFont(SpellDialogFont());
}

void TSpellDialogBaseForm::SetHelp(const QString &HelpFile, qint32 HelpContext)
{
  FHelpFile = HelpFile;
  FHelpContext = HelpContext;
}

void TSpellDialogBaseForm::ShowModeless()
{
  show();
  raise();
  activateWindow();
}

void TSpellDialogBaseForm::HideModeless() { hide(); }
void TSpellDialogBaseForm::RunModal() { exec(); }
void TSpellDialogBaseForm::EndModal() { done(QDialog::Accepted); }
QRect TSpellDialogBaseForm::FrameRect() { return frameGeometry(); }
void TSpellDialogBaseForm::MoveTo(const QPoint &TopLeft) { move(TopLeft); }
void TSpellDialogBaseForm::MoveInsideWorkArea(const QPoint &TopLeft)
{
  MoveFormInsideWorkArea(this, TopLeft.x(), TopLeft.y());
}
void TSpellDialogBaseForm::PlaceNearRect(const QRect &Anchor, bool Horizontal, bool Vertical)
{
  PlaceFormNearRect(this, Anchor, Horizontal, Vertical);
}
QRect TSpellDialogBaseForm::MonitorRect()
{
  const QScreen *s = FormScreen(this);
  return s ? s->geometry() : QRect();
}
QRect TSpellDialogBaseForm::ScreenRect()
{
  const QScreen *s = QGuiApplication::primaryScreen();
  return s ? s->geometry() : QRect();
}
QRect TSpellDialogBaseForm::DesktopRect()
{
  const QScreen *s = QGuiApplication::primaryScreen();
  return s ? s->virtualGeometry() : QRect();
}
void TSpellDialogBaseForm::UseDefaultPosition() {}

void TSpellDialogBaseForm::reject() { CloseRequested(); }
void TSpellDialogBaseForm::CloseRequested() { QDialog::reject(); }

void TSpellDialogBaseForm::showEvent(QShowEvent *event)
{
  QDialog::showEvent(event);
  if (OnShow)
    OnShow(this);
}

bool TSpellDialogBaseForm::event(QEvent *event)
{
  const bool handled = QDialog::event(event);
  // Copies: a handler may unhook (replace) the event it runs from.
  if (event->type() == QEvent::WindowActivate) {
    if (const TNotifyEvent e = OnActivate)
      e(this);
  } else if (event->type() == QEvent::WindowDeactivate) {
    if (const TNotifyEvent e = OnDeactivate)
      e(this);
  }
  return handled;
}

QFont SpellDialogFont() { return ClassicSansFont(8); }

void TSpellDialogBaseForm::ApplyCommandButtons(const TCommandButtons &Buttons,
                                               TSpellDialogCommands Visible,
                                               TSpellDialogCommands Enabled, bool HasHelpContext)
{
  Buttons.Undo->setVisible(Visible.Contains(sdcUndo));
  Buttons.Options->setVisible(Visible.Contains(sdcOptions));
  Buttons.IgnoreAll->setVisible(Visible.Contains(sdcIgnoreAll));
  Buttons.Ignore->setVisible(Visible.Contains(sdcIgnore));
  Buttons.Change->setVisible(Visible.Contains(sdcChange));
  Buttons.ChangeAll->setVisible(Visible.Contains(sdcChangeAll));
  Buttons.Add->setVisible(Visible.Contains(sdcAdd));
  Buttons.AutoCorrect->setVisible(Visible.Contains(sdcAutoCorrect));
  Buttons.Cancel->setVisible(Visible.Contains(sdcCancel));
  Buttons.Help->setVisible(Visible.Contains(sdcHelp) && HasHelpContext);
  Buttons.Help->setEnabled(Enabled.Contains(sdcHelp));
  Buttons.Cancel->setEnabled(Enabled.Contains(sdcCancel));
  if (Buttons.Options->isHidden())
    Buttons.Undo->move(Buttons.Options->pos());
}
