#pragma once
// The modeless find-and-replace dialog: the text to find, its replacement, the options match
// case, whole word and direction, and the buttons Find Next, Replace, Replace All and Cancel.
// The buttons only raise the events; the window that owns the dialog does the work.

#include <QDialog>
#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TReplaceDialog : public QDialog {
  Q_OBJECT
public:
  explicit TReplaceDialog(QWidget *parent = nullptr);

  QString FindText() const;
  void SetFindText(const QString &text);
  QString ReplaceText() const;
  void SetReplaceText(const QString &text);
  bool MatchCase() const;
  void SetMatchCase(bool on);
  bool WholeWord() const;
  bool Down() const;
  // Which button raised the last OnReplace: Replace All or Replace.
  bool ReplaceAll() const { return FReplaceAll; }

  // Shows the dialog, or brings it forward when it is open already.
  void Execute();

  std::function<void(TReplaceDialog *)> OnFind;
  std::function<void(TReplaceDialog *)> OnReplace;

  QLineEdit *FindEdit = nullptr;
  QLineEdit *ReplaceEdit = nullptr;
  QCheckBox *WholeWordBox = nullptr;
  QCheckBox *MatchCaseBox = nullptr;
  QRadioButton *UpButton = nullptr;
  QRadioButton *DownButton = nullptr;
  QPushButton *FindNextButton = nullptr;
  QPushButton *ReplaceButton = nullptr;
  QPushButton *ReplaceAllButton = nullptr;
  QPushButton *CancelButton = nullptr;

private:
  void Replace(bool all);
  bool FReplaceAll = false;
};
