// The word-list pages, driven through the dictionary editor over a real custom dictionary file:
// the page an editor starts on, adding and deleting words and the row selected afterwards, when
// Add is offered, refused words, replacing a pair from With, the re-evaluation timer and keys.

#include "dictionary_fixture.h"
#include "print_qstring.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrCustomDictionaryEditDialog.h"
#include "wrCustomDictionaryPages.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

class CustomDictionaryPages : public DictionaryDialogTest {
protected:
  // An editor on the file Name (written first when Words are given), shown.
  TCustomDictionaryEditDialog *Open(const QString &name)
  {
    Dictionary = Spell->GetCustomDictionary(name);
    EXPECT_NE(Dictionary, nullptr);
    return OpenOn(Dictionary.get());
  }
  TCustomDictionaryEditDialog *OpenOn(TCustomDictionary *dictionary)
  {
    Editor = std::make_unique<TCustomDictionaryEditDialog>();
    Spell->BindDialogController(Editor.get(), dictionary);
    Editor->show();
    QApplication::processEvents();
    P = Editor->Pages;
    return Editor.get();
  }
  static void Key(QWidget *w, int key)
  {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
  }
  static QStringList DictionaryIgnoreWords(TCustomDictionary *d)
  {
    QStringList out;
    for (int i = 0; i < d->IgnoreCount(); ++i)
      out << d->GetIgnoreWord(unsigned(i));
    out.sort();
    return out;
  }

  std::unique_ptr<TCustomDictionary> Dictionary;
  std::unique_ptr<TCustomDictionaryEditDialog> Editor;
  TCustomDictionaryPages *P = nullptr;
};

TEST_F(CustomDictionaryPages, TheEditorStartsOnTheFullestPageAndNamesItsDictionary)
{
  struct Case {
    const char *name;
    QStringList ignore;
    QList<std::pair<QString, QString>> pairs;
    QStringList exclude;
    TWordListPage page;
  };
  const Case cases[] = {
      {"empty", {}, {}, {}, wpAdded},
      {"words", {"a"}, {{"b", "c"}, {"d", "e"}}, {}, wpAdded}, // Adds has entries: it stays
      {"pairs only", {}, {{"b", "c"}}, {}, wpAutoCorrect},
      {"exclusions only", {}, {}, {"x"}, wpExcluded},
      {"more pairs than exclusions", {}, {{"b", "c"}, {"d", "e"}}, {"x"}, wpAutoCorrect},
      {"a tie", {}, {{"b", "c"}}, {"x"}, wpAdded},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    WriteWdu("case.wdu", c.ignore, c.pairs, c.exclude);
    Open("case.wdu");
    EXPECT_EQ(P->ActivePage(), c.page);
    EXPECT_EQ(Editor->windowTitle(), "case.wdu");
    EXPECT_TRUE(P->PageVisible(wpExcluded));
    EXPECT_EQ(P->EditCustomTabs->tabText(0), "Adds");
    EXPECT_EQ(P->EditCustomTabs->tabText(1), "Auto-Corrections");
    EXPECT_EQ(P->AddIgnoreButton->text(), "Add");
    EXPECT_EQ(Editor->OK->text(), "OK");
    EXPECT_TRUE(Editor->HelpButton->isHidden());
    // The page shown is filled, sorted by its first column.
    const int shown = P->EntryCount(c.page);
    const QTreeWidget *list = c.page == wpAdded         ? P->IgnoreList
                              : c.page == wpAutoCorrect ? P->AutoCorrectList
                                                        : P->ExcludeList;
    EXPECT_EQ(list->topLevelItemCount(), shown);
    Editor.reset();
    Dictionary.reset();
    QFile::remove(Dir + "/case.wdu");
  }
}

TEST_F(CustomDictionaryPages, TheInternalDictionaryHasNoExclusionsAndItsOwnCaptions)
{
  TCustomDictionary *internal = Spell->InternalCustom();
  internal->AddIgnore("ignored");
  OpenOn(internal);
  EXPECT_EQ(Editor->windowTitle(), "Words added with Ignore All / Change All");
  EXPECT_EQ(P->EditCustomTabs->tabText(0), "&Ignore All");
  EXPECT_EQ(P->EditCustomTabs->tabText(1), "&Change All");
  EXPECT_FALSE(P->PageVisible(wpExcluded));
  EXPECT_EQ(Rows(P->IgnoreList), QStringList{"ignored"});
}

