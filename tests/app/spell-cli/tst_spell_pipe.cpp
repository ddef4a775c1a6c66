// linewright-spell through its pipes: the version probe, an editor's -a session with every
// protocol command, the list mode, the errors, and input no editor should send but might.
#include "session_fixture.h"

#include "SpellPipe.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>

#include <sys/resource.h>

namespace {

class SpellPipeTest : public SessionTest {
protected:
  void SetUp() override
  {
    SessionTest::SetUp();
    ASSERT_EQ(WriteWdm(Dir + "/pipe.wdm", MainWords()), QString());
    Personal = Temp.path() + QStringLiteral("/personal.wdu");
    ConfigFile = Temp.path() + QStringLiteral("/Spell.cfg");
  }

  // The arguments of a session over the test dictionary, after Flags.
  QStringList Args(const QStringList &Flags) const
  {
    return Flags + QStringList{QStringLiteral("-d"),       Dir + "/pipe.wdm",
                               QStringLiteral("-p"),       Personal,
                               QStringLiteral("--config"), ConfigFile};
  }

  void Start(QProcess &P, const QStringList &Arguments)
  {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), Temp.path() + "/data");
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), Temp.path() + "/config");
    P.setProcessEnvironment(env);
    P.start(QStringLiteral(LW_SPELL_CLI), Arguments);
    ASSERT_TRUE(P.waitForStarted(10000));
  }

  // Runs the program on Input to the end.
  struct TRun {
    int Code;
    QByteArray Out, Err;
  };
  TRun Run(const QStringList &Arguments, const QByteArray &Input)
  {
    QProcess p;
    Start(p, Arguments);
    p.write(Input);
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
  }

  // Sends one line and reads the answer up to its closing empty line, the way an editor waits
  // on the pipe while the program keeps running.
  static QByteArray Exchange(QProcess &P, const QByteArray &Line)
  {
    P.write(Line + '\n');
    QByteArray answer;
    QDeadlineTimer deadline(20000);
    while (!(answer == "\n" || answer.endsWith("\n\n")) && !deadline.hasExpired()) {
      if (!P.bytesAvailable())
        P.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
      answer += P.readAll();
    }
    return answer;
  }

  QString Personal, ConfigFile;
};

const QByteArray Banner = QByteArray(SpellPipeVersionLine) + '\n';

} // namespace

TEST_F(SpellPipeTest, VersionProbeAnswersTheIspellLineWithOurName)
{
  for (const char *flag : {"-v", "-vv"}) {
    SCOPED_TRACE(flag);
    const TRun r = Run({QString::fromLatin1(flag)}, {});
    EXPECT_EQ(r.Code, 0);
    EXPECT_EQ(r.Out, Banner);
    EXPECT_TRUE(r.Out.contains("Ispell Version 3.1.20 (but really Linewright"));
    EXPECT_TRUE(r.Err.isEmpty());
  }
}

// An Emacs-style session: the flags ispell.el passes, terse mode, lines sent with "^", then
// the personal and session word commands. Each answer is read before the next line is sent.
TEST_F(SpellPipeTest, EditorSessionFollowsTheProtocol)
{
  QProcess p;
  Start(p, Args({"-a", "-m", "-B"}));
  ASSERT_TRUE(p.waitForReadyRead(20000));
  QByteArray banner = p.readLine();
  EXPECT_EQ(banner, Banner);

  p.write("!\n");
  // Offsets count the "^" and are in characters: "é" and the emoji are one each.
  EXPECT_EQ(Exchange(p, "^the hosue is John's"), "& hosue 2 5: house, home\n# is 11\n\n");
  EXPECT_EQ(Exchange(p, QStringLiteral("^café 😀 hosue").toUtf8()),
            QStringLiteral("# café 1\n& hosue 2 8: house, home\n\n").toUtf8());
  EXPECT_EQ(Exchange(p, "^the zqxjv"), "# zqxjv 5\n\n");
  EXPECT_EQ(Exchange(p, "^"), "\n");
  EXPECT_EQ(Exchange(p, ""), "\n");
  // A line without "^" is checked as it is when it starts with no command character.
  EXPECT_EQ(Exchange(p, "the wrod"), "& wrod 1 4: word\n\n");

  p.write("%\n");
  EXPECT_EQ(Exchange(p, "^the John"), "*\n*\n\n");
  // Formatter commands are taken silently.
  p.write("+\n-\n~tex\n");
  p.write("*hosue\n");
  p.write("@wrod\n");
  EXPECT_EQ(Exchange(p, "^hosue wrod spellling"), "*\n*\n& spellling 1 12: spelling\n\n");
  EXPECT_FALSE(QFileInfo::exists(Personal));
  p.write("#\n");
  EXPECT_EQ(Exchange(p, "^hosue"), "*\n\n");
  EXPECT_TRUE(QFileInfo::exists(Personal));
  p.closeWriteChannel();
  ASSERT_TRUE(p.waitForFinished(20000));
  EXPECT_EQ(p.exitCode(), 0);
  EXPECT_TRUE(p.readAllStandardError().isEmpty());

  // The personal word was saved; the session word was not; the configuration was not written.
  TCustomDictionary saved;
  saved.SetFilename(Personal);
  EXPECT_TRUE(saved.IgnoreExists(QStringLiteral("hosue")));
  EXPECT_FALSE(saved.IgnoreExists(QStringLiteral("wrod")));
  EXPECT_FALSE(QFileInfo::exists(ConfigFile));
}

