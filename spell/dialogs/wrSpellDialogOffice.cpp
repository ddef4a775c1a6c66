#include "wrSpellDialogOffice.h"

#include "rtDialogControls.h"
#include "rtFormPlacement.h"
#include "rtStringList.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrSpellBase.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>

using LS = TSpellLanguageString;

namespace {

// A longer sentence is replaced by the bare word.
constexpr int MaxSentenceLength =
    200; // Labels size themselves to their caption, keeping their top-left corner.
void SetCaption(QLabel *label, const QString &text)
{
  label->setText(text);
  label->resize(qMax(label->sizeHint().width(), label->width()), label->height());
}

} // namespace

QString TrimRightBlanks(const QString &Text)
{
  qsizetype n = Text.size();
  while (n > 0 && Text.at(n - 1) <= QLatin1Char(' '))
    --n;
  return Text.left(n);
}

TSpellDialogV4::TSpellDialogV4(QWidget *Parent) : TSpellDialogBaseForm(Parent)
{
  setObjectName(QStringLiteral("SpellDialogV4"));
  setFixedSize(387, 266);
  setWindowTitle(QStringLiteral("xxSpelling"));

  NotFoundRichEdit = new QTextEdit(this);
  NotFoundRichEdit->setObjectName(QStringLiteral("NotFoundRichEdit"));
  NotFoundRichEdit->setGeometry(8, 24, 267, 81);
  NotFoundRichEdit->setAcceptRichText(false);
  NotFoundRichEdit->setTabChangesFocus(true);
  NotFoundRichEdit->setFont(SpellDialogFont());
  NotFoundRichEdit->document()->setDefaultFont(SpellDialogFont());
  SuggestionsListbox = new QListWidget(this);
  SuggestionsListbox->setObjectName(QStringLiteral("SuggestionsListbox"));
  SuggestionsListbox->setGeometry(8, 126, 267, 99);
  SuggestionsListbox->setSelectionMode(QAbstractItemView::SingleSelection);

  NotFoundText = MakeLabel(this, "NotFoundText", QRect(8, 5, 63, 13), NotFoundRichEdit);
  SuggestionsText = MakeLabel(this, "SuggestionsText", QRect(8, 107, 71, 13), SuggestionsListbox);
  IgnoreButton = MakeButton(this, "IgnoreButton", QRect(281, 23, 100, 23));
  IgnoreAllButton = MakeButton(this, "IgnoreAllButton", QRect(281, 52, 100, 23));
  AddButton = MakeButton(this, "AddButton", QRect(281, 82, 100, 23));
  ChangeButton = MakeButton(this, "ChangeButton", QRect(281, 126, 100, 23));
  ChangeAllButton = MakeButton(this, "ChangeAllButton", QRect(281, 155, 100, 23));
  AutoCorrectButton = MakeButton(this, "AutoCorrectButton", QRect(281, 184, 100, 23));
  OptionsButton = MakeButton(this, "OptionsButton", QRect(8, 235, 85, 23));
  UndoButton = MakeButton(this, "UndoButton", QRect(99, 235, 85, 23));
  HelpButton = MakeButton(this, "HelpButton", QRect(190, 235, 85, 23));
  CancelButton = MakeButton(this, "CancelButton", QRect(281, 235, 100, 23));

  // Placeholder captions, replaced from the interface strings when the component binds.
  NotFoundText->setText(QStringLiteral("xxNot Found:"));
  SuggestionsText->setText(QStringLiteral("xxSuggestions:"));
  IgnoreButton->setText(QStringLiteral("xxIgnore Once"));
  IgnoreAllButton->setText(QStringLiteral("xxIgnore All"));
  AddButton->setText(QStringLiteral("xxAdd to Dictionary"));
  ChangeButton->setText(QStringLiteral("xxChange"));
  ChangeAllButton->setText(QStringLiteral("xxChange All"));
  AutoCorrectButton->setText(QStringLiteral("xxAuto-Correct"));
  OptionsButton->setText(QStringLiteral("xxOptions..."));
  UndoButton->setText(QStringLiteral("xxUndo"));
  HelpButton->setText(QStringLiteral("xxHelp"));
  CancelButton->setText(QStringLiteral("xxCancel"));

  SetTabOrderChain({NotFoundRichEdit, IgnoreButton, IgnoreAllButton, AddButton, SuggestionsListbox,
                    ChangeButton, ChangeAllButton, AutoCorrectButton, OptionsButton, UndoButton,
                    HelpButton, CancelButton});

  DialogControl = new TConfigurationDialogCtrl(this);
  DialogControl->OnConfigurationAvailable = [this](QObject *s) {
    DialogControlConfigurationAvailable(s);
  };
  DialogControl->OnPromptWord = [this](QObject *s, const QString &w, bool r) {
    DialogControlPromptWord(s, w, r);
  };
  OnActivate = [this](QObject *s) { FormActivate(s); };
  OnDeactivate = [this](QObject *s) { FormDeactivate(s); };

  connect(NotFoundRichEdit, &QTextEdit::textChanged, this, &TSpellDialogV4::NotFoundRichEditChange);
  connect(IgnoreButton, &QPushButton::clicked, this, &TSpellDialogV4::IgnoreButtonClick);
  connect(IgnoreAllButton, &QPushButton::clicked, this, &TSpellDialogV4::IgnoreAllButtonClick);
  connect(AddButton, &QPushButton::clicked, this, &TSpellDialogV4::AddButtonClick);
  connect(ChangeButton, &QPushButton::clicked, this, &TSpellDialogV4::ChangeButtonClick);
  connect(ChangeAllButton, &QPushButton::clicked, this, &TSpellDialogV4::ChangeAllButtonClick);
  connect(AutoCorrectButton, &QPushButton::clicked, this, &TSpellDialogV4::AutoCorrectButtonClick);
  connect(SuggestionsListbox, &QListWidget::itemDoubleClicked, this,
          [this] { SuggestionsListboxDblClick(); });
  connect(OptionsButton, &QPushButton::clicked, this, &TSpellDialogV4::OptionsButtonClick);
  connect(UndoButton, &QPushButton::clicked, this, &TSpellDialogV4::UndoButtonClick);
  connect(HelpButton, &QPushButton::clicked, this, &TSpellDialogV4::HelpButtonClick);
  connect(CancelButton, &QPushButton::clicked, this, &TSpellDialogV4::CancelButtonClick);
}

