// The thesaurus component driving the real dialog over an editor, on the offscreen platform.
// The dialog is modal: each test hands the steps to run inside it to Drive(), which runs them
// from the dialog's own event loop.

#include "rtErrorBox.h"
#include "thesaurus_fixture.h"
#include "wrRichEdit.h"
#include "wrThesaurus.h"
#include "wrThesaurusDialog.h"
#include "wrThesaurusDialogCtrl.h"
#include "wrWinAPIParser.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

QStringList Rows(const QTreeWidget *lv, int column = 0)
{
  QStringList out;
  for (int i = 0; i < lv->topLevelItemCount(); ++i)
    out << lv->topLevelItem(i)->text(column);
  return out;
}

QStringList History(const QComboBox *c)
{
  QStringList out;
  for (int i = 0; i < c->count(); ++i)
    out << c->itemText(i);
  return out;
}

// Selects the row with this text in a list, as a click would.
void SelectRow(QTreeWidget *lv, const QString &text)
{
  const auto found = lv->findItems(text, Qt::MatchExactly);
  ASSERT_FALSE(found.isEmpty()) << qPrintable(text);
  lv->setCurrentItem(found.front());
}

class ThesaurusDialogTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    TThesaurusWriter w;
    AddHappyContent(w);
    FileName = Files.Write(w);
    Window.setGeometry(100, 100, 500, 300);
    Editor = new TWrightRichEdit(&Window);
    Editor->setGeometry(0, 0, 500, 300);
    Window.show();
    Thes = new TThesaurus3(&Window);
    Thes->SetFilename(FileName);
    Thes->DoubleClickAction = dcaLookup; // the main window's setting
  }

  void SetText(const QString &text, int caret)
  {
    Editor->SetText(text);
    Editor->SetSel(caret, caret);
  }

  // Runs Start (which opens the dialog) and, inside the dialog, Steps; the steps must close
  // it. Answers whether a dialog was open.
  bool Drive(const std::function<void()> &Start, const std::function<void(TThesDialog *)> &Steps)
  {
    bool opened = false;
    QTimer::singleShot(0, [&] {
      auto *d = qobject_cast<TThesDialog *>(Thes->DialogForm());
      if (!d)
        return;
      opened = true;
      Steps(d);
      if (d->isVisible()) {
        ADD_FAILURE() << "the steps left the dialog open";
        d->done(QDialog::Rejected);
      }
    });
    try {
      Start();
    } catch (...) {
      QCoreApplication::processEvents(); // the check must not outlive this call
      throw;
    }
    QCoreApplication::processEvents(); // no dialog: the check above runs now and finds none
    return opened;
  }

  QString Text() const { return Editor->GetText(); }
  QString Selection() const { return Editor->GetSelText(); }

  ThesaurusFileFixture Files;
  QString FileName;
  QWidget Window;
  TWrightRichEdit *Editor = nullptr;
  TThesaurus3 *Thes = nullptr;
};

