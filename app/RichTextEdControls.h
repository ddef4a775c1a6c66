#pragma once
// Small controls of the main window: the up-down arrows bound to an edit box, the ruler
// panel that draws its caption with tabs expanded, and the font dialog with its colour choice.

#include <QDialog>
#include <QFont>
#include <QFrame>
#include <QString>
#include <functional>

class QComboBox;
class QDialogButtonBox;
class QFontDialog;
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

// The font dialog: face, style and size from Qt's font panel, underline from its effects, and
// the text colour from a list of the sixteen basic colours (a colour outside them is listed as
// "Custom"). Modal; Execute answers whether the user confirmed.
class TFontDialog : public QDialog {
  Q_OBJECT
public:
  explicit TFontDialog(QWidget *parent = nullptr);

  // The font the panel shows. A face this desktop lacks opens on the face that stands in for it.
  QFont Font() const;
  void SetFont(const QFont &font);
  // 0x00BBGGRR like a COLORREF.
  quint32 Color() const;
  void SetColor(quint32 color);
  bool Execute();

  QFontDialog *FontPanel = nullptr;
  QComboBox *ColorBox = nullptr;
  QDialogButtonBox *Buttons = nullptr;
};
