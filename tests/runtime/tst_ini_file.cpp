#include "env_guard.h"

#include "rtIniFile.h"
#include "rtUserStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class IniFileTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(FDir.isValid()); }
  QString Path(const QString &name = QStringLiteral("Spell.cfg")) const
  {
    return FDir.path() + "/" + name;
  }
  void Write(const QByteArray &bytes, const QString &name = QStringLiteral("Spell.cfg")) const
  {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  }
  QByteArray Read(const QString &name = QStringLiteral("Spell.cfg")) const
  {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  // Files in the folder other than the INI file and its lock file.
  QStringList Leftovers() const
  {
    QStringList names = QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden);
    names.removeAll(QStringLiteral("Spell.cfg"));
    names.removeAll(QStringLiteral("Spell.cfg.lock"));
    return names;
  }
  QTemporaryDir FDir;
};

const QByteArray kSample = "; written by hand\n"
                           "[Bob]\n"
                           "_Main_count = 1\n"
                           "_Main_0=bob.wdm\n"
                           "\n"
                           "[alice]\n"
                           "Key=first\n"
                           "key=second\n"
                           "Spaced =  padded value  \n"
                           "Empty=\n"
                           "\n"
                           "[Carol]\n"
                           "x=1\n";

} // namespace

TEST_F(IniFileTest, ReadsWithProfileSemantics)
{
  Write(kSample);
  TIniFile ini(Path());
  const struct {
    const char *section, *key, *expected;
  } cases[] = {
      {"ALICE", "KEY", "first"}, // names ignore case; the first key wins
      {"alice", "spaced", "padded value"},
      {"alice", "Empty", ""}, // present but empty is not the default
      {"alice", "missing", "<def>"},
      {"nobody", "Key", "<def>"},
      {"bob", "_main_COUNT", "1"},
      {"carol", "x", "1"},
      {"Bob", "x", "<def>"}, // keys belong to their own section
  };
  for (const auto &c : cases)
    EXPECT_EQ(ini.ReadString(c.section, c.key, "<def>"), QString::fromUtf8(c.expected))
        << c.section << "/" << c.key;
  EXPECT_EQ(ini.ReadSections(), (QStringList{"Bob", "alice", "Carol"}));
  EXPECT_TRUE(ini.SectionExists("CAROL"));
  const auto pairs = ini.ReadSection("alice");
  ASSERT_EQ(pairs.size(), 3);
  EXPECT_EQ(pairs[0], (QPair<QString, QString>("Key", "first")));
}

TEST_F(IniFileTest, MissingFileReadsDefaults)
{
  TIniFile ini(Path("none.cfg"));
  EXPECT_EQ(ini.ReadString("s", "k", "d"), QStringLiteral("d"));
  EXPECT_TRUE(ini.ReadSections().isEmpty());
}

TEST_F(IniFileTest, ValuesAreCutAt2047Characters)
{
  Write("[s]\nlong=" + QByteArray(3000, 'v') + "\nshort=" + QByteArray(2047, 'w') + "\n");
  TIniFile ini(Path());
  EXPECT_EQ(ini.ReadString("s", "long", ""), QString(2047, 'v'));
  EXPECT_EQ(ini.ReadString("s", "short", ""), QString(2047, 'w'));
}

TEST_F(IniFileTest, WriteChangesOnlyItsLine)
{
  Write(kSample);
  {
    TIniFile ini(Path());
    EXPECT_TRUE(ini.WriteString("ALICE", "key", "changed"));
    EXPECT_TRUE(ini.WriteString("bob", "new", "n"));
    EXPECT_TRUE(ini.WriteString("Dave", "d", "4"));
    EXPECT_TRUE(ini.WriteString("carol", "multi", "line\r\none\ntwo"));
    EXPECT_EQ(ini.ReadString("alice", "Key", ""), QStringLiteral("changed"));
  }
  const QByteArray expected = "; written by hand\n"
                              "[Bob]\n"
                              "_Main_count = 1\n"
                              "_Main_0=bob.wdm\n"
                              "new=n\n"
                              "\n"
                              "[alice]\n"
                              "key=changed\n"
                              "key=second\n"
                              "Spaced =  padded value  \n"
                              "Empty=\n"
                              "\n"
                              "[Carol]\n"
                              "x=1\n"
                              "multi=line one two\n"
                              "[Dave]\n"
                              "d=4\n";
  EXPECT_EQ(Read(), expected);
  EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(",").toStdString();
}

