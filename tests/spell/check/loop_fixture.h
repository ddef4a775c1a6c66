#pragma once
// A check session with a scripted spelling dialog. The dialog's controller records every word
// the check presents and answers it with the next scripted action, either from the event loop
// (as a user's click arrives) or at once from inside the word hook. The host records message
// boxes and answers questions from a script.

#include "session_fixture.h"

#include "wrSpellBase.h"
#include "wrSpellDialogLink.h"

#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <deque>
#include <functional>
#include <ostream>

inline void PrintTo(const QString &S, std::ostream *Os) { *Os << '"' << S.toStdString() << '"'; }

// What the dialog saw of one presented word.
struct TPrompt {
  QString Word;
  bool Repeated = false;
  bool CanUndo = false;
};

using TAction = std::function<void(TWrightSpellBase &)>;

// The script and log shared by the dialog forms of one test (the session releases each form
// when the check ends).
struct TDialogScript {
  std::deque<TAction> Actions;
  std::vector<TPrompt> Prompts;
  bool Immediate = false;       // answer from inside the word hook
  bool RanOutOfActions = false; // the check asked more than the script held; it was cancelled
  int FormsCreated = 0;
  int Shows = 0;
  int Hides = 0;
  int ModalRuns = 0;
  QRect Frame = QRect(100, 100, 400, 280);
  std::vector<QRect> Anchors; // PlaceNearRect calls
};

class TFakeController : public QObject, public TSpellDialogController {
public:
  TFakeController(QObject *Form, std::shared_ptr<TDialogScript> Script)
      : QObject(Form), FScript(std::move(Script))
  {
  }
  void SetWrightSpell(TWrightSpellBase *Value) override
  {
    if (!FSpell)
      FSpell = Value;
  }
  void SetCustomDictionary(TCustomDictionary *) override {}
  TWordPromptEvent PromptWordHook() override
  {
    return [this](QObject *, const QString &Word, bool Repeated) { Prompt(Word, Repeated); };
  }

private:
  void Prompt(const QString &Word, bool Repeated)
  {
    FScript->Prompts.push_back({Word, Repeated, FSpell->CanUndo()});
    TAction action;
    if (FScript->Actions.empty()) {
      FScript->RanOutOfActions = true;
      action = [](TWrightSpellBase &s) { s.Check_Cancel(); };
    } else {
      action = FScript->Actions.front();
      FScript->Actions.pop_front();
    }
    if (FScript->Immediate) {
      action(*FSpell);
      return;
    }
    TWrightSpellBase *spell = FSpell;
    QTimer::singleShot(0, spell, [spell, action] { action(*spell); });
  }

  std::shared_ptr<TDialogScript> FScript;
  TWrightSpellBase *FSpell = nullptr;
};

class TFakeSpellDialog : public QObject, public TSpellDialogForm {
public:
  explicit TFakeSpellDialog(std::shared_ptr<TDialogScript> Script) : FScript(std::move(Script))
  {
    new TFakeController(this, FScript);
    ++FScript->FormsCreated;
  }
  void SetHelp(const QString &, qint32) override {}
  void ShowModeless() override { ++FScript->Shows; }
  void HideModeless() override { ++FScript->Hides; }
  // A modal run: the show event, then a nested event loop until EndModal.
  void RunModal() override
  {
    ++FScript->ModalRuns;
    if (OnShow)
      OnShow(this);
    QEventLoop loop;
    FModalLoop = &loop;
    if (!FEnded)
      loop.exec();
    FModalLoop = nullptr;
  }
  void EndModal() override
  {
    ++FScript->Hides;
    FEnded = true;
    if (FModalLoop)
      FModalLoop->quit();
  }
  QRect FrameRect() override { return FScript->Frame; }
  void MoveTo(const QPoint &P) override { FScript->Frame.moveTopLeft(P); }
  void MoveInsideWorkArea(const QPoint &P) override { FScript->Frame.moveTopLeft(P); }
  void PlaceNearRect(const QRect &Anchor, bool, bool) override
  {
    FScript->Anchors.push_back(Anchor);
    FScript->Frame.moveTopLeft(QPoint(Anchor.x(), Anchor.y() + Anchor.height()));
  }
  QRect MonitorRect() override { return QRect(0, 0, 1920, 1080); }
  QRect ScreenRect() override { return QRect(0, 0, 1920, 1080); }
  QRect DesktopRect() override { return QRect(0, 0, 1920, 1080); }
  void UseDefaultPosition() override {}

private:
  std::shared_ptr<TDialogScript> FScript;
  QEventLoop *FModalLoop = nullptr;
  bool FEnded = false;
};