TEST_F(SpellPipeTest, NothingIsWrittenUnlessSaved)
{
  const TRun r = Run(Args({"-a"}), "*hosue\n&Wrod\n^hosue wrod\n");
  EXPECT_EQ(r.Code, 0);
  EXPECT_EQ(r.Out, Banner + "*\n*\n\n");
  EXPECT_FALSE(QFileInfo::exists(Personal));
  EXPECT_FALSE(QFileInfo::exists(ConfigFile));
}

TEST_F(SpellPipeTest, ListModePrintsEachMisspelledWord)
{
  const TRun r = Run(Args({"-l"}), "the hosue\nwrod John hosue\n");
  EXPECT_EQ(r.Code, 0);
  EXPECT_EQ(r.Out, "hosue\nwrod\nhosue\n");
}

TEST_F(SpellPipeTest, BadArgumentsAndFilesFailWithOneLineAndCodeTwo)
{
  WriteFile(Temp.path() + "/garbage.wdu", QByteArray("not a dictionary at all\n").repeated(20));
  WriteFile(Temp.path() + "/garbage.wdm", QByteArray("not a dictionary at all\n").repeated(20));
  const struct {
    const char *name;
    QStringList args;
  } rows[] = {
      {"missing dictionary", {"-a", "-d", "nosuch", "--config", ConfigFile}},
      {"damaged dictionary", {"-a", "-d", Temp.path() + "/garbage.wdm", "--config", ConfigFile}},
      {"damaged personal",
       {"-a", "-d", Dir + "/pipe.wdm", "-p", Temp.path() + "/garbage.wdu", "--config", ConfigFile}},
      {"unknown flag", {"-a", "-Q"}},
      {"missing value", {"-a", "-d"}},
      {"negative suggestion count", {"-a", "--suggestions=-1"}},
      {"suggestion count not a number", {"-a", "--suggestions", "many"}},
      {"suggestion count missing", {"-a", "--suggestions"}},
      {"interactive mode", {"somefile.txt"}},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.name);
    const TRun r = Run(row.args, "^hello\n");
    EXPECT_EQ(r.Code, 2);
    EXPECT_TRUE(r.Out.isEmpty());
    EXPECT_TRUE(r.Err.startsWith("linewright-spell: "));
    EXPECT_EQ(r.Err.count('\n'), 1);
  }
  EXPECT_FALSE(QFileInfo::exists(ConfigFile));
}

TEST_F(SpellPipeTest, SurvivesInputNoEditorShouldSend)
{
  QByteArray junk;
  for (int i = 0; i < 256; ++i)
    junk += char(i == '\n' ? 'x' : i);
  const QByteArray longLine = QByteArray("the hosue ").repeated(300000); // 3 MB
  const struct {
    const char *name;
    QByteArray input;
    QByteArray expected;
  } rows[] = {
      {"empty input", {}, Banner},
      {"no final line break", "^the", Banner + "*\n\n"},
      {"invalid UTF-8", "^the \xff\xfe\xc3 wrod\n", Banner + "*\n& wrod 1 9: word\n\n"},
      {"every byte", "!\n^" + junk + "\n", {}},
      {"megabyte line", "!\n^" + longLine + "\n", {}},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.name);
    const TRun r = Run(Args({"-a"}), row.input);
    EXPECT_EQ(r.Code, 0);
    EXPECT_TRUE(r.Out.startsWith(Banner));
    EXPECT_TRUE(r.Out.endsWith("\n\n") || r.Out == Banner);
    if (!row.expected.isEmpty()) {
      EXPECT_EQ(r.Out, row.expected);
    }
    // Every misspelling of the long line is answered, at its own offset in characters.
    if (row.input.size() > 1000000) {
      EXPECT_EQ(r.Out.count("& hosue 2 "), 300000);
      EXPECT_TRUE(r.Out.contains("& hosue 2 2999995: house, home\n"));
    }
  }
}