TEST_F(IniFileTest, RejectsNamesThatWouldCorruptTheFile)
{
  Write(kSample);
  TIniFile ini(Path());
  const struct {
    const char *section, *key;
  } cases[] = {{"s", ""},    {"", "k"},     {"s", "a=b"}, {"s", "a\nb"},
               {"a]b", "k"}, {"s\nt", "k"}, {"s", "[k"}};
  for (const auto &c : cases)
    EXPECT_FALSE(ini.WriteString(c.section, c.key, "v")) << c.section << "/" << c.key;
  EXPECT_EQ(Read(), kSample);
}

TEST_F(IniFileTest, KeepsCrLfAndReadsOtherEncodings)
{
  Write("[s]\r\na=1\r\n");
  TIniFile ini(Path());
  EXPECT_TRUE(ini.WriteString("s", "b", "na\u00EFve"));
  EXPECT_EQ(Read(), QByteArray("[s]\r\na=1\r\nb=na\xC3\xAFve\r\n"));
  TIniFile again(Path());
  EXPECT_EQ(again.ReadString("s", "b", ""), QStringLiteral("na\u00EFve"));

  Write("[s]\nw=na\xEFve\n", "old.cfg"); // 8-bit file of an older program
  EXPECT_EQ(TIniFile(Path("old.cfg")).ReadString("s", "w", ""), QStringLiteral("na\u00EFve"));
  Write("\xEF\xBB\xBF[s]\nw=x\n", "bom.cfg");
  EXPECT_EQ(TIniFile(Path("bom.cfg")).ReadString("S", "W", ""), QStringLiteral("x"));
}

TEST_F(IniFileTest, ReadOnlyFileIsNotWritten)
{
  Write(kSample);
  ASSERT_EQ(::chmod(QFile::encodeName(Path()).constData(), 0444), 0);
  TIniFile ini(Path());
  EXPECT_FALSE(ini.WriteString("alice", "Key", "x"));
  EXPECT_FALSE(ini.BeginUpdate());
  EXPECT_FALSE(ini.WriteString("alice", "Key", "x"));
  EXPECT_FALSE(ini.EndUpdate());
  EXPECT_EQ(Read(), kSample);
  EXPECT_FALSE(TIniFile(Path("no/such/folder.cfg")).WriteString("s", "k", "v"));
}

