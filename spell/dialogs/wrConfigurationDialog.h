#pragma once
// TSpellCheckConfigDialog: the classic one-page spelling options dialog. Every change goes into
// the configuration at once; OK only closes. Options take the check boxes in order (boxes left
// over are hidden and the dialog shrinks by their rows); main dictionaries are switched by their
// rows, the last row (when folder browsing is offered) locates a further dictionary folder; the
// custom combo chooses the active custom dictionary; Dictionaries opens the custom
// dictionaries dialog; Reset Defaults reloads the configuration with the first-run defaults.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TConfigurationDialogCtrl;

class TSpellCheckConfigDialog : public QDialog {
  Q_OBJECT
public:
  explicit TSpellCheckConfigDialog(QWidget *Parent = nullptr);

  QGroupBox *OptionsGroup;
  QCheckBox *Option[10];
  QGroupBox *DictionariesGroup;
  QTreeWidget *MainDictionaries;
  QLabel *CustomLabel;
  QComboBox *CustomCombo;
  QPushButton *DictionariesButton;
  QPushButton *HelpButton;
  QPushButton *ResetButton;
  QPushButton *OK;
  TConfigurationDialogCtrl *DialogControl;

  void DictionariesButtonClick();
  void ResetButtonClick();

protected:
  void DialogControlConfigurationAvailable(QObject *Sender);
  void FillOptions();
  void FillMainDictionaries();
  void FillCustomCombo();
  void OptionClick(QCheckBox *Box);
  void MainDictionariesChange(QTreeWidgetItem *Row);
  void CustomComboChange();
  bool eventFilter(QObject *Watched, QEvent *Event) override;

private:
  bool FFilling = false;
  int FHiddenRows = 0;
};