TEST_F(ThesaurusDialogTest, CaretInsideWordOpensTheDialogNextToItAndReplaceChangesTheWord)
{
  SetText("I am happy today.", 7);
  QPointer<TThesDialog> dialog;
  bool result = false;
  const bool opened =
      Drive([&] { result = Thes->LookupWinControl(Editor); },
            [&](TThesDialog *d) {
              dialog = d;
              EXPECT_EQ(Selection(), "happy");
              EXPECT_EQ(d->windowTitle(), "Thesaurus: Test Thesaurus");
              EXPECT_EQ(d->LookedUpLabel->text(), "Looked Up:");
              EXPECT_EQ(d->PreviousButton->text(), "&Previous");
              EXPECT_EQ(d->CloseButton->text(), "&Close");

              // Left-aligned with the word, just below it.
              TWinAPIControlParser parser;
              parser.Initialize(Editor);
              QRect word;
              parser.GetSelectionScreenPosition(word);
              const QRect frame = d->frameGeometry();
              EXPECT_NEAR(frame.left(), word.left(), 1);
              EXPECT_NEAR(frame.top(), word.bottom(), 1);

              EXPECT_EQ(d->focusWidget(), d->WordList);
              EXPECT_EQ(History(d->LookupCombo), QStringList({"happy"}));
              EXPECT_EQ(Rows(d->ContextLV), QStringList({"happy", "glad"}));
              EXPECT_EQ(Rows(d->ContextLV, 1), QStringList({"adjective", "adjective"}));
              EXPECT_TRUE(d->ContextLV->isEnabled());
              EXPECT_EQ(Rows(d->WordList),
                        QStringList({"happy", "cheerful", "joyful", "content", "glad"}));
              // The looked-up word is the chosen row, and no replacement yet.
              ASSERT_NE(d->WordList->currentItem(), nullptr);
              EXPECT_EQ(d->WordList->currentItem()->text(0), "happy");
              EXPECT_TRUE(d->ReplaceEdit->text().isEmpty());
              EXPECT_FALSE(d->ReplaceButton->isEnabled());
              EXPECT_FALSE(d->LookupButton->isEnabled());
              EXPECT_FALSE(d->PreviousButton->isEnabled());

              SelectRow(d->WordList, "cheerful");
              EXPECT_EQ(d->ReplaceEdit->text(), "cheerful");
              EXPECT_TRUE(d->ReplaceButton->isEnabled());
              EXPECT_TRUE(d->LookupButton->isEnabled());
              d->ReplaceButton->click();
            });
  EXPECT_TRUE(opened);
  EXPECT_TRUE(result);
  EXPECT_EQ(Text(), "I am cheerful today.");
  EXPECT_TRUE(dialog.isNull());                  // released with the lookup
  EXPECT_FALSE(Thes->ThesaurusFile()->Loaded()); // not loaded before, released again
  EXPECT_FALSE(Thes->InLookup());
}

TEST_F(ThesaurusDialogTest, ClosingLeavesTheText)
{
  const std::pair<const char *, std::function<void(TThesDialog *)>> ways[] = {
      {"Close button", [](TThesDialog *d) { d->CloseButton->click(); }},
      {"Esc or the close box", [](TThesDialog *d) { d->reject(); }},
  };
  for (const auto &[what, close] : ways) {
    SCOPED_TRACE(what);
    SetText("so happy", 5);
    bool result = false;
    EXPECT_TRUE(Drive([&] { result = Thes->LookupWinControl(Editor); },
                      [&](TThesDialog *d) {
                        SelectRow(d->WordList, "joyful");
                        close(d);
                      }));
    EXPECT_TRUE(result);
    EXPECT_EQ(Text(), "so happy");
  }
}

TEST_F(ThesaurusDialogTest, HistoryPreviousAndDoubleClick)
{
  SetText("happy", 0);
  EXPECT_TRUE(Drive([&] { Thes->LookupWinControl(Editor); },
                    [&](TThesDialog *d) {
                      // Lookup button on a chosen synonym.
                      SelectRow(d->WordList, "glad");
                      d->LookupButton->click();
                      EXPECT_EQ(History(d->LookupCombo), QStringList({"glad", "happy"}));
                      EXPECT_EQ(Rows(d->ContextLV), QStringList({"glad"}));
                      EXPECT_EQ(d->WordList->currentItem()->text(0), "glad");
                      EXPECT_TRUE(d->PreviousButton->isEnabled());

                      // The same word again, in other letter case: moved to the top, not added
                      // twice.
                      d->ReplaceEdit->setText("HAPPY");
                      d->LookupButton->click();
                      EXPECT_EQ(History(d->LookupCombo), QStringList({"HAPPY", "glad"}));
                      EXPECT_EQ(Rows(d->ContextLV), QStringList({"HAPPY", "GLAD"}));

                      // Double click (dcaLookup) on a word looks it up.
                      SelectRow(d->ContextLV, "GLAD");
                      SelectRow(d->WordList, "WILLING");
                      emit d->WordList->itemDoubleClicked(d->WordList->currentItem(), 0);
                      EXPECT_EQ(History(d->LookupCombo), QStringList({"WILLING", "HAPPY", "glad"}));
                      EXPECT_EQ(Rows(d->ContextLV),
                                QStringList({"(not found)"})); // only in lists, no contexts
                      EXPECT_FALSE(d->ContextLV->isEnabled());
                      EXPECT_EQ(d->WordList->topLevelItemCount(), 0);

                      // Previous walks back and disables itself on the last word.
                      d->PreviousButton->click();
                      EXPECT_EQ(History(d->LookupCombo), QStringList({"HAPPY", "glad"}));
                      EXPECT_EQ(Rows(d->ContextLV), QStringList({"HAPPY", "GLAD"}));
                      d->PreviousButton->click();
                      EXPECT_EQ(History(d->LookupCombo), QStringList({"glad"}));
                      EXPECT_EQ(Rows(d->ContextLV), QStringList({"glad"}));
                      EXPECT_FALSE(d->PreviousButton->isEnabled());

                      // Choosing an entry of the history looks it up.
                      d->ReplaceEdit->setText("merry");
                      d->LookupButton->click();
                      d->LookupCombo->setCurrentIndex(1);
                      emit d->LookupCombo->activated(1);
                      EXPECT_EQ(History(d->LookupCombo), QStringList({"glad", "merry"}));
                      d->CloseButton->click();
                    }));
  EXPECT_EQ(Text(), "happy");
}

