// The Office-style spelling dialog, driven through its real controller by a spell component
// whose check commands only record their calls (probe_spell.h), on the offscreen platform.

#include "print_qstring.h"
#include "probe_spell.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrSpellDialogOffice.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <memory>

#include <gtest/gtest.h>

namespace {

QStringList Items(const QListWidget *list)
{
  QStringList out;
  for (int i = 0; i < list->count(); ++i)
    out << list->item(i)->text();
  return out;
}

class SpellDialogOffice : public ::testing::Test {
protected:
  void SetUp() override
  {
    Spell.SetChecking(true);
    Spell.GiveActiveCustom();
    Form.reset(dynamic_cast<TSpellDialogV4 *>(Spell.CreateAndBind()));
    ASSERT_NE(Form, nullptr);
    D = Form.get();
  }

  // Shows Word found at column X of Line, with these suggestions.
  void Prompt(const QString &Line, int X, const QString &Word, const QStringList &Suggestions = {},
              bool Repeated = false)
  {
    Spell.Parser.Line = Line;
    Spell.Parser.X = X;
    Spell.Suggestions = Suggestions;
    Spell.SetWord(Word, Repeated);
    D->DialogControl->OnPromptWord(&Spell, Word, Repeated);
  }

  // Replaces the sentence box's text as typing would (the change handler runs).
  void Type(const QString &Text)
  {
    QTextCursor c(D->NotFoundRichEdit->document());
    c.select(QTextCursor::Document);
    c.insertText(Text);
  }

  TProbeSpell Spell;
  std::unique_ptr<TSpellDialogV4> Form;
  TSpellDialogV4 *D = nullptr;
};

TEST_F(SpellDialogOffice, LayoutTabOrderAndCaptionsFromTheInterfaceStrings)
{
  EXPECT_EQ(D->size(), QSize(387, 266));
  EXPECT_EQ(D->windowTitle(), "Spelling");
  struct Row {
    QWidget *w;
    const char *name;
    QRect r;
    QString caption;
  };
  const Row rows[] = {
      {D->NotFoundRichEdit, "NotFoundRichEdit", {8, 24, 267, 81}, {}},
      {D->IgnoreButton, "IgnoreButton", {281, 23, 100, 23}, "I&gnore Once"},
      {D->IgnoreAllButton, "IgnoreAllButton", {281, 52, 100, 23}, "&Ignore All"},
      {D->AddButton, "AddButton", {281, 82, 100, 23}, "&Add to Dictionary"},
      {D->SuggestionsListbox, "SuggestionsListbox", {8, 126, 267, 99}, {}},
      {D->ChangeButton, "ChangeButton", {281, 126, 100, 23}, "C&hange"},
      {D->ChangeAllButton, "ChangeAllButton", {281, 155, 100, 23}, "&Change All"},
      {D->AutoCorrectButton, "AutoCorrectButton", {281, 184, 100, 23}, "Au&to-Correct"},
      {D->OptionsButton, "OptionsButton", {8, 235, 85, 23}, "&Options..."},
      {D->UndoButton, "UndoButton", {99, 235, 85, 23}, "&Undo"},
      {D->HelpButton, "HelpButton", {190, 235, 85, 23}, "&Help"},
      {D->CancelButton, "CancelButton", {281, 235, 100, 23}, "Cancel"},
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    const Row &r = rows[i];
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.w->objectName(), r.name);
    EXPECT_EQ(r.w->geometry(), r.r);
    if (auto *b = qobject_cast<QPushButton *>(r.w)) {
      EXPECT_EQ(b->text(), r.caption);
    }
  }
  // The tab order runs through the table's rows (inner parts of scroll areas in between).
  QList<QWidget *> wanted, chain;
  for (const Row &r : rows)
    wanted << r.w;
  QWidget *w = rows[0].w;
  do {
    if (wanted.contains(w))
      chain << w;
    w = w->nextInFocusChain();
  } while (w != rows[0].w && chain.size() < wanted.size());
  EXPECT_EQ(chain, wanted);
  EXPECT_EQ(D->NotFoundText->text(), "Not Found:");
  EXPECT_EQ(D->NotFoundText->pos(), QPoint(8, 5));
  EXPECT_EQ(D->SuggestionsText->text(), "&Suggestions:");
  EXPECT_EQ(D->SuggestionsText->buddy(), D->SuggestionsListbox);
  EXPECT_EQ(D->DialogControl->objectName(), "DialogControl");
  // Help context 0: no Help button; every other command of this program is visible.
  EXPECT_TRUE(D->HelpButton->isHidden());
  EXPECT_FALSE(D->CancelButton->isHidden());
  // No caption is left with its placeholder.
  for (const QPushButton *b : D->findChildren<QPushButton *>())
    EXPECT_FALSE(b->text().startsWith("xx")) << b->objectName().toStdString();
}

