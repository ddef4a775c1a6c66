#include "wrConfigurationDialogOffice.h"

#include "rtDialogControls.h"
#include "rtErrorBox.h"
#include "rtFormPlacement.h"
#include "rtShell.h"
#include "wrConfiguration.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrCustomDictionary.h"
#include "wrCustomDictionaryPages.h"
#include "wrMainDictionary.h"
#include "wrNewCustomDictionaryDialog.h"
#include "wrSpellBase.h"
#include "wrSpellDialogForm.h"
#include "wrUtil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>

using LS = TSpellLanguageString;

namespace {

// The vertical distance between two option rows.
constexpr int Spacing = 20;
// The distance between two buttons of the bottom row.
constexpr int ButtonStep = 81;
constexpr int EntryRole = Qt::UserRole;

QCheckBox *MakeBox(QWidget *parent, const char *name, int y)
{
  auto *b = new QCheckBox(QStringLiteral("xx") + QLatin1String(name), parent);
  b->setObjectName(QLatin1String(name));
  b->setGeometry(12, y, 370, 17);
  return b;
}
QGroupBox *MakeGroup(QWidget *parent, const char *name, const QRect &r)
{
  auto *g = new QGroupBox(QStringLiteral("xx"), parent);
  g->setObjectName(QLatin1String(name));
  g->setGeometry(r);
  return g;
}

QWidget *MakePage(QTabWidget *tabs, const char *name)
{
  auto *w = new QWidget;
  w->setObjectName(QLatin1String(name));
  tabs->addTab(w, QStringLiteral("xx"));
  return w;
}

// A name as the lists show it: the file name without folder, in lower case when it has no
// lower-case letter.
QString DisplayName(const QString &File)
{
  const QString name = ExtractFileName(File);
  return name == name.toUpper() ? name.toLower() : name;
}

bool SameName(const QString &a, const QString &b)
{
  return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

} // namespace

// --- The sample field ------------------------------------------------------------------------

TWrightSpellEdit::TWrightSpellEdit(QWidget *Parent) : QTextEdit(Parent)
{
  setFrameStyle(QFrame::NoFrame);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QTextEdit::NoWrap);
  setAcceptRichText(false);
  document()->setDocumentMargin(1);
  setEnabled(false);
  // Disabled, yet read like the caption beside it, on the group's own background.
  QPalette p = palette();
  p.setColor(QPalette::Disabled, QPalette::Text, p.color(QPalette::Active, QPalette::WindowText));
  p.setColor(QPalette::Disabled, QPalette::Base, Qt::transparent);
  setPalette(p);
  viewport()->setAutoFillBackground(false);
}

bool TWrightSpellEdit::AttachLiveSpelling(TConfigurationDialogCtrl *Control)
{
  if (FAsked)
    return FLiveAttached;
  FAsked = true;
  if (TSpellDialogAppearance *component = Control ? Control->Appearance() : nullptr)
    FLive = component->AttachLiveSpellingSample(this);
  FLiveAttached = FLive != nullptr;
  if (FLiveAttached)
    viewport()->update();
  return FLiveAttached;
}

// --- The dialog ---------------------------------------------------------------------------------

