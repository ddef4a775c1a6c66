#include "wrCustomDictionaryEditDialog.h"

#include "rtFormPlacement.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrCustomDictionary.h"
#include "wrCustomDictionaryPages.h"
#include "wrSpellDialogForm.h"
#include "wrUtil.h"

#include <QPushButton>
#include <QTabWidget>

using LS = TSpellLanguageString;

namespace {
constexpr int DesignWidth = 340;
constexpr int DesignHeight = 377;
} // namespace

TCustomDictionaryEditDialog::TCustomDictionaryEditDialog(QWidget *Parent) : QDialog(Parent)
{
  setObjectName(QStringLiteral("CustomDictionaryEditDialog"));
  setFont(SpellDialogFont());
  // Sizeable in height only: the lists stretch with it.
  resize(DesignWidth, DesignHeight);
  setMinimumSize(DesignWidth, DesignHeight);
  setMaximumWidth(DesignWidth);
  setWindowTitle(QStringLiteral("xxEdit Custom Dictionary"));

  Pages = new TCustomDictionaryPages(this, QRect(8, 8, DesignWidth - 16, DesignHeight - 47));
  HelpButton = new QPushButton(QStringLiteral("xxHelp"), this);
  HelpButton->setObjectName(QStringLiteral("HelpButton"));
  HelpButton->setAutoDefault(false);
  OK = new QPushButton(QStringLiteral("xxOK"), this);
  OK->setObjectName(QStringLiteral("OK"));
  OK->setDefault(true);
  SetTabOrderChain({Pages->EditCustomTabs, HelpButton, OK});

  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->OnConfigurationAvailable = [this](QObject *s) {
    DialogControlConfigurationAvailable(s);
  };
  DialogControl->OnCustomDictionaryAvailable = [this](QObject *s) {
    DialogControlCustomDictionaryAvailable(s);
  };
  Pages->OnEditFocus = [this](bool inEdit) { OK->setDefault(!inEdit); };
  Pages->OnNoDictionary = [this] {
    // Not from inside show(): the modal loop has not started yet.
    QMetaObject::invokeMethod(
        this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
  };
  connect(OK, &QPushButton::clicked, this, &QDialog::accept);
  connect(HelpButton, &QPushButton::clicked, this,
          [this] { DialogControl->HelpDictionaryEditDialog(); });
}

TCustomDictionaryEditDialog::~TCustomDictionaryEditDialog()
{
  // The controls go after this object: their last focus events must not reach it.
  Pages->OnEditFocus = nullptr;
  Pages->OnNoDictionary = nullptr;
}

void TCustomDictionaryEditDialog::resizeEvent(QResizeEvent *Event)
{
  QDialog::resizeEvent(Event);
  const int w = width(), h = height();
  Pages->EditCustomTabs->setGeometry(8, 8, w - 16, h - 47);
  OK->setGeometry(w - 8 - 75, h - 31, 75, 23);
  HelpButton->setGeometry(w - 8 - 75 - 81, h - 31, 75, 23);
}

void TCustomDictionaryEditDialog::DialogControlConfigurationAvailable(QObject *)
{
  const auto s = [this](LS id) { return DialogControl->GetString(id); };
  Pages->SetCaptions(s(LS::lsDlgAddedWords), s(LS::lsDlgAddedWordsExplanation),
                     s(LS::lsDlgIgnoreThisWord), s(LS::lsDlgAutoCorrectPairs),
                     s(LS::lsDlgAutoCorrectPairsExplanation), s(LS::lsDlgReplace), s(LS::lsDlgWith),
                     s(LS::lsDlgExcludedWords), s(LS::lsDlgExcludedWordsExplanation),
                     s(LS::lsDlgExcludeThisWord), s(LS::lsDlgAdd), s(LS::lsDlgDelete));
  HelpButton->setText(s(LS::lsDlgHelp));
  OK->setText(s(LS::lsDlgOK));
  // Help shows only with a help context.
  HelpButton->setVisible(DialogControl->CommandsVisible().Contains(sdcHelp) &&
                         DialogControl->HelpCtxDictionaryEditDialog() != 0);
  HelpButton->setEnabled(DialogControl->CommandsEnabled().Contains(sdcHelp));
}

void TCustomDictionaryEditDialog::DialogControlCustomDictionaryAvailable(QObject *)
{
  TCustomDictionary *dictionary = DialogControl->CustomDictionary();
  const bool internal = dictionary == DialogControl->InternalCustom();
  const TSpellDialogCommands visible = DialogControl->CommandsVisible();
  Pages->SetPageVisible(wpAdded, visible.Contains(sdcAddedEdit));
  Pages->SetPageVisible(wpAutoCorrect, visible.Contains(sdcAutoCorrectEdit));
  Pages->SetPageVisible(wpExcluded, DialogControl->UseExcludeWords() && !internal &&
                                        visible.Contains(sdcExcludedEdit));
  QTabWidget *tabs = Pages->EditCustomTabs;
  if (internal) {
    setWindowTitle(DialogControl->GetString(LS::lsIgnoreAllChangeAllTitle));
    tabs->setTabText(tabs->indexOf(Pages->AddedWordsSheet),
                     DialogControl->GetString(LS::lsDlgIgnoreAll));
    tabs->setTabText(tabs->indexOf(Pages->AutoCorrectWordsSheet),
                     DialogControl->GetString(LS::lsDlgChangeAll));
  } else {
    setWindowTitle(ExtractFileName(dictionary->Filename()));
  }
  // The page switch below fills the page it shows; the shown page is filled when the form shows.
  const bool blocked = tabs->blockSignals(true);
  Pages->SetDictionary(dictionary);
  Pages->ChooseFullestPage();
  tabs->blockSignals(blocked);
  if (isVisible())
    Pages->ActivePageShown();
}

void TCustomDictionaryEditDialog::showEvent(QShowEvent *Event)
{
  QDialog::showEvent(Event);
  Pages->ActivePageShown();
}

void TCustomDictionaryEditDialog::reject() { done(QDialog::Accepted); }
