// What the session could not read or write: each failure kept as data (which file, what failed,
// what follows) and told once through OnFileProblem, while the session goes on with what loaded.

#include "print_qstring.h"
#include "session_fixture.h"

#include "wrMainDictionary.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {

class ProblemTest : public SessionTest {
protected:
  // A session whose problems are collected as they are told.
  std::unique_ptr<TTestSession> WatchedSession()
  {
    auto s = NewSession();
    s->OnFileProblem = [this](QObject *, const TWrightSpellBase::TFileProblem &p) {
      Told.push_back(p);
    };
    return s;
  }

  static void Truncate(const QString &File, qint64 Size)
  {
    QFile f(File);
    ASSERT_TRUE(f.resize(Size));
  }

  std::vector<TWrightSpellBase::TFileProblem> Told;
};

TEST_F(ProblemTest, AllFilesReadTellsNothing)
{
  auto s = WatchedSession();
  EXPECT_TRUE(s->WordExists(QStringLiteral("house")));
  s->UnloadDictionaries();
  EXPECT_TRUE(Told.empty()) << (Told.empty() ? std::string() : Told.front().Text().toStdString());
  EXPECT_TRUE(s->FileProblems().empty());
}

// Each way the main dictionary goes missing leaves every word unchecked, and says so once.
TEST_F(ProblemTest, MainDictionaryThatDidNotLoadIsToldOnce)
{
  struct TCase {
    const char *name;
    std::function<void(const QString &Dir)> damage;
    TFileFailure failure;
    const char *words;
  };
  const std::vector<TCase> cases = {
      {"folder missing", [](const QString &d) { ASSERT_TRUE(QDir(d).removeRecursively()); },
       ffMissing, "was not found: words cannot be checked."},
      {"cut in half",
       [](const QString &d) {
         const QString f = d + "/test.wdm";
         Truncate(f, QFileInfo(f).size() / 2);
       },
       ffDamaged, "could not be read (damaged): words cannot be checked."},
      {"not a dictionary",
       [](const QString &d) { WriteFile(d + "/test.wdm", QByteArray(4096, 'x')); }, ffWrongFormat,
       "words cannot be checked."},
  };
  for (const TCase &c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    Told.clear();
    c.damage(Dir);
    auto s = WatchedSession();
    EXPECT_FALSE(s->WordExists(QStringLiteral("house")));
    s->UnloadDictionaries();
    EXPECT_FALSE(s->WordExists(QStringLiteral("house"))); // reopened: not told again
    ASSERT_EQ(Told.size(), 1u);
    EXPECT_EQ(QDir::cleanPath(Told[0].File), QDir::cleanPath(Dir + "/test.wdm"));
    EXPECT_EQ(Told[0].Failure, c.failure);
    EXPECT_EQ(Told[0].Effect, TWrightSpellBase::feNoChecking);
    EXPECT_TRUE(Told[0].Text().startsWith('"' + QDir::cleanPath(Dir + "/test.wdm") + '"'))
        << Told[0].Text().toStdString();
    EXPECT_TRUE(Told[0].Text().endsWith(QLatin1String(c.words))) << Told[0].Text().toStdString();
    EXPECT_EQ(s->FileProblems(), Told);
  }
}

// One of two main dictionaries missing: the other checks words, and the missing one is named.
TEST_F(ProblemTest, SecondMainDictionaryMissingLeavesTheFirstInUse)
{
  auto s = WatchedSession();
  TStringList main;
  main.Add(QStringLiteral("test.wdm"));
  main.Add(QStringLiteral("absent.wdm"));
  s->SetConfigDefaultMain(main);
  EXPECT_TRUE(s->WordExists(QStringLiteral("house")));
  ASSERT_EQ(Told.size(), 1u);
  EXPECT_TRUE(Told[0].File.endsWith(QLatin1String("absent.wdm")));
  EXPECT_EQ(Told[0].Failure, ffMissing);
  EXPECT_EQ(Told[0].Effect, TWrightSpellBase::feWordsUnknown);
}

