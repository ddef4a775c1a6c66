#pragma once
// Placement of a dialog next to a word on screen, kept inside the work area (the screen less
// panels and task bars) of the screen the dialog is on.
//
// Rectangles follow the convention of the rest of the program's screen arithmetic: Right and
// Bottom are exclusive (x + width, y + height). Form positions and sizes are those of the
// window including its frame.

#include <QRect>

#include <initializer_list>

class QScreen;
class QWidget;

// The screen the form is on: the one holding the centre of its frame, else the form's own
// screen, else the primary screen.
QScreen *FormScreen(const QWidget *Form);

// Puts the form beside Anchor (screen coordinates): left-aligned with it when AlignLeft, below
// it when PlaceBelow and there is room on the screen (above it otherwise); then keeps it inside
// the work area.
void PlaceFormNearRect(QWidget *Form, QRect Anchor, bool AlignLeft, bool PlaceBelow);

// Moves the form to (X, Y), shifted as needed to stay inside the work area of its screen. A
// null form is ignored.
void MoveFormInsideWorkArea(QWidget *Form, int X, int Y);

// The forms' shared tab-order setting: each control comes after the one before it in Controls.
void SetTabOrderChain(std::initializer_list<QWidget *> Controls);