// A custom dictionary that cannot be read is one line on stderr; the session goes on without it.
TEST_F(SpellPipeTest, UnreadableCustomDictionaryIsOneLineOnStderrAndTheSessionGoesOn)
{
  const QString garbage = Temp.path() + "/garbage.wdu";
  WriteFile(garbage, QByteArray("not a dictionary at all\n").repeated(20));
  WriteFile(ConfigFile, ("[" + GetLogOnUserName() +
                         "]\n_FirstRun=+\n_Custom_count=1\n_Custom_0=" + garbage + "\n")
                            .toUtf8());
  const QByteArray before = ReadAll(ConfigFile);
  const TRun r = Run(Args({"-a"}), "^the hosue\n");
  EXPECT_EQ(r.Code, 0);
  EXPECT_TRUE(r.Out.startsWith(Banner) && r.Out.contains("\n& hosue ")) << r.Out.toStdString();
  EXPECT_EQ(r.Err, ("linewright-spell: \"" + garbage +
                    "\" could not be read (not a file of its kind): its words and automatic "
                    "corrections are not used.\n")
                       .toUtf8());
  EXPECT_EQ(ReadAll(ConfigFile), before);
}

// Twenty-three words one letter from "xat": the answer is cut to the default count, or to the
// count asked for, keeping the order of the full answer.
TEST_F(SpellPipeTest, SuggestionCountIsBoundedAndCanBeChosen)
{
  QStringList words;
  for (char c = 'a'; c <= 'w'; ++c)
    words << QString(QLatin1Char(c)) + QStringLiteral("at");
  ASSERT_EQ(WriteWdm(Dir + "/at.wdm", words), QString());
  auto suggestions = [&](const QStringList &Extra) {
    const TRun r =
        Run(QStringList{"-a", "-d", Dir + "/at.wdm", "--config", ConfigFile} + Extra, "^xat\n");
    EXPECT_EQ(r.Code, 0);
    const QString answer = QString::fromUtf8(r.Out.mid(Banner.size())).trimmed();
    const qsizetype colon = answer.indexOf(QStringLiteral(": "));
    return std::make_pair(answer, colon < 0 ? QStringList()
                                            : answer.mid(colon + 2).split(QStringLiteral(", ")));
  };
  const auto [all, full] = suggestions({"--suggestions=100"});
  ASSERT_GT(full.size(), DefaultSuggestionCount);
  const struct {
    const char *name;
    QStringList args;
    qsizetype count;
  } rows[] = {
      {"default", {}, DefaultSuggestionCount},
      {"separate value", {"--suggestions", "3"}, 3},
      {"joined value", {"--suggestions=1"}, 1},
      {"more than there are", {"--suggestions=100"}, full.size()},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.name);
    const auto [answer, list] = suggestions(row.args);
    EXPECT_TRUE(answer.startsWith(QStringLiteral("& xat %1 1: ").arg(row.count)))
        << answer.toStdString();
    EXPECT_EQ(list, full.mid(0, row.count));
  }
  EXPECT_EQ(suggestions({"--suggestions=0"}).first, QStringLiteral("# xat 1"));
}

// A line far longer than any editor sends is answered at the right offset without holding the
// line, or its answer, whole: the child's peak memory stays far below the line's size times the
// cost of a character (tens of bytes each when it was checked at once).
TEST_F(SpellPipeTest, LongLineIsCheckedInBoundedMemory)
{
  const QByteArray line = "^" + QByteArray("the ").repeated(2000000) + "hosue\n"; // 8 MB
  const TRun r = Run(Args({"-a"}), "!\n" + line);
  EXPECT_EQ(r.Code, 0);
  EXPECT_EQ(r.Out, Banner + "& hosue 2 8000001: house, home\n\n");
  rusage usage{};
  ASSERT_EQ(getrusage(RUSAGE_CHILDREN, &usage), 0);
  EXPECT_LT(usage.ru_maxrss, 100 * 1024); // KB
}
