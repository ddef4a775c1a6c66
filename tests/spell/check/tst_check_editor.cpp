// The check loop over the real editor: caret and selection, the smart check, editing while
// the dialog waits, placement and counting over a window.
#include "loop_fixture.h"

#include "rtWidgetWindow.h"
#include "wrRichEdit.h"

#include <QTextCursor>

namespace {

class EditorLoopTest : public LoopTest {
protected:
  void SetUp() override
  {
    LoopTest::SetUp();
    InstallEditWindowFactory();
    Editor = std::make_unique<TWrightRichEdit>();
    Editor->resize(500, 300);
    Window = TEditWindow::FromControl(Editor.get());
    ASSERT_NE(Window, nullptr);
  }

  void SetText(const QString &Text, int Caret)
  {
    Window->SetText(Text);
    Window->SetSel(Caret, Caret);
  }
  QString Text() const { return Window->GetText(); }
  std::pair<int, int> Sel() const
  {
    int s = 0, e = 0;
    Window->GetSel(s, e);
    return {s, e};
  }

  std::unique_ptr<TWrightRichEdit> Editor;
  HWND Window = nullptr;
};

} // namespace

TEST_F(EditorLoopTest, ChangeSelectsEachWordAndPutsTheCaretBack)
{
  auto s = NewLoopSession();
  std::vector<std::pair<int, int>> selections;
  auto record = [&](TWrightSpellBase &x, TAction then) {
    selections.push_back(Sel());
    then(x);
  };
  Expect({[&](TWrightSpellBase &x) { record(x, Change("word")); },
          [&](TWrightSpellBase &x) { record(x, Ignore()); }});
  SetText(QStringLiteral("the wrod\r\ncat zzq dog"), 2);
  s->CheckWinControl(Editor.get(), ctAll);
  EXPECT_EQ(Words(Script->Prompts), QStringList({"wrod", "zzq"}));
  // Positions count the line break as two.
  EXPECT_EQ(selections, (std::vector<std::pair<int, int>>{{4, 8}, {14, 17}}));
  EXPECT_EQ(Text(), QStringLiteral("the word\r\ncat zzq dog"));
  EXPECT_EQ(Sel(), std::make_pair(2, 2)); // epOriginal
  EXPECT_EQ(Host.Messages.size(), 1u);
}

TEST_F(EditorLoopTest, CancelLeavesTheCaretWhereTheDialogLeftIt)
{
  auto s = NewLoopSession();
  s->SetEndCursorPosition(epHome);
  Expect({Cancel()});
  SetText(QStringLiteral("the cat zzq"), 11);
  s->CheckWinControl(Editor.get(), ctAll);
  EXPECT_EQ(Sel(), std::make_pair(8, 11));
  EXPECT_TRUE(Host.Messages.empty());
  // Completed: epHome.
  Script = std::make_shared<TDialogScript>();
  auto t = NewLoopSession();
  t->SetEndCursorPosition(epHome);
  Expect({Ignore()});
  t->CheckWinControl(Editor.get(), ctAll);
  EXPECT_EQ(Sel(), std::make_pair(0, 0));
}

TEST_F(EditorLoopTest, RepeatedWordSelectsBothCopies)
{
  auto s = NewLoopSession({soDUalCaps, soRepeated});
  std::pair<int, int> selected;
  Expect({[&](TWrightSpellBase &x) {
            selected = Sel();
            x.Check_RepeatDelete();
          },
          Undo(), RepeatDelete()});
  SetText(QStringLiteral("a cat the the mat zzq"), 0);
  s->CheckWinControl(Editor.get(), ctAll);
  EXPECT_EQ(selected, std::make_pair(6, 13));
  EXPECT_EQ(Words(Script->Prompts), QStringList({"the the", "zzq", "the the", "zzq"}));
  EXPECT_TRUE(Script->RanOutOfActions); // the last zzq was cancelled by the script's end
  EXPECT_EQ(Text(), QStringLiteral("a cat the mat zzq"));
}

TEST_F(EditorLoopTest, SmartCheckWithoutSelectionWrapsAround)
{
  auto s = NewLoopSession();
  Expect({Ignore(), Ignore(), Ignore()});
  // Caret after "cat ": from there to the end, then from the start up to the caret.
  SetText(QStringLiteral("aaq cat bbq dog ccq"), 8);
  s->CheckWinControl(Editor.get(), ctSmart);
  EXPECT_EQ(Words(Script->Prompts), QStringList({"bbq", "ccq", "aaq"}));
  EXPECT_EQ(Host.Messages.size(), 1u);
  EXPECT_EQ(Script->FormsCreated, 1); // one dialog for the whole sequence
  EXPECT_FALSE(s->Checking());
  EXPECT_EQ(Text(), QStringLiteral("aaq cat bbq dog ccq"));
}

