#include "wrCustomDictionariesDialog.h"

#include "rtDialogControls.h"
#include "rtErrorBox.h"
#include "rtFormPlacement.h"
#include "rtShell.h"
#include "wrConfiguration.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrCustomDictionary.h"
#include "wrNewCustomDictionaryDialog.h"
#include "wrSpellBase.h"
#include "wrSpellDialogForm.h"
#include "wrUtil.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTreeWidget>

using LS = TSpellLanguageString;

namespace {

// A row that owns its entry.
class TEntryRow : public QTreeWidgetItem {
public:
  explicit TEntryRow(std::unique_ptr<TCustomDictionariesDialog::TListEntry> entry)
      : Entry(std::move(entry))
  {
  }
  std::unique_ptr<TCustomDictionariesDialog::TListEntry> Entry;
};

// The in-place rename: the dialog decides whether a row may be edited and whether the new text
// is taken (the file is renamed first; a refused rename keeps the old text).
class TRenameDelegate : public QStyledItemDelegate {
public:
  explicit TRenameDelegate(TCustomDictionariesDialog *dialog)
      : QStyledItemDelegate(dialog), FDialog(dialog)
  {
  }
  QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                        const QModelIndex &index) const override
  {
    QTreeWidgetItem *row = FDialog->CustomDictionaries->topLevelItem(index.row());
    if (!FDialog->CustomDictionariesEditing(row))
      return nullptr;
    return QStyledItemDelegate::createEditor(parent, option, index);
  }
  void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
  {
    auto *edit = qobject_cast<QLineEdit *>(editor);
    QTreeWidgetItem *row = FDialog->CustomDictionaries->topLevelItem(index.row());
    if (edit && row)
      FDialog->CustomDictionariesEdited(row, edit->text());
  }
  void destroyEditor(QWidget *editor, const QModelIndex &index) const override
  {
    QStyledItemDelegate::destroyEditor(editor, index);
    FDialog->CustomDictionariesEditEnded();
  }

private:
  TCustomDictionariesDialog *FDialog;
};
} // namespace

TCustomDictionariesDialog::TCustomDictionariesDialog(QWidget *Parent) : QDialog(Parent)
{
  setObjectName(QStringLiteral("CustomDictionariesDialog"));
  SetFixedDialogFrame(this);
  setFont(SpellDialogFont());
  setFixedSize(312, 206);
  setWindowTitle(QStringLiteral("xxDictionaries"));

  CustomGroup = new QGroupBox(QStringLiteral("xxCustom Dictionaries"), this);
  CustomGroup->setObjectName(QStringLiteral("CustomGroup"));
  CustomGroup->setGeometry(8, 4, 296, 164);
  CustomDictionaries = new QTreeWidget(CustomGroup);
  CustomDictionaries->setObjectName(QStringLiteral("CustomDictionaries"));
  CustomDictionaries->setGeometry(10, 20, 194, 134);
  CustomDictionaries->setColumnCount(1);
  CustomDictionaries->setHeaderHidden(true);
  CustomDictionaries->setRootIsDecorated(false);
  CustomDictionaries->header()->setStretchLastSection(true);
  CustomDictionaries->setSelectionMode(QAbstractItemView::SingleSelection);
  CustomDictionaries->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                      QAbstractItemView::SelectedClicked);
  CustomDictionaries->setItemDelegate(new TRenameDelegate(this));
  {
    QPalette p = CustomDictionaries->palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               p.color(QPalette::Active, QPalette::HighlightedText));
    CustomDictionaries->setPalette(p);
  }
  EditButton = MakeButton(CustomGroup, "EditButton", QRect(210, 20, 76, 23), "xxEdit...");
  DeleteButton = MakeButton(CustomGroup, "DeleteButton", QRect(210, 49, 76, 23), "xxDelete");
  NewButton = MakeButton(CustomGroup, "NewButton", QRect(210, 78, 76, 23), "xxNew");
  HelpButton = MakeButton(this, "HelpButton", QRect(148, 176, 75, 23), "xxHelp");
  OK = MakeButton(this, "OK", QRect(229, 176, 75, 23), "xxOK");
  OK->setDefault(true);
  SetTabOrderChain({CustomDictionaries, EditButton, DeleteButton, NewButton, HelpButton, OK});

  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->OnConfigurationAvailable = [this](QObject *s) {
    DialogControlConfigurationAvailable(s);
  };
  connect(CustomDictionaries, &QTreeWidget::itemSelectionChanged, this,
          &TCustomDictionariesDialog::CustomDictionariesSelectItem);
  connect(CustomDictionaries, &QTreeWidget::currentItemChanged, this,
          &TCustomDictionariesDialog::CustomDictionariesSelectItem);
  connect(CustomDictionaries, &QTreeWidget::itemChanged, this,
          [this](QTreeWidgetItem *row) { CustomDictionariesChange(row); });
  connect(EditButton, &QPushButton::clicked, this, &TCustomDictionariesDialog::EditButtonClick);
  connect(DeleteButton, &QPushButton::clicked, this, &TCustomDictionariesDialog::DeleteButtonClick);
  connect(NewButton, &QPushButton::clicked, this, &TCustomDictionariesDialog::NewButtonClick);
  connect(HelpButton, &QPushButton::clicked, this,
          [this] { DialogControl->HelpDictionariesDialog(); });
  connect(OK, &QPushButton::clicked, this, &QDialog::accept);
}

