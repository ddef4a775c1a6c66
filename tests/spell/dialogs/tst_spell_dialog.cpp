// The classic spelling dialog by what sets it apart from the Office-style one: the word alone,
// the replacement edit that suggestions fill and whose emptiness disables the change commands.

#include "print_qstring.h"
#include "probe_spell.h"
#include "wrSpellDialog.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <memory>

#include <gtest/gtest.h>

namespace {

class SpellDialogClassic : public ::testing::Test {
protected:
  void SetUp() override
  {
    Spell.SetChecking(true);
    Spell.GiveActiveCustom();
    Spell.DialogTypeSpelling = sdClassic;
    Form.reset(dynamic_cast<TSpellDialog *>(Spell.CreateAndBind()));
    ASSERT_NE(Form, nullptr);
    D = Form.get();
  }

  void Prompt(const QString &Word, const QStringList &Suggestions, bool Repeated = false)
  {
    Spell.Suggestions = Suggestions;
    Spell.SetWord(Word, Repeated);
    D->DialogControl->OnPromptWord(&Spell, Word, Repeated);
  }

  TProbeSpell Spell;
  std::unique_ptr<TSpellDialog> Form;
  TSpellDialog *D = nullptr;
};

TEST_F(SpellDialogClassic, CaptionsAndSize)
{
  EXPECT_EQ(D->size(), QSize(432, 167));
  EXPECT_EQ(D->IgnoreButton->text(), "I&gnore");
  EXPECT_EQ(D->AddButton->text(), "Add");
  EXPECT_EQ(D->ReplaceWithText->text(), "&Replace With:");
  EXPECT_EQ(D->ReplaceWithText->buddy(), D->ReplaceWithEdit);
  EXPECT_EQ(D->UndoButton->pos(), QPoint(8, 111));
  EXPECT_EQ(D->OptionsButton->pos(), QPoint(8, 138));
}

TEST_F(SpellDialogClassic, TheReplacementEditDrivesTheChangeCommands)
{
  Prompt("teh", {"the", "ten"});
  EXPECT_EQ(D->NotFoundEdit->text(), "teh");
  EXPECT_EQ(D->ReplaceWithEdit->text(), "the");
  // A single click takes the suggestion into the edit.
  emit D->SuggestionsListbox->itemClicked(D->SuggestionsListbox->item(1));
  EXPECT_EQ(D->ReplaceWithEdit->text(), "ten");
  D->ReplaceWithEdit->setText("tea");
  D->ChangeButton->click();
  D->ChangeAllButton->click();
  D->AutoCorrectButton->click();
  EXPECT_EQ(Spell.Calls, QStringList({"Change:tea", "ChangeAll:tea", "AutoCorrect:tea"}));
  D->ReplaceWithEdit->clear();
  EXPECT_FALSE(D->ChangeButton->isEnabled());
  EXPECT_FALSE(D->ChangeAllButton->isEnabled());
  EXPECT_FALSE(D->AutoCorrectButton->isEnabled());
  // A double click on the word copies it for editing; one in the list changes at once.
  QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                  Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(D->NotFoundEdit, &dbl);
  EXPECT_EQ(D->ReplaceWithEdit->text(), "teh");
  Spell.Calls.clear();
  D->SuggestionsListbox->setCurrentRow(1);
  emit D->SuggestionsListbox->itemDoubleClicked(D->SuggestionsListbox->item(1));
  EXPECT_EQ(Spell.Calls, QStringList({"Change:ten"}));
}

TEST_F(SpellDialogClassic, RepeatedWordLeavesOnlyIgnoreChangeAndOptions)
{
  Prompt("the the", {}, true);
  EXPECT_EQ(D->ReplaceWithEdit->text(), "the");
  EXPECT_EQ(D->NotFoundText->text(), "Repeated Word:");
  EXPECT_TRUE(D->IgnoreButton->isEnabled());
  EXPECT_TRUE(D->ChangeButton->isEnabled());
  EXPECT_TRUE(D->OptionsButton->isEnabled());
  EXPECT_FALSE(D->IgnoreAllButton->isEnabled());
  EXPECT_FALSE(D->ChangeAllButton->isEnabled());
  EXPECT_FALSE(D->AddButton->isEnabled());
  EXPECT_FALSE(D->AutoCorrectButton->isEnabled());
  D->ChangeButton->click();
  D->IgnoreButton->click();
  EXPECT_EQ(Spell.Calls, QStringList({"RepeatDelete", "RepeatIgnore"}));
}

} // namespace
