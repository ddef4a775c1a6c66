// "Spellcheck the document" on the real main window, end to end: the check loop, the Office-style
// dialog and the custom dictionaries over a small fixture dictionary in a temporary folder. The
// check is synchronous, so each test hands the dialog steps to a timer that runs them inside it.

#include "print_qstring.h"
#include "session_fixture.h"

#include "RichTextEd.h"
#include "rtErrorBox.h"
#include "wrLiveRichEdit.h"
#include "wrMainDictionary.h"
#include "wrRichEdit.h"
#include "wrSpell.h"
#include "wrSpellDialogOffice.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

TSpellDialogV4 *OpenDialog()
{
  for (QWidget *w : QApplication::topLevelWidgets())
    if (auto *d = qobject_cast<TSpellDialogV4 *>(w); d && d->isVisible())
      return d;
  return nullptr;
}

QStringList Items(const QListWidget *list)
{
  QStringList out;
  for (int i = 0; i < list->count(); ++i)
    out << list->item(i)->text();
  return out;
}

class MainWindowSpelling : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(Temp.isValid());
    Dir = Temp.path() + QStringLiteral("/Dictionaries");
    ASSERT_TRUE(QDir().mkpath(Dir));
    ASSERT_EQ(WriteWdm(Dir + "/aussie.wdm", {"the", "cat", "sat", "on", "mat", "with", "and", "a"}),
              QString());
    FOldBox =
        SetMessageBoxHandler([this](QWidget *, const QString &text, const QString &, unsigned) {
          Boxes << text;
          return IDOK;
        });
    Window = std::make_unique<TRichTextEd>();
    UseFolder(*Window->WrightAutoLiveSpell1);
    Window->show();
    QApplication::processEvents();
  }

  void TearDown() override
  {
    Window.reset();
    SetMessageBoxHandler(FOldBox);
  }

  // The component's dictionaries and Spell.cfg in the temporary folder.
  void UseFolder(TWrightSpellBase &spell)
  {
    TStringList folders;
    folders.Add(Dir);
    spell.SetConfigDictionaryDir(folders);
    spell.SetConfigFilename(Dir + "/Spell.cfg");
  }

  // Runs "Spellcheck the document" with Steps run one by one on the dialog as it shows words.
  void Check(const QString &text, std::vector<std::function<void(TSpellDialogV4 *)>> steps)
  {
    Window->Editor->SetText(text);
    QTimer::singleShot(0, Window.get(), [this, steps] {
      for (const auto &step : steps) {
        TSpellDialogV4 *d = OpenDialog();
        if (!d) {
          ADD_FAILURE() << "no spelling dialog for step " << Steps;
          return;
        }
        ++Steps;
        step(d);
      }
    });
    Window->EditorSpellcheck1->trigger();
  }

  // A fresh component over the same folder: what the next run of the program would accept.
  bool AcceptedLater(const QString &word)
  {
    TWrightSpellDialogs later;
    later.SetConfigStorage(csFile);
    UseFolder(later);
    TStringList main;
    main.Add("aussie.wdm");
    later.SetConfigDefaultMain(main);
    return later.WordAcceptable(word);
  }

  QTemporaryDir Temp;
  QString Dir;
  std::unique_ptr<TRichTextEd> Window;
  QStringList Boxes;
  int Steps = 0;

private:
  TMessageBoxHandler FOldBox;
};

TEST_F(MainWindowSpelling, ChangeIgnoreAllAndAddWorkThroughTheDocument)
{
  Check("the cat sat on teh mat with zorp and zorp and blorf\r\n",
        {[](TSpellDialogV4 *d) {
           EXPECT_EQ(d->Word(), "teh");
           EXPECT_EQ(d->NotFoundRichEdit->toPlainText(),
                     "the cat sat on teh mat with zorp and zorp and blorf");
           const int row = int(Items(d->SuggestionsListbox).indexOf("the"));
           ASSERT_GE(row, 0);
           d->SuggestionsListbox->setCurrentRow(row);
           d->ChangeButton->click();
         },
         [](TSpellDialogV4 *d) {
           EXPECT_EQ(d->Word(), "zorp");
           d->IgnoreAllButton->click();
         },
         [](TSpellDialogV4 *d) {
           EXPECT_EQ(d->Word(), "blorf"); // the second zorp was skipped
           d->AddButton->click();
         }});
  EXPECT_EQ(Steps, 3);
  EXPECT_EQ(Window->Editor->GetText(), "the cat sat on the mat with zorp and zorp and blorf\r\n");
  EXPECT_EQ(Boxes, QStringList({"The spelling check is complete."}));
  EXPECT_FALSE(Window->WrightAutoLiveSpell1->Checking());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(OpenDialog(), nullptr);
  // Add wrote to the user's dictionary; Ignore All lasts only as long as the component.
  EXPECT_TRUE(AcceptedLater("blorf"));
  EXPECT_FALSE(AcceptedLater("zorp"));
}