TCustomDictionariesDialog::~TCustomDictionariesDialog()
{
  delete CustomDictionaries;
  CustomDictionaries = nullptr;
}

TCustomDictionariesDialog::TListEntry *TCustomDictionariesDialog::Entry(QTreeWidgetItem *Row)
{
  auto *row = dynamic_cast<TEntryRow *>(Row);
  return row ? row->Entry.get() : nullptr;
}

QTreeWidgetItem *TCustomDictionariesDialog::FindRow(const QString &Text) const
{
  for (int i = 0; i < CustomDictionaries->topLevelItemCount(); ++i)
    if (CustomDictionaries->topLevelItem(i)->text(0) == Text)
      return CustomDictionaries->topLevelItem(i);
  return nullptr;
}

void TCustomDictionariesDialog::DialogControlConfigurationAvailable(QObject *)
{
  FPopulate = true;
  if (FFormShown)
    Populate();
}

void TCustomDictionariesDialog::showEvent(QShowEvent *Event)
{
  QDialog::showEvent(Event);
  if (FFormShown)
    return;
  FFormShown = true;
  if (FPopulate)
    Populate();
}

void TCustomDictionariesDialog::Populate()
{
  const auto s = [this](LS id) { return DialogControl->GetString(id); };
  setWindowTitle(s(LS::lsDictionaries));
  CustomGroup->setTitle(s(LS::lsDlgCustomDictionaries));
  EditButton->setText(s(LS::lsDlgEdit));
  DeleteButton->setText(s(LS::lsDlgDelete));
  NewButton->setText(s(LS::lsDlgNew));
  OK->setText(s(LS::lsDlgOK));
  HelpButton->setText(s(LS::lsDlgHelp));
  HelpButton->setVisible(DialogControl->CommandsVisible().Contains(sdcHelp) &&
                         DialogControl->HelpCtxDictionariesDialog() != 0);
  HelpButton->setEnabled(DialogControl->CommandsEnabled().Contains(sdcHelp));
  EditButton->setEnabled(false);
  DeleteButton->setEnabled(false);

  FPopulating = true;
  CustomDictionaries->clear();
  TWrightConfig *config = DialogControl->Configuration();
  if (!DialogControl->WrightSpell() || !config) {
    FPopulating = false;
    return;
  }
  const auto addRow = [this](const QString &text, bool checked, std::unique_ptr<TListEntry> entry) {
    entry->FChecked = checked;
    const bool editable = entry->FCanRename;
    auto *row = new TEntryRow(std::move(entry));
    row->setText(0, text);
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable;
    if (editable)
      flags |= Qt::ItemIsEditable;
    row->setFlags(flags);
    row->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    CustomDictionaries->addTopLevelItem(row);
  };
  TCustomDictionary *internal = DialogControl->InternalCustom();
  if (internal && DialogControl->CommandsVisible().Contains(sdcInternalEdit) &&
      (internal->IgnoreCount() > 0 || internal->AutoCorrectCount() > 0)) {
    auto entry = std::make_unique<TListEntry>();
    entry->FIgnoreAllList = true;
    addRow(s(LS::lsIgnoreAllChangeAll), true, std::move(entry));
  }
  const TStringList available = DialogControl->AvailableCustom();
  for (int i = 0; i < available.Count(); ++i) {
    const QString f = available.Strings(i);
    auto entry = std::make_unique<TListEntry>();
    entry->FName = f;
    entry->FCanRename = f == ExtractFileName(f);
    addRow(ExtractFileName(f), config->CustomDictionaries().IndexOf(f) >= 0, std::move(entry));
  }
  const TStringList word = DialogControl->AvailableMSWordCustom();
  for (int i = 0; i < word.Count(); ++i) {
    const QString w = word.Strings(i);
    auto entry = std::make_unique<TListEntry>();
    entry->FName = w;
    entry->FMSWordCustom = true;
    addRow(ExtractFileName(w), config->MSWordCustomDictionaries().IndexOf(w) >= 0,
           std::move(entry));
  }
  FPopulating = false;
}

