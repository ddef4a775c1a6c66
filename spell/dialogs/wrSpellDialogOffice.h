#pragma once
// TSpellDialogV4: the Office-style spelling dialog. It shows the misspelled word in its
// sentence, lets the user pick a suggestion or edit the sentence in place, and turns every
// button into a check command through its DialogControl.
//
// The sentence box has three states: unedited ("Not Found:"), only the word edited, and the
// line edited around the word ("&Replace With:"; Ignore becomes "Undo &Edit"). A repeated word
// disables the sentence box and the commands that make no sense for it. When the dialog loses
// activation every control is disabled until it is activated again.

#include "wrSpellDialogForm.h"

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTextEdit;
class TConfigurationDialogCtrl;

// How the sentence differs from the text the dialog showed.
enum TSpellDialogChangeType { ctNotFound, ctWordChange, ctLineChange };

class TSpellDialogV4 : public TSpellDialogBaseForm {
  Q_OBJECT
public:
  explicit TSpellDialogV4(QWidget *Parent = nullptr);

  QLabel *NotFoundText;
  QListWidget *SuggestionsListbox;
  QLabel *SuggestionsText;
  QPushButton *UndoButton;
  QPushButton *OptionsButton;
  QPushButton *IgnoreAllButton;
  QPushButton *IgnoreButton;
  QPushButton *ChangeAllButton;
  QPushButton *ChangeButton;
  QPushButton *AddButton;
  QPushButton *AutoCorrectButton;
  QPushButton *HelpButton;
  QPushButton *CancelButton;
  TConfigurationDialogCtrl *DialogControl;
  QTextEdit *NotFoundRichEdit;

  // State, for the host and tests.
  QString Word() const { return FWord; }
  bool ShowingNotFound() const { return FShowingNotFound; }
  bool Repeated() const { return FRepeated; }
  bool Deactivated() const { return FDeactivated; }
  TSpellDialogChangeType ChangeState() const { return FState; }
  QString Replacement() const { return FReplacement; }

  // The button handlers.
  void IgnoreButtonClick();
  void IgnoreAllButtonClick();
  void AddButtonClick();
  void ChangeButtonClick();
  void ChangeAllButtonClick();
  void AutoCorrectButtonClick();
  void SuggestionsListboxDblClick();
  void OptionsButtonClick();
  void UndoButtonClick();
  void HelpButtonClick();
  void CancelButtonClick();

protected:
  void DialogControlConfigurationAvailable(QObject *Sender);
  void DialogControlPromptWord(QObject *Sender, const QString &Word, bool Repeated);
  void NotFoundRichEditChange();
  void FormActivate(QObject *Sender);
  void FormDeactivate(QObject *Sender);
  void CloseRequested() override;

  void FullEnable(bool Enable);
  void SetupNotFoundEdit();
  void SetShowingNotFound(bool ShowingNotFound);

private:
  bool Enabled(TSpellDialogCommand Command) const;
  bool Visible(TSpellDialogCommand Command) const;
  bool HasActiveCustom() const;
  // The selected suggestion when the sentence is unedited (Sel), else empty.
  bool SelectedSuggestion(QString &Suggestion) const;
  static void FocusIfPossible(QPushButton *Button);

  QString FWord;
  bool FSettingUpWord = false;
  bool FShowingNotFound = false;
  bool FRepeated = false;
  bool FDeactivated = false;
  QString FLine;
  QString FLineStart;
  QString FLineEnd;
  QString FReplacement;
  TSpellDialogChangeType FState = ctNotFound;
  // The list holds only the "(no suggestions)" line, which is never a replacement.
  bool FNoSuggestions = false;
};

// Trailing blanks (anything up to the space character) removed.
QString TrimRightBlanks(const QString &Text);