TEST_F(SpellDialogOffice, HiddenCommandsHideTheirButtonsAndUndoTakesTheOptionsPlace)
{
  TProbeSpell spell;
  TSpellDialogCommands visible = TSpellDialogCommands::Range(sdcIgnore, sdcCancel);
  visible.Exclude(sdcAdd);
  spell.SetCommandsVisible(visible);
  std::unique_ptr<TSpellDialogV4> form(dynamic_cast<TSpellDialogV4 *>(spell.CreateAndBind()));
  EXPECT_TRUE(form->AddButton->isHidden());
  EXPECT_TRUE(form->OptionsButton->isHidden());
  EXPECT_FALSE(form->IgnoreButton->isHidden());
  EXPECT_EQ(form->UndoButton->pos(), QPoint(8, 235));
}

TEST_F(SpellDialogOffice, TheWordIsShownInItsSentenceInTheMisspelledColourAndStyle)
{
  Spell.SetDialogMisspelledWordColor(QColor(0, 0, 200));
  Prompt("We saw teh cat.   ", 7, "teh", {"the", "ten"});
  EXPECT_EQ(D->NotFoundRichEdit->toPlainText(), "We saw teh cat.");
  QTextCursor c(D->NotFoundRichEdit->document());
  c.setPosition(8); // inside the word
  EXPECT_EQ(c.charFormat().foreground().color(), QColor(0, 0, 200));
  EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
  c.setPosition(3);
  EXPECT_NE(c.charFormat().fontWeight(), QFont::Bold);
  // The selection collapses to the word's start.
  EXPECT_EQ(D->NotFoundRichEdit->textCursor().position(), 7);
  EXPECT_FALSE(D->NotFoundRichEdit->textCursor().hasSelection());
  EXPECT_EQ(Items(D->SuggestionsListbox), QStringList({"the", "ten"}));
  EXPECT_EQ(D->SuggestionsListbox->currentRow(), 0);
  EXPECT_TRUE(D->ChangeButton->isEnabled());
  EXPECT_TRUE(D->AddButton->isEnabled());
  EXPECT_TRUE(D->AutoCorrectButton->isEnabled());
}

TEST_F(SpellDialogOffice, SentencesThatCannotBePlacedShowTheBareWord)
{
  struct Case {
    const char *name;
    QString line;
    int x;
    QString shown;
  };
  const Case cases[] = {
      {"at the column", "a teh b", 2, "a teh b"},
      {"one column behind (1-based parsers)", "a teh b", 3, "a teh b"},
      {"elsewhere, once", "a teh b", 0, "a teh b"},
      {"twice, not at the column", "teh or teh", 3, "teh"},
      {"201 code units", "teh " + QString(197, 'x'), 0, "teh"},
      {"200 code units", "teh " + QString(196, 'x'), 0, "teh " + QString(196, 'x')},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    Prompt(c.line, c.x, "teh", {"the"});
    EXPECT_EQ(D->NotFoundRichEdit->toPlainText(), c.shown);
  }
}

TEST_F(SpellDialogOffice, EditingTheSentenceMovesThroughItsThreeStates)
{
  Prompt("We saw teh cat.", 7, "teh", {"the"});
  EXPECT_EQ(D->ChangeState(), ctNotFound);

  // Only the word: Change, Change All and Auto-Correct take the new word.
  Type("We saw the cat.");
  EXPECT_EQ(D->ChangeState(), ctWordChange);
  EXPECT_FALSE(D->ShowingNotFound());
  EXPECT_EQ(D->NotFoundText->text(), "&Replace With:");
  EXPECT_EQ(D->IgnoreButton->text(), "Undo &Edit");
  EXPECT_FALSE(D->SuggestionsListbox->isEnabled());
  EXPECT_TRUE(D->ChangeAllButton->isEnabled());
  EXPECT_TRUE(D->AutoCorrectButton->isEnabled());
  EXPECT_FALSE(D->IgnoreAllButton->isEnabled());
  EXPECT_FALSE(D->AddButton->isEnabled());
  D->ChangeButton->click();
  D->ChangeAllButton->click();
  D->AutoCorrectButton->click();
  EXPECT_EQ(Spell.Calls, QStringList({"Change:the", "ChangeAll:the", "AutoCorrect:the"}));

  // Text outside the word: Change replaces the line; Change All and Auto-Correct are off.
  Spell.Calls.clear();
  Type("They saw the cat.");
  EXPECT_EQ(D->ChangeState(), ctLineChange);
  EXPECT_FALSE(D->ChangeAllButton->isEnabled());
  EXPECT_FALSE(D->AutoCorrectButton->isEnabled());
  D->ChangeButton->click();
  EXPECT_EQ(Spell.Calls, QStringList({"ChangeLine:They saw the cat."}));

  // Typed back to the first text: "Not Found:" with the suggestions again.
  Type("We saw teh cat.");
  EXPECT_EQ(D->ChangeState(), ctNotFound);
  EXPECT_TRUE(D->ShowingNotFound());
  EXPECT_EQ(D->NotFoundText->text(), "Not Found:");
  EXPECT_EQ(D->IgnoreButton->text(), "I&gnore Once");
  EXPECT_TRUE(D->SuggestionsListbox->isEnabled());
  EXPECT_EQ(D->SuggestionsListbox->currentRow(), 0);

  // Undo Edit discards an edit without a command; typing inside the word took the word's
  // format, which must not spread over the restored sentence.
  Spell.Calls.clear();
  QTextCursor inWord = D->NotFoundRichEdit->textCursor();
  inWord.setPosition(9);
  D->NotFoundRichEdit->setTextCursor(inWord);
  D->NotFoundRichEdit->insertPlainText("x");
  EXPECT_EQ(D->NotFoundRichEdit->toPlainText(), "We saw texh cat.");
  EXPECT_EQ(D->ChangeState(), ctWordChange);
  D->IgnoreButton->click();
  EXPECT_EQ(D->NotFoundRichEdit->toPlainText(), "We saw teh cat.");
  EXPECT_TRUE(D->ShowingNotFound());
  EXPECT_TRUE(Spell.Calls.isEmpty());
  QTextCursor c(D->NotFoundRichEdit->document());
  c.setPosition(2);
  EXPECT_NE(c.charFormat().fontWeight(), QFont::Bold);
  c.setPosition(8);
  EXPECT_EQ(c.charFormat().fontWeight(), QFont::Bold);
}