TSpellCheckConfigDialogV4::TSpellCheckConfigDialogV4(QWidget *Parent) : QDialog(Parent)
{
  setObjectName(QStringLiteral("SpellCheckConfigDialogV4"));
  SetFixedDialogFrame(this);
  setFont(SpellDialogFont());
  setFixedSize(436, 468);
  setWindowTitle(QStringLiteral("xxSpelling Options"));

  HelpButton = MakeButton(this, "HelpButton", QRect(191, 437, 75, 23), "xxHelp");
  CancelButton = MakeButton(this, "CancelButton", QRect(272, 437, 75, 23), "xxCancel");
  OK = MakeButton(this, "OK", QRect(353, 437, 75, 23), "xxOK");
  OK->setDefault(true);

  OptionsTabs = new QTabWidget(this);
  OptionsTabs->setObjectName(QStringLiteral("OptionsTabs"));
  OptionsTabs->setGeometry(8, 8, 420, 421);
  SpellingOptionsPage = MakePage(OptionsTabs, "SpellingOptionsPage");
  LanguageOptionsPage = MakePage(OptionsTabs, "LanguageOptionsPage");
  CustomDictionaryOptionsPage = MakePage(OptionsTabs, "CustomDictionaryOptionsPage");

  // Spelling page: eight general rows and six ignore rows, collapsed at set-up.
  GeneralOptionsGroupBox =
      MakeGroup(SpellingOptionsPage, "GeneralOptionsGroupBox", QRect(8, 8, 398, 24 + 8 * Spacing));
  LiveSpellCheckbox = MakeBox(GeneralOptionsGroupBox, "LiveSpellCheckbox", 20);
  AutoCorrectCheckbox = MakeBox(GeneralOptionsGroupBox, "AutoCorrectCheckbox", 20 + Spacing);
  DUalCapsCheckbox = MakeBox(GeneralOptionsGroupBox, "DUalCapsCheckbox", 20 + 2 * Spacing);
  RepeatedWordsCheckbox =
      MakeBox(GeneralOptionsGroupBox, "RepeatedWordsCheckbox", 20 + 3 * Spacing);
  UserCheckBox1 = MakeBox(GeneralOptionsGroupBox, "UserCheckBox1", 20 + 4 * Spacing);
  UserCheckBox2 = MakeBox(GeneralOptionsGroupBox, "UserCheckBox2", 20 + 5 * Spacing);
  UserCheckBox3 = MakeBox(GeneralOptionsGroupBox, "UserCheckBox3", 20 + 6 * Spacing);
  UserCheckBox4 = MakeBox(GeneralOptionsGroupBox, "UserCheckBox4", 20 + 7 * Spacing);
  SpellingErrorsEdit = new TWrightSpellEdit(GeneralOptionsGroupBox);
  SpellingErrorsEdit->setObjectName(QStringLiteral("SpellingErrorsEdit"));
  SpellingErrorsEdit->setGeometry(200, 18, 150, 20);
  IgnoreOptionsGroupBox =
      MakeGroup(SpellingOptionsPage, "IgnoreOptionsGroupBox",
                QRect(8, GeneralOptionsGroupBox->geometry().bottom() + 9, 398, 24 + 6 * Spacing));
  UPPERCASECheckbox = MakeBox(IgnoreOptionsGroupBox, "UPPERCASECheckbox", 20);
  NumbersCheckbox = MakeBox(IgnoreOptionsGroupBox, "NumbersCheckbox", 20 + Spacing);
  HTMLCheckbox = MakeBox(IgnoreOptionsGroupBox, "HTMLCheckbox", 20 + 2 * Spacing);
  InternetAddressCheckbox =
      MakeBox(IgnoreOptionsGroupBox, "InternetAddressCheckbox", 20 + 3 * Spacing);
  AbbreviationsCheckbox = MakeBox(IgnoreOptionsGroupBox, "AbbreviationsCheckbox", 20 + 4 * Spacing);
  QuotedLineCheckbox = MakeBox(IgnoreOptionsGroupBox, "QuotedLineCheckbox", 20 + 5 * Spacing);
  QuotedLineEdit = new QLineEdit(IgnoreOptionsGroupBox);
  QuotedLineEdit->setObjectName(QStringLiteral("QuotedLineEdit"));
  QuotedLineEdit->setGeometry(300, 20 + 5 * Spacing - 2, 60, 21);
  HiddenSizingLabel =
      MakeLabel(SpellingOptionsPage, "HiddenSizingLabel", QRect(0, 0, 10, 13), nullptr, "");
  HiddenSizingLabel->setVisible(false);

  // Language page.
  LanguageSettingsGroupBox =
      MakeGroup(LanguageOptionsPage, "LanguageSettingsGroupBox", QRect(8, 8, 398, 72));
  LanguageSelectLabel = MakeLabel(LanguageSettingsGroupBox, "LanguageSelectLabel",
                                  QRect(12, 20, 374, 13), nullptr, "xx");
  LanguageSelectCombo = new QComboBox(LanguageSettingsGroupBox);
  LanguageSelectCombo->setObjectName(QStringLiteral("LanguageSelectCombo"));
  LanguageSelectCombo->setGeometry(12, 38, 374, 22);
  LanguageSelectLabel->setBuddy(LanguageSelectCombo);
  AdditionalDictionariesGroupBox =
      MakeGroup(LanguageOptionsPage, "AdditionalDictionariesGroupBox", QRect(8, 88, 398, 252));
  AdditionalDictionariesLabel =
      MakeLabel(AdditionalDictionariesGroupBox, "AdditionalDictionariesLabel",
                QRect(12, 20, 374, 13), nullptr, "xx");
  AdditionalDictionariesList = new QTreeWidget(AdditionalDictionariesGroupBox);
  AdditionalDictionariesList->setObjectName(QStringLiteral("AdditionalDictionariesList"));
  AdditionalDictionariesList->setGeometry(12, 38, 374, 170);
  AdditionalDictionariesList->setColumnCount(2);
  AdditionalDictionariesList->setColumnWidth(0, 150);
  AdditionalDictionariesList->setColumnWidth(1, 205);
  AdditionalDictionariesList->setHeaderHidden(true);
  AdditionalDictionariesList->setRootIsDecorated(false);
  AdditionalDictionariesList->setAllColumnsShowFocus(true);
  AdditionalDictionariesList->setSelectionMode(QAbstractItemView::SingleSelection);
  AdditionalDictionariesList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  AdditionalDictionariesLabel->setBuddy(AdditionalDictionariesList);
  LocateDictionariesButton = MakeButton(AdditionalDictionariesGroupBox, "LocateDictionariesButton",
                                        QRect(12, 216, 140, 23), "xxLocate Dictionaries...");
  EditAdditionalButton = MakeButton(AdditionalDictionariesGroupBox, "EditAdditionalButton",
                                    QRect(311, 216, 75, 23), "xxEdit...");
  LearningLabel =
      MakeLabel(LanguageOptionsPage, "LearningLabel", QRect(16, 350, 380, 15), nullptr, "xx");
  DownloadLabel =
      MakeLabel(LanguageOptionsPage, "DownloadLabel", QRect(16, 370, 380, 15), nullptr, "xx");
  for (QLabel *l : {LearningLabel, DownloadLabel}) {
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, p.color(QPalette::Link));
    l->setPalette(p);
    l->setCursor(Qt::PointingHandCursor);
    l->installEventFilter(this);
  }

  // Custom dictionary page.
  EditCustomGroupBox =
      MakeGroup(CustomDictionaryOptionsPage, "EditCustomGroupBox", QRect(8, 8, 398, 380));
  ChooseCustomLabel =
      MakeLabel(EditCustomGroupBox, "ChooseCustomLabel", QRect(12, 20, 374, 13), nullptr, "xx");
  ChooseCustomCombo = new QComboBox(EditCustomGroupBox);
  ChooseCustomCombo->setObjectName(QStringLiteral("ChooseCustomCombo"));
  ChooseCustomCombo->setGeometry(12, 38, 287, 22);
  ChooseCustomLabel->setBuddy(ChooseCustomCombo);
  NewCustomButton =
      MakeButton(EditCustomGroupBox, "NewCustomButton", QRect(307, 37, 79, 23), "xxNew...");
  ModifyCustomLabel =
      MakeLabel(EditCustomGroupBox, "ModifyCustomLabel", QRect(12, 72, 374, 13), nullptr, "xx");
  Pages = new TCustomDictionaryPages(EditCustomGroupBox, QRect(12, 90, 374, 280));
  Pages->OnEditFocus = [this](bool inEdit) { OK->setDefault(!inEdit); };

  SetTabOrderChain({OptionsTabs,
                    LiveSpellCheckbox,
                    AutoCorrectCheckbox,
                    DUalCapsCheckbox,
                    RepeatedWordsCheckbox,
                    UserCheckBox1,
                    UserCheckBox2,
                    UserCheckBox3,
                    UserCheckBox4,
                    UPPERCASECheckbox,
                    NumbersCheckbox,
                    HTMLCheckbox,
                    InternetAddressCheckbox,
                    AbbreviationsCheckbox,
                    QuotedLineCheckbox,
                    QuotedLineEdit,
                    LanguageSelectCombo,
                    AdditionalDictionariesList,
                    LocateDictionariesButton,
                    EditAdditionalButton,
                    ChooseCustomCombo,
                    NewCustomButton,
                    Pages->EditCustomTabs,
                    HelpButton,
                    CancelButton,
                    OK});

  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->OnConfigurationAvailable = [this](QObject *s) {
    DialogControlConfigurationAvailable(s);
  };

  connect(OK, &QPushButton::clicked, this, &TSpellCheckConfigDialogV4::OKClick);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton, &QPushButton::clicked, this, [this] { DialogControl->HelpConfigDialog(); });
  connect(OptionsTabs, &QTabWidget::currentChanged, this, [this] {
    if (OptionsTabs->currentWidget() == CustomDictionaryOptionsPage)
      CustomDictionaryOptionsPageShow();
    else if (OptionsTabs->currentWidget() == SpellingOptionsPage && isVisible())
      SpellingErrorsEdit->AttachLiveSpelling(DialogControl);
  });
  connect(LanguageSelectCombo, &QComboBox::currentIndexChanged, this,
          &TSpellCheckConfigDialogV4::LanguageSelectComboChange);
  connect(ChooseCustomCombo, &QComboBox::currentIndexChanged, this,
          &TSpellCheckConfigDialogV4::ChooseCustomComboChange);
  connect(NewCustomButton, &QPushButton::clicked, this,
          &TSpellCheckConfigDialogV4::NewCustomButtonClick);
  connect(LocateDictionariesButton, &QPushButton::clicked, this,
          &TSpellCheckConfigDialogV4::LocateDictionariesButtonClick);
  connect(EditAdditionalButton, &QPushButton::clicked, this,
          &TSpellCheckConfigDialogV4::EditAdditionalDictionary);
  connect(AdditionalDictionariesList, &QTreeWidget::itemChanged, this,
          [this](QTreeWidgetItem *row) { AdditionalDictionariesChange(row); });
  connect(AdditionalDictionariesList, &QTreeWidget::currentItemChanged, this,
          &TSpellCheckConfigDialogV4::UpdateEditAdditionalButton);
  connect(AdditionalDictionariesList, &QTreeWidget::itemDoubleClicked, this,
          &TSpellCheckConfigDialogV4::EditAdditionalDictionary);
  AdditionalDictionariesList->installEventFilter(this);
}

