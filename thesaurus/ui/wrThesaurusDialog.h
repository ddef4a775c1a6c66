#pragma once
// The standard thesaurus dialog: the history of looked-up words, the contexts of the current
// word, the words of the chosen context and the replacement.

#include "wrThesaurusBase.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TThesaurusDialogCtrl;

class TThesDialog : public QDialog {
  Q_OBJECT
public:
  explicit TThesDialog(QWidget *Parent = nullptr);

  QLabel *LookedUpLabel;
  QComboBox *LookupCombo;
  QLabel *ContextsLabel;
  QTreeWidget *ContextLV;
  QLabel *ReplaceWithLabel;
  QLineEdit *ReplaceEdit;
  QTreeWidget *WordList;
  QPushButton *PreviousButton;
  QPushButton *LookupButton;
  QPushButton *ReplaceButton;
  QPushButton *CloseButton;
  TThesaurusDialogCtrl *DialogControl;
  QTimer *Timer;
  // In the word list's place while the thesaurus file cannot be read: which file.
  QLabel *FileProblemLabel;

  // Close box and Esc.
  void reject() override;

protected:
  void DialogControlActivate(QObject *Sender);
  void DialogControlPromptLookup(QObject *Sender, const QString &Word,
                                 TThesaurusEntryList &ContextList);
  void DialogControlPromptContext(QObject *Sender, QStringList &Words);
  void ContextLVChange();
  void WordListChange();
  void ReplaceEditChange();
  void TimerTimer();
  void LookupButtonClick();
  void LookupComboSelect(int Index);
  void PreviousButtonClick();
  void ReplaceButtonClick();
  void WordListDblClick(QTreeWidgetItem *Item);
  void CloseButtonClick();

private:
  bool Enabled(TThesaurusDialogCommand c) const;
  bool Visible(TThesaurusDialogCommand c) const;
  int ScrollBarWidth() const;
  void ShowFileProblem();
  // Runs a command of the dialog; an error (a damaged thesaurus file) goes to the error box
  // and the dialog stays open.
  void Run(const std::function<void()> &Command);
};