TEST_F(ThesaurusDialogTest, SelectingTheLookedUpWordEmptiesTheReplacement)
{
  SetText("Happy days", 2);
  EXPECT_TRUE(Drive([&] { Thes->LookupWinControl(Editor); },
                    [&](TThesDialog *d) {
                      EXPECT_EQ(History(d->LookupCombo), QStringList({"Happy"}));
                      EXPECT_EQ(Rows(d->WordList),
                                QStringList({"Happy", "Cheerful", "Joyful", "Content", "Glad"}));
                      SelectRow(d->WordList, "Content");
                      EXPECT_EQ(d->ReplaceEdit->text(), "Content");
                      SelectRow(d->WordList, "Happy");
                      EXPECT_TRUE(d->ReplaceEdit->text().isEmpty());
                      EXPECT_FALSE(d->ReplaceButton->isEnabled());
                      EXPECT_FALSE(d->LookupButton->isEnabled());
                      d->CloseButton->click();
                    }));
  EXPECT_EQ(Text(), "Happy days");
}

TEST_F(ThesaurusDialogTest, ContextKindChoosesTheList)
{
  struct Case {
    const char *word;
    QStringList context;
    QStringList words;
  } cases[] = {
      // Kind 3: the third list, although the first is not empty.
      {"merry", {"jolly", "adjective"}, {"jolly", "merry", "jovial"}},
      // Kind 0: the list that holds the master word.
      {"gladden", {"gladden", ""}, {"gladden", "cheer up"}},
      {"house", {"home", "noun"}, {"home", "house", "dwelling"}},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_TRUE(Drive([&] { Thes->LookupWord(c.word); },
                      [&](TThesDialog *d) {
                        ASSERT_EQ(d->ContextLV->topLevelItemCount(), 1);
                        EXPECT_EQ(d->ContextLV->topLevelItem(0)->text(0), c.context[0]);
                        EXPECT_EQ(d->ContextLV->topLevelItem(0)->text(1), c.context[1]);
                        EXPECT_EQ(Rows(d->WordList), c.words);
                        d->CloseButton->click();
                      }));
  }
}

TEST_F(ThesaurusDialogTest, SortedListsSortContextsAndWords)
{
  Thes->SortedLists = true;
  EXPECT_TRUE(Drive([&] { Thes->LookupWord("happy"); },
                    [&](TThesDialog *d) {
                      EXPECT_EQ(Rows(d->ContextLV), QStringList({"glad", "happy"}));
                      EXPECT_EQ(Rows(d->WordList), QStringList({"glad", "happy", "willing"}));
                      SelectRow(d->ContextLV, "happy");
                      EXPECT_EQ(Rows(d->WordList),
                                QStringList({"cheerful", "content", "glad", "happy", "joyful"}));
                      d->CloseButton->click();
                    }));
}