TSpellCheckConfigDialogV4::~TSpellCheckConfigDialogV4()
{
  // The controls go after this object: their last focus events must not reach it.
  Pages->OnEditFocus = nullptr;
  Pages->SetDictionary(nullptr);
  FCustomDictionary.reset();
}

TSpellCheckConfigDialogV4::TListEntry *TSpellCheckConfigDialogV4::Entry(QTreeWidgetItem *Row)
{
  return Row ? static_cast<TListEntry *>(Row->data(0, EntryRole).value<void *>()) : nullptr;
}

int TSpellCheckConfigDialogV4::CaptionEnd(QCheckBox *Box)
{
  QString caption = Box->text();
  caption.remove(QLatin1Char('&'));
  HiddenSizingLabel->setFont(Box->font());
  HiddenSizingLabel->setText(caption);
  const QStyle *style = Box->style();
  const int indicator = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, Box) +
                        style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, Box);
  return Box->x() + indicator + HiddenSizingLabel->sizeHint().width();
}

void TSpellCheckConfigDialogV4::DialogControlConfigurationAvailable(QObject *)
{
  FBuildingLists = false;
  TWrightConfig *config = DialogControl->Configuration();
  FMainDictionaries.Assign(config->MainDictionaries());
  FCustomDictionaries.Assign(config->CustomDictionaries());
  FMSWordCustomDictionaries.Assign(config->MSWordCustomDictionaries());
  FActiveCustomDictionary = config->ActiveCustomDictionary();
  const auto s = [this](LS id) { return DialogControl->GetString(id); };
  const TSpellDialogCommands visible = DialogControl->CommandsVisible();
  const TSpellDialogCommands enabled = DialogControl->CommandsEnabled();

  // 1. Captions.
  setWindowTitle(s(LS::lsSpellingOptions));
  OptionsTabs->setTabText(0, s(LS::lsConfigSpellingOptions));
  OptionsTabs->setTabText(1, s(LS::lsConfigLanguageOptions));
  OptionsTabs->setTabText(2, s(LS::lsConfigCustomDictionaryOptions));
  HelpButton->setText(s(LS::lsDlgHelp));
  CancelButton->setText(s(LS::lsDlgCancel));
  OK->setText(s(LS::lsDlgOK));

  // 2. The bottom row stays right-aligned over its hidden buttons.
  HelpButton->setVisible(visible.Contains(sdcHelp) && DialogControl->HelpCtxConfigDialog() != 0);
  HelpButton->setEnabled(enabled.Contains(sdcHelp));
  CancelButton->setVisible(visible.Contains(sdcConfigCancel));
  CancelButton->setEnabled(enabled.Contains(sdcConfigCancel));
  OK->setVisible(visible.Contains(sdcConfigOK));
  OK->setEnabled(enabled.Contains(sdcConfigOK));
  const QList<QPushButton *> row{HelpButton, CancelButton, OK};
  for (qsizetype i = row.size() - 1; i > 0; --i)
    if (row[i]->isHidden())
      for (qsizetype j = 0; j < i; ++j)
        row[j]->move(row[j]->x() + ButtonStep, row[j]->y());

  // 3 and 5. Option boxes: hidden ones collapse, and their groups shrink.
  const TSpellOptions options = config->SpellOptions();
  const TSpellOptions available = DialogControl->AvailableOptions();
  struct Box {
    QCheckBox *box;
    TSpellOption option;
    QString caption;
  };
  const auto layBoxes = [&](QGroupBox *group, std::initializer_list<Box> boxes) {
    int hidden = 0;
    for (const Box &b : boxes) {
      b.box->setText(b.caption);
      b.box->setChecked(options.Contains(b.option));
      const bool shown = available.Contains(b.option);
      b.box->setVisible(shown);
      b.box->move(b.box->x(), b.box->y() - hidden * Spacing);
      if (!shown)
        ++hidden;
    }
    group->resize(group->width(), group->height() - hidden * Spacing);
    return hidden * Spacing;
  };
  const auto o = [this](TSpellOption option) { return DialogControl->GetOptionString(option); };
  const int generalShrink =
      layBoxes(GeneralOptionsGroupBox, {{LiveSpellCheckbox, soLiveSpelling, o(soLiveSpelling)},
                                        {AutoCorrectCheckbox, soLiveCorrect, o(soLiveCorrect)},
                                        {DUalCapsCheckbox, soDUalCaps, o(soDUalCaps)},
                                        {RepeatedWordsCheckbox, soRepeated, o(soRepeated)},
                                        {UserCheckBox1, soUser1, o(soUser1)},
                                        {UserCheckBox2, soUser2, o(soUser2)},
                                        {UserCheckBox3, soUser3, o(soUser3)},
                                        {UserCheckBox4, soUser4, o(soUser4)}});
  GeneralOptionsGroupBox->setTitle(s(LS::lsConfigGeneralOptions));
  // 4. The sample sits 30 pixels right of the live-spelling caption.
  SpellingErrorsEdit->setPlainText(s(LS::lsConfigSpellingErrorsEdit));
  // As tall as the check box, so that both texts share a baseline; as wide as its text.
  SpellingErrorsEdit->setGeometry(
      CaptionEnd(LiveSpellCheckbox) + 30, LiveSpellCheckbox->y() + 1,
      SpellingErrorsEdit->fontMetrics().horizontalAdvance(SpellingErrorsEdit->toPlainText()) + 8,
      LiveSpellCheckbox->height());
  SpellingErrorsEdit->setVisible(!LiveSpellCheckbox->isHidden());

  IgnoreOptionsGroupBox->move(IgnoreOptionsGroupBox->x(),
                              IgnoreOptionsGroupBox->y() - generalShrink);
  IgnoreOptionsGroupBox->setTitle(s(LS::lsConfigIgnoreOptions));
  layBoxes(IgnoreOptionsGroupBox,
           {{UPPERCASECheckbox, soUpcase, s(LS::lsConfigIgnoreUppercase)},
            {NumbersCheckbox, soNumbers, s(LS::lsConfigIgnoreNumbers)},
            {HTMLCheckbox, soHTML, s(LS::lsConfigIgnoreHTML)},
            {InternetAddressCheckbox, soInternet, s(LS::lsConfigIgnoreInternet)},
            {AbbreviationsCheckbox, soAbbreviations, s(LS::lsConfigIgnoreAbbreviations)},
            {QuotedLineCheckbox, soQuoted, s(LS::lsConfigIgnoreQuoted)}});
  QuotedLineEdit->setText(config->QuoteChars());
  QuotedLineEdit->move(CaptionEnd(QuotedLineCheckbox) + 30, QuotedLineCheckbox->y() - 2);
  QuotedLineEdit->setVisible(!QuotedLineCheckbox->isHidden());
  for (QCheckBox *b : GeneralOptionsGroupBox->findChildren<QCheckBox *>())
    if (b != LiveSpellCheckbox)
      b->resize(370, b->height());
  // The live-spelling box ends where its sample begins, so a click on the sample does nothing.
  LiveSpellCheckbox->resize(SpellingErrorsEdit->x() - LiveSpellCheckbox->x() - 4,
                            LiveSpellCheckbox->height());
  QuotedLineCheckbox->resize(QuotedLineEdit->x() - QuotedLineCheckbox->x() - 4,
                             QuotedLineCheckbox->height());

  // 6. Language page.
  LanguageSettingsGroupBox->setTitle(s(LS::lsConfigLanguageSettings));
  LanguageSelectLabel->setText(s(LS::lsConfigChooseLanguage));
  AdditionalDictionariesGroupBox->setTitle(s(LS::lsConfigAdditionalDictionaries));
  AdditionalDictionariesLabel->setText(s(LS::lsConfigChooseAdditional));
  EditAdditionalButton->setText(s(LS::lsDlgEdit));
  EditAdditionalButton->setVisible(visible.Contains(sdcConfigEditDictionaryButton));
  LocateDictionariesButton->setText(s(LS::lsDlgBrowseForMainButton));
  LocateDictionariesButton->setVisible(visible.Contains(sdcMainDictFolderBrowse));
  if (EditAdditionalButton->isHidden() && LocateDictionariesButton->isHidden())
    AdditionalDictionariesGroupBox->resize(AdditionalDictionariesGroupBox->width(),
                                           AdditionalDictionariesList->geometry().bottom() + 9);
  LearningLabel->setText(s(LS::lsConfigLearnAboutMaking));
  LearningLabel->setVisible(visible.Contains(sdcConfigLearningLink));
  DownloadLabel->setText(s(LS::lsConfigDownloadAdditional));
  DownloadLabel->setVisible(visible.Contains(sdcConfigDownloadLink));
  if (LearningLabel->isHidden())
    DownloadLabel->move(DownloadLabel->x(), LearningLabel->y());

  // 7. Custom page.
  EditCustomGroupBox->setTitle(s(LS::lsEditCustomDictionaryLabel));
  ChooseCustomLabel->setText(s(LS::lsConfigChooseCustomDictionary));
  NewCustomButton->setText(s(LS::lsConfigNewCustomDictionary));
  ModifyCustomLabel->setText(s(LS::lsConfigModifyCustomDictionaryLabel));
  Pages->SetCaptions(s(LS::lsDlgAddedWords), s(LS::lsDlgAddedWordsExplanation),
                     s(LS::lsDlgIgnoreThisWord), s(LS::lsDlgAutoCorrectPairs),
                     s(LS::lsDlgAutoCorrectPairsExplanation), s(LS::lsDlgReplace), s(LS::lsDlgWith),
                     s(LS::lsDlgExcludedWords), s(LS::lsDlgExcludedWordsExplanation),
                     s(LS::lsDlgExcludeThisWord), s(LS::lsDlgAdd), s(LS::lsDlgDelete));
  Pages->SetPageVisible(wpAdded, visible.Contains(sdcAddedEdit));
  Pages->SetPageVisible(wpAutoCorrect, visible.Contains(sdcAutoCorrectEdit));
  Pages->SetPageVisible(wpExcluded,
                        visible.Contains(sdcExcludedEdit) && DialogControl->UseExcludeWords());

  // 8.
  LoadDictionaries();
}

