#pragma once
// TCustomDictionariesDialog: every custom dictionary of the component, each switched on or off
// by its check box, created, renamed in place, deleted (to the desktop's trash, after a
// question) and edited. Every change applies at once; OK only closes.
//
// The internal dictionary of Ignore All / Change All has a row of its own (when it holds words
// and the component shows its editor) that can be edited but not switched off, deleted or
// renamed. A dictionary listed with a folder keeps its name. A name typed for a new or renamed
// dictionary is a file name in the dictionary folder, never a path (NewCustomDictionaryName);
// one that cannot be a file name changes nothing.

#include <QDialog>
#include <memory>

class QGroupBox;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TConfigurationDialogCtrl;

class TCustomDictionariesDialog : public QDialog {
  Q_OBJECT
public:
  // One per row, owned by the row.
  class TListEntry {
  public:
    bool FChecked = true;
    bool FIgnoreAllList = false;
    bool FMSWordCustom = false;
    bool FCanRename = false;
    QString FName;
  };

  explicit TCustomDictionariesDialog(QWidget *Parent = nullptr);
  // The list (and an in-place editor still open) goes first, while the dialog it calls is whole.
  ~TCustomDictionariesDialog() override;

  QGroupBox *CustomGroup;
  QTreeWidget *CustomDictionaries;
  QPushButton *EditButton;
  QPushButton *DeleteButton;
  QPushButton *NewButton;
  QPushButton *HelpButton;
  QPushButton *OK;
  TConfigurationDialogCtrl *DialogControl;
  bool FFormShown = false;
  bool FPopulate = false;

  static TListEntry *Entry(QTreeWidgetItem *Row);
  // The row showing exactly Text, or null.
  QTreeWidgetItem *FindRow(const QString &Text) const;

  void EditButtonClick();
  void DeleteButtonClick();
  void NewButtonClick();
  // The in-place edit of Row ended with Text: true when the dictionary was renamed (the row
  // then shows its new file name).
  bool CustomDictionariesEdited(QTreeWidgetItem *Row, const QString &Text);
  // Whether Row's text may be edited in place; OK stops being the default button while it is.
  bool CustomDictionariesEditing(QTreeWidgetItem *Row);
  void CustomDictionariesEditEnded();

protected:
  void DialogControlConfigurationAvailable(QObject *Sender);
  void showEvent(QShowEvent *Event) override;
  void Populate();
  void CustomDictionariesSelectItem();
  void CustomDictionariesChange(QTreeWidgetItem *Row);

private:
  void SelectAndFocus(QTreeWidgetItem *Row);
  bool FPopulating = false;
};