class TFakeHost : public TSpellCheckHost {
public:
  struct TBox {
    QString Text, Caption;
  };
  std::vector<TBox> Messages, Questions;
  std::deque<bool> Answers;
  int BusyOn = 0, BusyOff = 0;

  void ShowInformation(const QString &Text, const QString &Caption) override
  {
    Messages.push_back({Text, Caption});
  }
  bool AskYesNo(const QString &Text, const QString &Caption) override
  {
    Questions.push_back({Text, Caption});
    if (Answers.empty())
      return false;
    const bool a = Answers.front();
    Answers.pop_front();
    return a;
  }
  void SetBusyCursor(bool Busy) override { ++(Busy ? BusyOn : BusyOff); }
};

// Actions of the script.
inline TAction Ignore()
{
  return [](TWrightSpellBase &s) { s.Check_Ignore(); };
}
inline TAction IgnoreAll()
{
  return [](TWrightSpellBase &s) { s.Check_IgnoreAll(); };
}
inline TAction Change(const QString &W)
{
  return [W](TWrightSpellBase &s) { s.Check_Change(W); };
}
inline TAction ChangeAll(const QString &W)
{
  return [W](TWrightSpellBase &s) { s.Check_ChangeAll(W); };
}
inline TAction ChangeLine(const QString &L)
{
  return [L](TWrightSpellBase &s) { s.Check_ChangeLine(L); };
}
inline TAction Add()
{
  return [](TWrightSpellBase &s) { s.Check_Add(); };
}
inline TAction AutoCorrect(const QString &W)
{
  return [W](TWrightSpellBase &s) { s.Check_AutoCorrect(W); };
}
inline TAction Undo()
{
  return [](TWrightSpellBase &s) { s.Check_Undo(); };
}
inline TAction RepeatIgnore()
{
  return [](TWrightSpellBase &s) { s.Check_RepeatIgnore(); };
}
inline TAction RepeatDelete()
{
  return [](TWrightSpellBase &s) { s.Check_RepeatDelete(); };
}
inline TAction Cancel()
{
  return [](TWrightSpellBase &s) { s.Check_Cancel(); };
}

inline QStringList Words(const std::vector<TPrompt> &Prompts)
{
  QStringList w;
  for (const TPrompt &p : Prompts)
    w << p.Word;
  return w;
}

class LoopTest : public SessionTest {
protected:
  void SetUp() override
  {
    SessionTest::SetUp();
    if (HasFailure())
      return;
    ASSERT_EQ(WriteWdm(Dir + "/test.wdm", LoopWords()), QString());
    StartWatchdog();
  }

  static QStringList LoopWords()
  {
    return {"the", "cat",      "sat",  "on",   "mat",   "a",     "and",
            "dog", "house",    "home", "word", "words", "check", "is",
            "it",  "spelling", "good", "text", "line",  "hat",   "John"};
  }

  // A session as the main window configures it, with the scripted dialog and host.
  std::unique_ptr<TTestSession> NewLoopSession(TSpellOptions Options = {soDUalCaps})
  {
    auto s = NewSession(Options);
    Sessions.push_back(s.get());
    s->SetUIType(suiDialog);
    s->SetSuggestionsLearning(false);
    s->SetCheckHost(&Host);
    auto script = Script;
    s->OnCreateSpellDialog = [script](QObject *, QObject *&Form, bool Create) {
      if (Create)
        Form = new TFakeSpellDialog(script);
    };
    return s;
  }

  void Expect(std::initializer_list<TAction> Actions)
  {
    for (const TAction &a : Actions)
      Script->Actions.push_back(a);
  }

  // A check the script left waiting would wait for ever: the watchdog cancels it.
  void StartWatchdog()
  {
    Watchdog.setSingleShot(true);
    QObject::connect(&Watchdog, &QTimer::timeout, [this] {
      TimedOut = true;
      for (const QPointer<TWrightSpellBase> &s : Sessions)
        if (s && s->Checking())
          s->StopCheck(true);
    });
    Watchdog.start(30000);
  }
  void TearDown() override { EXPECT_FALSE(TimedOut) << "a check was left waiting"; }

  std::shared_ptr<TDialogScript> Script = std::make_shared<TDialogScript>();
  TFakeHost Host;
  std::vector<QPointer<TWrightSpellBase>> Sessions;
  QTimer Watchdog;
  bool TimedOut = false;
};
