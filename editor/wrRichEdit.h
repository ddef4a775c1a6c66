#pragma once
// The main window's editing surface: a rich-text editor that is its own edit window.

#include "rtTextEditWindow.h"

#include <QTextEdit>

class TWrightRichEdit : public QTextEdit, public TTextEditWindow {
  Q_OBJECT
public:
  explicit TWrightRichEdit(QWidget *parent = nullptr);
  ~TWrightRichEdit() override;

protected:
  // Paste and drop: line breaks normalised to real lines, unsupported structures dropped.
  void insertFromMimeData(const QMimeData *source) override;
};
