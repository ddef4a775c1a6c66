#pragma once
// TSpellDialog: the classic spelling dialog, for components whose DialogTypeSpelling is
// sdClassic (or whose interface language lacks the Office-style texts). The word stands alone
// in NotFoundEdit; the replacement is typed or picked into ReplaceWithEdit, whose emptiness
// disables Change, Change All and Auto-Correct. A double click in the list changes at once.

#include "wrSpellDialogForm.h"
#include "wrTypes.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TConfigurationDialogCtrl;

class TSpellDialog : public TSpellDialogBaseForm {
  Q_OBJECT
public:
  explicit TSpellDialog(QWidget *Parent = nullptr);

  QLabel *NotFoundText;
  QLineEdit *NotFoundEdit;
  QLabel *ReplaceWithText;
  QLineEdit *ReplaceWithEdit;
  QLabel *SuggestionsText;
  QListWidget *SuggestionsListbox;
  QPushButton *IgnoreButton;
  QPushButton *IgnoreAllButton;
  QPushButton *ChangeButton;
  QPushButton *ChangeAllButton;
  QPushButton *AddButton;
  QPushButton *AutoCorrectButton;
  QPushButton *UndoButton;
  QPushButton *OptionsButton;
  QPushButton *HelpButton;
  QPushButton *CancelButton;
  TConfigurationDialogCtrl *DialogControl;

  bool Repeated() const { return FRepeated; }

  void IgnoreButtonClick();
  void ChangeButtonClick();
  void ChangeAllButtonClick();
  void AutoCorrectButtonClick();
  void SuggestionsListboxDblClick();
  void OptionsButtonClick();
  void CancelButtonClick();

protected:
  void DialogControlConfigurationAvailable(QObject *Sender);
  void DialogControlPromptWord(QObject *Sender, const QString &Word, bool Repeated);
  void ReplaceWithEditChange();
  void FormActivate(QObject *Sender);
  void FormDeactivate(QObject *Sender);
  void CloseRequested() override;
  bool eventFilter(QObject *Watched, QEvent *Event) override;
  void FullEnable(bool Enable);

private:
  bool Enabled(TSpellDialogCommand Command) const;
  bool Visible(TSpellDialogCommand Command) const;
  // Change, Change All and Auto-Correct follow the replacement's emptiness.
  void EnableChangeButtons();

  QString FWord;
  bool FRepeated = false;
  bool FDeactivated = false;
  bool FNoSuggestions = false;
};
