#include "rtLineEditWindow.h"

#include <QLineEdit>
#include <QVariant>

TLineEditWindow::TLineEditWindow(QLineEdit *edit) : TWidgetWindow(edit), FEdit(edit)
{
  FConnections.push_back(QObject::connect(edit, &QLineEdit::textChanged, edit, [this] {
    if (OnChange)
      OnChange(this);
  }));
  FConnections.push_back(QObject::connect(edit, &QLineEdit::selectionChanged, edit, [this] {
    if (OnSelectionChange)
      OnSelectionChange(this);
  }));
  FConnections.push_back(QObject::connect(edit, &QLineEdit::cursorPositionChanged, edit, [this] {
    if (OnSelectionChange)
      OnSelectionChange(this);
  }));
  TEditWindow::Register(edit, this);
}

TLineEditWindow::~TLineEditWindow()
{
  for (const auto &c : FConnections)
    QObject::disconnect(c);
  TEditWindow::Unregister(FEdit);
}

bool TLineEditWindow::IsReadOnly() const { return FEdit->isReadOnly(); }

QString TLineEditWindow::GetText() const { return FEdit->text(); }

int TLineEditWindow::GetTextLength() const { return int(FEdit->text().size()); }

void TLineEditWindow::SetText(const QString &text) { FEdit->setText(text); }

void TLineEditWindow::GetSel(int &start, int &end) const
{
  if (FEdit->hasSelectedText()) {
    start = FEdit->selectionStart();
    end = FEdit->selectionEnd();
  } else {
    start = end = FEdit->cursorPosition();
  }
}

void TLineEditWindow::SetSel(int start, int end)
{
  const int len = GetTextLength();
  if (start == -1) {
    int s = 0, e = 0;
    GetSel(s, e);
    FEdit->deselect();
    FEdit->setCursorPosition(e);
    return;
  }
  if (end < 0)
    end = len;
  start = qBound(0, start, len);
  end = qBound(0, end, len);
  FEdit->setSelection(start, end - start); // a negative length puts the caret before the anchor
}

QString TLineEditWindow::GetSelText() const { return FEdit->selectedText(); }

void TLineEditWindow::ReplaceSel(const QString &text, bool canUndo)
{
  if (!canUndo && !FEdit->isUndoAvailable()) {
    // Nothing to keep: setting the whole text leaves the history empty.
    int s = 0, e = 0;
    GetSel(s, e);
    FEdit->setText(FEdit->text().replace(s, e - s, text));
    FEdit->setCursorPosition(s + int(text.size()));
    return;
  }
  // QLineEdit's history cannot leave out a step, and dropping it would lose the user's steps:
  // with a history the change is recorded like any edit.
  FEdit->insert(text);
}

int TLineEditWindow::GetLine(int line, char16_t *buffer) const
{
  if (!buffer || line != 0)
    return 0;
  const QString text = FEdit->text();
  const int n = qMin(int(buffer[0]), int(text.size()));
  if (n <= 0)
    return 0;
  std::copy_n(reinterpret_cast<const char16_t *>(text.utf16()), n, buffer);
  return n;
}

int TLineEditWindow::LineIndex(int line) const { return line == 0 || line == -1 ? 0 : -1; }

int TLineEditWindow::LineLength(int pos) const
{
  if (pos == -1) {
    int s = 0, e = 0;
    GetSel(s, e);
    return s + (GetTextLength() - e);
  }
  return pos >= 0 && pos <= GetTextLength() ? GetTextLength() : 0;
}

int TLineEditWindow::LinesCount() const { return FEdit->text().isEmpty() ? 0 : 1; }

QString TLineEditWindow::GetLineText(int line) const
{
  return line == 0 ? FEdit->text() : QString();
}

void TLineEditWindow::SetLineText(int line, const QString &text)
{
  if (line == 0)
    FEdit->setText(text);
}

QPoint TLineEditWindow::PosFromChar(int pos) const
{
  const QString text = FEdit->text();
  if (pos < 0 || pos > text.size())
    return QPoint(-1, -1);
  // The caret's rectangle carries the widget's scroll offset; measure from there. It is drawn
  // wider than the caret on both sides, so the caret itself is its horizontal centre.
  const QRectF caret = FEdit->inputMethodQuery(Qt::ImCursorRectangle).toRectF();
  const QFontMetrics fm(FEdit->font());
  const int caretPos = FEdit->cursorPosition();
  const int dx = fm.horizontalAdvance(text.left(pos)) - fm.horizontalAdvance(text.left(caretPos));
  return QPoint(qRound(caret.center().x()) + dx, qRound(caret.top()));
}

int TLineEditWindow::CharFromPos(const QPoint &p) const { return FEdit->cursorPositionAt(p); }

void TLineEditWindow::CutToClipboard() { FEdit->cut(); }

void TLineEditWindow::CopyToClipboard() { FEdit->copy(); }

void TLineEditWindow::PasteFromClipboard() { FEdit->paste(); }

bool TLineEditWindow::CanUndo() const { return FEdit->isUndoAvailable(); }

void TLineEditWindow::Undo() { FEdit->undo(); }

void TLineEditWindow::Clear()
{
  FEdit->setText(QString()); // also empties the history
  FEdit->setModified(false);
}

bool TLineEditWindow::Modified() const { return FEdit->isModified(); }

void TLineEditWindow::SetReadOnly(bool readOnly) { FEdit->setReadOnly(readOnly); }