TEST_F(ThesaurusDialogTest, LookupWordWithoutControlIsCentredAndAnswersTheChoice)
{
  QString chosen;
  EXPECT_TRUE(
      Drive([&] { chosen = Thes->LookupWord("run"); },
            [&](TThesDialog *d) {
              EXPECT_NEAR(d->frameGeometry().center().x(), Window.frameGeometry().center().x(), 2);
              EXPECT_NEAR(d->frameGeometry().center().y(), Window.frameGeometry().center().y(), 2);
              SelectRow(d->WordList, "dash");
              d->ReplaceButton->click();
            }));
  EXPECT_EQ(chosen, "dash");
}

TEST_F(ThesaurusDialogTest, SecondLookupWhileOneIsOpenDoesNothing)
{
  SetText("happy", 1);
  EXPECT_TRUE(Drive([&] { Thes->LookupWinControl(Editor); },
                    [&](TThesDialog *d) {
                      EXPECT_EQ(Thes->LookupWord("glad"), QString());
                      Thes->LookupWinControl(Editor);
                      EXPECT_EQ(Thes->DialogForm(), d);
                      EXPECT_EQ(History(d->LookupCombo), QStringList({"happy"}));
                      EXPECT_EQ(Text(), "happy");
                      d->CloseButton->click();
                    }));
  EXPECT_EQ(Text(), "happy");
}