TEST_F(MainWindowSpelling, ClosingTheWindowWhileTheDialogWaitsEndsTheCheckAndKeepsAddedWords)
{
  QPointer<TRichTextEd> window = Window.get();
  Check("teh cat and zorp\r\n", {[](TSpellDialogV4 *d) {
                                   EXPECT_EQ(d->Word(), "teh");
                                   d->AddButton->click();
                                 },
                                 [window](TSpellDialogV4 *d) {
                                   EXPECT_EQ(d->Word(), "zorp");
                                   window->close();
                                 }});
  EXPECT_EQ(Steps, 2);
  EXPECT_FALSE(Window->WrightAutoLiveSpell1->Checking());
  EXPECT_FALSE(Window->isVisible());
  EXPECT_TRUE(Boxes.isEmpty()); // cancelled: no end message
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(OpenDialog(), nullptr);
  Window.reset();
  EXPECT_TRUE(AcceptedLater("teh"));
}

TEST_F(MainWindowSpelling, AMissingDictionaryFolderEndsTheCheckWithOnlyTheDialog)
{
  // A program started so: live spelling looks at the folder from the first paint on.
  Window = std::make_unique<TRichTextEd>();
  TStringList folders;
  folders.Add(Temp.path() + "/missing");
  Window->WrightAutoLiveSpell1->SetConfigDictionaryDir(folders);
  Window->WrightAutoLiveSpell1->SetConfigFilename(Temp.path() + "/missing/Spell.cfg");
  Window->show();
  QApplication::processEvents();
  Check("teh cat\r\n", {[](TSpellDialogV4 *d) {
                          EXPECT_EQ(d->Word(), "teh");
                          EXPECT_EQ(Items(d->SuggestionsListbox),
                                    QStringList({"(no suggestions)"}));
                          d->IgnoreButton->click();
                        },
                        [](TSpellDialogV4 *d) { d->IgnoreButton->click(); }});
  EXPECT_FALSE(Window->WrightAutoLiveSpell1->Checking());
  EXPECT_EQ(Boxes, QStringList({"The spelling check is complete."}));
}

TEST_F(MainWindowSpelling, DamagedDictionaryFilesEndTheCheckWithOnlyTheDialog)
{
  WriteFile(Dir + "/aussie.wdm", QByteArray("WDM\x04garbage", 11));
  WriteFile(Dir + "/Autocorrect.wdu", QByteArray(300, '\xff'));
  WriteFile(Dir + "/Spell.cfg", QByteArray("[\x01\x02\n=\n\xff\xfe"));
  Check("teh\r\n", {[](TSpellDialogV4 *d) {
          EXPECT_EQ(d->Word(), "teh");
          d->IgnoreButton->click();
        }});
  EXPECT_EQ(Steps, 1);
  EXPECT_FALSE(Window->WrightAutoLiveSpell1->Checking());
  EXPECT_EQ(Boxes, QStringList({"The spelling check is complete."}));
  EXPECT_EQ(Window->Editor->GetText(), "teh\r\n");
}

} // namespace

namespace {

TEST_F(MainWindowSpelling, TheLiveComponentAndTheEditorRunLiveSpellingTogether)
{
  TWrightAutoLiveSpell *s = Window->WrightAutoLiveSpell1;
  EXPECT_EQ(s->objectName(), "WrightAutoLiveSpell1");
  EXPECT_TRUE(s->LiveSpelling());
  EXPECT_TRUE(s->LiveCorrect());
  EXPECT_TRUE(s->LiveSpellingOptions());
  EXPECT_EQ(s->LiveSpellingColor(), QColor(Qt::red));
  EXPECT_FALSE(s->LiveSpellingReadOnly());
  EXPECT_EQ(s->LiveMenuOptions(), TSpellPopupOptions::Range(spDialog, spReplace));
  EXPECT_TRUE(s->AutoSpellWhenFocused());
  EXPECT_FALSE(s->AutoSpellOnlyFocusedControl());

  TWrightRichEdit *e = Window->Editor;
  EXPECT_EQ(e->WrightSpell(), s);
  EXPECT_TRUE(e->LiveSpelling());
  EXPECT_TRUE(e->LiveCorrect());
  EXPECT_TRUE(e->LiveSpellingOptions());
  EXPECT_TRUE(e->DoubleBuffered());
  EXPECT_TRUE(e->IrregularLeftMargin());
  EXPECT_TRUE(e->IrregularLineHeights()) << "the wavy line follows each line's baseline";
  EXPECT_FALSE(e->LiveSpellingReadOnly());
  EXPECT_EQ(e->LiveSpellingColor(), QColor(Qt::red));
  EXPECT_EQ(e->LiveMenuOptions(), TSpellPopupOptions::Range(spDialog, spReplace));

  // The editor has its own engine: the focus timer never attaches it.
  e->setFocus();
  s->CheckFocusedControl();
  EXPECT_EQ(s->SubclassCount(), 0);
}

} // namespace

