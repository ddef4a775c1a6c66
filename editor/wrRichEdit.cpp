#include "wrRichEdit.h"

TWrightRichEdit::TWrightRichEdit(QWidget *parent) : QTextEdit(parent), TTextEditWindow(this, true)
{
  // Whoever creates the editor can also reach the program's other text widgets as windows.
  InstallEditWindowFactory();
  setAcceptRichText(true);
  setTabChangesFocus(false);
  setLineWrapMode(QTextEdit::WidgetWidth);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // A thin margin like the native control's: the first character of an unindented line sits
  // at most 2 pixels from the left edge, which live painting relies on.
  document()->setDocumentMargin(2);
  // Latin text unshaped (no kerning or ligatures), as the native control draws it; scripts that
  // need shaping are still shaped. Shaping a joined multi-megabyte line costs about a third of
  // its layout.
  QFont f = document()->defaultFont();
  f.setStyleStrategy(QFont::PreferNoShaping);
  document()->setDefaultFont(f);
}

TWrightRichEdit::~TWrightRichEdit() = default;

void TWrightRichEdit::insertFromMimeData(const QMimeData *source) { InsertMimeData(source); }

void TWrightRichEdit::mousePressEvent(QMouseEvent *event)
{
  QTextEdit::mousePressEvent(event);
  if (OnMouseDown)
    OnMouseDown(this);
}
