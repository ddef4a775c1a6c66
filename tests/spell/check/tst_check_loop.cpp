// The check loop over the string parser: the commands, undo, end messages and counting.
#include "loop_fixture.h"

#include "rtAssert.h"
#include "wrStringParser.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

struct TEndRow {
  const char *Name;
  TSpellEndMessage EndMessage;
  const char *Text;
  std::vector<TAction> Actions;
  int Messages;
};

} // namespace

TEST_F(LoopTest, EndMessageFollowsTheSetting)
{
  const std::vector<TEndRow> rows = {
      {"clean text, except cancel", emExceptCancel, "the cat sat", {}, 1},
      {"clean text, no dialog", emNoDialog, "the cat sat", {}, 1},
      {"clean text, never", emNever, "the cat sat", {}, 0},
      {"clean text, always", emAlways, "the cat sat", {}, 1},
      {"cancelled, except cancel", emExceptCancel, "the zzq sat", {Cancel()}, 0},
      {"cancelled, always", emAlways, "the zzq sat", {Cancel()}, 1},
      {"dialog shown, no dialog", emNoDialog, "the zzq sat", {Ignore()}, 0},
      {"finished after a word, except cancel", emExceptCancel, "the zzq sat", {Ignore()}, 1},
  };
  for (const TEndRow &row : rows) {
    SCOPED_TRACE(row.Name);
    Host.Messages.clear();
    Script = std::make_shared<TDialogScript>();
    auto s = NewLoopSession();
    s->SetEndMessage(row.EndMessage);
    for (const TAction &a : row.Actions)
      Script->Actions.push_back(a);
    QString text = QString::fromLatin1(row.Text);
    s->CheckString(text);
    EXPECT_FALSE(s->Checking());
    EXPECT_FALSE(Script->RanOutOfActions);
    ASSERT_EQ(int(Host.Messages.size()), row.Messages);
    if (row.Messages) {
      EXPECT_EQ(Host.Messages[0].Text, QStringLiteral("The spelling check is complete."));
      EXPECT_EQ(Host.Messages[0].Caption, QStringLiteral("Spelling"));
    }
    EXPECT_EQ(text, QString::fromLatin1(row.Text));
  }
}

TEST_F(LoopTest, EndMessageCountsTheWords)
{
  auto s = NewLoopSession();
  s->SetEndMessageWordCount(true);
  QString text = QStringLiteral("the cat sat on the mat");
  s->CheckString(text);
  ASSERT_EQ(Host.Messages.size(), 1u);
  EXPECT_EQ(Host.Messages[0].Text,
            QStringLiteral("The spelling check is complete.\r\n\r\nWords checked: 6"));
  EXPECT_EQ(s->WordCount(), 6);
}

TEST_F(LoopTest, CancelLeavesTheTextAndEndsTheCheck)
{
  auto s = NewLoopSession();
  Expect({Change("the"), Cancel()});
  QString text = QStringLiteral("hte cat zzq dog qqz");
  s->CheckString(text);
  EXPECT_EQ(Words(Script->Prompts), QStringList({"hte", "zzq"}));
  EXPECT_TRUE(s->CheckCanceled());
  EXPECT_FALSE(s->Checking());
  EXPECT_EQ(text, QStringLiteral("the cat zzq dog qqz"));
  EXPECT_EQ(s->DialogForm(), nullptr);
  EXPECT_EQ(Script->Shows, 1);
  EXPECT_EQ(Script->Hides, 1);
  // A command after the end is ignored.
  s->Check_Ignore();
  EXPECT_FALSE(s->Checking());
}

TEST_F(LoopTest, ChangeRechecksTheReplacementWhenAsked)
{
  for (const bool recheck : {true, false}) {
    SCOPED_TRACE(recheck);
    Script = std::make_shared<TDialogScript>();
    auto s = NewLoopSession();
    s->SetRecheckReplacedWords(recheck);
    if (recheck)
      Expect({Change("htte"), Change("the")});
    else
      Expect({Change("htte")});
    QString text = QStringLiteral("a hte cat");
    s->CheckString(text);
    EXPECT_FALSE(Script->RanOutOfActions);
    EXPECT_EQ(Words(Script->Prompts),
              recheck ? QStringList({"hte", "htte"}) : QStringList({"hte"}));
    EXPECT_EQ(text, recheck ? QStringLiteral("a the cat") : QStringLiteral("a htte cat"));
  }
}

