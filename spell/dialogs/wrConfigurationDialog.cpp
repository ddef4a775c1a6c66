#include "wrConfigurationDialog.h"

#include "rtDialogControls.h"
#include "rtFormPlacement.h"
#include "wrConfiguration.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrMainDictionary.h"
#include "wrSpellDialogForm.h"
#include "wrUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTreeWidget>

using LS = TSpellLanguageString;

namespace {

constexpr int OptionStep = 16;
constexpr int DesignHeight = 397;
constexpr int FileRole = Qt::UserRole;
} // namespace

TSpellCheckConfigDialog::TSpellCheckConfigDialog(QWidget *Parent) : QDialog(Parent)
{
  setObjectName(QStringLiteral("SpellCheckConfigDialog"));
  SetFixedDialogFrame(this);
  setFont(SpellDialogFont());
  setFixedSize(320, DesignHeight);
  setWindowTitle(QStringLiteral("xxSpelling Options"));

  OptionsGroup = new QGroupBox(QStringLiteral("xxOptions"), this);
  OptionsGroup->setObjectName(QStringLiteral("OptionsGroup"));
  OptionsGroup->setGeometry(8, 4, 304, 22 + 10 * OptionStep);
  for (int i = 0; i < 10; ++i) {
    Option[i] = new QCheckBox(QStringLiteral("xxOption"), OptionsGroup);
    Option[i]->setObjectName(QStringLiteral("Option%1").arg(i + 1));
    Option[i]->setGeometry(10, 18 + i * OptionStep, 284, 16);
    connect(Option[i], &QCheckBox::toggled, this, [this, i] { OptionClick(Option[i]); });
  }
  DictionariesGroup = new QGroupBox(QStringLiteral("xxDictionaries"), this);
  DictionariesGroup->setObjectName(QStringLiteral("DictionariesGroup"));
  DictionariesGroup->setGeometry(8, 192, 304, 166);
  MainDictionaries = new QTreeWidget(DictionariesGroup);
  MainDictionaries->setObjectName(QStringLiteral("MainDictionaries"));
  MainDictionaries->setGeometry(10, 18, 284, 90);
  MainDictionaries->setColumnCount(2);
  MainDictionaries->setColumnWidth(0, 130);
  MainDictionaries->setRootIsDecorated(false);
  MainDictionaries->setSelectionMode(QAbstractItemView::NoSelection);
  MainDictionaries->setEditTriggers(QAbstractItemView::NoEditTriggers);
  MainDictionaries->viewport()->installEventFilter(this);
  CustomLabel = new QLabel(QStringLiteral("xxCustom Dictionary:"), DictionariesGroup);
  CustomLabel->setObjectName(QStringLiteral("CustomLabel"));
  CustomLabel->setGeometry(10, 114, 284, 13);
  CustomCombo = new QComboBox(DictionariesGroup);
  CustomCombo->setObjectName(QStringLiteral("CustomCombo"));
  CustomCombo->setGeometry(10, 131, 180, 22);
  CustomLabel->setBuddy(CustomCombo);
  DictionariesButton = MakeButton(DictionariesGroup, "DictionariesButton", QRect(196, 130, 98, 23),
                                  "xxDictionaries...");
  ResetButton = MakeButton(this, "ResetButton", QRect(8, 366, 96, 23), "xxReset Defaults");
  HelpButton = MakeButton(this, "HelpButton", QRect(156, 366, 75, 23), "xxHelp");
  OK = MakeButton(this, "OK", QRect(237, 366, 75, 23), "xxOK");
  OK->setDefault(true);
  SetTabOrderChain({Option[0], Option[1], Option[2], Option[3], Option[4], Option[5], Option[6],
                    Option[7], Option[8], Option[9], MainDictionaries, CustomCombo,
                    DictionariesButton, ResetButton, HelpButton, OK});

  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->OnConfigurationAvailable = [this](QObject *s) {
    DialogControlConfigurationAvailable(s);
  };
  connect(MainDictionaries, &QTreeWidget::itemChanged, this,
          [this](QTreeWidgetItem *row) { MainDictionariesChange(row); });
  connect(CustomCombo, &QComboBox::currentIndexChanged, this,
          &TSpellCheckConfigDialog::CustomComboChange);
  connect(DictionariesButton, &QPushButton::clicked, this,
          &TSpellCheckConfigDialog::DictionariesButtonClick);
  connect(ResetButton, &QPushButton::clicked, this, &TSpellCheckConfigDialog::ResetButtonClick);
  connect(HelpButton, &QPushButton::clicked, this, [this] { DialogControl->HelpConfigDialog(); });
  connect(OK, &QPushButton::clicked, this, &QDialog::accept);
}