void TSpellCheckConfigDialogV4::LoadDictionaries()
{
  FBuildingLists = true;
  AdditionalDictionariesList->clear();
  LanguageSelectCombo->clear();
  ChooseCustomCombo->clear();
  FEntryList.clear();
  const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
  const auto addRow = [&](const QString &caption, LS kind, bool checked,
                          std::unique_ptr<TListEntry> entry) {
    entry->FChecked = checked;
    auto *row = new QTreeWidgetItem(QStringList{caption, DialogControl->GetString(kind)});
    row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    row->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    row->setForeground(1, grey);
    row->setData(0, EntryRole, QVariant::fromValue(static_cast<void *>(entry.get())));
    FEntryList.push_back(std::move(entry));
    AdditionalDictionariesList->addTopLevelItem(row);
  };

  const TStringList main = DialogControl->AvailableMain();
  for (int i = 0; i < main.Count(); ++i) {
    const QString m = main.Strings(i);
    std::unique_ptr<TMainDictionary> dictionary = DialogControl->GetMainDictionary(m);
    if (!dictionary)
      continue;
    // The item remembers its file: files that cannot be opened leave no item, so positions in
    // the combo are not positions in the available list.
    LanguageSelectCombo->addItem(dictionary->Title(), m);
    if (FMainDictionaries.Count() > 0 && SameName(FMainDictionaries.Strings(0), m)) {
      LanguageSelectCombo->setCurrentIndex(LanguageSelectCombo->count() - 1);
      continue;
    }
    auto entry = std::make_unique<TListEntry>();
    entry->FName = m;
    addRow(dictionary->Title(), LS::lsConfigLanguageDictionary, FMainDictionaries.IndexOf(m) >= 0,
           std::move(entry));
  }
  if (FMainDictionaries.Count() == 0 ||
      LanguageSelectCombo->findData(FMainDictionaries.Strings(0)) < 0)
    LanguageSelectCombo->setCurrentIndex(-1);

  const TStringList custom = DialogControl->AvailableCustom();
  TWrightSpellBase *spell = DialogControl->WrightSpell();
  for (int i = 0; i < custom.Count(); ++i) {
    const QString f = custom.Strings(i);
    const QString d = DisplayName(f);
    // The item remembers the file as listed; its shown name may differ in case.
    ChooseCustomCombo->addItem(d, f);
    if (SameName(FActiveCustomDictionary, d) || SameName(FActiveCustomDictionary, f)) {
      ChooseCustomCombo->setCurrentIndex(ChooseCustomCombo->count() - 1);
      continue;
    }
    auto entry = std::make_unique<TListEntry>();
    entry->FCustom = true;
    entry->FName = f;
    addRow(d, LS::lsConfigCustomDictionary, FCustomDictionaries.IndexOf(f) >= 0, std::move(entry));
    if (spell && !spell->MayBecomeActiveCustom(f))
      ChooseCustomCombo->removeItem(ChooseCustomCombo->count() - 1);
  }
  if (ChooseCustomCombo->findData(FActiveCustomDictionary, Qt::UserRole, Qt::MatchFixedString) <
          0 &&
      ChooseCustomCombo->findText(FActiveCustomDictionary, Qt::MatchFixedString) < 0)
    ChooseCustomCombo->setCurrentIndex(-1);

  const TStringList word = DialogControl->AvailableMSWordCustom();
  for (int i = 0; i < word.Count(); ++i) {
    auto entry = std::make_unique<TListEntry>();
    entry->FMSWordCustom = true;
    entry->FName = word.Strings(i);
    addRow(DisplayName(word.Strings(i)), LS::lsConfigMSWordCustomDictionary,
           FMSWordCustomDictionaries.IndexOf(word.Strings(i)) >= 0, std::move(entry));
  }
  FBuildingLists = false;
  ShowFileProblems();
  UpdateEditAdditionalButton();
}

