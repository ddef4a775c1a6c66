#include "wrSpellDialog.h"

#include "rtDialogControls.h"
#include "rtFormPlacement.h"
#include "rtStringList.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrSpellBase.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using LS = TSpellLanguageString;

TSpellDialog::TSpellDialog(QWidget *Parent) : TSpellDialogBaseForm(Parent)
{
  setObjectName(QStringLiteral("SpellDialog"));
  setFixedSize(432, 167);
  setWindowTitle(QStringLiteral("xxSpelling"));

  NotFoundEdit = new QLineEdit(this);
  NotFoundEdit->setObjectName(QStringLiteral("NotFoundEdit"));
  NotFoundEdit->setGeometry(96, 8, 160, 21);
  NotFoundEdit->setReadOnly(true);
  ReplaceWithEdit = new QLineEdit(this);
  ReplaceWithEdit->setObjectName(QStringLiteral("ReplaceWithEdit"));
  ReplaceWithEdit->setGeometry(96, 35, 160, 21);
  SuggestionsListbox = new QListWidget(this);
  SuggestionsListbox->setObjectName(QStringLiteral("SuggestionsListbox"));
  SuggestionsListbox->setGeometry(96, 62, 160, 97);
  NotFoundText =
      MakeLabel(this, "NotFoundText", QRect(8, 11, 86, 16), NotFoundEdit, "xxNot Found:");
  ReplaceWithText =
      MakeLabel(this, "ReplaceWithText", QRect(8, 38, 86, 16), ReplaceWithEdit, "xxReplace With:");
  SuggestionsText = MakeLabel(this, "SuggestionsText", QRect(8, 65, 86, 16), SuggestionsListbox,
                              "xxSuggestions:");
  IgnoreButton = MakeButton(this, "IgnoreButton", QRect(264, 6, 80, 23), "xxIgnore");
  IgnoreAllButton = MakeButton(this, "IgnoreAllButton", QRect(348, 6, 80, 23), "xxIgnore All");
  ChangeButton = MakeButton(this, "ChangeButton", QRect(264, 33, 80, 23), "xxChange");
  ChangeAllButton = MakeButton(this, "ChangeAllButton", QRect(348, 33, 80, 23), "xxChange All");
  AddButton = MakeButton(this, "AddButton", QRect(264, 60, 80, 23), "xxAdd");
  AutoCorrectButton =
      MakeButton(this, "AutoCorrectButton", QRect(348, 60, 80, 23), "xxAuto-Correct");
  CancelButton = MakeButton(this, "CancelButton", QRect(264, 136, 80, 23), "xxCancel");
  HelpButton = MakeButton(this, "HelpButton", QRect(348, 136, 80, 23), "xxHelp");
  UndoButton = MakeButton(this, "UndoButton", QRect(8, 111, 80, 23), "xxUndo");
  OptionsButton = MakeButton(this, "OptionsButton", QRect(8, 138, 80, 23), "xxOptions...");

  SetTabOrderChain({ReplaceWithEdit, SuggestionsListbox, IgnoreButton, IgnoreAllButton,
                    ChangeButton, ChangeAllButton, AddButton, AutoCorrectButton, UndoButton,
                    OptionsButton, CancelButton, HelpButton});

  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->OnConfigurationAvailable = [this](QObject *s) {
    DialogControlConfigurationAvailable(s);
  };
  DialogControl->OnPromptWord = [this](QObject *s, const QString &w, bool r) {
    DialogControlPromptWord(s, w, r);
  };
  OnActivate = [this](QObject *s) { FormActivate(s); };
  OnDeactivate = [this](QObject *s) { FormDeactivate(s); };

  connect(ReplaceWithEdit, &QLineEdit::textChanged, this, &TSpellDialog::ReplaceWithEditChange);
  connect(SuggestionsListbox, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
    if (!FNoSuggestions && item)
      ReplaceWithEdit->setText(item->text());
  });
  connect(SuggestionsListbox, &QListWidget::itemDoubleClicked, this,
          [this] { SuggestionsListboxDblClick(); });
  NotFoundEdit->installEventFilter(this);
  connect(IgnoreButton, &QPushButton::clicked, this, &TSpellDialog::IgnoreButtonClick);
  connect(IgnoreAllButton, &QPushButton::clicked, this, [this] { DialogControl->IgnoreAll(); });
  connect(ChangeButton, &QPushButton::clicked, this, &TSpellDialog::ChangeButtonClick);
  connect(ChangeAllButton, &QPushButton::clicked, this, &TSpellDialog::ChangeAllButtonClick);
  connect(AddButton, &QPushButton::clicked, this, [this] { DialogControl->Add(); });
  connect(AutoCorrectButton, &QPushButton::clicked, this, &TSpellDialog::AutoCorrectButtonClick);
  connect(UndoButton, &QPushButton::clicked, this, [this] { DialogControl->Undo(); });
  connect(OptionsButton, &QPushButton::clicked, this, &TSpellDialog::OptionsButtonClick);
  connect(HelpButton, &QPushButton::clicked, this, [this] { DialogControl->HelpSpellDialog(); });
  connect(CancelButton, &QPushButton::clicked, this, &TSpellDialog::CancelButtonClick);
}