bool TSpellDialogV4::Enabled(TSpellDialogCommand Command) const
{
  return DialogControl->CommandsEnabled().Contains(Command);
}

bool TSpellDialogV4::Visible(TSpellDialogCommand Command) const
{
  return DialogControl->CommandsVisible().Contains(Command);
}

bool TSpellDialogV4::HasActiveCustom() const
{
  return DialogControl->ActiveCustomDictionary() != nullptr;
}

void TSpellDialogV4::FocusIfPossible(QPushButton *Button)
{
  if (!Button->isHidden() && Button->isEnabled())
    Button->setFocus();
}

// --- Captions and buttons -------------------------------------------------------------------------

void TSpellDialogV4::DialogControlConfigurationAvailable(QObject *)
{
  FRepeated = false;
  FDeactivated = false;
  const auto s = [this](LS id) { return DialogControl->GetString(id); };
  setWindowTitle(s(LS::lsSpelling));
  SetCaption(NotFoundText, s(LS::lsDlgNotFound));
  SetCaption(SuggestionsText, s(LS::lsDlgSuggestions));
  UndoButton->setText(s(LS::lsDlgUndo));
  OptionsButton->setText(s(LS::lsDlgOptions));
  IgnoreAllButton->setText(s(LS::lsDlgIgnoreAll));
  IgnoreButton->setText(s(LS::lsDlgIgnoreOnce));
  ChangeAllButton->setText(s(LS::lsDlgChangeAll));
  ChangeButton->setText(s(LS::lsDlgChange));
  AddButton->setText(s(LS::lsDlgAddToDictionary));
  AutoCorrectButton->setText(s(LS::lsDlgAutoCorrect));
  HelpButton->setText(s(LS::lsDlgHelp));
  CancelButton->setText(s(LS::lsDlgCancel));

  ApplyCommandButtons({UndoButton, OptionsButton, IgnoreAllButton, IgnoreButton, ChangeAllButton,
                       ChangeButton, AddButton, AutoCorrectButton, HelpButton, CancelButton},
                      DialogControl->CommandsVisible(), DialogControl->CommandsEnabled(),
                      DialogControl->HelpCtxSpellDialog() != 0);
}