TEST_F(CustomDictionaryPages, AddingAndDeletingActOnTheDictionaryAndKeepARowSelected)
{
  Open("mine.wdu");
  ASSERT_EQ(P->ActivePage(), wpAdded);
  EXPECT_EQ(Rows(P->IgnoreList), (QStringList{"alpha", "beta", "gamma"}));
  P->IgnoreEdit->setText("Aardvark");
  EXPECT_TRUE(P->AddIgnoreButton->isEnabled());
  P->AddIgnoreButton->click();
  EXPECT_EQ(Rows(P->IgnoreList), (QStringList{"Aardvark", "alpha", "beta", "gamma"}));
  EXPECT_TRUE(Dictionary->IgnoreExists("Aardvark"));
  // The new row is selected, and the edit's word is now listed: no second Add.
  EXPECT_EQ(P->IgnoreList->currentItem()->text(0), "Aardvark");
  EXPECT_FALSE(P->AddIgnoreButton->isEnabled());
  EXPECT_TRUE(P->DeleteIgnoreButton->isEnabled());

  // Deleting the first selects the word that moved into first place, and copies it.
  P->DeleteIgnoreButton->click();
  EXPECT_FALSE(Dictionary->IgnoreExists("Aardvark"));
  EXPECT_EQ(P->IgnoreList->currentItem()->text(0), "alpha");
  EXPECT_TRUE(P->IgnoreList->currentItem()->isSelected());
  EXPECT_EQ(P->IgnoreEdit->text(), "alpha");
  // Deleting the last selects the new last row.
  P->IgnoreList->setCurrentItem(P->IgnoreList->topLevelItem(2));
  EXPECT_EQ(P->IgnoreEdit->text(), "gamma");
  P->DeleteIgnoreButton->click();
  EXPECT_EQ(Rows(P->IgnoreList), (QStringList{"alpha", "beta"}));
  EXPECT_EQ(P->IgnoreList->currentItem()->text(0), "beta");
  // Escape closes like OK; the edits are in the file once the dictionary is released.
  Editor->reject();
  EXPECT_EQ(Editor->result(), QDialog::Accepted);
  Dictionary.reset();
  EXPECT_EQ(IgnoreWords("mine.wdu"), (QStringList{"alpha", "beta"}));
}

TEST_F(CustomDictionaryPages, AddIsOfferedOnlyForAWordInNoOtherList)
{
  Open("mine.wdu"); // alpha beta gamma; teh -> the; colour excluded
  struct Case {
    TWordListPage page;
    QString word, with;
    bool add, del;
  };
  const Case cases[] = {
      {wpAdded, "delta", "", true, false},
      {wpAdded, "colour", "", false, false}, // on the Exclusions page
      {wpAdded, "teh", "", false, false},    // an auto-correction
      {wpAdded, "beta", "", false, true},    // listed here: selected, may be deleted
      {wpAdded, "", "", false, false},
      {wpExcluded, "alpha", "", false, false},
      {wpExcluded, "teh", "", false, false},
      {wpExcluded, "new", "", true, false},
      {wpAutoCorrect, "recieve", "receive", true, false},
      {wpAutoCorrect, "recieve", "", false, false}, // both fields are needed
      {wpAutoCorrect, "alpha", "x", false, false},
      {wpAutoCorrect, "colour", "x", false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.word.toStdString() + " on page " + std::to_string(c.page));
    P->EditCustomTabs->setCurrentWidget(P->Sheet(c.page));
    QLineEdit *edit = c.page == wpAdded      ? P->IgnoreEdit
                      : c.page == wpExcluded ? P->ExcludeEdit
                                             : P->ReplaceEdit;
    QPushButton *add = c.page == wpAdded      ? P->AddIgnoreButton
                       : c.page == wpExcluded ? P->AddExcludeButton
                                              : P->AddAutoCorrectButton;
    QPushButton *del = c.page == wpAdded      ? P->DeleteIgnoreButton
                       : c.page == wpExcluded ? P->DeleteExcludeButton
                                              : P->DeleteAutoCorrectButton;
    edit->clear();
    P->WithEdit->clear();
    if (c.page == wpAutoCorrect)
      P->WithEdit->setText(c.with);
    edit->setText(c.word);
    EXPECT_EQ(add->isEnabled(), c.add);
    EXPECT_EQ(del->isEnabled(), c.del);
  }
}

