#pragma once
// Window-side basics shared by every adapter of a Qt widget: identity, geometry, children.
// A plain TWidgetWindow is the "container" window: it answers no edit message, but lists its
// child widgets so that a parser can find the edit control inside it.

#include "rtEditWindow.h"

#include <QPointer>

class QWidget;

class TWidgetWindow : public TEditWindow {
public:
  explicit TWidgetWindow(QWidget *widget);
  ~TWidgetWindow() override;

  QString ClassName() const override;
  std::vector<HWND> Children() const override;
  QRect WindowRect() const override;
  QSize ClientSize() const override;
  QPoint ClientToScreen(const QPoint &p) const override;
  QPoint ScreenToClient(const QPoint &p) const override;
  int LineHeight() const override;
  bool HandleAllocated() const override;
  QObject *Control() const override;
  void SetFocus() override;
  void Repaint() override;
  void Invalidate(const QRect &r = QRect()) override;
  void Update() override;
  void SetRedraw(bool redraw) override;

  QWidget *Widget() const { return FWidget; }

protected:
  // The widget whose coordinates are "client" coordinates (a scroll area's viewport).
  virtual QWidget *ClientWidget() const;

private:
  QWidget *FWidget; // not owned: the adapter lives no longer than its widget
};

// Installs the factory that wraps Qt widgets on demand for TEditWindow::FromControl:
// QTextEdit -> rich adapter ("RichEdit20W"), QPlainTextEdit -> multi-line "Edit",
// QLineEdit -> single-line "Edit", any other QWidget -> container. The adapter is owned by
// (a child object of) the widget and dies with it. Idempotent.
void InstallEditWindowFactory();