bool TSpellDialog::Enabled(TSpellDialogCommand Command) const
{
  return DialogControl->CommandsEnabled().Contains(Command);
}

bool TSpellDialog::Visible(TSpellDialogCommand Command) const
{
  return DialogControl->CommandsVisible().Contains(Command);
}

void TSpellDialog::DialogControlConfigurationAvailable(QObject *)
{
  FRepeated = false;
  FDeactivated = false;
  const auto s = [this](LS id) { return DialogControl->GetString(id); };
  setWindowTitle(s(LS::lsSpelling));
  NotFoundText->setText(s(LS::lsDlgNotFound));
  ReplaceWithText->setText(s(LS::lsDlgReplaceWith));
  SuggestionsText->setText(s(LS::lsDlgSuggestions));
  UndoButton->setText(s(LS::lsDlgUndo));
  OptionsButton->setText(s(LS::lsDlgOptions));
  IgnoreAllButton->setText(s(LS::lsDlgIgnoreAll));
  IgnoreButton->setText(s(LS::lsDlgIgnore));
  ChangeAllButton->setText(s(LS::lsDlgChangeAll));
  ChangeButton->setText(s(LS::lsDlgChange));
  AddButton->setText(s(LS::lsDlgAdd));
  AutoCorrectButton->setText(s(LS::lsDlgAutoCorrect));
  HelpButton->setText(s(LS::lsDlgHelp));
  CancelButton->setText(s(LS::lsDlgCancel));
  ApplyCommandButtons({UndoButton, OptionsButton, IgnoreAllButton, IgnoreButton, ChangeAllButton,
                       ChangeButton, AddButton, AutoCorrectButton, HelpButton, CancelButton},
                      DialogControl->CommandsVisible(), DialogControl->CommandsEnabled(),
                      DialogControl->HelpCtxSpellDialog() != 0);
}

void TSpellDialog::DialogControlPromptWord(QObject *, const QString &Word, bool Repeated)
{
  FWord = Word;
  FRepeated = Repeated;
  FNoSuggestions = false;
  NotFoundText->setText(
      DialogControl->GetString(Repeated ? LS::lsDlgRepeatedWord : LS::lsDlgNotFound));
  NotFoundEdit->setText(Word);
  SuggestionsListbox->clear();
  FullEnable(true);
  if (Repeated) {
    ReplaceWithEdit->setText(Word.left(Word.size() / 2));
    FullEnable(false);
    OptionsButton->setEnabled(Enabled(sdcOptions));
    IgnoreButton->setEnabled(Enabled(sdcIgnore));
    ChangeButton->setEnabled(Enabled(sdcChange));
    return;
  }
  TStringList words;
  DialogControl->Suggest(Word, words);
  for (int i = 0; i < words.Count(); ++i)
    SuggestionsListbox->addItem(words.Strings(i));
  if (SuggestionsListbox->count() > 0) {
    SuggestionsListbox->setCurrentRow(0);
    ReplaceWithEdit->setText(words.Strings(0));
  } else {
    FNoSuggestions = true;
    SuggestionsListbox->addItem(DialogControl->GetString(LS::lsMnNoSuggestions));
    SuggestionsListbox->setEnabled(false);
    ReplaceWithEdit->clear();
  }
  EnableChangeButtons();
}

