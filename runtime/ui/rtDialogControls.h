#pragma once
// The pieces every fixed-layout dialog is built from: the Windows dialog frame and controls
// placed at their design positions under the names the dialogs are specified with.
//
// A null rectangle leaves the control's geometry to its caption or to a layout.

#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// Fixed dialog border with the system menu only: a title, a close box, no resizing or
// minimising.
void SetFixedDialogFrame(QWidget *Dialog);

// The width a window frame needs to show Title whole: the text in a title-bar font (the
// application's font in bold, 11 points at least, as large as desktops draw titles) plus room
// for the frame's icon, buttons and edges. Window managers cut a longer title short.
int TitleFrameWidth(const QString &Title);

// A push button that Enter does not press of its own accord (only the default button does).
QPushButton *MakeButton(QWidget *Parent, const QString &Name, const QRect &Rect = QRect(),
                        const QString &Caption = QString());

// A label whose "&" key focuses Buddy.
QLabel *MakeLabel(QWidget *Parent, const QString &Name, const QRect &Rect = QRect(),
                  QWidget *Buddy = nullptr, const QString &Caption = QString());