void TSpellCheckConfigDialog::DialogControlConfigurationAvailable(QObject *)
{
  const auto s = [this](LS id) { return DialogControl->GetString(id); };
  const TSpellDialogCommands visible = DialogControl->CommandsVisible();
  const TSpellDialogCommands enabled = DialogControl->CommandsEnabled();
  setWindowTitle(s(LS::lsSpellingOptions));
  OptionsGroup->setTitle(s(LS::lsDlgOptionsLabel));
  DictionariesGroup->setTitle(s(LS::lsDlgDictionariesLabel));
  MainDictionaries->setHeaderLabels({s(LS::lsDlgName), s(LS::lsDlgFilename)});
  CustomLabel->setText(s(LS::lsDlgCustomDictionary));
  DictionariesButton->setText(s(LS::lsDlgDictionaries));
  HelpButton->setText(s(LS::lsDlgHelp));
  ResetButton->setText(s(LS::lsDlgResetDefaults));
  OK->setText(s(LS::lsDlgOK));
  const auto apply = [&](QWidget *w, TSpellDialogCommand c) {
    w->setVisible(visible.Contains(c));
    w->setEnabled(enabled.Contains(c));
  };
  apply(DictionariesButton, sdcCustomDictionaries);
  apply(CustomCombo, sdcCustomDictionary);
  CustomLabel->setVisible(!CustomCombo->isHidden());
  apply(ResetButton, sdcResetDefaults);
  apply(OK, sdcConfigOK);
  apply(HelpButton, sdcHelp);
  HelpButton->setVisible(visible.Contains(sdcHelp) && DialogControl->HelpCtxConfigDialog() != 0);

  FillOptions();
  // Leftover option rows go: the dictionaries and the button row move up, the dialog shrinks.
  const int shrink = FHiddenRows * OptionStep;
  OptionsGroup->resize(OptionsGroup->width(), 22 + 10 * OptionStep - shrink);
  DictionariesGroup->move(8, 192 - shrink);
  for (QPushButton *b : {ResetButton, HelpButton, OK})
    b->move(b->x(), 366 - shrink);
  setFixedSize(320, DesignHeight - shrink);
  if (DictionariesButton->isHidden() && CustomCombo->isHidden())
    MainDictionaries->resize(MainDictionaries->width(),
                             DictionariesButton->geometry().bottom() - MainDictionaries->y());
  if (OK->isHidden() && HelpButton->isHidden())
    DictionariesGroup->resize(DictionariesGroup->width(),
                              OK->geometry().bottom() - DictionariesGroup->y());
  FillMainDictionaries();
  FillCustomCombo();
}

void TSpellCheckConfigDialog::FillOptions()
{
  FFilling = true;
  const TSpellOptions options = DialogControl->Configuration()
                                    ? DialogControl->Configuration()->SpellOptions()
                                    : TSpellOptions();
  const TSpellOptions available = DialogControl->AvailableOptions();
  int next = 0;
  for (int o = soLiveSpelling; o <= soUser4 && next < 10; ++o) {
    const auto option = TSpellOption(o);
    if (!available.Contains(option))
      continue;
    QCheckBox *box = Option[next++];
    box->setText(DialogControl->GetOptionString(option));
    box->setProperty("option", o);
    box->setChecked(options.Contains(option));
    box->setVisible(true);
  }
  FHiddenRows = 10 - next;
  for (int i = next; i < 10; ++i)
    Option[i]->setVisible(false);
  FFilling = false;
}

void TSpellCheckConfigDialog::OptionClick(QCheckBox *Box)
{
  TWrightConfig *config = DialogControl->Configuration();
  if (FFilling || !config || !Box->property("option").isValid())
    return;
  TSpellOptions options = config->SpellOptions();
  options.Set(TSpellOption(Box->property("option").toInt()), Box->isChecked());
  config->SetSpellOptions(options);
}