TEST_F(SpellDialogOffice, EveryButtonCallsItsCheckCommand)
{
  struct Case {
    QPushButton *TSpellDialogV4::*button;
    QString call;
  };
  const Case cases[] = {
      {&TSpellDialogV4::IgnoreButton, "Ignore"},
      {&TSpellDialogV4::IgnoreAllButton, "IgnoreAll"},
      {&TSpellDialogV4::AddButton, "Add"},
      {&TSpellDialogV4::ChangeButton, "Change:the"},
      {&TSpellDialogV4::ChangeAllButton, "ChangeAll:the"},
      {&TSpellDialogV4::AutoCorrectButton, "AutoCorrect:the"},
      {&TSpellDialogV4::UndoButton, "Undo"},
      {&TSpellDialogV4::CancelButton, "Cancel"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.call.toStdString());
    Spell.Calls.clear();
    Spell.Undoable = true;
    Prompt("We saw teh cat.", 7, "teh", {"the", "ten"});
    (D->*c.button)->click();
    EXPECT_EQ(Spell.Calls, QStringList({c.call}));
  }
  // A double click in the list changes to the clicked suggestion; a chosen second one counts.
  Spell.Calls.clear();
  Prompt("We saw teh cat.", 7, "teh", {"the", "ten"});
  D->SuggestionsListbox->setCurrentRow(1);
  emit D->SuggestionsListbox->itemDoubleClicked(D->SuggestionsListbox->item(1));
  EXPECT_EQ(Spell.Calls, QStringList({"Change:ten"}));
  // Closing the window is Cancel.
  Spell.Calls.clear();
  D->reject();
  EXPECT_EQ(Spell.Calls, QStringList({"Cancel"}));
}

TEST_F(SpellDialogOffice, WithoutSuggestionsTheListIsGreyedAndIgnoreOnceHasTheFocus)
{
  D->show();
  QApplication::setActiveWindow(D);
  Prompt("qzx here", 0, "qzx");
  EXPECT_EQ(Items(D->SuggestionsListbox), QStringList({"(no suggestions)"}));
  EXPECT_FALSE(D->SuggestionsListbox->isEnabled());
  EXPECT_FALSE(D->ChangeButton->isEnabled());
  EXPECT_FALSE(D->ChangeAllButton->isEnabled());
  EXPECT_FALSE(D->AutoCorrectButton->isEnabled());
  EXPECT_EQ(D->focusWidget(), D->IgnoreButton);
  // Re-enabling everything (re-activation) keeps the placeholder from becoming a replacement.
  D->OnDeactivate(D);
  D->OnActivate(D);
  D->ChangeButton->click();
  EXPECT_TRUE(Spell.Calls.isEmpty());
}