void TSpellCheckConfigDialogV4::ShowFileProblems()
{
  TWrightSpellBase *spell = DialogControl->WrightSpell();
  if (!spell)
    return;
  QStringList mainTexts;
  QStringList activeTexts;
  for (const TWrightSpellBase::TFileProblem &p : spell->FileProblems()) {
    if (p.Effect == TWrightSpellBase::feNoChecking || p.Effect == TWrightSpellBase::feWordsUnknown)
      mainTexts << p.Text();
    else if (p.Effect == TWrightSpellBase::feNoAdding &&
             (SameName(ExtractFileName(p.File), FActiveCustomDictionary) ||
              SameName(p.File, FActiveCustomDictionary)))
      activeTexts << p.Text();
  }
  const auto tell = [](QComboBox *combo, const QStringList &texts) {
    combo->setToolTip(texts.join(QLatin1Char('\n')));
    combo->setPlaceholderText(texts.isEmpty() ? QString() : texts.constFirst());
  };
  tell(LanguageSelectCombo, mainTexts);
  tell(ChooseCustomCombo, activeTexts);
  for (int i = 0; i < AdditionalDictionariesList->topLevelItemCount(); ++i) {
    QTreeWidgetItem *row = AdditionalDictionariesList->topLevelItem(i);
    const TListEntry *entry = Entry(row);
    if (!entry)
      continue;
    const std::vector<TWrightSpellBase::TFileProblem> found = spell->FileProblemsOf(entry->FName);
    if (found.empty())
      continue;
    QStringList texts;
    for (const auto &p : found)
      texts << p.Text();
    row->setText(1, texts.constFirst());
    row->setToolTip(0, texts.join(QLatin1Char('\n')));
    row->setToolTip(1, texts.join(QLatin1Char('\n')));
    row->setForeground(1, QColor(Qt::darkRed));
  }
}