TEST_F(IniFileTest, WritesKeepPermissionsAndLinks)
{
  Write(kSample, "real.cfg");
  ASSERT_EQ(::chmod(QFile::encodeName(Path("real.cfg")).constData(), 0640), 0);
  ASSERT_TRUE(QFile::link(Path("real.cfg"), Path()));
  EXPECT_TRUE(TIniFile(Path()).WriteString("alice", "Key", "via link"));
  EXPECT_TRUE(QFileInfo(Path()).isSymLink());
  EXPECT_EQ(TIniFile(Path("real.cfg")).ReadString("alice", "key", ""), QStringLiteral("via link"));
  struct stat st {};
  ASSERT_EQ(::stat(QFile::encodeName(Path("real.cfg")).constData(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(IniFileTest, WritersDoNotLoseEachOthersSections)
{
  TIniFile a(Path());
  TIniFile b(Path());
  EXPECT_EQ(a.ReadString("A", "k", "-"), QStringLiteral("-")); // a holds a snapshot of no file
  EXPECT_TRUE(b.WriteString("B", "k", "b1"));
  EXPECT_TRUE(a.WriteString("A", "k", "a1")); // re-reads under the lock
  ASSERT_TRUE(b.BeginUpdate());
  EXPECT_TRUE(b.WriteString("B", "k", "b2"));
  EXPECT_TRUE(b.WriteString("B", "j", "b3"));
  EXPECT_TRUE(b.EndUpdate());
  TIniFile check(Path());
  EXPECT_EQ(check.ReadString("A", "k", ""), QStringLiteral("a1"));
  EXPECT_EQ(check.ReadString("B", "k", ""), QStringLiteral("b2"));
  EXPECT_EQ(check.ReadString("B", "j", ""), QStringLiteral("b3"));
}

TEST_F(IniFileTest, CancelledUpdateWritesNothing)
{
  Write(kSample);
  {
    TIniFile ini(Path());
    ASSERT_TRUE(ini.BeginUpdate());
    EXPECT_TRUE(ini.WriteString("alice", "Key", "never"));
    ini.CancelUpdate();
    EXPECT_EQ(ini.ReadString("alice", "Key", ""), QStringLiteral("first"));
    ASSERT_TRUE(ini.BeginUpdate());
    EXPECT_TRUE(ini.WriteString("alice", "Key", "never either"));
  } // destroyed during an update
  EXPECT_EQ(Read(), kSample);
  EXPECT_TRUE(Leftovers().isEmpty());
}

TEST(UserStore, KeysMapToFilesBelowTheConfigFolder)
{
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const TEnvGuard config("XDG_CONFIG_HOME", tmp.path().toUtf8());
  const QString root = tmp.path() + "/linewright-registry";
  const struct {
    const char *key;
    QString file;
  } cases[] = {
      {"Software\\Vendor\\App", root + "/software/vendor/app.ini"},
      {"\\SOFTWARE/Vendor\\\\App\\", root + "/software/vendor/app.ini"},
      {"Software\\..\\..\\etc\\passwd", root + "/software/etc/passwd.ini"},
      {"", QString()},
      {"\\.\\", QString()},
  };
  for (const auto &c : cases)
    EXPECT_EQ(TUserStore::StoreFileName(c.key), c.file) << c.key;

  {
    TUserStore store("Software\\Vendor\\App");
    EXPECT_TRUE(store.WriteString("alice", "_Main_count", "2"));
    ASSERT_TRUE(store.BeginUpdate());
    EXPECT_TRUE(store.WriteString("Bob", "x", "y"));
    EXPECT_TRUE(store.EndUpdate());
  }
  TUserStore again("software\\VENDOR\\app");
  EXPECT_EQ(again.ReadString("ALICE", "_main_count", "-"), QStringLiteral("2"));
  EXPECT_EQ(again.ReadString("bob", "X", "-"), QStringLiteral("y"));
  EXPECT_TRUE(again.SubKeyExists("Alice"));
  TUserStore none("");
  EXPECT_FALSE(none.WriteString("a", "b", "c"));
  EXPECT_EQ(none.ReadString("a", "b", "d"), QStringLiteral("d"));
}

namespace {

QByteArray utf16(const QString &text, bool bigEndian)
{
  QByteArray out = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
  for (QChar c : text) {
    const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
    out.append(bigEndian ? hi : lo).append(bigEndian ? lo : hi);
  }
  return out;
}

} // namespace

// Another program's section must come back byte for byte, whatever the file's encoding, line
// ends or damage; only the line written changes.
TEST_F(IniFileTest, WriteKeepsOtherSectionsBytes)
{
  const QString lone = QString(QChar(0xD800)); // an unpaired surrogate
  const QString wide = "[Other]\r\nname=caf\u00E9 " + lone + "\r\n[s]\r\nk=old\r\n";
  const QString wideAfter = "[Other]\r\nname=caf\u00E9 " + lone + "\r\n[s]\r\nk=new\r\n";
  const struct {
    const char *name;
    QByteArray before, after;
  } cases[] = {
      {"UTF-16 LE with an odd last byte", utf16(wide, false) + "\x07",
       utf16(wideAfter, false) + "\x07"},
      {"UTF-16 BE", utf16(wide, true), utf16(wideAfter, true)},
      {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF[Other]\nx=\xC3\xA9\n[s]\nk=old\n",
       "\xEF\xBB\xBF[Other]\nx=\xC3\xA9\n[s]\nk=new\n"},
      {"Windows-1252", "[Other]\nx=na\xEFve \x80\n[s]\nk=old\n",
       "[Other]\nx=na\xEFve \x80\n[s]\nk=new\n"},
      {"mixed line ends", "[Other]\nx=1\r\ny=2\r\r\n[s]\r\nk=old\n",
       "[Other]\nx=1\r\ny=2\r\r\n[s]\r\nk=new\n"},
      {"no final line end", "[s]\nk=old\n[Other]\nx=1", "[s]\nk=new\n[Other]\nx=1"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Write(c.before);
    TIniFile ini(Path());
    EXPECT_EQ(ini.ReadString("s", "k", ""), QStringLiteral("old"));
    EXPECT_TRUE(ini.WriteString("s", "k", "new"));
    EXPECT_EQ(Read(), c.after);
    EXPECT_EQ(TIniFile(Path()).ReadString("s", "k", ""), QStringLiteral("new"));
  }

  // A line added after a last line without a line end starts a line of its own.
  Write("[s]\nk=old");
  EXPECT_TRUE(TIniFile(Path()).WriteString("s", "j", "1"));
  EXPECT_EQ(Read(), QByteArray("[s]\nk=old\nj=1\n"));
  Write("[s]\r\nk=old");
  EXPECT_TRUE(TIniFile(Path()).WriteString("t", "j", "1"));
  EXPECT_EQ(Read(), QByteArray("[s]\r\nk=old\r\n[t]\r\nj=1\r\n"));
  // Wide files take any text.
  Write(utf16(wide, false));
  EXPECT_TRUE(TIniFile(Path()).WriteString("s", "k", "\u0416"));
  EXPECT_EQ(Read(), utf16("[Other]\r\nname=caf\u00E9 " + lone + "\r\n[s]\r\nk=\u0416\r\n", false));
}

TEST_F(IniFileTest, EightBitFileRefusesTextItCannotHold)
{
  const QByteArray before = "[Other]\nx=na\xEFve\n[s]\nk=old\n";
  Write(before);
  TIniFile ini(Path());
  EXPECT_FALSE(ini.WriteString("s", "k", "\u0416")) << "would have to re-encode the other sections";
  ASSERT_TRUE(ini.BeginUpdate());
  EXPECT_TRUE(ini.WriteString("s", "k", "\u0416"));
  EXPECT_FALSE(ini.EndUpdate());
  EXPECT_EQ(Read(), before);
  EXPECT_TRUE(ini.WriteString("s", "k", "\u00E9"));
  EXPECT_EQ(Read(), QByteArray("[Other]\nx=na\xEFve\n[s]\nk=\xE9\n"));
  EXPECT_TRUE(Leftovers().isEmpty()) << Leftovers().join(",").toStdString();
}

// A save that was killed between writing its temporary file and renaming it leaves the file
// behind; the next write removes such files when their writer is gone (or they are old), and
// leaves a live writer's file and anything not named like ours.
TEST_F(IniFileTest, WriteRemovesStaleTemporaryFilesOfItsOwn)
{
  Write(kSample);
  const QString self = QString::number(::getpid());
  const QStringList stale{"Spell.cfg.tmp.99999999.0", "Spell.cfg.tmp.99999998.17",
                          "Spell.cfg.tmp." + self + ".5"};
  const QStringList kept{
      "Spell.cfg.tmp." + self + ".6", "Spell.cfg.tmp.x.1", "Spell.cfg.tmp.1.2.bak",
      "Other.cfg.tmp.99999999.2",     "Spell.cfg.tmp",     "Spell.cfg.bak"};
  auto writeAll = [&] {
    for (const QString &name : stale + kept)
      Write(QByteArray(4096, 'x'), name);
    // A file of a live process that has not been touched for two hours is a dead writer's too.
    const QDateTime old = QDateTime::currentDateTime().addSecs(-7200);
    QFile f(Path(stale.last()));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(old, QFileDevice::FileModificationTime));
  };
  QStringList expected = kept;
  expected.sort();

  writeAll();
  EXPECT_TRUE(TIniFile(Path()).WriteString("alice", "Key", "x"));
  QStringList left = Leftovers();
  left.sort();
  EXPECT_EQ(left, expected);

  writeAll();
  TIniFile ini(Path());
  ASSERT_TRUE(ini.BeginUpdate());
  EXPECT_TRUE(ini.WriteString("alice", "Key", "y"));
  EXPECT_TRUE(ini.EndUpdate());
  left = Leftovers();
  left.sort();
  EXPECT_EQ(left, expected);
}

// The save lock beside the file is never followed: a link planted there made a save create a
// file wherever it pointed. Such a lock refuses the save, and the file stays as it was.
TEST_F(IniFileTest, SaveLockThroughALinkIsRefused)
{
  Write(kSample);
  QTemporaryDir elsewhere;
  ASSERT_TRUE(elsewhere.isValid());
  const QString target = elsewhere.filePath(QStringLiteral("planted"));
  ASSERT_TRUE(QFile::link(target, Path(QStringLiteral("Spell.cfg.lock"))));
  EXPECT_FALSE(TIniFile(Path()).WriteString("alice", "Key", "x"));
  EXPECT_FALSE(QFileInfo::exists(target));
  EXPECT_EQ(Read(), kSample);
  // A FIFO there neither blocks the save nor is taken for a lock.
  ASSERT_TRUE(QFile::remove(Path(QStringLiteral("Spell.cfg.lock"))));
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path(QStringLiteral("Spell.cfg.lock"))).constData(), 0600),
            0);
  EXPECT_FALSE(TIniFile(Path()).WriteString("alice", "Key", "x"));
  EXPECT_EQ(Read(), kSample);
}

// A save leaves nothing beside the file: neither its temporary file nor its lock file.
TEST_F(IniFileTest, SaveLeavesNoLockFileBehind)
{
  Write(kSample);
  EXPECT_TRUE(TIniFile(Path()).WriteString("alice", "Key", "x"));
  TIniFile ini(Path());
  ASSERT_TRUE(ini.BeginUpdate());
  EXPECT_TRUE(ini.WriteString("alice", "Key", "y"));
  EXPECT_TRUE(ini.EndUpdate());
  EXPECT_EQ(QDir(FDir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
            QStringList{QStringLiteral("Spell.cfg")});
}

// QSaveFile's own leftover ("<file>.XXXXXX", where it cannot write an unnamed file) goes too
// once it is a minute old; a younger one may be another writer's, through another name.
TEST_F(IniFileTest, WriteRemovesOldSaveFileLeftovers)
{
  Write(kSample);
  const QStringList old{"Spell.cfg.Ab12Cd", "Spell.cfg.zzzzzz"};
  const QStringList kept{"Spell.cfg.Young1", "Spell.cfg.Ab12Cd7", "Spell.cfg.ab-12c",
                         "Other.cfg.Ab12Cd"};
  for (const QString &name : old + kept) {
    Write(QByteArray(4096, 'x'), name);
    if (name == QStringLiteral("Spell.cfg.Young1"))
      continue;
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(-120),
                              QFileDevice::FileModificationTime));
  }
  EXPECT_TRUE(TIniFile(Path()).WriteString("alice", "Key", "x"));
  QStringList left = Leftovers(), expected = kept;
  left.sort();
  expected.sort();
  EXPECT_EQ(left, expected);
}