TEST_F(ThesaurusDialogTest, NothingToLookUpShowsNothing)
{
  struct Case {
    const char *what;
    const char *text;
    int caret;
    bool fileThere;
    bool result;
    bool dialog; // a file that cannot be read is told in the dialog
  } cases[] = {
      {"missing thesaurus file", "happy", 2, false, true, true},
      {"empty text", "", 0, true, false, false},
      {"caret after the last word", "happy ", 6, true, false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    TThesaurus3 thes(&Window);
    thes.SetFilename(c.fileThere ? FileName : Files.Dir() + "/missing.wdt");
    TThesaurus3 *saved = Thes; // Drive watches this component
    Thes = &thes;
    SetText(c.text, c.caret);
    bool result = !c.result;
    EXPECT_EQ(Drive([&] { result = thes.LookupWinControl(Editor); },
                    [](TThesDialog *d) {
                      EXPECT_TRUE(d->FileProblemLabel->isVisible());
                      d->reject();
                    }),
              c.dialog);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(Text(), c.text);
    EXPECT_FALSE(thes.ThesaurusFile()->Loaded());
    Thes = saved;
  }
}

// The looked-up word deep in a long list is brought to the middle of the list by the timer.
TEST_F(ThesaurusDialogTest, LookedUpWordScrollsToTheMiddle)
{
  TThesaurusWriter w;
  QStringList words;
  for (int i = 0; i < 60; ++i)
    words << QString("word%1").arg(i, 2, 10, QChar('0'));
  words[45] = "target";
  w.AddContext("target", InList(1, words));
  w.AddLink("target", 0, 1);
  Thes->SetFilename(Files.Write(w, "long.wdt"));
  EXPECT_TRUE(Drive([&] { Thes->LookupWord("target"); },
                    [&](TThesDialog *d) {
                      QEventLoop wait;
                      QTimer::singleShot(100, &wait, &QEventLoop::quit);
                      wait.exec();
                      EXPECT_FALSE(d->Timer->isActive());
                      QTreeWidgetItem *item = d->WordList->currentItem();
                      ASSERT_NE(item, nullptr);
                      EXPECT_EQ(item->text(0), "target");
                      const int top = d->WordList->visualItemRect(item).top();
                      const int half = d->WordList->viewport()->height() / 2;
                      EXPECT_LE(std::abs(top - half), d->WordList->visualItemRect(item).height());
                      d->CloseButton->click();
                    }));
}

// Link values that name contexts beyond the table: the lookup cannot read the file, and the
// dialog says which file, in place of the words, without an error box.
TEST_F(ThesaurusDialogTest, DamagedFileIsToldInTheDialog)
{
  TThesaurusWriter w;
  AddHappyContent(w);
  w.AddLinkValue("broken", 100 * 5 + 1);
  const QString damaged = Files.Write(w, "damaged.wdt");
  Thes->SetFilename(damaged);
  QStringList boxes;
  const TMessageBoxHandler old =
      SetMessageBoxHandler([&](QWidget *, const QString &text, const QString &, unsigned) {
        boxes << text;
        return int(IDOK);
      });
  const QString told = "The thesaurus file \"" + damaged + "\" could not be read.";

  // Inside the dialog: the dialog stays open and says so.
  EXPECT_TRUE(Drive([&] { Thes->LookupWord("happy"); },
                    [&](TThesDialog *d) {
                      EXPECT_FALSE(d->FileProblemLabel->isVisible());
                      d->ReplaceEdit->setText("broken");
                      d->LookupButton->click();
                      EXPECT_TRUE(boxes.isEmpty()) << boxes.join('|').toStdString();
                      EXPECT_TRUE(d->isVisible());
                      EXPECT_TRUE(d->FileProblemLabel->isVisible());
                      EXPECT_FALSE(d->WordList->isVisible());
                      EXPECT_EQ(d->FileProblemLabel->toolTip(), told);
                      EXPECT_EQ(d->FileProblemLabel->text().remove(QChar(0x200B)), told);
                      d->CloseButton->click();
                    }));

  // Before the dialog: the dialog opens all the same, and the component is ready again.
  EXPECT_TRUE(Drive([&] { Thes->LookupWord("broken"); },
                    [&](TThesDialog *d) {
                      EXPECT_EQ(d->FileProblemLabel->toolTip(), told);
                      EXPECT_EQ(Rows(d->ContextLV), QStringList({"(not found)"}));
                      d->reject();
                    }));
  EXPECT_TRUE(boxes.isEmpty());
  EXPECT_FALSE(Thes->InLookup());
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_FALSE(Thes->ThesaurusFile()->Loaded());
  EXPECT_TRUE(Drive([&] { Thes->LookupWord("glad"); },
                    [](TThesDialog *d) {
                      EXPECT_TRUE(d->FileProblemLabel->isHidden()) << "the rest of it still reads";
                      d->reject();
                    }));
  SetMessageBoxHandler(old);
}

// A file cut short (or missing) used to make "Lookup word" show nothing at all.
TEST_F(ThesaurusDialogTest, CutOrMissingFileIsToldInTheDialog)
{
  struct TCase {
    const char *name;
    bool cut;
  };
  for (const TCase c : {TCase{"cut", true}, TCase{"missing", false}}) {
    SCOPED_TRACE(c.name);
    TThesaurusWriter w;
    AddHappyContent(w);
    const QString file = Files.Write(w, QString::fromLatin1(c.name) + ".wdt");
    if (c.cut) {
      QFile f(file);
      ASSERT_TRUE(f.resize(f.size() / 2));
    } else {
      ASSERT_TRUE(QFile::remove(file));
    }
    // A fresh component, as at start-up: a missing name does not replace one already set.
    auto *thes = new TThesaurus3(&Window);
    thes->SetFilename(file);
    Thes = thes; // Drive watches this component
    EXPECT_TRUE(Drive([&] { thes->LookupWord("happy"); },
                      [&](TThesDialog *d) {
                        EXPECT_TRUE(d->FileProblemLabel->isVisible());
                        EXPECT_EQ(d->FileProblemLabel->toolTip(),
                                  "The thesaurus file \"" + file + "\" could not be read.");
                        d->reject();
                      }));
  }
}

TEST_F(ThesaurusDialogTest, CommandSetsShapeTheDialog)
{
  Thes->CommandsVisible =
      AllThesaurusCommands & ~ThesaurusCommandBit(tdcLookedUp) & ~ThesaurusCommandBit(tdcPrevious);
  Thes->CommandsEnabled = AllThesaurusCommands & ~ThesaurusCommandBit(tdcReplace);
  EXPECT_TRUE(Drive([&] { Thes->LookupWord("happy"); },
                    [&](TThesDialog *d) {
                      EXPECT_FALSE(d->LookedUpLabel->isVisible());
                      EXPECT_FALSE(d->LookupCombo->isVisible());
                      EXPECT_FALSE(d->PreviousButton->isVisible());
                      EXPECT_TRUE(d->LookupButton->isVisible());
                      // The contexts take the room of the history.
                      EXPECT_EQ(d->ContextsLabel->y(), 8);
                      EXPECT_EQ(d->ContextLV->geometry(), QRect(8, 24, 161, 153));
                      SelectRow(d->WordList, "glad");
                      EXPECT_TRUE(d->LookupButton->isEnabled());
                      EXPECT_FALSE(d->ReplaceButton->isEnabled());
                      d->CloseButton->click();
                    }));
}

TEST_F(ThesaurusDialogTest, EventsOfTheComponent)
{
  // Texts from OnGetString; the thesaurus name still fills the caption.
  Thes->OnGetString = [](QObject *, TThesaurusLanguageString s, QString &text) {
    if (s == lsThesaurus)
      text = "Synonyms of %name%";
    if (s == lsDlgClose)
      text = "&Done";
  };
  int beforeChange = 0;
  Thes->OnBeforeChange = [&](QObject *) { ++beforeChange; };
  QStringList prompted;
  Thes->OnPromptLookup = [&](QObject *, const QString &word, TThesaurusEntryList &) {
    prompted << word;
  };
  SetText("happy", 0);
  EXPECT_TRUE(Drive([&] { Thes->LookupWinControl(Editor); },
                    [&](TThesDialog *d) {
                      EXPECT_EQ(d->windowTitle(), "Synonyms of Test Thesaurus");
                      EXPECT_EQ(d->CloseButton->text(), "&Done");
                      EXPECT_EQ(beforeChange, 0);
                      SelectRow(d->WordList, "glad");
                      d->ReplaceButton->click();
                    }));
  EXPECT_EQ(beforeChange, 1);
  EXPECT_EQ(prompted, QStringList({"happy"}));
  EXPECT_EQ(Text(), "glad");

  // A host's own form through OnCreateThesaurusDialog, created and disposed of by the host.
  QStringList calls;
  Thes->OnCreateThesaurusDialog = [&](QObject *, QDialog *&form, bool create) {
    calls << (create ? "create" : "dispose");
    if (create) {
      form = new TThesDialog(&Window);
      form->setObjectName("HostDialog");
    } else {
      delete form;
    }
  };
  EXPECT_TRUE(Drive([&] { Thes->LookupWord("glad"); },
                    [&](TThesDialog *d) {
                      EXPECT_EQ(d->objectName(), "HostDialog");
                      d->CloseButton->click();
                    }));
  EXPECT_EQ(calls, QStringList({"create", "dispose"}));
}

TEST(ThesDialog, TabOrder)
{
  TThesDialog d;
  QStringList order;
  QWidget *w = d.LookupCombo;
  do {
    if (w->focusPolicy() & Qt::TabFocus)
      order << w->objectName();
    w = w->nextInFocusChain();
  } while (w != d.LookupCombo && order.size() < 20);
  EXPECT_EQ(order, QStringList({"LookupCombo", "ContextLV", "ReplaceEdit", "WordList",
                                "PreviousButton", "ReplaceButton", "CloseButton", "LookupButton"}));
}

// Without a dialog of its own the base component hands the result to OnPromptLookup.
TEST(ThesaurusBase, WithoutDialogPromptsTheCaller)
{
  ThesaurusFileFixture files;
  TThesaurusWriter w;
  AddHappyContent(w);
  TThesaurus3Base thes;
  thes.SetFilename(files.Write(w));
  QStringList contexts;
  thes.OnPromptLookup = [&](QObject *, const QString &word, TThesaurusEntryList &list) {
    contexts << word;
    for (const auto &c : list)
      contexts << c->ContextWord;
  };
  EXPECT_EQ(thes.LookupWord("Happy"), QString());
  EXPECT_EQ(contexts, QStringList({"Happy", "Happy", "Glad"}));
  EXPECT_FALSE(thes.ThesaurusFile()->Loaded());
}

} // namespace