TEST_F(LoopTest, ChangeAllCorrectsLaterWordsAndOneUndoRevertsBoth)
{
  auto s = NewLoopSession();
  std::vector<std::pair<qint32, qint32>> states; // (state, before) of replacements
  s->OnParserReplaceWord = [&](QObject *, bool Before, const QString &, qint32 State) {
    if (Before)
      states.push_back({State, 0});
  };
  Expect({ChangeAll("word"), Undo(), Cancel()});
  QString text = QStringLiteral("wrod cat wrod dog zzq");
  s->CheckString(text);
  // The second "wrod" is corrected without a stop; the undo at "zzq" restores both and the
  // check stops at the first one again.
  EXPECT_EQ(Words(Script->Prompts), QStringList({"wrod", "zzq", "wrod"}));
  EXPECT_TRUE(Script->Prompts[1].CanUndo);
  EXPECT_FALSE(Script->Prompts[2].CanUndo);
  EXPECT_EQ(text, QStringLiteral("wrod cat wrod dog zzq"));
  std::vector<qint32> only;
  for (auto &p : states)
    only.push_back(p.first);
  EXPECT_EQ(only, (std::vector<qint32>{1, 2, 3, 4}));
  // The Change All entry is gone with the undo.
  QString correction;
  EXPECT_FALSE(s->InternalCustom()->AutoCorrectExists(QStringLiteral("wrod"), correction));
}

TEST_F(LoopTest, RepeatedWordIsDeletedAndRestored)
{
  auto s = NewLoopSession({soDUalCaps, soRepeated});
  Expect({RepeatDelete(), Undo(), RepeatIgnore(), Ignore()});
  QString text = QStringLiteral("the the cat zzq");
  s->CheckString(text);
  ASSERT_EQ(Script->Prompts.size(), 4u);
  EXPECT_EQ(Script->Prompts[0].Word, QStringLiteral("the the"));
  EXPECT_TRUE(Script->Prompts[0].Repeated);
  EXPECT_EQ(Script->Prompts[1].Word, QStringLiteral("zzq"));
  EXPECT_FALSE(Script->Prompts[1].Repeated);
  EXPECT_EQ(Script->Prompts[2].Word, QStringLiteral("the the"));
  EXPECT_TRUE(Script->Prompts[2].Repeated);
  EXPECT_EQ(Script->Prompts[3].Word, QStringLiteral("zzq"));
  EXPECT_EQ(text, QStringLiteral("the the cat zzq"));
}

TEST_F(LoopTest, RepeatedWordNeedsOneSpace)
{
  auto s = NewLoopSession({soDUalCaps, soRepeated});
  Expect({RepeatDelete()});
  QString text = QStringLiteral("the  the\tthe cat and and");
  s->CheckString(text);
  EXPECT_EQ(Words(Script->Prompts), QStringList({"and and"}));
  EXPECT_EQ(text, QStringLiteral("the  the\tthe cat and"));
}

TEST_F(LoopTest, CommandsOnARepeatedWordAreLimited)
{
  auto s = NewLoopSession({soDUalCaps, soRepeated});
  // Change, Change All and Add do nothing on a repeated word; Ignore goes on.
  Expect({[](TWrightSpellBase &x) {
    x.Check_Change(QStringLiteral("dog"));
    x.Check_ChangeAll(QStringLiteral("dog"));
    x.Check_Add();
    x.Check_IgnoreAll();
    x.Check_AutoCorrect(QStringLiteral("dog"));
    EXPECT_TRUE(x.Checking());
    x.Check_Ignore();
  }});
  QString text = QStringLiteral("cat cat");
  s->CheckString(text);
  EXPECT_EQ(Words(Script->Prompts), QStringList({"cat cat"}));
  EXPECT_EQ(text, QStringLiteral("cat cat"));
  EXPECT_FALSE(s->CheckCanceled());
}

