#include "wrThesaurus.h"

#include "wrThesaurusDialog.h"

TWrightThesaurus::TWrightThesaurus(QObject *Owner) : TWrightThesaurusBase(Owner) {}

QDialog *TWrightThesaurus::CreateWrightDialog(QObject *OwnerParam, TWrightDialog Dialog)
{
  QDialog *form = nullptr;
  if (OnCreateWrightDialog)
    OnCreateWrightDialog(this, OwnerParam, Dialog, form);
  return form;
}

QDialog *TWrightThesaurus::CreateDialog()
{
  if (QDialog *form = CreateWrightDialog(this, adThesaurusDialog))
    return form;
  // Widgets cannot be children of a component: the dialog belongs to the main window's widget
  // tree, and this component disposes of it when the lookup ends.
  auto *dialog = new TThesDialog(MainWindow());
  if (ParentFont && dialog->parentWidget())
    dialog->setFont(dialog->parentWidget()->font());
  return dialog;
}
