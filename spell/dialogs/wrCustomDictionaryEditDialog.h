#pragma once
// TCustomDictionaryEditDialog: one custom dictionary's three word lists, edited in place (the
// pages of wrCustomDictionaryPages). The dictionary is the controller's CustomDictionary; the
// editor never owns or frees it, and there is nothing to write back: OK and Escape only close.
//
// The internal dictionary of Ignore All / Change All shows no Exclusions page and its tabs read
// "&Ignore All" and "&Change All". Showing the Adds page with no dictionary connected closes
// the dialog with the result Cancel.

#include <QDialog>

class QPushButton;
class TConfigurationDialogCtrl;
class TCustomDictionaryPages;

class TCustomDictionaryEditDialog : public QDialog {
  Q_OBJECT
public:
  explicit TCustomDictionaryEditDialog(QWidget *Parent = nullptr);
  ~TCustomDictionaryEditDialog() override;

  // The word-list pages: EditCustomTabs and its controls, under their own names.
  TCustomDictionaryPages *Pages;
  QPushButton *HelpButton;
  QPushButton *OK;
  TConfigurationDialogCtrl *DialogControl;

  // Escape closes like OK: the edits made stay in the dictionary.
  void reject() override;

protected:
  void DialogControlConfigurationAvailable(QObject *Sender);
  void DialogControlCustomDictionaryAvailable(QObject *Sender);
  void showEvent(QShowEvent *Event) override;
  void resizeEvent(QResizeEvent *Event) override;
};