TEST_F(LoopTest, IgnoreAllLastsForTheComponent)
{
  auto s = NewLoopSession();
  Expect({IgnoreAll()});
  QString text = QStringLiteral("zzq cat zzq");
  s->CheckString(text);
  EXPECT_EQ(Words(Script->Prompts), QStringList({"zzq"}));
  // A later check of the same component skips it too.
  QString again = QStringLiteral("dog zzq");
  s->CheckString(again);
  EXPECT_EQ(Words(Script->Prompts), QStringList({"zzq"}));
  EXPECT_FALSE(Script->RanOutOfActions);
  // A new component (as after a restart) stops at it again.
  auto t = NewLoopSession();
  Expect({Ignore()});
  t->CheckString(again);
  EXPECT_EQ(Words(Script->Prompts), QStringList({"zzq", "zzq"}));
}

TEST_F(LoopTest, AddAndAutoCorrectWriteTheActiveDictionary)
{
  auto s = NewLoopSession();
  Expect({Add(), AutoCorrect("word"), Undo(), Undo(), Ignore(), Ignore(), Ignore()});
  QString text = QStringLiteral("zzq wrod qqz");
  s->CheckString(text);
  // Add then Auto-Correct; two undos at qqz take both back, so both words stop again.
  EXPECT_EQ(Words(Script->Prompts),
            QStringList({"zzq", "wrod", "qqz", "wrod", "zzq", "wrod", "qqz"}));
  EXPECT_EQ(text, QStringLiteral("zzq wrod qqz"));
  EXPECT_FALSE(s->WordAcceptable(QStringLiteral("zzq")));
  QString correction;
  EXPECT_FALSE(s->WordHasCorrection(QStringLiteral("wrod"), correction));

  // Kept when not undone.
  Expect({Add(), AutoCorrect("word")});
  s->CheckString(text);
  EXPECT_EQ(text, QStringLiteral("zzq word qqz"));
  EXPECT_TRUE(s->WordAcceptable(QStringLiteral("zzq")));
  EXPECT_TRUE(s->WordHasCorrection(QStringLiteral("wrod"), correction));
  EXPECT_EQ(correction, QStringLiteral("word"));
}

TEST_F(LoopTest, MaxUndoKeepsTheNewestActions)
{
  auto s = NewLoopSession();
  s->SetMaxUndo(2);
  Expect({Ignore(), Ignore(), Ignore(), Undo(), Undo(), [](TWrightSpellBase &x) {
            x.Check_Undo();
            EXPECT_TRUE(x.Checking());
            EXPECT_EQ(x.CurrentWord(), QStringLiteral("bbq"));
            x.Check_Cancel();
          }});
  QString text = QStringLiteral("aaq bbq ccq ddq");
  s->CheckString(text);
  // Three ignores; at ddq two undos walk back to ccq and bbq; the first ignore is gone, so
  // the third undo does nothing and the check still waits at bbq.
  EXPECT_EQ(Words(Script->Prompts), QStringList({"aaq", "bbq", "ccq", "ddq", "ccq", "bbq"}));
  EXPECT_TRUE(Script->Prompts[4].CanUndo);
  EXPECT_FALSE(Script->Prompts[5].CanUndo);
  EXPECT_FALSE(Script->RanOutOfActions);
}

TEST_F(LoopTest, NoUndoWithMaxUndoZero)
{
  auto s = NewLoopSession();
  s->SetMaxUndo(0);
  Expect({Change("word"), [](TWrightSpellBase &x) {
            x.Check_Undo();
            EXPECT_EQ(x.CurrentWord(), QStringLiteral("zzq"));
            x.Check_Cancel();
          }});
  QString text = QStringLiteral("wrod zzq");
  s->CheckString(text);
  EXPECT_EQ(Words(Script->Prompts), QStringList({"wrod", "zzq"}));
  EXPECT_FALSE(Script->Prompts[1].CanUndo);
  EXPECT_EQ(text, QStringLiteral("word zzq"));
}

TEST_F(LoopTest, ChangeLineReplacesTheEditedMiddle)
{
  auto s = NewLoopSession();
  Expect({ChangeLine("the hat cat")});
  QString text = QStringLiteral("the hte cat  ");
  s->CheckString(text);
  EXPECT_EQ(Words(Script->Prompts), QStringList({"hte"}));
  EXPECT_EQ(text, QStringLiteral("the hat cat  "));

  // An unchanged line is the caller's error.
  Script = std::make_shared<TDialogScript>();
  auto t = NewLoopSession();
  bool thrown = false;
  Expect({[&thrown](TWrightSpellBase &x) {
    try {
      x.Check_ChangeLine(QStringLiteral("the hte cat"));
    } catch (const EAssertionFailed &e) {
      thrown = e.Unit() == "wrSpellBase";
    }
    x.Check_Cancel();
  }});
  QString same = QStringLiteral("the hte cat");
  t->CheckString(same);
  EXPECT_TRUE(thrown);
  EXPECT_EQ(same, QStringLiteral("the hte cat"));
}