void TSpellCheckConfigDialogV4::LanguageSelectComboChange()
{
  if (FBuildingLists)
    return;
  const QString m = LanguageSelectCombo->currentData().toString();
  if (m.isEmpty())
    return;
  const int p = FMainDictionaries.IndexOf(m);
  if (p == 0)
    return;
  // The previous language dictionary is dropped, not kept as an additional one; one already
  // listed as additional moves to the front rather than being listed twice.
  if (FMainDictionaries.Count() > 0)
    FMainDictionaries.Delete(0);
  const int q = FMainDictionaries.IndexOf(m);
  if (q < 0)
    FMainDictionaries.Insert(0, m);
  else
    FMainDictionaries.Move(q, 0);
  LoadDictionaries();
}

void TSpellCheckConfigDialogV4::AdditionalDictionariesChange(QTreeWidgetItem *Row)
{
  TListEntry *entry = Entry(Row);
  if (FBuildingLists || !entry)
    return;
  const bool checked = Row->checkState(0) == Qt::Checked;
  if (checked == entry->FChecked)
    return;
  entry->FChecked = checked;
  AdditionalDictionariesList->setCurrentItem(Row);
  TStringList &list = entry->FMSWordCustom ? FMSWordCustomDictionaries
                      : entry->FCustom     ? FCustomDictionaries
                                           : FMainDictionaries;
  const int index = list.IndexOf(entry->FName);
  if (checked && index < 0)
    list.Add(entry->FName);
  else if (!checked && index >= 0)
    list.Delete(index);
}

