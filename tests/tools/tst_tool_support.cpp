// The builders' command lines and outputs: --help and --version, and a write that fails midway
// (a file size limit: a real short write, as on a full disk) fails the tool and keeps the old
// output byte for byte, with nothing left beside it.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>

namespace {

struct TRun {
  int exitCode = -1;
  QString out, errors;
};

enum TFileLimit : bool { NoFileLimit = false, SmallFileLimit = true };

TRun RunTool(const QString &Tool, const QStringList &Args, TFileLimit Limit = NoFileLimit)
{
  QProcess p;
  if (Limit)
    p.setChildProcessModifier([] {
      // Writes past 1 KB fail with EFBIG instead of killing the tool.
      ::signal(SIGXFSZ, SIG_IGN);
      const struct rlimit limit = {1024, 1024};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    });
  p.start(Tool, Args);
  TRun r;
  if (p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit)
    r.exitCode = p.exitCode();
  r.out = QString::fromUtf8(p.readAllStandardOutput());
  r.errors = QString::fromUtf8(p.readAllStandardError());
  return r;
}

class ToolOutputTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(Dir.isValid()); }
  QString Write(const QString &Name, const QByteArray &Bytes)
  {
    const QString path = Dir.filePath(Name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    EXPECT_EQ(f.write(Bytes), Bytes.size());
    return path;
  }
  static QByteArray Read(const QString &Path)
  {
    QFile f(Path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QTemporaryDir Dir;
};

// Between 1 KB and the 16 KB a QFileDevice buffers: the whole output is written only when the
// save is committed.
QByteArray Words()
{
  QByteArray words;
  for (int i = 0; i < 300; ++i)
    words += "word" + QByteArray::number(i) + "x\n";
  return words;
}

// Letters only: headwords are single lower-case words.
QByteArray Letters(int I)
{
  QByteArray word;
  for (int k = 0; k < 3; ++k, I /= 26)
    word += char('a' + I % 26);
  return word;
}

QByteArray Mythes()
{
  QByteArray text = "ISO8859-1\n";
  for (int i = 0; i < 120; ++i)
    text += "head" + Letters(i) + "|1\n(noun)|same" + Letters(i) + "|alike" + Letters(i) + "\n";
  return text;
}

struct TTool {
  const char *name;
  QString path;
  QString output; // relative to the folder
  QStringList args;
};

std::vector<TTool> Tools(const QTemporaryDir &Dir)
{
  const QString d = Dir.path() + QLatin1Char('/');
  return {
      {"wdmc",
       QStringLiteral(WDMC_TOOL),
       QStringLiteral("out.wdm"),
       {"--words", d + "words.txt", "--title", "T", "--language", "9", "-o", d + "out.wdm"}},
      {"wdmcommon",
       QStringLiteral(WDMCOMMON_TOOL),
       QStringLiteral("out.wdf"),
       {"--words", d + "words.txt", "--scowl", d + "scowl", "-o", d + "out.wdf"}},
      {"thesbuild",
       QStringLiteral(THESBUILD_TOOL),
       QStringLiteral("out.wdt"),
       {"--mythes", d + "th.dat", "--out", d + "out.wdt"}},
      {"wduc",
       QStringLiteral(WDUC_TOOL),
       QStringLiteral("out.wdu"),
       {"--out", d + "out.wdu", "--ignore", d + "words.txt"}},
  };
}

} // namespace

TEST_F(ToolOutputTest, AFailedWriteFailsTheToolAndKeepsTheOldOutput)
{
  Write(QStringLiteral("words.txt"), Words());
  Write(QStringLiteral("th.dat"), Mythes());
  ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("scowl")));
  Write(QStringLiteral("scowl/english-words.10"), Words());
  for (const TTool &tool : Tools(Dir)) {
    SCOPED_TRACE(tool.name);
    const QString output = Dir.filePath(tool.output);
    QFile::remove(output);
    const TRun good = RunTool(tool.path, tool.args);
    ASSERT_EQ(good.exitCode, 0) << good.errors.toStdString();
    const QByteArray old = Read(output);
    ASSERT_GT(old.size(), 1024) << "the output must pass the limit";
    ASSERT_LT(old.size(), 16384) << "and stay within one buffer";
    const QStringList before = QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden);

    const TRun limited = RunTool(tool.path, tool.args, SmallFileLimit);
    EXPECT_EQ(limited.exitCode, 1);
    EXPECT_TRUE(limited.errors.contains(QStringLiteral("cannot write")))
        << limited.errors.toStdString();
    EXPECT_TRUE(Read(output) == old) << "the old output is kept";
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files | QDir::Hidden), before);
  }
}

TEST_F(ToolOutputTest, EveryToolAnswersHelpAndVersion)
{
  for (const TTool &tool : Tools(Dir)) {
    SCOPED_TRACE(tool.name);
    const TRun version = RunTool(tool.path, {QStringLiteral("--version")});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out,
              QStringLiteral("%1 %2\n").arg(QLatin1String(tool.name), QStringLiteral(LW_VERSION)));
    const TRun help = RunTool(tool.path, {QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: "))) << help.out.toStdString();
    // Every option the tool takes is listed.
    for (const QString &arg : tool.args)
      if (arg.startsWith(u'-'))
        EXPECT_TRUE(help.out.contains(arg + QStringLiteral(" <"))) << arg.toStdString();
    // A wrong option tells so and changes nothing.
    const TRun wrong = RunTool(tool.path, {QStringLiteral("--no-such-option")});
    EXPECT_NE(wrong.exitCode, 0);
    EXPECT_TRUE(wrong.errors.contains(QStringLiteral("no-such-option")));
    EXPECT_TRUE(wrong.out.isEmpty());
  }
}