TEST_F(EditorLoopTest, SmartCheckOfASelectionAsksForTheRest)
{
  for (const bool yes : {true, false}) {
    SCOPED_TRACE(yes);
    Script = std::make_shared<TDialogScript>();
    Host = TFakeHost();
    Host.Answers = {yes};
    auto s = NewLoopSession();
    Expect({Ignore(), Ignore(), Ignore()});
    Window->SetText(QStringLiteral("aaq cat bbq dog ccq"));
    Window->SetSel(8, 11);
    s->CheckWinControl(Editor.get(), ctSmart);
    EXPECT_EQ(Words(Script->Prompts),
              yes ? QStringList({"bbq", "ccq", "aaq"}) : QStringList({"bbq"}));
    ASSERT_EQ(Host.Questions.size(), 1u);
    EXPECT_EQ(Host.Questions[0].Text,
              QStringLiteral("The selection has been checked.  Would you like to check the "
                             "remainder of the document?"));
    EXPECT_EQ(s->CheckCanceled(), !yes);
    EXPECT_EQ(Host.Messages.size(), yes ? 1u : 0u);
  }
}

TEST_F(EditorLoopTest, EditingWhileTheDialogWaitsResumesAtTheEarlierPosition)
{
  struct TRow {
    const char *Name;
    bool ResumeFromLast;
    int Caret; // where the user leaves the caret after editing (17: inside the new eeq)
    QStringList Prompts;
  };
  const TRow rows[] = {
      {"caret after the word, resume at the word", true, 17, {"aaq", "bbq", "bbq", "ccq", "eeq"}},
      {"caret after the word, resume at the caret", false, 17, {"aaq", "bbq", "eeq"}},
      {"caret before the word", true, 0, {"aaq", "bbq", "neq", "aaq", "bbq", "ccq"}},
  };
  for (const TRow &row : rows) {
    SCOPED_TRACE(row.Name);
    Script = std::make_shared<TDialogScript>();
    auto s = NewLoopSession();
    s->SetResumeFromLastPosition(row.ResumeFromLast);
    bool undoEmpty = false;
    const int caret = row.Caret;
    Expect({Ignore(), [&, caret](TWrightSpellBase &x) {
              // The user types in the editor, then comes back to the dialog.
              if (caret == 0) {
                Window->SetSel(0, 0);
                Window->ReplaceSel(QStringLiteral("neq "), false);
                Window->SetSel(0, 0);
              } else {
                Window->SetSel(15, 15);
                Window->ReplaceSel(QStringLiteral(" eeq"), false);
                Window->SetSel(caret, caret);
              }
              auto *form = dynamic_cast<TSpellDialogForm *>(x.DialogForm());
              ASSERT_NE(form, nullptr);
              form->OnDeactivate(x.DialogForm());
              form->OnActivate(x.DialogForm());
              undoEmpty = !x.CanUndo();
            }});
    for (int i = 0; i < 6; ++i)
      Script->Actions.push_back(Ignore());
    SetText(QStringLiteral("aaq bbq ccq dog"), 0);
    s->CheckWinControl(Editor.get(), ctAll);
    EXPECT_TRUE(undoEmpty);
    EXPECT_EQ(Words(Script->Prompts), row.Prompts);
    EXPECT_FALSE(s->CheckCanceled());
  }
}

TEST_F(EditorLoopTest, DialogStaysClearOfTheWord)
{
  auto s = NewLoopSession();
  s->SetDialogInitialPos(ipScreenCenter);
  Editor->show();
  Editor->move(0, 0);
  // A frame over the whole screen always covers the word.
  Script->Frame = QRect(0, 0, 1920, 1080);
  Expect({Ignore()});
  SetText(QStringLiteral("the zzq"), 0);
  s->CheckWinControl(Editor.get(), ctAll);
  ASSERT_EQ(Script->Anchors.size(), 1u);
  EXPECT_GT(Script->Anchors[0].width(), 0);
  // The position is stored for the next check only with ipLastUserPos.
  Script = std::make_shared<TDialogScript>();
  auto t = NewLoopSession();
  t->SetDialogSelectionAvoid(saNone);
  Script->Frame = QRect(50, 60, 300, 200);
  Expect({[](TWrightSpellBase &x) { x.Check_Ignore(); }});
  t->CheckWinControl(Editor.get(), ctAll);
  // First use: below the control; the place it ends up is stored.
  EXPECT_NE(Script->Frame.topLeft(), QPoint(50, 60));
  EXPECT_EQ(t->Configuration()->DialogX(), Script->Frame.x());
  EXPECT_EQ(t->Configuration()->DialogY(), Script->Frame.y());
}

TEST_F(EditorLoopTest, CountingOverTheWindowAndTheSelection)
{
  auto s = NewLoopSession();
  SetText(QStringLiteral("the zzq\r\ncat qqz dog"), 3);
  EXPECT_EQ(s->GetWordCountWinControl(Editor.get(), ctAll), 5);
  EXPECT_EQ(s->GetErrorCountWinControl(Editor.get(), ctAll), 2);
  EXPECT_TRUE(s->ErrorsPresentInWinControl(Editor.get(), ctAll));
  EXPECT_EQ(Sel(), std::make_pair(3, 3)); // the caret goes back
  Window->SetSel(9, 16);                  // "cat qqz"
  EXPECT_EQ(s->GetWordCountWinControl(Editor.get(), ctSelected), 2);
  Window->SetSel(9, 16);
  EXPECT_EQ(s->GetErrorCountWinControl(Editor.get(), ctSelected), 1);
  EXPECT_EQ(s->GetWordCountWinControl(Editor.get(), ctFromCursor), 0);
  EXPECT_EQ(Text(), QStringLiteral("the zzq\r\ncat qqz dog"));
}
