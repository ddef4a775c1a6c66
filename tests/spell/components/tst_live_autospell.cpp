// TWrightAutoLiveSpell: attaching live spelling to focused rich edits of its window, the
// focused-only mode, the single LiveControl, the user's options, and the settings it pushes to
// every attached control.

#include "live_fixture.h"
#include "print_qstring.h"
#include "wait_for.h"
#include "wrRichEdit.h"
#include "wrRichEditSubclass.h"

#include <QElapsedTimer>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// Runs the event loop until Done() or Ms milliseconds passed; answers Done().
// A window with the program's editor and two foreign rich edits, the component owned by it.
class AutoLiveTest : public LiveTest {
protected:
  void SetUp() override
  {
    LiveTest::SetUp();
    Window = std::make_unique<QWidget>();
    auto *layout = new QVBoxLayout(Window.get());
    Editor = new TWrightRichEdit(Window.get());
    Editor->setObjectName("Editor");
    First = new QTextEdit(Window.get());
    Second = new QTextEdit(Window.get());
    for (QWidget *w : {static_cast<QWidget *>(Editor), static_cast<QWidget *>(First),
                       static_cast<QWidget *>(Second)})
      layout->addWidget(w);
    Window->resize(300, 300);
  }
  void TearDown() override
  {
    Spell.reset();
    Window.reset();
    LiveTest::TearDown();
  }
  void Focus(QWidget *w)
  {
    Window->activateWindow();
    w->setFocus();
    QApplication::processEvents();
  }

  std::unique_ptr<QWidget> Window;
  TWrightRichEdit *Editor = nullptr;
  QTextEdit *First = nullptr;
  QTextEdit *Second = nullptr;
  std::unique_ptr<TWrightAutoLiveSpell> Spell;
};

TEST_F(AutoLiveTest, DefaultsOfTheComponent)
{
  Spell = NewAuto(Window.get());
  EXPECT_TRUE(Spell->LiveSpelling());
  EXPECT_TRUE(Spell->LiveCorrect());
  EXPECT_TRUE(Spell->LiveSpellingOptions());
  EXPECT_EQ(Spell->LiveMenuOptions(), TSpellPopupOptions::Range(spDialog, spReplace));
  EXPECT_FALSE(Spell->LiveSpellingEnabled()) << "off until the configuration loads";
  EXPECT_TRUE(Spell->AutoSpellWhenFocused());
  EXPECT_FALSE(Spell->AutoSpellOnlyFocusedControl());
  EXPECT_TRUE(Spell->DoubleBuffered());
  EXPECT_EQ(Spell->LiveSpellingColor(), QColor(Qt::red));
  EXPECT_EQ(Spell->ExpansionChars(), QString(" .,;:\t"));
  EXPECT_FALSE(Spell->IrregularLeftMargin());
  EXPECT_EQ(Spell->ConfigAvailableOptions(),
            TSpellOptions({soLiveSpelling, soLiveCorrect, soUpcase, soNumbers, soPrimaryOnly,
                           soRepeated, soDUalCaps}));
  EXPECT_FALSE(Spell->Configuration()->Loaded()) << "creating it touches no file";
}

TEST_F(AutoLiveTest, FocusingAForeignRichEditAttachesItButNeverTheProgramsEditor)
{
  Spell = NewAuto(Window.get());
  Window->show();
  Focus(Editor);
  // Two ticks: the editor is seen and left alone.
  WaitFor([] { return false; }, 2 * TWrightAutoLiveSpell::FocusInterval + 100);
  EXPECT_FALSE(Spell->ControlAdded(Editor));
  EXPECT_EQ(Spell->SubclassCount(), 0);

  QElapsedTimer clock;
  clock.start();
  Focus(First);
  ASSERT_TRUE(WaitFor([&] { return Spell->ControlAdded(First); }, 3000));
  // The next tick at the latest (with room for a busy machine).
  EXPECT_LE(clock.elapsed(), 2 * TWrightAutoLiveSpell::FocusInterval);
  EXPECT_EQ(Spell->SubclassOf(First)->WinControl(), First);
  EXPECT_EQ(Spell->SubclassOf(First)->WrightSpell(), Spell.get());
  EXPECT_FALSE(Spell->ControlAdded(Second));

  // Without AutoSpellWhenFocused a newly focused control stays as it is.
  Spell->SetAutoSpellWhenFocused(false);
  Focus(Second);
  Spell->CheckFocusedControl();
  EXPECT_FALSE(Spell->ControlAdded(Second));
}

TEST_F(AutoLiveTest, WindowClassesTheTimerAttaches)
{
  struct Case {
    const char *className;
    bool attached;
  };
  const Case cases[] = {
      {"RichEdit20W", true},   {"RICHEDIT50W", true},     {"WrightRichEdit20W", false},
      {"TWwDBRichEdit", true}, {"TdxMemo", true},         {"TdxDBEdit", true},
      {"Edit", false},         {"QPlainTextEdit", false}, {"", false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.className);
    EXPECT_EQ(TWrightAutoLiveSpell::IsAutoSpellClass(QString::fromLatin1(c.className)), c.attached);
  }
}