TEST_F(CustomDictionaryPages, WordsTheDictionaryRefusesLeaveListAndFileUnchanged)
{
  Open("mine.wdu");
  const QByteArray before = [&] {
    QFile f(Dir + "/mine.wdu");
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();
  struct Case {
    const char *name;
    QString word;
  };
  const Case cases[] = {
      {"501 characters", QString(501, QChar('a'))},
      {"a line break", "two\nlines"},
      {"a carriage return", "two\rlines"},
      {"a tab", "a\tb"},
      {"a paragraph separator", QString("a") + QChar(0x2029) + "b"},
      {"a zero", QString("a") + QChar(0) + "b"},
      {"a leading byte-order mark", QString(QChar(0xFEFF)) + "word"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    P->EditCustomTabs->setCurrentWidget(P->AddedWordsSheet);
    P->IgnoreEdit->setText(c.word);
    P->AddIgnoreButton->setEnabled(true); // even when forced, nothing reaches the list
    P->AddIgnoreButtonClick();
    EXPECT_EQ(Rows(P->IgnoreList), (QStringList{"alpha", "beta", "gamma"}));
    P->EditCustomTabs->setCurrentWidget(P->AutoCorrectWordsSheet);
    P->ReplaceEdit->setText("fine");
    P->WithEdit->setText(c.word);
    P->AddAutoCorrectButton->setEnabled(true);
    P->AddAutoCorrectButtonClick();
    EXPECT_EQ(Rows(P->AutoCorrectList), QStringList{"teh"});
    P->ReplaceEdit->clear();
    P->WithEdit->clear();
  }
  EXPECT_EQ(DictionaryIgnoreWords(Dictionary.get()), (QStringList{"alpha", "beta", "gamma"}));
  EXPECT_EQ(Dictionary->AutoCorrectCount(), 1);
  Editor.reset();
  Dictionary.reset();
  QFile f(Dir + "/mine.wdu");
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  EXPECT_EQ(f.readAll(), before);
}

TEST_F(CustomDictionaryPages, WithReplacesTheFocusedPairOnlyByAPairTheDictionaryTakes)
{
  Open("mine.wdu");
  P->EditCustomTabs->setCurrentWidget(P->AutoCorrectWordsSheet);
  ASSERT_EQ(Rows(P->AutoCorrectList), QStringList{"teh"});
  // The first column is as wide as Replace is from With.
  EXPECT_EQ(P->AutoCorrectList->columnWidth(0), P->WithEdit->x() - P->ReplaceEdit->x());
  P->AutoCorrectList->setCurrentItem(P->AutoCorrectList->topLevelItem(0));
  EXPECT_EQ(P->ReplaceEdit->text(), "teh");
  EXPECT_EQ(P->WithEdit->text(), "the");
  struct Case {
    const char *name;
    QString with, stored;
  };
  const Case cases[] = {
      {"a new correction", "THE", "THE"}, {"cleared to retype", "", "THE"},
      {"the word itself", "teh", "THE"},  {"too long", QString(600, QChar('x')), "THE"},
      {"a line break", "t\nhe", "THE"},   {"typed again", "the", "the"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    P->WithEdit->setText(c.with);
    QString stored;
    EXPECT_TRUE(Dictionary->AutoCorrectExists("teh", stored));
    EXPECT_EQ(stored, c.stored);
    EXPECT_EQ(P->AutoCorrectList->topLevelItem(0)->text(1), c.stored);
  }
  EXPECT_EQ(Dictionary->AutoCorrectCount(), 1);
}

TEST_F(CustomDictionaryPages, ARowThatLosesItsSelectionReevaluatesTheEditAfterTheTimer)
{
  Open("mine.wdu");
  P->IgnoreList->setCurrentItem(P->IgnoreList->topLevelItem(1));
  EXPECT_EQ(P->IgnoreEdit->text(), "beta");
  EXPECT_TRUE(P->DeleteIgnoreButton->isEnabled());
  P->IgnoreList->clearSelection();
  EXPECT_TRUE(P->Timer->isActive());
  EXPECT_EQ(P->Timer->interval(), 5);
  QElapsedTimer waited;
  waited.start();
  while (P->Timer->isActive() && waited.elapsed() < 2000)
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
  EXPECT_FALSE(P->Timer->isActive());
  // "beta" is still the edit's word and listed: its row is selected again.
  EXPECT_TRUE(P->IgnoreList->currentItem()->isSelected());
  EXPECT_TRUE(P->DeleteIgnoreButton->isEnabled());
}

TEST_F(CustomDictionaryPages, KeysAddMoveOnDeleteAndKeepOKFromTakingEnter)
{
  Open("mine.wdu");
  EXPECT_TRUE(Editor->OK->isDefault());
  QFocusEvent in(QEvent::FocusIn), out(QEvent::FocusOut);
  QApplication::sendEvent(P->IgnoreEdit, &in);
  EXPECT_FALSE(Editor->OK->isDefault());
  P->IgnoreEdit->setText("delta");
  Key(P->IgnoreEdit, Qt::Key_Return);
  EXPECT_TRUE(Dictionary->IgnoreExists("delta"));
  EXPECT_TRUE(Editor->isVisible()) << "Enter added the word instead of closing";
  QApplication::sendEvent(P->IgnoreEdit, &out);
  EXPECT_TRUE(Editor->OK->isDefault());

  P->EditCustomTabs->setCurrentWidget(P->AutoCorrectWordsSheet);
  P->ReplaceEdit->setText("wrod");
  Editor->activateWindow();
  P->ReplaceEdit->setFocus();
  QApplication::processEvents();
  ASSERT_TRUE(P->ReplaceEdit->hasFocus());
  Key(P->ReplaceEdit, Qt::Key_Enter);
  EXPECT_TRUE(P->WithEdit->hasFocus());
  P->WithEdit->setText("word");
  Key(P->WithEdit, Qt::Key_Enter);
  QString c;
  EXPECT_TRUE(Dictionary->AutoCorrectExists("wrod", c));
  EXPECT_EQ(c, "word");

  P->EditCustomTabs->setCurrentWidget(P->AddedWordsSheet);
  P->IgnoreList->setCurrentItem(P->IgnoreList->topLevelItem(0));
  Key(P->IgnoreList, Qt::Key_Delete);
  EXPECT_FALSE(Dictionary->IgnoreExists("alpha"));
}

// After an Add, what the user types next is the next word, whether the Add came from a click
// on the button or from Enter in the field.
TEST_F(CustomDictionaryPages, TheWordTypedAfterAnAddStartsAfresh)
{
  Open("mine.wdu");
  Editor->activateWindow();
  QApplication::processEvents();
  const auto type = [](QLineEdit *edit, const QString &text) {
    for (QChar ch : text) {
      QKeyEvent press(QEvent::KeyPress, ch.toUpper().unicode(), Qt::NoModifier, QString(ch));
      QApplication::sendEvent(QApplication::focusWidget() ? QApplication::focusWidget() : edit,
                              &press);
    }
  };
  const struct {
    const char *how;
    bool click;
  } ways[] = {{"button", true}, {"Enter", false}};
  for (const auto &w : ways) {
    SCOPED_TRACE(w.how);
    P->EditCustomTabs->setCurrentWidget(P->AddedWordsSheet);
    P->IgnoreEdit->setFocus();
    P->IgnoreEdit->clear();
    QApplication::processEvents();
    type(P->IgnoreEdit, QStringLiteral("delta") + (w.click ? "" : "x"));
    const QString first = P->IgnoreEdit->text();
    if (w.click) {
      P->AddIgnoreButton->setFocus();
      P->AddIgnoreButton->click();
    } else {
      Key(P->IgnoreEdit, Qt::Key_Return);
    }
    EXPECT_TRUE(Dictionary->IgnoreExists(first));
    type(P->IgnoreEdit, QStringLiteral("epsilon"));
    EXPECT_EQ(P->IgnoreEdit->text(), "epsilon");
    EXPECT_TRUE(P->AddIgnoreButton->isEnabled());

    P->EditCustomTabs->setCurrentWidget(P->AutoCorrectWordsSheet);
    P->ReplaceEdit->setText(w.click ? "wrod" : "wrodx");
    P->WithEdit->setText("word");
    P->WithEdit->setFocus();
    if (w.click)
      P->AddAutoCorrectButton->click();
    else
      Key(P->WithEdit, Qt::Key_Return);
    QString c;
    EXPECT_TRUE(Dictionary->AutoCorrectExists(w.click ? "wrod" : "wrodx", c));
    type(P->ReplaceEdit, QStringLiteral("teh"));
    EXPECT_EQ(P->ReplaceEdit->text(), "teh") << "the next pair starts with its misspelling";
  }
}

TEST_F(CustomDictionaryPages, AnEditorWithoutADictionaryClosesWithCancel)
{
  TCustomDictionaryEditDialog editor;
  Spell->BindDialogController(&editor, nullptr);
  QTimer::singleShot(2000, &editor, [&] { editor.done(42); }); // a hang fails, not blocks
  EXPECT_EQ(editor.exec(), QDialog::Rejected);
}

} // namespace
