#pragma once
// Small controls of the main window: the up-down arrows bound to an edit box, and the ruler
// panel that draws its caption with tabs expanded.

#include <QFrame>
#include <QString>
#include <functional>

class QLineEdit;
class QToolButton;

// Up-down arrows bound to an edit box (its Associate): a click moves Position by Increment
// within Min..Max and writes it into the box as a decimal number.
class TUpDown : public QWidget {
  Q_OBJECT
public:
  explicit TUpDown(QWidget *parent = nullptr);

  void SetAssociate(QLineEdit *edit) { FAssociate = edit; }
  QLineEdit *Associate() const { return FAssociate; }
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  void SetRange(int min, int max);
  int Increment() const { return FIncrement; }
  void SetIncrement(int step) { FIncrement = step; }
  int Position() const { return FPosition; }
  void SetPosition(int position); // clamped; updates the associate
  void StepBy(int steps);

  std::function<void(TUpDown *)> OnChanging;

private:
  QLineEdit *FAssociate = nullptr;
  QToolButton *FUp;
  QToolButton *FDown;
  int FMin = 0, FMax = 100, FIncrement = 1, FPosition = 0;
};

// A panel with a lowered inner bevel whose caption is drawn on one line, left-aligned and
// vertically centred, with tabs expanded to the standard tab stops (eight average characters).
class TRulerPanel : public QFrame {
  Q_OBJECT
public:
  explicit TRulerPanel(QWidget *parent = nullptr);
  QString Caption() const { return FCaption; }
  void SetCaption(const QString &caption);

  std::function<void(TRulerPanel *)> OnResize;

protected:
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;

private:
  QString FCaption;
};
