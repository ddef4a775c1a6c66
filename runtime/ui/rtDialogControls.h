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

// A push button that Enter does not press of its own accord (only the default button does).
QPushButton *MakeButton(QWidget *Parent, const QString &Name, const QRect &Rect = QRect(),
                        const QString &Caption = QString());

// A label whose "&" key focuses Buddy.
QLabel *MakeLabel(QWidget *Parent, const QString &Name, const QRect &Rect = QRect(),
                  QWidget *Buddy = nullptr, const QString &Caption = QString());
