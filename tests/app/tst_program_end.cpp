// The program ended by a logout, a shutdown, a closed terminal or a kill: the real main window
// in a process of its own (program_end_helper) takes words, corrections, exclusions and an
// option, and is then ended by a signal. Every change must be in the files afterwards.

#include "print_qstring.h"
#include "session_fixture.h"

#include "wrCustomDictionary.h"

#include <QProcess>
#include <QSettings>
#include <QThread>

#include <csignal>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct TRound {
  const char *name;
  int signal;
  // How long the program runs after its changes before the signal.
  int delayMs;
};

class ProgramEnd : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(Temp.isValid());
    Dir = Temp.path() + QStringLiteral("/Dictionaries");
    ASSERT_TRUE(QDir().mkpath(Dir));
    ASSERT_EQ(WriteWdm(Dir + "/aussie.wdm", {"the", "cat", "sat", "on", "mat"}), QString());
  }

  // Starts a helper that makes Count changes of each kind under Tag; false when it fails.
  std::unique_ptr<QProcess> Start(const QString &tag, int count)
  {
    auto p = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_DATA_HOME", Temp.path() + "/data");
    env.insert("XDG_CONFIG_HOME", Temp.path() + "/config");
    p->setProcessEnvironment(env);
    p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p->start(PROGRAM_END_HELPER, {Dir, tag, QString::number(count)});
    return p;
  }

  // Waits for the helper's "ready" line and returns its active dictionary.
  static QString Ready(QProcess &p)
  {
    while (!p.canReadLine())
      if (!p.waitForReadyRead(20000))
        return QString();
    const QString line = QString::fromUtf8(p.readLine()).trimmed();
    return line.startsWith("ready ") ? line.mid(6) : QString();
  }

  static void End(QProcess &p, int signal)
  {
    ::kill(pid_t(p.processId()), signal);
    ASSERT_TRUE(p.waitForFinished(20000));
  }

  // The changes under Tag that are missing from the active dictionary.
  static QStringList Missing(const QString &file, const QString &tag, int count)
  {
    TCustomDictionary d;
    d.SetFilename(file);
    QStringList missing;
    for (int i = 0; i < count; ++i) {
      const QString n = QString::number(i);
      QString correction;
      if (!d.IgnoreExists(tag + "a" + n))
        missing << tag + "a" + n;
      if (!d.AutoCorrectExists(tag + "c" + n, correction) || correction != "the")
        missing << tag + "c" + n;
      if (!d.ExcludeExists(tag + "x" + n))
        missing << tag + "x" + n;
    }
    d.SetModified(false);
    return missing;
  }

  bool UpcaseSaved() const
  {
    QSettings cfg(Dir + "/Spell.cfg", QSettings::IniFormat);
    for (const QString &group : cfg.childGroups())
      if (cfg.value(group + "/_soUpcase").toString() == "+")
        return true;
    return false;
  }

  QTemporaryDir Temp;
  QString Dir;
};

// Rounds over one folder: each program also finds the words of the rounds before it.
TEST_F(ProgramEnd, NoChangeIsLostWhateverEndsTheProgram)
{
  const TRound rounds[] = {
      {"term at once", SIGTERM, 0},    {"hup at once", SIGHUP, 0},
      {"int at once", SIGINT, 0},      {"term later", SIGTERM, 1500},
      {"hup later", SIGHUP, 1500},     {"kill later", SIGKILL, 1500},
      {"kill later 2", SIGKILL, 1500}, {"term later 2", SIGTERM, 1500},
  };
  std::vector<std::pair<QString, QString>> done; // file, tag
  int index = 0;
  for (const TRound &r : rounds) {
    SCOPED_TRACE(r.name);
    const QString tag = QStringLiteral("zq%1w").arg(index++);
    std::unique_ptr<QProcess> p = Start(tag, 5);
    const QString file = Ready(*p);
    ASSERT_FALSE(file.isEmpty()) << "the helper did not start";
    if (r.delayMs > 0)
      QThread::msleep(r.delayMs); // the user's pause before the program is ended
    End(*p, r.signal);
    if (r.signal != SIGKILL) {
      // Ended through the normal close, not by the signal's default action.
      EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
      EXPECT_EQ(p->exitCode(), 0);
    }
    done.emplace_back(file, tag);
    for (const auto &[f, t] : done) {
      SCOPED_TRACE(t.toStdString());
      EXPECT_EQ(Missing(f, t, 5), QStringList());
    }
    EXPECT_TRUE(UpcaseSaved());
  }
}

TEST_F(ProgramEnd, TwoProgramsAddingAtOnceKeepEveryWord)
{
  std::unique_ptr<QProcess> first = Start("zqfirst", 40);
  std::unique_ptr<QProcess> second = Start("zqsecond", 40);
  const QString file = Ready(*first);
  ASSERT_FALSE(file.isEmpty());
  ASSERT_EQ(Ready(*second), file);
  QThread::msleep(1500);
  End(*first, SIGKILL);
  End(*second, SIGKILL);
  EXPECT_EQ(Missing(file, "zqfirst", 40), QStringList());
  EXPECT_EQ(Missing(file, "zqsecond", 40), QStringList());
}

} // namespace