TEST_F(LoopTest, AutomaticCorrectionsAreUndoneWithTheNextUserAction)
{
  auto s = NewLoopSession();
  // tester.wdu corrects "teh"; the loop replaces it without a stop.
  Expect({Ignore(), Undo(), Cancel()});
  QString text = QStringLiteral("zzq teh cat qqz");
  s->CheckString(text);
  // At qqz the undo takes back the automatic correction and the ignore before it.
  EXPECT_EQ(Words(Script->Prompts), QStringList({"zzq", "qqz", "zzq"}));
  EXPECT_EQ(text, QStringLiteral("zzq teh cat qqz"));
}

TEST_F(LoopTest, ImmediateAnswersDoNotNest)
{
  auto s = NewLoopSession();
  Script->Immediate = true;
  QString text;
  const int n = 20000;
  for (int i = 0; i < n; ++i) {
    text += QStringLiteral("zzq cat ");
    Script->Actions.push_back(i % 2 ? Ignore() : Change("dog"));
  }
  s->CheckString(text);
  EXPECT_EQ(int(Script->Prompts.size()), n);
  EXPECT_FALSE(Script->RanOutOfActions);
  QString expected;
  for (int i = 0; i < n; ++i)
    expected += i % 2 ? QStringLiteral("zzq cat ") : QStringLiteral("dog cat ");
  EXPECT_EQ(text, expected);
}

TEST_F(LoopTest, NobodyToAnswerCancelsTheCheck)
{
  auto s = NewSession(); // silent, no dialog, no prompt handler
  QString text = QStringLiteral("cat zzq dog");
  s->CheckString(text);
  EXPECT_FALSE(s->Checking());
  EXPECT_TRUE(s->CheckCanceled());
  EXPECT_EQ(text, QStringLiteral("cat zzq dog"));
}

TEST_F(LoopTest, SilentHostAnswersFromOnPromptWord)
{
  auto s = NewSession();
  QStringList seen;
  s->OnPromptWord = [&](QObject *, const QString &W, bool) {
    seen << W;
    s->Check_Change(QStringLiteral("dog"));
  };
  s->SetRecheckReplacedWords(false);
  QString text = QStringLiteral("zzq cat qqz");
  s->CheckString(text);
  EXPECT_EQ(seen, QStringList({"zzq", "qqz"}));
  EXPECT_EQ(text, QStringLiteral("dog cat dog"));
  EXPECT_FALSE(s->CheckCanceled());
}

TEST_F(LoopTest, CountingOperations)
{
  auto s = NewLoopSession({soDUalCaps, soRepeated});
  EXPECT_EQ(s->GetWordCountString(QString()), 0);
  EXPECT_EQ(s->GetErrorCountString(QString()), 0);
  EXPECT_FALSE(s->ErrorsPresentInString(QString()));
  EXPECT_EQ(s->GetWordCountString(QStringLiteral("the cat zzq sat qqz")), 5);
  EXPECT_EQ(s->GetErrorCountString(QStringLiteral("the cat zzq sat qqz")), 2);
  EXPECT_TRUE(s->ErrorsPresentInString(QStringLiteral("the cat zzq")));
  EXPECT_FALSE(s->ErrorsPresentInString(QStringLiteral("the cat")));
  // A repeated correct word counts as one error.
  EXPECT_EQ(s->GetErrorCountString(QStringLiteral("cat and and dog")), 1);
  // Only whole-text and selection counts.
  QString text = QStringLiteral("zzq zzq");
  auto *parser = new TStringParser;
  parser->Initialize(&text);
  EXPECT_EQ(s->GetWordCountParser(parser, ctFromCursor), 0); // freed by the component
  EXPECT_TRUE(Script->Prompts.empty());
  EXPECT_TRUE(Host.Messages.empty());
}