void TSpellCheckConfigDialogV4::UpdateEditAdditionalButton()
{
  const TListEntry *entry = Entry(AdditionalDictionariesList->currentItem());
  EditAdditionalButton->setEnabled(entry && (entry->FCustom || entry->FMSWordCustom));
}

void TSpellCheckConfigDialogV4::EditAdditionalDictionary()
{
  const TListEntry *entry = Entry(AdditionalDictionariesList->currentItem());
  if (!entry)
    return;
  if (entry->FMSWordCustom) {
    const QString file = DialogControl->WrightSpell()->ExpandVars(entry->FName);
    ShellExecute(this, QStringLiteral("open"), file, QString(), ExtractFileDir(file),
                 SW_SHOWNORMAL);
  } else if (entry->FCustom) {
    if (std::unique_ptr<TCustomDictionary> dictionary =
            DialogControl->GetCustomDictionary(entry->FName))
      DialogControl->EditCustomDictionary(dictionary.get());
  }
}

void TSpellCheckConfigDialogV4::DeleteAdditionalDictionary()
{
  const TListEntry *entry = Entry(AdditionalDictionariesList->currentItem());
  if (!entry || !entry->FCustom)
    return;
  if (MessageBox(this, DialogControl->GetString(LS::lsRemoveCustomDict),
                 DialogControl->GetString(LS::lsConfirmation), MB_YESNO | MB_ICONWARNING) != IDYES)
    return;
  const QString name = entry->FName;
  if (!DialogControl->RemoveCustomDictionary(name, false))
    return;
  // OK must not list the deleted file again: opening it would create it anew.
  const int index = FCustomDictionaries.IndexOf(name);
  if (index >= 0)
    FCustomDictionaries.Delete(index);
  LoadDictionaries();
}

void TSpellCheckConfigDialogV4::LocateDictionariesButtonClick()
{
  DialogControl->SetupAddDictionaryDir();
  LoadDictionaries();
}

void TSpellCheckConfigDialogV4::OpenLink(bool Download)
{
  const TSpellDialogAppearance *component = DialogControl->Appearance();
  if (!component)
    return;
  const QString url = ExpandPathMacros(Download ? component->DownloadDictionariesURL()
                                                : component->EditDictionariesURL());
  if (!url.isEmpty())
    ShellExecute(this, QStringLiteral("open"), url, QString(), QString(), SW_SHOWNORMAL);
}

// --- The custom dictionary page -------------------------------------------------------------------