TEST_F(AutoLiveTest, OnlyTheFocusedControlUnderlinesWhenAskedTo)
{
  Spell = NewAuto(Window.get());
  Window->show();
  Spell->AddControl(First);
  Spell->AddControl(Second);
  Spell->Configuration()->SetLoaded(true); // the user's options switch live spelling on
  ASSERT_TRUE(Spell->LiveSpellingEnabled());
  Focus(First);
  Spell->CheckFocusedControl();
  EXPECT_TRUE(Spell->SubclassOf(First)->LiveSpelling());
  EXPECT_TRUE(Spell->SubclassOf(Second)->LiveSpelling()) << "every attached control by default";

  Spell->SetAutoSpellOnlyFocusedControl(true);
  EXPECT_TRUE(Spell->SubclassOf(First)->LiveSpelling());
  EXPECT_TRUE(Spell->SubclassOf(First)->LiveCorrect());
  EXPECT_FALSE(Spell->SubclassOf(Second)->LiveSpelling());
  EXPECT_FALSE(Spell->SubclassOf(Second)->LiveCorrect());

  // Moving the focus moves the underlining.
  Focus(Second);
  Spell->CheckFocusedControl();
  EXPECT_FALSE(Spell->SubclassOf(First)->LiveSpelling());
  EXPECT_TRUE(Spell->SubclassOf(Second)->LiveSpelling());
}

TEST_F(AutoLiveTest, LiveControlIsAttachedAndTurnsFocusAttachmentOff)
{
  Spell = NewAuto(Window.get());
  Spell->SetLiveControl(First);
  EXPECT_FALSE(Spell->AutoSpellWhenFocused());
  EXPECT_TRUE(Spell->ControlAdded(First));
  Spell->SetLiveControl(Second);
  EXPECT_FALSE(Spell->ControlAdded(First)) << "the previous single control is let go";
  EXPECT_TRUE(Spell->ControlAdded(Second));
  delete Second;
  Second = nullptr;
  EXPECT_EQ(Spell->LiveControl(), nullptr);
  EXPECT_EQ(Spell->SubclassCount(), 0);
}

TEST_F(AutoLiveTest, DestroyedControlsAreDetached)
{
  Spell = NewAuto(Window.get());
  Spell->AddControl(First);
  Spell->AddControl(Second);
  Spell->Configuration()->SetLoaded(true);
  delete First;
  First = nullptr;
  EXPECT_EQ(Spell->SubclassCount(), 1);
  EXPECT_TRUE(Spell->ControlAdded(Second));
  Spell->CheckFocusedControl();
  Spell->RemoveControl(Second);
  EXPECT_EQ(Spell->SubclassCount(), 0);
  // No filter of a freed engine is left on the widget.
  Window->show();
  Second->setPlainText("teh wrod");
  Second->repaint();
  QApplication::processEvents();
  EXPECT_EQ(Second->toPlainText(), QString("teh wrod"));
}

TEST_F(AutoLiveTest, TheUsersClearedOptionKeepsLiveSpellingOffWhateverLiveSpellingSays)
{
  Spell = NewAuto(Window.get(), {soLiveCorrect, soDUalCaps});
  Spell->AddControl(First);
  Spell->Configuration()->SetLoaded(true);
  EXPECT_FALSE(Spell->LiveSpellingEnabled());
  EXPECT_TRUE(Spell->LiveCorrectEnabled());
  Spell->SetLiveSpelling(false);
  Spell->SetLiveSpelling(true);
  EXPECT_FALSE(Spell->LiveSpellingEnabled());
  EXPECT_FALSE(Spell->SubclassOf(First)->LiveSpelling());
  EXPECT_TRUE(Spell->SubclassOf(First)->LiveCorrect());

  // The user turns it on and off again in the options: the attached control follows.
  Spell->Configuration()->SetSpellOptions({soLiveSpelling, soLiveCorrect, soDUalCaps});
  EXPECT_TRUE(Spell->SubclassOf(First)->LiveSpelling());
  Spell->Configuration()->SetSpellOptions({soLiveCorrect, soDUalCaps});
  EXPECT_FALSE(Spell->SubclassOf(First)->LiveSpelling());
}

TEST_F(AutoLiveTest, SettingsReachEveryAttachedControl)
{
  Spell = NewAuto(Window.get());
  Spell->AddControl(First);
  int began = 0, checked = 0;
  Spell->SetLiveSpellingColor(Qt::blue);
  Spell->SetDoubleBuffered(false);
  Spell->SetLiveSpellingReadOnly(true);
  Spell->SetExpansionChars(" !");
  Spell->SetIrregularLineHeights(true);
  Spell->SetIrregularLeftMargin(true);
  Spell->SetAggressiveContextMenu(true);
  Spell->SetLiveMenuOptions({spIgnore, spReplace});
  Spell->SetOnBeginEditing([&](QObject *) { ++began; });
  Spell->SetOnWordCheck(
      [&](QObject *, const QString &, TWordCheckType &, QString &) { ++checked; });
  Spell->AddControl(Second); // attached after the changes
  for (QTextEdit *edit : {First, Second}) {
    SCOPED_TRACE(edit == First ? "before" : "after");
    TWrightRichEditSubclass *sub = Spell->SubclassOf(edit);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(sub->LiveSpellingColor(), QColor(Qt::blue));
    EXPECT_FALSE(sub->DoubleBuffered());
    EXPECT_TRUE(sub->LiveSpellingReadOnly());
    EXPECT_EQ(sub->ExpansionChars(), QString(" !"));
    EXPECT_TRUE(sub->IrregularLineHeights());
    EXPECT_TRUE(sub->IrregularLeftMargin());
    EXPECT_TRUE(sub->AggressiveContextMenu());
    EXPECT_EQ(sub->LiveMenuOptions(), TSpellPopupOptions({spIgnore, spReplace}));
    ASSERT_TRUE(sub->OnBeginEditing());
    sub->OnBeginEditing()(edit);
    ASSERT_TRUE(sub->OnWordCheck());
    TWordCheckType type = wcAccepted;
    QString replacement;
    sub->OnWordCheck()(edit, "word", type, replacement);
  }
  EXPECT_EQ(began, 2);
  EXPECT_EQ(checked, 2);
}

} // namespace