TEST_F(LoopTest, EventsSeeTheStates)
{
  auto s = NewLoopSession();
  std::vector<qint32> ignores;
  std::vector<qint32> listStates;
  s->OnParserIgnoreWord = [&](QObject *, bool Before, qint32 State) {
    if (Before)
      ignores.push_back(State);
  };
  const int listener = 0;
  s->OnParserIgnoreWordList().Add(&listener, [&](QObject *) {
    if (!s->OnParserIgnoreWordList().Before)
      listStates.push_back(s->OnParserIgnoreWordList().State);
  });
  int beforeChange = 0;
  s->OnBeforeChange = [&](QObject *) { ++beforeChange; };
  std::vector<qint32> undoStates;
  s->OnParserUndoLast = [&](QObject *, qint32 State, TSpellAction, qint32) {
    undoStates.push_back(State);
  };
  int completes = 0;
  s->OnCompleteCheck = [&](QObject *) { ++completes; };
  Expect({Ignore(), IgnoreAll(), Add(), Change("dog"), Change("cat")});
  QString text = QStringLiteral("aaq bbq ccq ddq eeq");
  s->CheckString(text);
  EXPECT_EQ(ignores, (std::vector<qint32>{10, 11, 12}));
  EXPECT_EQ(listStates, (std::vector<qint32>{10, 11, 12}));
  EXPECT_EQ(beforeChange, 1);
  EXPECT_EQ(undoStates, (std::vector<qint32>(5, 0)));
  EXPECT_EQ(completes, 1);
  EXPECT_EQ(text, QStringLiteral("aaq bbq ccq dog cat"));
  s->OnParserIgnoreWordList().Remove(&listener);
}

TEST_F(LoopTest, ADamagedOrMissingDictionaryFlagsEveryWord)
{
  for (const bool damaged : {true, false}) {
    SCOPED_TRACE(damaged);
    if (damaged)
      WriteFile(Dir + "/test.wdm", QByteArray("WDM\0garbage", 11));
    else
      QFile::remove(Dir + "/test.wdm");
    Script = std::make_shared<TDialogScript>();
    auto s = NewLoopSession();
    Expect({Ignore(), IgnoreAll()});
    QString text = QStringLiteral("cat dog");
    s->CheckString(text);
    EXPECT_EQ(Words(Script->Prompts), QStringList({"cat", "dog"}));
    EXPECT_FALSE(s->Checking());
    EXPECT_EQ(Host.Messages.size(), damaged ? 1u : 2u);
  }
}

TEST_F(LoopTest, ModalDialogRunsTheCheckInsideItsOwnLoop)
{
  for (const bool immediate : {false, true}) {
    SCOPED_TRACE(immediate);
    Script = std::make_shared<TDialogScript>();
    Host.Messages.clear();
    auto s = NewLoopSession();
    s->SetDialogShowModal(true);
    s->SetDialogShowImmediate(immediate);
    Expect({Change("dog"), Ignore()});
    QString text = QStringLiteral("zzq cat qqz");
    s->SetRecheckReplacedWords(false);
    s->CheckString(text);
    EXPECT_EQ(Words(Script->Prompts), QStringList({"zzq", "qqz"}));
    EXPECT_EQ(text, QStringLiteral("dog cat qqz"));
    EXPECT_EQ(Script->ModalRuns, 1);
    EXPECT_EQ(Script->Shows, 0);
    EXPECT_EQ(Script->Hides, 1);
    EXPECT_FALSE(s->Checking());
    EXPECT_FALSE(s->Working());
    EXPECT_EQ(Host.Messages.size(), 1u);
  }
}

TEST_F(LoopTest, AsynchronousCheckReturnsWhileItWaits)
{
  auto s = NewLoopSession();
  s->SetSynchronousCheck(false);
  Expect({Change("dog")});
  QString text = QStringLiteral("cat zzq qqz");
  s->CheckString(text);
  EXPECT_TRUE(s->Checking());
  EXPECT_EQ(s->CurrentWord(), QStringLiteral("zzq"));
  // Destroying the component frees the parser and releases the dialog.
  QPointer<QObject> form = s->DialogForm();
  ASSERT_FALSE(form.isNull());
  s.reset();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(form.isNull());
  EXPECT_EQ(text, QStringLiteral("cat zzq qqz"));

  // A wrapper that must free its parser itself cannot leave the check on it: cancelled.
  auto t = NewLoopSession();
  t->SetSynchronousCheck(false);
  t->SetFreeParser(false);
  t->CheckString(text);
  EXPECT_FALSE(t->Checking());
  EXPECT_TRUE(t->CheckCanceled());
}