// --- Showing a word ---------------------------------------------------------------------------------

void TSpellDialogV4::DialogControlPromptWord(QObject *, const QString &Word, bool Repeated)
{
  FWord = Word;
  SetupNotFoundEdit();
  SuggestionsListbox->clear();
  FNoSuggestions = false;
  if (Repeated != FRepeated) {
    FRepeated = Repeated;
    FullEnable(true);
    SetCaption(NotFoundText,
               DialogControl->GetString(Repeated ? LS::lsDlgRepeatedWord : LS::lsDlgNotFound));
  }
  UndoButton->setEnabled(DialogControl->CanUndo() && Enabled(sdcUndo));
  if (Repeated) {
    SuggestionsListbox->addItem(Word.left(Word.size() / 2));
    SuggestionsListbox->setCurrentRow(0);
    FocusIfPossible(ChangeButton);
    return;
  }
  AddButton->setEnabled(HasActiveCustom() && Enabled(sdcAdd));
  TStringList words;
  DialogControl->Suggest(Word, words);
  for (int i = 0; i < words.Count(); ++i)
    SuggestionsListbox->addItem(words.Strings(i));
  const bool listEnabled = SuggestionsListbox->count() > 0;
  SuggestionsListbox->setEnabled(listEnabled);
  ChangeButton->setEnabled(listEnabled && Enabled(sdcChange));
  ChangeAllButton->setEnabled(listEnabled && Enabled(sdcChangeAll));
  AutoCorrectButton->setEnabled(listEnabled && HasActiveCustom() && Enabled(sdcAutoCorrect));
  if (listEnabled) {
    SuggestionsListbox->setCurrentRow(0);
    FocusIfPossible(ChangeButton);
  } else {
    FNoSuggestions = true;
    SuggestionsListbox->addItem(DialogControl->GetString(LS::lsMnNoSuggestions));
    SuggestionsListbox->setCurrentRow(-1);
    FocusIfPossible(IgnoreButton);
  }
}

void TSpellDialogV4::SetupNotFoundEdit()
{
  FSettingUpWord = true;
  SetShowingNotFound(true);
  NotFoundRichEdit->clear();

  int x = 0, y = 0;
  QString line;
  if (TControlParser *parser = DialogControl->ControlParser()) {
    parser->GetPosition(x, y);
    line = TrimRightBlanks(parser->GetLine());
  }
  const qsizetype n = FWord.size();
  if (x < 0 || QStringView(line).mid(x, n) != FWord) {
    if (x > 0 && QStringView(line).mid(x - 1, n) == FWord) {
      x -= 1;
    } else {
      // Only a word that occurs once in the line can be placed with certainty.
      const qsizetype p = line.indexOf(FWord);
      if (p >= 0 && line.indexOf(FWord, p + 1) < 0) {
        x = int(p);
      } else {
        line = FWord;
        x = 0;
      }
    }
  }
  if (line.size() > MaxSentenceLength) {
    line = FWord;
    x = 0;
  }
  FLine = line;
  FLineStart = line.left(x);
  FLineEnd = line.mid(x + n);

  // setPlainText writes in the current format, which is the word's after an edit inside it.
  NotFoundRichEdit->setCurrentCharFormat(QTextCharFormat());
  NotFoundRichEdit->setPlainText(line);
  QColor color(Qt::red);
  TFontStyles style = TFontStyle::fsBold;
  if (const TSpellDialogAppearance *a = DialogControl->Appearance()) {
    color = a->DialogMisspelledWordColor();
    style = a->DialogMisspelledWordStyle();
  }
  QTextCursor c(NotFoundRichEdit->document());
  c.setPosition(x);
  c.setPosition(x + int(n), QTextCursor::KeepAnchor);
  QTextCharFormat f;
  f.setForeground(color);
  f.setFontWeight(style.Contains(TFontStyle::fsBold) ? QFont::Bold : QFont::Normal);
  f.setFontItalic(style.Contains(TFontStyle::fsItalic));
  f.setFontUnderline(style.Contains(TFontStyle::fsUnderline));
  c.mergeCharFormat(f);
  c.setPosition(x);
  NotFoundRichEdit->setTextCursor(c);
  // Typing at the word's start continues in the box's plain format, not the word's.
  NotFoundRichEdit->setCurrentCharFormat(QTextCharFormat());
  FSettingUpWord = false;
}

