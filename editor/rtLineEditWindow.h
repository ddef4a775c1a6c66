#pragma once
// Edit-window adapter over a single-line QLineEdit (window class "Edit", not multi-line).

#include "rtWidgetWindow.h"

#include <QMetaObject>

class QLineEdit;

class TLineEditWindow : public TWidgetWindow {
public:
  explicit TLineEditWindow(QLineEdit *edit);
  ~TLineEditWindow() override;

  QString ClassName() const override { return QStringLiteral("Edit"); }
  std::vector<HWND> Children() const override { return {}; }
  bool IsReadOnly() const override;
  bool IsMultiLine() const override { return false; }

  QString GetText() const override;
  int GetTextLength() const override;
  void SetText(const QString &text) override;

  void GetSel(int &start, int &end) const override;
  void SetSel(int start, int end) override;
  QString GetSelText() const override;
  void ReplaceSel(const QString &text, bool canUndo) override;

  int GetLineCount() const override { return 1; }
  int GetLine(int line, char16_t *buffer) const override;
  int LineIndex(int line) const override;
  int LineFromChar(int) const override { return 0; }
  int LineLength(int pos) const override;
  int LinesCount() const override;
  QString GetLineText(int line) const override;
  void SetLineText(int line, const QString &text) override;

  QPoint PosFromChar(int pos) const override;
  int CharFromPos(const QPoint &p) const override;
  void ScrollCaret() override {}

  void CutToClipboard() override;
  void CopyToClipboard() override;
  void PasteFromClipboard() override;
  bool CanUndo() const override;
  void Undo() override;
  void Clear() override;
  bool Modified() const override;
  void SetReadOnly(bool readOnly) override;

private:
  QLineEdit *FEdit;
  std::vector<QMetaObject::Connection> FConnections;
};