namespace {

// The live engine of the main window's editor.
TWrightLiveRichEdit *EngineOf(TRichTextEd &window)
{
  return dynamic_cast<TWrightLiveRichEdit *>(window.Editor->LiveInterface());
}

// The misspellings the editor's engine found on a line, as words.
QStringList Underlined(TRichTextEd &window, int line)
{
  window.Editor->viewport()->grab(); // a paint checks the visible lines
  QStringList words;
  const QString text = window.Editor->GetLineText(line);
  if (const TLineCache *c = EngineOf(window)->LineCache(line))
    for (const TSpellingError &e : c->SpellingErrors)
      words << text.mid(e.X1, e.X2 - e.X1);
  return words;
}

// A right click at a character of the editor; answers the live menu's items (empty when the
// live menu did not open), which is closed again.
QStringList RightClickAt(TRichTextEd &window, int charIndex)
{
  TWrightRichEdit *e = window.Editor;
  const QPoint at = e->PosFromChar(charIndex) + QPoint(2, e->fontMetrics().height() / 2);
  QStringList items;
  QTimer::singleShot(50, [&items] {
    if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        menu && menu->objectName() == "LivePopupMenu") {
      for (QAction *a : menu->actions())
        items << (a->isSeparator() ? QString("-") : a->text());
      menu->close();
    }
  });
  QContextMenuEvent event(QContextMenuEvent::Mouse, at, e->viewport()->mapToGlobal(at));
  QApplication::sendEvent(e->viewport(), &event);
  QApplication::processEvents();
  return items;
}

TEST_F(MainWindowSpelling, ARightClickOnAMisspellingShowsTheLiveMenuElsewhereTheWindowsOwn)
{
  ASSERT_NE(EngineOf(*Window), nullptr);
  Window->Editor->SetText("the cat zorp\r\n");
  ASSERT_EQ(Underlined(*Window, 0), QStringList({"zorp"}));

  const QStringList live = RightClickAt(*Window, 9); // inside "zorp"
  EXPECT_FALSE(live.isEmpty());
  EXPECT_TRUE(live.contains("I&gnore")) << live.join(", ").toStdString();
  EXPECT_FALSE(Window->EditorPopupMenu1->isVisible());

  EXPECT_TRUE(RightClickAt(*Window, 5).isEmpty()); // inside "cat"
  EXPECT_TRUE(Window->EditorPopupMenu1->isVisible());
  Window->EditorPopupMenu1->close();
}

TEST_F(MainWindowSpelling, WordsTheDialogAcceptsLoseTheirUnderline)
{
  ASSERT_NE(EngineOf(*Window), nullptr);
  Window->Editor->SetText("the zorp sat on blorf\r\n");
  ASSERT_EQ(Underlined(*Window, 0), QStringList({"zorp", "blorf"}));
  Check("the zorp sat on blorf\r\n", {[](TSpellDialogV4 *d) {
                                        EXPECT_EQ(d->Word(), "zorp");
                                        d->IgnoreAllButton->click();
                                      },
                                      [](TSpellDialogV4 *d) {
                                        EXPECT_EQ(d->Word(), "blorf");
                                        d->AddButton->click();
                                      }});
  EXPECT_EQ(Steps, 2);
  EXPECT_EQ(Underlined(*Window, 0), QStringList());
}

} // namespace

namespace {

TEST_F(MainWindowSpelling, BuildingTheWindowTouchesNoFileUntilAWordIsPainted)
{
  TRichTextEd window;
  EXPECT_FALSE(window.WrightAutoLiveSpell1->Configuration()->Loaded());
  EXPECT_EQ(window.Editor->WrightSpell(), window.WrightAutoLiveSpell1);
  // Folders set after construction are the ones the first word test reads.
  UseFolder(*window.WrightAutoLiveSpell1);
  window.show();
  QApplication::processEvents();
  EXPECT_FALSE(window.WrightAutoLiveSpell1->Configuration()->Loaded()) << "no word painted yet";
  window.Editor->SetText("the cat\r\n");
  window.Editor->viewport()->grab(); // the paint tests the words
  EXPECT_TRUE(window.WrightAutoLiveSpell1->Configuration()->Loaded());
  ASSERT_FALSE(window.WrightAutoLiveSpell1->MainDictionaries().empty());
  EXPECT_TRUE(window.WrightAutoLiveSpell1->MainDictionaries().front()->Filename().startsWith(Dir))
      << window.WrightAutoLiveSpell1->MainDictionaries().front()->Filename().toStdString();
}

} // namespace
