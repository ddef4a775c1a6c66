#pragma once
// The main window's editing surface: a rich-text editor that is its own edit window.

#include "rtTextEditWindow.h"

#include <QTextEdit>
#include <functional>

class TWrightRichEdit : public QTextEdit, public TTextEditWindow {
  Q_OBJECT
public:
  explicit TWrightRichEdit(QWidget *parent = nullptr);
  ~TWrightRichEdit() override;

  // A mouse button went down in the text, raised after the editor has handled it (the caret
  // or selection already moved).
  std::function<void(TWrightRichEdit *)> OnMouseDown;

protected:
  // Paste and drop: line breaks normalised to real lines, unsupported structures dropped.
  void insertFromMimeData(const QMimeData *source) override;
  void mousePressEvent(QMouseEvent *event) override;
};