void TCustomDictionariesDialog::CustomDictionariesSelectItem()
{
  QTreeWidgetItem *row = CustomDictionaries->currentItem();
  const bool selected = row && row->isSelected();
  const TListEntry *entry = Entry(row);
  EditButton->setEnabled(selected);
  DeleteButton->setEnabled(selected && entry && !entry->FIgnoreAllList && !entry->FMSWordCustom);
}

void TCustomDictionariesDialog::CustomDictionariesChange(QTreeWidgetItem *Row)
{
  TListEntry *entry = Entry(Row);
  if (FPopulating || !entry)
    return;
  const bool checked = Row->checkState(0) == Qt::Checked;
  if (entry->FIgnoreAllList) {
    if (!checked)
      Row->setCheckState(0, Qt::Checked);
    return;
  }
  if (checked == entry->FChecked)
    return;
  entry->FChecked = checked;
  CustomDictionaries->setCurrentItem(Row);
  const bool applied = entry->FMSWordCustom
                           ? DialogControl->EnableWordDictionary(entry->FName, checked)
                           : DialogControl->EnableCustomDictionary(entry->FName, checked);
  // A dictionary that cannot be opened stays off, and its row says so.
  if (!applied) {
    entry->FChecked = !checked;
    FPopulating = true;
    Row->setCheckState(0, checked ? Qt::Unchecked : Qt::Checked);
    FPopulating = false;
  }
}

void TCustomDictionariesDialog::EditButtonClick()
{
  QTreeWidgetItem *row = CustomDictionaries->currentItem();
  const TListEntry *entry = Entry(row);
  if (!entry)
    return;
  if (entry->FIgnoreAllList) {
    DialogControl->EditCustomDictionary(DialogControl->InternalCustom());
    return;
  }
  if (entry->FMSWordCustom) {
    const QString file = DialogControl->WrightSpell()->ExpandVars(entry->FName);
    ShellExecute(this, QStringLiteral("open"), file, QString(), ExtractFileDir(file),
                 SW_SHOWNORMAL);
    return;
  }
  // Released (and saved when changed) once the editor has closed.
  if (std::unique_ptr<TCustomDictionary> dictionary =
          DialogControl->GetCustomDictionary(entry->FName))
    DialogControl->EditCustomDictionary(dictionary.get());
}

void TCustomDictionariesDialog::DeleteButtonClick()
{
  const TListEntry *entry = Entry(CustomDictionaries->currentItem());
  if (!entry || entry->FIgnoreAllList || entry->FMSWordCustom)
    return;
  if (MessageBox(this, DialogControl->GetString(LS::lsRemoveCustomDict),
                 DialogControl->GetString(LS::lsConfirmation), MB_YESNO | MB_ICONWARNING) != IDYES)
    return;
  DialogControl->RemoveCustomDictionary(entry->FName, false);
  Populate();
}

void TCustomDictionariesDialog::SelectAndFocus(QTreeWidgetItem *Row)
{
  CustomDictionaries->setCurrentItem(Row);
  Row->setSelected(true);
  CustomDictionaries->scrollToItem(Row);
  CustomDictionaries->setFocus();
}

void TCustomDictionariesDialog::NewButtonClick()
{
  const QString name = AskNewCustomDictionaryName(this, DialogControl);
  if (name.isEmpty())
    return;
  if (QTreeWidgetItem *row = FindRow(name)) {
    SelectAndFocus(row);
    return;
  }
  if (!DialogControl->CreateNewCustomDictionary(name))
    return;
  Populate();
  if (QTreeWidgetItem *row = FindRow(name))
    SelectAndFocus(row);
}

bool TCustomDictionariesDialog::CustomDictionariesEditing(QTreeWidgetItem *Row)
{
  const TListEntry *entry = Entry(Row);
  if (!entry || !entry->FCanRename)
    return false;
  OK->setDefault(false);
  return true;
}

void TCustomDictionariesDialog::CustomDictionariesEditEnded()
{
  if (OK)
    OK->setDefault(true);
}

bool TCustomDictionariesDialog::CustomDictionariesEdited(QTreeWidgetItem *Row, const QString &Text)
{
  TListEntry *entry = Entry(Row);
  if (!entry || !entry->FCanRename)
    return false;
  // The file takes the name the component gives it (always ".wdu"); the row shows that name,
  // so that switching it on or off names the file that exists.
  const QString name = NewCustomDictionaryName(Text);
  if (name.isEmpty() || !DialogControl->RenameCustomDictionary(entry->FName, name))
    return false;
  entry->FName = name;
  FPopulating = true;
  Row->setText(0, name);
  FPopulating = false;
  return true;
}