void TSpellCheckConfigDialogV4::CustomDictionaryOptionsPageShow()
{
  if (FCustomDictionary && FCustomDictionaryFilename == FActiveCustomDictionary)
    return;
  Pages->SetDictionary(nullptr);
  FCustomDictionary.reset(); // a modified dictionary is saved here
  FCustomDictionary = DialogControl->GetCustomDictionary(FActiveCustomDictionary);
  FCustomDictionaryFilename = FActiveCustomDictionary;
  DialogControl->SetCustomDictionary(FCustomDictionary.get());
  const bool loaded = FCustomDictionary != nullptr;
  Pages->EditCustomTabs->setVisible(loaded);
  Pages->EditCustomTabs->setEnabled(loaded);
  ModifyCustomLabel->setVisible(loaded);
  ModifyCustomLabel->setEnabled(loaded);
  QTabWidget *tabs = Pages->EditCustomTabs;
  const bool blocked = tabs->blockSignals(true);
  Pages->SetDictionary(FCustomDictionary.get());
  Pages->ChooseFullestPage();
  tabs->blockSignals(blocked);
  Pages->ActivePageShown();
}

void TSpellCheckConfigDialogV4::ChooseCustomComboChange()
{
  if (FBuildingLists || ChooseCustomCombo->currentIndex() < 0)
    return;
  const QString chosen = ChooseCustomCombo->currentData().toString();
  if (chosen.isEmpty() || chosen == FActiveCustomDictionary)
    return;
  FActiveCustomDictionary = chosen;
  LoadDictionaries();
  CustomDictionaryOptionsPageShow();
}

void TSpellCheckConfigDialogV4::NewCustomButtonClick()
{
  const QString name = AskNewCustomDictionaryName(this, DialogControl);
  if (name.isEmpty())
    return;
  const int listed = ChooseCustomCombo->findText(name, Qt::MatchExactly);
  if (listed >= 0) {
    ChooseCustomCombo->setCurrentIndex(listed);
    return;
  }
  // A name the component refuses (".wdu" from an empty text, a file it cannot create) is not
  // made the active dictionary: opening it later would create the file after all.
  if (!DialogControl->CreateNewCustomDictionary(name))
    return;
  FActiveCustomDictionary = name;
  if (FCustomDictionaries.IndexOf(name) < 0)
    FCustomDictionaries.Add(name);
  LoadDictionaries();
  CustomDictionaryOptionsPageShow();
  ChooseCustomCombo->setFocus();
}

// --- OK -------------------------------------------------------------------------------------------

void TSpellCheckConfigDialogV4::OKClick()
{
  TWrightConfig *config = DialogControl->Configuration();
  if (!config) {
    accept();
    return;
  }
  const auto replace = [](TStringList &target, const TStringList &working) {
    if (target.ToQStringList() != working.ToQStringList())
      target.Assign(working);
  };
  replace(config->MainDictionaries(), FMainDictionaries);
  replace(config->CustomDictionaries(), FCustomDictionaries);
  replace(config->MSWordCustomDictionaries(), FMSWordCustomDictionaries);
  config->SetActiveCustomDictionary(FActiveCustomDictionary);
  TSpellOptions options;
  const std::pair<QCheckBox *, TSpellOption> boxes[] = {{LiveSpellCheckbox, soLiveSpelling},
                                                        {AutoCorrectCheckbox, soLiveCorrect},
                                                        {DUalCapsCheckbox, soDUalCaps},
                                                        {RepeatedWordsCheckbox, soRepeated},
                                                        {UserCheckBox1, soUser1},
                                                        {UserCheckBox2, soUser2},
                                                        {UserCheckBox3, soUser3},
                                                        {UserCheckBox4, soUser4},
                                                        {UPPERCASECheckbox, soUpcase},
                                                        {NumbersCheckbox, soNumbers},
                                                        {HTMLCheckbox, soHTML},
                                                        {InternetAddressCheckbox, soInternet},
                                                        {AbbreviationsCheckbox, soAbbreviations},
                                                        {QuotedLineCheckbox, soQuoted}};
  for (const auto &[box, option] : boxes)
    options.Set(option, box->isChecked());
  config->SetSpellOptions(options);
  config->SetQuoteChars(QuotedLineEdit->text().trimmed());
  config->SaveConfiguration();
  accept();
}

void TSpellCheckConfigDialogV4::showEvent(QShowEvent *Event)
{
  QDialog::showEvent(Event);
  if (OptionsTabs->currentWidget() == SpellingOptionsPage)
    SpellingErrorsEdit->AttachLiveSpelling(DialogControl);
}

bool TSpellCheckConfigDialogV4::eventFilter(QObject *Watched, QEvent *Event)
{
  if ((Watched == LearningLabel || Watched == DownloadLabel) &&
      Event->type() == QEvent::MouseButtonRelease) {
    OpenLink(Watched == DownloadLabel);
    return true;
  }
  if (Watched == AdditionalDictionariesList) {
    if (Event->type() == QEvent::FocusIn || Event->type() == QEvent::FocusOut)
      OK->setDefault(Event->type() == QEvent::FocusOut);
    if (Event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent *>(Event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        EditAdditionalDictionary();
        return true;
      }
      if (key == Qt::Key_Delete) {
        DeleteAdditionalDictionary();
        return true;
      }
    }
  }
  return QDialog::eventFilter(Watched, Event);
}