void TSpellDialog::EnableChangeButtons()
{
  const bool any = !ReplaceWithEdit->text().isEmpty() && !FDeactivated;
  const bool active = DialogControl->ActiveCustomDictionary() != nullptr;
  ChangeButton->setEnabled(any && Enabled(sdcChange));
  if (FRepeated)
    return;
  ChangeAllButton->setEnabled(any && Enabled(sdcChangeAll));
  AutoCorrectButton->setEnabled(any && active && Enabled(sdcAutoCorrect));
}

void TSpellDialog::ReplaceWithEditChange() { EnableChangeButtons(); }

void TSpellDialog::FullEnable(bool Enable)
{
  const bool active = DialogControl->ActiveCustomDictionary() != nullptr;
  NotFoundEdit->setEnabled(Enable);
  ReplaceWithEdit->setEnabled(Enable);
  SuggestionsListbox->setEnabled(Enable && !FNoSuggestions);
  UndoButton->setEnabled(Enable && DialogControl->CanUndo() && Enabled(sdcUndo));
  OptionsButton->setEnabled(Enable && Enabled(sdcOptions));
  IgnoreButton->setEnabled(Enable && Enabled(sdcIgnore));
  IgnoreAllButton->setEnabled(Enable && Enabled(sdcIgnoreAll));
  AddButton->setEnabled(Enable && active && Enabled(sdcAdd));
  ChangeButton->setEnabled(Enable && Enabled(sdcChange));
  ChangeAllButton->setEnabled(Enable && Enabled(sdcChangeAll));
  AutoCorrectButton->setEnabled(Enable && active && Enabled(sdcAutoCorrect));
}

void TSpellDialog::FormDeactivate(QObject *)
{
  FDeactivated = true;
  FullEnable(false);
}

void TSpellDialog::FormActivate(QObject *)
{
  if (!FDeactivated)
    return;
  FDeactivated = false;
  FullEnable(true);
  EnableChangeButtons();
}

void TSpellDialog::IgnoreButtonClick()
{
  if (FRepeated)
    DialogControl->RepeatIgnore();
  else
    DialogControl->Ignore();
}

void TSpellDialog::ChangeButtonClick()
{
  if (FRepeated)
    DialogControl->RepeatDelete();
  else if (!ReplaceWithEdit->text().isEmpty())
    DialogControl->Change(ReplaceWithEdit->text());
}

void TSpellDialog::ChangeAllButtonClick()
{
  if (!ReplaceWithEdit->text().isEmpty())
    DialogControl->ChangeAll(ReplaceWithEdit->text());
}

void TSpellDialog::AutoCorrectButtonClick()
{
  if (!ReplaceWithEdit->text().isEmpty())
    DialogControl->AutoCorrect(ReplaceWithEdit->text());
}

void TSpellDialog::SuggestionsListboxDblClick()
{
  const QListWidgetItem *item = SuggestionsListbox->currentItem();
  if (FNoSuggestions || !item || FRepeated)
    return;
  ReplaceWithEdit->setText(item->text());
  DialogControl->Change(item->text());
}

void TSpellDialog::OptionsButtonClick()
{
  DialogControl->Setup();
  DialogControlPromptWord(DialogControl, FWord, FRepeated);
}

void TSpellDialog::CancelButtonClick()
{
  const TWrightSpellBase *spell = DialogControl->WrightSpell();
  if (spell && spell->Checking())
    DialogControl->Cancel();
  else
    QDialog::reject();
}

bool TSpellDialog::eventFilter(QObject *Watched, QEvent *Event)
{
  // A double click on the word copies it into the replacement, to be edited there.
  if (Watched == NotFoundEdit && Event->type() == QEvent::MouseButtonDblClick &&
      NotFoundEdit->isEnabled())
    ReplaceWithEdit->setText(NotFoundEdit->text());
  return TSpellDialogBaseForm::eventFilter(Watched, Event);
}

void TSpellDialog::CloseRequested() { CancelButtonClick(); }