TEST_F(ProblemTest, DamagedAutocorrectIsToldAndTheRestGoesOn)
{
  const QString file = Dir + "/Autocorrect.wdu";
  Truncate(file, QFileInfo(file).size() - 8);
  const QByteArray before = ReadAll(file);
  auto s = WatchedSession();
  QString correction;
  EXPECT_FALSE(s->WordHasCorrection(QStringLiteral("recieve"), correction));
  EXPECT_TRUE(s->WordHasCorrection(QStringLiteral("teh"), correction)) << "the user's own";
  EXPECT_TRUE(s->WordExists(QStringLiteral("house")));
  ASSERT_EQ(Told.size(), 1u);
  EXPECT_EQ(QDir::cleanPath(Told[0].File), QDir::cleanPath(file));
  EXPECT_EQ(Told[0].Failure, ffDamaged);
  EXPECT_EQ(Told[0].Effect, TWrightSpellBase::feNotUsed);
  EXPECT_TRUE(Told[0].Text().contains(QLatin1String("automatic corrections are not used")));
  ASSERT_EQ(s->FileProblemsOf(QStringLiteral("Autocorrect.wdu")).size(), 1u);
  EXPECT_TRUE(s->FileProblemsOf(QStringLiteral("tester.wdu")).empty());
  s.reset();
  EXPECT_EQ(ReadAll(file), before) << "a refused file is never written over";
}

// The folder's mode binds only an unprivileged user: as root the scenario runs in a child
// process that gives up its rights first, and reports through its exit code and stderr.
void RunUnprivileged(const QString &TempPath, const QString &Dir, const std::function<bool()> &Body)
{
  ::chmod(QFile::encodeName(TempPath).constData(), 0755);
  ::chmod(QFile::encodeName(Dir).constData(), 0555);
  if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
    std::_Exit(3);
  const bool ok = Body();
  std::fflush(stderr);
  std::_Exit(ok ? 0 : 1);
}

void PrintProblems(const TWrightSpellBase &s)
{
  for (const auto &p : s.FileProblems())
    std::fprintf(stderr, "%s\n", p.Text().toUtf8().constData());
}

TEST_F(ProblemTest, ReadOnlyFolderTellsThatAddedWordsAndOptionsCannotBeSaved)
{
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(RunUnprivileged(Temp.path(), Dir,
                              [this] {
                                auto s = WatchedSession();
                                if (!s->WordExists(QStringLiteral("house")) ||
                                    !s->ActiveCustomDictionary())
                                  return false;
                                s->ActiveCustomDictionary()->AddIgnore(QStringLiteral("zebra"));
                                TSpellOptions options = s->Configuration()->SpellOptions();
                                options.Include(soUpcase);
                                s->Configuration()->SetSpellOptions(options);
                                s->UnloadDictionaries();
                                PrintProblems(*s);
                                return Told.size() == 2 &&
                                       Told[0].Effect == TWrightSpellBase::feNoOptionSaving &&
                                       Told[1].Effect == TWrightSpellBase::feNoAdding &&
                                       Told[1].Failure == ffNotWritten;
                              }),
              ::testing::ExitedWithCode(0),
              "Spell.cfg\" could not be written: option changes cannot be saved.\n"
              ".*tester.wdu\" could not be written: added words cannot be saved.");
}

// No active custom dictionary can be made in a read-only folder: Add has nowhere to go.
TEST_F(ProblemTest, ReadOnlyFolderWithoutTheActiveDictionaryTellsAtLoad)
{
  ASSERT_TRUE(QFile::remove(Dir + "/tester.wdu"));
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(RunUnprivileged(Temp.path(), Dir,
                              [this] {
                                auto s = WatchedSession();
                                const bool known = s->WordExists(QStringLiteral("house"));
                                PrintProblems(*s);
                                return known && !s->ActiveCustomDictionary() && Told.size() == 1 &&
                                       Told[0].Failure == ffNotCreated;
                              }),
              ::testing::ExitedWithCode(0),
              "tester.wdu\" could not be created: added words cannot be saved.");
}

} // namespace