void TSpellDialogV4::NotFoundRichEditChange()
{
  if (FSettingUpWord)
    return;
  const QString s = TrimRightBlanks(NotFoundRichEdit->toPlainText());
  const QString head = s.left(FLineStart.size());
  const QString tail = FLineEnd.isEmpty() ? QString() : s.right(FLineEnd.size());
  TSpellDialogChangeType state;
  if (s == FLine) {
    state = ctNotFound;
  } else if (head != FLineStart || tail != FLineEnd ||
             s.size() < FLineStart.size() + FLineEnd.size()) {
    FReplacement = s;
    state = ctLineChange;
  } else {
    FReplacement = s.mid(FLineStart.size(), s.size() - FLineStart.size() - FLineEnd.size());
    state = ctWordChange;
  }
  if (state == FState)
    return;
  FState = state;
  if (state != ctNotFound) {
    SetShowingNotFound(false);
    FullEnable(true);
  } else {
    const QTextCursor keep = NotFoundRichEdit->textCursor();
    const int anchor = keep.anchor(), position = keep.position();
    SetupNotFoundEdit();
    QTextCursor c(NotFoundRichEdit->document());
    c.setPosition(anchor);
    c.setPosition(position, QTextCursor::KeepAnchor);
    NotFoundRichEdit->setTextCursor(c);
  }
}

void TSpellDialogV4::SetShowingNotFound(bool ShowingNotFound)
{
  if (ShowingNotFound == FShowingNotFound)
    return;
  FShowingNotFound = ShowingNotFound;
  if (ShowingNotFound) {
    FState = ctNotFound;
    SetCaption(NotFoundText, DialogControl->GetString(LS::lsDlgNotFound));
    IgnoreButton->setText(DialogControl->GetString(LS::lsDlgIgnoreOnce));
  } else {
    SetCaption(NotFoundText, DialogControl->GetString(LS::lsDlgReplaceWith));
    IgnoreButton->setText(DialogControl->GetString(LS::lsDlgUndoEdit));
  }
  FullEnable(true);
}

