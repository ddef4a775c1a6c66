// The session's prompt saves: a change of a custom dictionary it opened, or of the
// configuration after its load, reaches the file soon after, without an unload.

#include "print_qstring.h"
#include "session_fixture.h"
#include "wait_for.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <thread>

namespace {

// Runs the event loop until Done() or Ms milliseconds passed; answers Done().
// What another program opening the file now would find.
bool OnDisk(const QString &File, const QString &Word)
{
  TCustomDictionary d;
  d.SetFilename(File);
  return d.IgnoreExists(Word);
}

using SessionSaves = SessionTest;

TEST_F(SessionSaves, ChangesReachTheFilesWithoutAnUnload)
{
  auto s = NewSession();
  ASSERT_TRUE(s->WordAcceptable("house"));
  ASSERT_NE(s->ActiveCustomDictionary(), nullptr);
  const QString file = Dir + "/tester.wdu";
  ASSERT_TRUE(s->ActiveCustomDictionary()->AddIgnore("zorpish"));
  // A dictionary of the kind the options dialog opens on the same file.
  std::unique_ptr<TCustomDictionary> page = s->GetCustomDictionary("tester.wdu");
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(page->AddIgnore("blorfish"));
  TSpellOptions options = s->Configuration()->SpellOptions();
  options.Set(soUpcase, true);
  s->Configuration()->SetSpellOptions(options);

  EXPECT_TRUE(WaitFor([&] { return OnDisk(file, "zorpish") && OnDisk(file, "blorfish"); }, 5000));
  EXPECT_TRUE(WaitFor([&] { return ReadAll(Dir + "/Spell.cfg").contains("_soUpcase=+"); }, 5000));
  // Both still hold nothing unsaved: the unload and the destructors have nothing left to do.
  EXPECT_FALSE(s->ActiveCustomDictionary()->Modified());
  EXPECT_FALSE(page->Modified());
  EXPECT_FALSE(s->Configuration()->Modified());
}

TEST_F(SessionSaves, CloseChangesShareOneSave)
{
  auto s = NewSession();
  ASSERT_TRUE(s->WordAcceptable("house"));
  int saves = 0;
  s->OnConfigSaved = [&](QObject *) { ++saves; };
  for (TSpellOption option : {soUpcase, soNumbers, soHTML}) {
    TSpellOptions options = s->Configuration()->SpellOptions();
    options.Set(option, true);
    s->Configuration()->SetSpellOptions(options);
  }
  ASSERT_TRUE(WaitFor([&] { return saves > 0; }, 5000));
  EXPECT_EQ(saves, 1);
  EXPECT_TRUE(ReadAll(Dir + "/Spell.cfg").contains("_soHTML=+"));
}

TEST_F(SessionSaves, ADictionaryFreedOrOutlivingTheSessionIsSafe)
{
  const QString file = Dir + "/tester.wdu";
  std::unique_ptr<TCustomDictionary> late;
  {
    auto s = NewSession();
    ASSERT_TRUE(s->WordAcceptable("house"));
    {
      std::unique_ptr<TCustomDictionary> page = s->GetCustomDictionary("tester.wdu");
      ASSERT_TRUE(page->AddIgnore("freedword")); // its save is scheduled, then it goes
    }
    late = s->GetCustomDictionary("tester.wdu");
    // The scheduled saves must skip the freed object.
    s->SaveChanges();
    EXPECT_TRUE(OnDisk(file, "freedword"));
  }
  // The session is gone; the dictionary still takes words and saves them itself.
  ASSERT_TRUE(late->AddIgnore("lateword"));
  late.reset();
  EXPECT_TRUE(OnDisk(file, "lateword"));
}

// A thread without an event loop, as in a host program that calls the session as a library.
TEST_F(SessionSaves, WithoutAnEventLoopEachChangeIsSavedAtOnce)
{
  const QString file = Dir + "/tester.wdu";
  struct TCase {
    const char *name;
    TWrightSpellBase::TPromptSaves mode;
    bool onDisk;
  };
  const TCase cases[] = {{"promptly", TWrightSpellBase::psPromptly, true},
                         {"at unload only", TWrightSpellBase::psAtUnload, false}};
  int n = 0;
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.name);
    const QString word = QStringLiteral("threadword%1").arg(n++);
    bool added = false, saved = true, afterUnload = false;
    std::thread worker([&] {
      auto s = NewSession();
      s->SetPromptSaves(c.mode);
      s->WordAcceptable("house");
      added = s->ActiveCustomDictionary() && s->ActiveCustomDictionary()->AddIgnore(word);
      saved = OnDisk(file, word);
      s->UnloadDictionaries();
      afterUnload = OnDisk(file, word);
    });
    worker.join();
    ASSERT_TRUE(added);
    EXPECT_EQ(saved, c.onDisk);
    EXPECT_TRUE(afterUnload);
  }
}

} // namespace