TEST_F(SpellDialogOffice, RepeatedWordOffersItsFirstHalfAndChangeDeletesTheRepetition)
{
  Prompt("Go to the the shop", 6, "the the", {}, true);
  EXPECT_EQ(D->NotFoundText->text(), "Repeated Word:");
  EXPECT_EQ(Items(D->SuggestionsListbox), QStringList({"the"}));
  EXPECT_FALSE(D->NotFoundRichEdit->isEnabled());
  EXPECT_FALSE(D->IgnoreAllButton->isEnabled());
  EXPECT_FALSE(D->AddButton->isEnabled());
  EXPECT_FALSE(D->ChangeAllButton->isEnabled());
  EXPECT_FALSE(D->AutoCorrectButton->isEnabled());
  EXPECT_TRUE(D->ChangeButton->isEnabled());
  D->ChangeButton->click();
  D->IgnoreButton->click();
  EXPECT_EQ(Spell.Calls, QStringList({"RepeatDelete", "RepeatIgnore"}));

  // The next ordinary word turns the mode back.
  Prompt("a teh b", 2, "teh", {"the"});
  EXPECT_EQ(D->NotFoundText->text(), "Not Found:");
  EXPECT_TRUE(D->NotFoundRichEdit->isEnabled());
  EXPECT_TRUE(D->IgnoreAllButton->isEnabled());
}

TEST_F(SpellDialogOffice, DeactivationGreysEveryControlUntilTheDialogIsActivatedAgain)
{
  Spell.Undoable = true;
  Prompt("We saw teh cat.", 7, "teh", {"the"});
  D->OnDeactivate(D);
  EXPECT_TRUE(D->Deactivated());
  for (QWidget *w :
       {static_cast<QWidget *>(D->NotFoundRichEdit), static_cast<QWidget *>(D->SuggestionsListbox),
        static_cast<QWidget *>(D->IgnoreButton), static_cast<QWidget *>(D->IgnoreAllButton),
        static_cast<QWidget *>(D->AddButton), static_cast<QWidget *>(D->ChangeButton),
        static_cast<QWidget *>(D->ChangeAllButton), static_cast<QWidget *>(D->AutoCorrectButton),
        static_cast<QWidget *>(D->OptionsButton), static_cast<QWidget *>(D->UndoButton)})
    EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
  D->OnActivate(D);
  EXPECT_FALSE(D->Deactivated());
  for (QWidget *w :
       {static_cast<QWidget *>(D->NotFoundRichEdit), static_cast<QWidget *>(D->SuggestionsListbox),
        static_cast<QWidget *>(D->IgnoreButton), static_cast<QWidget *>(D->ChangeButton),
        static_cast<QWidget *>(D->UndoButton)})
    EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
}

TEST_F(SpellDialogOffice, WithoutAnActiveCustomDictionaryAddAndAutoCorrectStayOff)
{
  TProbeSpell spell;
  spell.SetChecking(true);
  std::unique_ptr<TSpellDialogV4> form(dynamic_cast<TSpellDialogV4 *>(spell.CreateAndBind()));
  spell.Parser.Line = "a teh b";
  spell.Parser.X = 2;
  spell.Suggestions = {"the"};
  form->DialogControl->OnPromptWord(&spell, "teh", false);
  EXPECT_FALSE(form->AddButton->isEnabled());
  EXPECT_FALSE(form->AutoCorrectButton->isEnabled());
  EXPECT_TRUE(form->ChangeButton->isEnabled());
}

TEST(ConfigurationDialogCtrl, WithoutAComponentEveryViewIsNeutralAndEveryCommandDoesNothing)
{
  TConfigurationDialogCtrl c;
  EXPECT_TRUE(c.GetString(TSpellLanguageString::lsSpelling).isEmpty());
  EXPECT_TRUE(c.UseExcludeWords());
  EXPECT_FALSE(c.CanUndo());
  EXPECT_EQ(c.ActiveCustomDictionary(), nullptr);
  EXPECT_TRUE(c.CommandsVisible().IsEmpty());
  EXPECT_EQ(c.HelpCtxSpellDialog(), 0);
  TStringList words;
  words.Add("x");
  c.Suggest("teh", words);
  EXPECT_EQ(words.Count(), 0);
  c.Ignore();
  c.Cancel();
}

TEST(ConfigurationDialogCtrl, BindsOnceAndNamesUserOptionsFromTheComponent)
{
  TProbeSpell a, b;
  a.SetConfigUserOption(2, "Check code comments");
  int available = 0;
  TConfigurationDialogCtrl c;
  c.OnConfigurationAvailable = [&](QObject *) { ++available; };
  c.SetWrightSpell(&a);
  c.SetWrightSpell(&b);
  EXPECT_EQ(c.WrightSpell(), &a);
  EXPECT_EQ(available, 1);
  EXPECT_EQ(c.Configuration(), a.Configuration());
  EXPECT_EQ(c.GetOptionString(soUser2), "Check code comments");
  EXPECT_EQ(c.GetOptionString(soRepeated), "&Flag repeated words when checking spelling");
  c.Change("the");
  EXPECT_EQ(a.Calls, QStringList({"Change:the"}));
}

} // namespace