void TSpellDialogV4::FullEnable(bool Enable)
{
  const bool active = HasActiveCustom();
  NotFoundRichEdit->setEnabled(Enable && !FRepeated);
  UndoButton->setEnabled(Enable && DialogControl->CanUndo() && Enabled(sdcUndo));
  OptionsButton->setEnabled(Enable && Enabled(sdcOptions));
  // The "(no suggestions)" line stays greyed: it is no word to change to.
  const bool listEnabled = Enable && FShowingNotFound && !FNoSuggestions;
  SuggestionsListbox->setEnabled(listEnabled);
  if (listEnabled && SuggestionsListbox->count() > 0 && SuggestionsListbox->currentRow() < 0)
    SuggestionsListbox->setCurrentRow(0);
  else if (!listEnabled)
    SuggestionsListbox->setCurrentRow(-1);
  IgnoreAllButton->setEnabled(Enable && Enabled(sdcIgnoreAll) && !FRepeated && FShowingNotFound);
  IgnoreButton->setEnabled(Enable && Enabled(sdcIgnore));
  ChangeAllButton->setEnabled(Enable && !FRepeated && Enabled(sdcChangeAll) &&
                              FState != ctLineChange);
  ChangeButton->setEnabled(Enable && Enabled(sdcChange));
  AddButton->setEnabled(Enable && active && Enabled(sdcAdd) && !FRepeated && FShowingNotFound);
  AutoCorrectButton->setEnabled(Enable && active && Enabled(sdcAutoCorrect) && !FRepeated &&
                                FState != ctLineChange);
}

// --- Activation -------------------------------------------------------------------------------------

void TSpellDialogV4::FormDeactivate(QObject *)
{
  FDeactivated = true;
  FullEnable(false);
}

void TSpellDialogV4::FormActivate(QObject *)
{
  if (!FDeactivated)
    return;
  FDeactivated = false;
  FullEnable(true);
}

// --- Buttons ----------------------------------------------------------------------------------------

bool TSpellDialogV4::SelectedSuggestion(QString &Suggestion) const
{
  const QListWidgetItem *item = SuggestionsListbox->currentItem();
  if (!FShowingNotFound || FNoSuggestions || !item || !item->isSelected())
    return false;
  Suggestion = item->text();
  return true;
}

void TSpellDialogV4::IgnoreButtonClick()
{
  if (FRepeated)
    DialogControl->RepeatIgnore();
  else if (FShowingNotFound)
    DialogControl->Ignore();
  else
    SetupNotFoundEdit(); // "Undo Edit": back to the word as found
}

void TSpellDialogV4::IgnoreAllButtonClick() { DialogControl->IgnoreAll(); }
void TSpellDialogV4::AddButtonClick() { DialogControl->Add(); }

void TSpellDialogV4::ChangeButtonClick()
{
  QString suggestion;
  if (FRepeated)
    DialogControl->RepeatDelete();
  else if (SelectedSuggestion(suggestion))
    DialogControl->Change(suggestion);
  else if (FState == ctWordChange)
    DialogControl->Change(FReplacement);
  else if (FState == ctLineChange)
    DialogControl->ChangeLine(FReplacement);
  // Unedited without a selected suggestion: nothing to change to.
}

void TSpellDialogV4::ChangeAllButtonClick()
{
  QString suggestion;
  if (SelectedSuggestion(suggestion))
    DialogControl->ChangeAll(suggestion);
  else if (FState == ctWordChange)
    DialogControl->ChangeAll(FReplacement);
}

void TSpellDialogV4::AutoCorrectButtonClick()
{
  QString suggestion;
  if (SelectedSuggestion(suggestion))
    DialogControl->AutoCorrect(suggestion);
  else if (FState == ctWordChange)
    DialogControl->AutoCorrect(FReplacement);
}

void TSpellDialogV4::SuggestionsListboxDblClick()
{
  if (Enabled(sdcChange))
    ChangeButtonClick();
}

void TSpellDialogV4::OptionsButtonClick()
{
  DialogControl->Setup();
  // The options may have changed what is suggested.
  DialogControlPromptWord(DialogControl, FWord, FRepeated);
}

void TSpellDialogV4::UndoButtonClick() { DialogControl->Undo(); }
void TSpellDialogV4::HelpButtonClick() { DialogControl->HelpSpellDialog(); }

void TSpellDialogV4::CancelButtonClick()
{
  const TWrightSpellBase *spell = DialogControl->WrightSpell();
  if (spell && spell->Checking())
    DialogControl->Cancel(); // the check closes the dialog
  else
    QDialog::reject();
}

void TSpellDialogV4::CloseRequested() { CancelButtonClick(); }
