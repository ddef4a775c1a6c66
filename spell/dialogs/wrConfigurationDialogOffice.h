#pragma once
// TSpellCheckConfigDialogV4: the Office-style spelling options dialog. Three pages: the spell
// options (check boxes of the options the component offers, packed without gaps, with a sample
// misspelling beside live spelling), the language and additional dictionaries, and the active
// custom dictionary with its word lists (wrCustomDictionaryPages).
//
// Options and dictionary choices are working copies written to the configuration by OK only;
// the word lists, new dictionaries and deletions act at once, so they stay whether the dialog is
// left with OK or not. The dictionary edited on the custom page is saved when another one is
// chosen and when the dialog is destroyed.
//
// Failures: a main dictionary that cannot be opened is left out; an active custom dictionary
// that cannot be loaded hides the word-list pages; a new-dictionary name that cannot be a file
// name, or a dictionary the component cannot create, changes nothing.

#include "rtStringList.h"

#include <QDialog>
#include <QTextEdit>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TConfigurationDialogCtrl;
class TCustomDictionary;
class TCustomDictionaryPages;

// The sample field: a disabled, borderless text field showing a misspelling. The component's
// live spelling underlines it once attached (AttachLiveSpelling).
class TWrightSpellEdit : public QTextEdit {
  Q_OBJECT
public:
  explicit TWrightSpellEdit(QWidget *Parent = nullptr);
  // Asks the component behind Control to attach live spelling, once; true when it did.
  bool AttachLiveSpelling(TConfigurationDialogCtrl *Control);
  bool LiveAttached() const { return FLiveAttached; }
  QObject *LiveSpelling() const { return FLive; }

private:
  bool FAsked = false;
  bool FLiveAttached = false;
  QObject *FLive = nullptr;
};

class TSpellCheckConfigDialogV4 : public QDialog {
  Q_OBJECT
public:
  // One row of AdditionalDictionariesList.
  class TListEntry {
  public:
    bool FChecked = false;
    bool FMSWordCustom = false;
    bool FCustom = false;
    QString FName;
  };

  explicit TSpellCheckConfigDialogV4(QWidget *Parent = nullptr);
  // Releases (and so saves) the dictionary edited on the custom page.
  ~TSpellCheckConfigDialogV4() override;

  QPushButton *OK;
  QPushButton *CancelButton;
  QPushButton *HelpButton;
  QTabWidget *OptionsTabs;
  QWidget *SpellingOptionsPage;
  QGroupBox *GeneralOptionsGroupBox;
  QCheckBox *LiveSpellCheckbox;
  TWrightSpellEdit *SpellingErrorsEdit;
  QCheckBox *AutoCorrectCheckbox;
  QCheckBox *DUalCapsCheckbox;
  QCheckBox *RepeatedWordsCheckbox;
  QCheckBox *UserCheckBox1;
  QCheckBox *UserCheckBox2;
  QCheckBox *UserCheckBox3;
  QCheckBox *UserCheckBox4;
  QGroupBox *IgnoreOptionsGroupBox;
  QCheckBox *UPPERCASECheckbox;
  QCheckBox *NumbersCheckbox;
  QCheckBox *HTMLCheckbox;
  QCheckBox *InternetAddressCheckbox;
  QCheckBox *AbbreviationsCheckbox;
  QCheckBox *QuotedLineCheckbox;
  QLineEdit *QuotedLineEdit;
  QLabel *HiddenSizingLabel;
  QWidget *LanguageOptionsPage;
  QGroupBox *LanguageSettingsGroupBox;
  QLabel *LanguageSelectLabel;
  QComboBox *LanguageSelectCombo;
  QGroupBox *AdditionalDictionariesGroupBox;
  QLabel *AdditionalDictionariesLabel;
  QTreeWidget *AdditionalDictionariesList;
  QPushButton *LocateDictionariesButton;
  QPushButton *EditAdditionalButton;
  QLabel *LearningLabel;
  QLabel *DownloadLabel;
  QWidget *CustomDictionaryOptionsPage;
  QGroupBox *EditCustomGroupBox;
  QLabel *ChooseCustomLabel;
  QComboBox *ChooseCustomCombo;
  QPushButton *NewCustomButton;
  QLabel *ModifyCustomLabel;
  // EditCustomTabs and its word-list pages.
  TCustomDictionaryPages *Pages;
  TConfigurationDialogCtrl *DialogControl;

  // Working state, for the host and tests.
  const TStringList &MainDictionaries() const { return FMainDictionaries; }
  const TStringList &CustomDictionaries() const { return FCustomDictionaries; }
  QString ActiveCustomDictionary() const { return FActiveCustomDictionary; }
  TCustomDictionary *EditedDictionary() const { return FCustomDictionary.get(); }
  static TListEntry *Entry(QTreeWidgetItem *Row);

  void OKClick();
  void LoadDictionaries();
  void CustomDictionaryOptionsPageShow();
  void LanguageSelectComboChange();
  void ChooseCustomComboChange();
  void NewCustomButtonClick();
  void LocateDictionariesButtonClick();
  // Double click, Enter or the Edit button on the focused row.
  void EditAdditionalDictionary();
  // Delete on the focused row of a custom dictionary (after a question).
  void DeleteAdditionalDictionary();

protected:
  void DialogControlConfigurationAvailable(QObject *Sender);
  void AdditionalDictionariesChange(QTreeWidgetItem *Row);
  void UpdateEditAdditionalButton();
  void OpenLink(bool Download);
  bool eventFilter(QObject *Watched, QEvent *Event) override;
  // The Spelling page shown first: its sample gets live spelling.
  void showEvent(QShowEvent *Event) override;

private:
  // The caption's width as the check box shows it.
  int CaptionEnd(QCheckBox *Box);
  // What the spell component could not read or write, beside the dictionary it is about: in the
  // language and custom combos when they have nothing to show, on the rows of the list.
  void ShowFileProblems();

  TStringList FMainDictionaries;
  TStringList FCustomDictionaries;
  TStringList FMSWordCustomDictionaries;
  QString FActiveCustomDictionary;
  std::unique_ptr<TCustomDictionary> FCustomDictionary;
  QString FCustomDictionaryFilename;
  std::vector<std::unique_ptr<TListEntry>> FEntryList;
  bool FBuildingLists = false;
};