void TSpellCheckConfigDialog::FillMainDictionaries()
{
  TWrightConfig *config = DialogControl->Configuration();
  FFilling = true;
  MainDictionaries->clear();
  const TStringList main = DialogControl->AvailableMain();
  for (int i = 0; i < main.Count(); ++i) {
    const QString m = main.Strings(i);
    std::unique_ptr<TMainDictionary> dictionary = DialogControl->GetMainDictionary(m);
    auto *row = new QTreeWidgetItem(
        QStringList{dictionary ? dictionary->Title() : QStringLiteral("???"), ExtractFileName(m)});
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    row->setData(0, FileRole, m);
    row->setCheckState(0, config && config->MainDictionaries().IndexOf(m) >= 0 ? Qt::Checked
                                                                               : Qt::Unchecked);
    MainDictionaries->addTopLevelItem(row);
  }
  if (DialogControl->CommandsVisible().Contains(sdcMainDictFolderBrowse)) {
    auto *row = new QTreeWidgetItem(QStringList{DialogControl->GetString(LS::lsDlgBrowseForMain)});
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    row->setCheckState(0, Qt::Unchecked);
    MainDictionaries->addTopLevelItem(row);
  }
  const int scroll = MainDictionaries->topLevelItemCount() > 4
                         ? style()->pixelMetric(QStyle::PM_ScrollBarExtent)
                         : 0;
  MainDictionaries->setColumnWidth(1, MainDictionaries->width() - MainDictionaries->columnWidth(0) -
                                          4 - scroll);
  FFilling = false;
}

void TSpellCheckConfigDialog::MainDictionariesChange(QTreeWidgetItem *Row)
{
  TWrightConfig *config = DialogControl->Configuration();
  if (FFilling || !config)
    return;
  const QString file = Row->data(0, FileRole).toString();
  const bool checked = Row->checkState(0) == Qt::Checked;
  if (file.isEmpty()) {
    // The last row locates a further folder; it never stays checked.
    if (!checked)
      return;
    FFilling = true;
    Row->setCheckState(0, Qt::Unchecked);
    FFilling = false;
    // After this signal: the refill deletes the row it comes from.
    QMetaObject::invokeMethod(
        this,
        [this] {
          DialogControl->SetupAddDictionaryDir();
          FillMainDictionaries();
        },
        Qt::QueuedConnection);
    return;
  }
  TStringList &list = config->MainDictionaries();
  const int index = list.IndexOf(file);
  if (checked && index < 0)
    list.Add(file);
  else if (!checked && index >= 0)
    list.Delete(index);
}

void TSpellCheckConfigDialog::FillCustomCombo()
{
  TWrightConfig *config = DialogControl->Configuration();
  FFilling = true;
  CustomCombo->clear();
  const TStringList custom = DialogControl->AvailableCustom();
  const QString active = config ? config->ActiveCustomDictionary() : QString();
  for (int i = 0; i < custom.Count(); ++i) {
    CustomCombo->addItem(custom.Strings(i), custom.Strings(i));
    if (QString::compare(custom.Strings(i), active, Qt::CaseInsensitive) == 0 ||
        QString::compare(custom.Strings(i), ExtractFileName(active), Qt::CaseInsensitive) == 0)
      CustomCombo->setCurrentIndex(i);
  }
  FFilling = false;
}

void TSpellCheckConfigDialog::CustomComboChange()
{
  TWrightConfig *config = DialogControl->Configuration();
  if (FFilling || !config || CustomCombo->currentIndex() < 0)
    return;
  config->SetActiveCustomDictionary(CustomCombo->currentData().toString());
}

void TSpellCheckConfigDialog::DictionariesButtonClick()
{
  DialogControl->SetupCustomDictionaries();
  FillCustomCombo();
}

void TSpellCheckConfigDialog::ResetButtonClick()
{
  if (TWrightConfig *config = DialogControl->Configuration())
    config->ResetConfigurationDefaults();
  FillMainDictionaries();
  FillCustomCombo();
  FillOptions();
}

bool TSpellCheckConfigDialog::eventFilter(QObject *Watched, QEvent *Event)
{
  // A click on a row's text toggles its check, as a click on its box does.
  if (Watched == MainDictionaries->viewport() && Event->type() == QEvent::MouseButtonRelease) {
    const auto *e = static_cast<QMouseEvent *>(Event);
    QTreeWidgetItem *row = MainDictionaries->itemAt(e->position().toPoint());
    const QRect box = MainDictionaries->visualItemRect(row);
    if (row && e->position().x() > box.left() + 20) {
      row->setCheckState(0, row->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
      return true;
    }
  }
  return QDialog::eventFilter(Watched, Event);
}
