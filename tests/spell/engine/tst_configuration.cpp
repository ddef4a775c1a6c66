#include "config_owner.h"
#include "env_guard.h"

#include "rtIniFile.h"
#include "rtUserStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QStringList items(const TStringList &list) { return list.ToQStringList(); }

// The program's own settings: file storage in a "Dictionaries" folder, one section per user.
class ConfigTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(FDir.isValid());
    SetLogOnUserNameSource([] { return QStringLiteral("alice"); });
    FOwner.Filename = FDir.path() + "\\Dictionaries\\Spell.cfg";
  }
  void TearDown() override { SetLogOnUserNameSource(nullptr); }

  QString File() const { return FDir.path() + "/Dictionaries/Spell.cfg"; }
  std::unique_ptr<TWrightConfig> NewConfig()
  {
    auto config = std::make_unique<TWrightConfig>();
    config->SetWrightSpell(&FOwner);
    return config;
  }
  void WriteFile(const QByteArray &bytes)
  {
    QDir().mkpath(FDir.path() + "/Dictionaries");
    QFile f(File());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
  }
  QByteArray ReadFile() const
  {
    QFile f(File());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  QString Value(const QString &section, const QString &key)
  {
    return TIniFile(File()).ReadString(section, key, QStringLiteral("<missing>"));
  }

  QTemporaryDir FDir;
  TTestConfigOwner FOwner;
};

const TSpellOptions kDefaultOptions{soLiveSpelling,  soLiveCorrect, soInternet,
                                    soAbbreviations, soRepeated,    soDUalCaps};

const QByteArray kFirstSave = "[alice]\n"
                              "_FirstRun=+\n"
                              "_Main_count=1\n"
                              "_Main_0=aussie.wdm\n"
                              "_Custom_count=2\n"
                              "_Custom_0=Autocorrect.wdu\n"
                              "_Custom_1=alice.wdu\n"
                              "_MSWordCustom_count=0\n"
                              "_ActiveCustom=alice.wdu\n"
                              "_soUpcase=-\n"
                              "_soNumbers=-\n"
                              "_soHTML=-\n"
                              "_soInternet=+\n"
                              "_soQuoted=-\n"
                              "_soAbbreviations=+\n"
                              "_soPrimaryOnly=-\n"
                              "_soRepeated=+\n"
                              "_soDUalCaps=+\n"
                              "_soLiveSpelling=+\n"
                              "_soLiveCorrect=+\n"
                              "_soUser1=-\n"
                              "_soUser2=-\n"
                              "_soUser3=-\n"
                              "_soUser4=-\n"
                              "_DialogX=-1\n"
                              "_DialogY=-1\n"
                              "_NewPaths_count=0\n"
                              "_QuoteChars=>\n"
                              "_UserData_count=0\n";

} // namespace

TEST_F(ConfigTest, FirstRunAppliesDefaultsAndFirstSaveWritesKeysInOrder)
{
  auto config = NewConfig();
  EXPECT_FALSE(config->Loaded());
  EXPECT_EQ(items(config->MainDictionaries()), QStringList{"aussie.wdm"}); // first read loads
  EXPECT_TRUE(config->Loaded());
  EXPECT_EQ(FOwner.BeforeLoadCount, 1);
  EXPECT_TRUE(FOwner.LastFirstLoad);
  EXPECT_EQ(FOwner.LoadedCount, 1);
  EXPECT_EQ(items(config->CustomDictionaries()), (QStringList{"Autocorrect.wdu", "alice.wdu"}));
  EXPECT_EQ(config->ActiveCustomDictionary(), QStringLiteral("alice.wdu"));
  EXPECT_EQ(config->SpellOptions(), kDefaultOptions);
  EXPECT_EQ(config->DialogX(), -1);
  EXPECT_EQ(config->DialogY(), -1);
  EXPECT_EQ(config->QuoteChars(), QStringLiteral(">"));
  EXPECT_EQ(config->MSWordCustomDictionaries().Count(), 0);
  EXPECT_EQ(config->ConfigID(), QStringLiteral("alice"));
  EXPECT_EQ(config->ConfigFilename(), FOwner.Filename);
  EXPECT_TRUE(config->Modified()) << "a loaded configuration is written at the next save";
  EXPECT_TRUE(QFileInfo(FDir.path() + "/Dictionaries").isDir()) << "the load makes the folder";
  EXPECT_FALSE(QFileInfo::exists(File())) << "loading writes nothing";

  config->SaveConfiguration();
  EXPECT_FALSE(config->Modified());
  EXPECT_EQ(FOwner.SavedCount, 1);
  EXPECT_EQ(ReadFile(), kFirstSave);

  auto second = NewConfig();
  second->SetLoaded(true);
  EXPECT_FALSE(FOwner.LastFirstLoad);
  EXPECT_EQ(items(second->CustomDictionaries()), (QStringList{"Autocorrect.wdu", "alice.wdu"}));
  EXPECT_EQ(second->SpellOptions(), kDefaultOptions);
}

TEST_F(ConfigTest, WordListsOfAFirstRunWhenBothSwitchesAreOn)
{
  FOwner.AvailableMSWord.Add("/w/custom.dic");
  for (const auto &[use, byDefault, expected] :
       {std::tuple{true, true, QStringList{"/w/custom.dic"}},
        std::tuple{true, false, QStringList{}}, std::tuple{false, true, QStringList{}}}) {
    FOwner.UseMSWord = use;
    FOwner.DefaultUseMSWord = byDefault;
    auto config = NewConfig();
    EXPECT_EQ(items(config->MSWordCustomDictionaries()), expected) << use << byDefault;
    config->SetModified(false);
  }
}

TEST_F(ConfigTest, ListsWithMissingOrDamagedEntries)
{
  const struct {
    const char *name;
    QByteArray lines;
    QStringList expected;
  } cases[] = {
      {"entry 1 missing", "_Main_count=3\n_Main_0=a.wdm\n_Main_2=c.wdm\n", {"a.wdm", "c.wdm"}},
      {"empty entry", "_Main_count=2\n_Main_0=\n_Main_1=b.wdm\n", {"b.wdm"}},
      {"count not a number", "_Main_count=three\n_Main_0=a.wdm\n", {}},
      {"no count", "_Main_0=a.wdm\n", {}},
      {"count below entries", "_Main_count=1\n_Main_0=a.wdm\n_Main_1=b.wdm\n", {"a.wdm"}},
      {"negative count", "_Main_count=-4\n_Main_0=a.wdm\n", {}},
      {"huge count", "_Main_count=2000000000\n_Main_0=a.wdm\n", {"a.wdm"}},
  };
  for (const auto &c : cases) {
    WriteFile("[other]\n_Main_count=1\n_Main_0=other.wdm\n[alice]\n_FirstRun=+\n" + c.lines);
    auto config = NewConfig();
    EXPECT_EQ(items(config->MainDictionaries()), c.expected) << c.name;
    config->SetModified(false);
  }
}

TEST_F(ConfigTest, OptionsAndCoordinatesAsStored)
{
  const struct {
    const char *value;
    bool set;
  } options[] = {{"+", true}, {" + ", true}, {"yes", false}, {"-", false},
                 {"", false}, {"++", false}, {"1", false}};
  for (const auto &c : options) {
    WriteFile(QByteArray("[alice]\n_FirstRun=+\n_soUpcase=") + c.value + "\n_soUser4=+\n");
    auto config = NewConfig();
    EXPECT_EQ(config->SpellOptions().Contains(soUpcase), c.set) << c.value;
    EXPECT_TRUE(config->SpellOptions().Contains(soUser4));
    EXPECT_FALSE(config->SpellOptions().Contains(soLiveSpelling))
        << "a missing option key clears it";
    config->SetModified(false);
  }
  const struct {
    const char *value;
    int expected;
  } coordinates[] = {{"120", 120}, {"-7", -7}, {"12abc", 12},
                     {"abc", 0},   {"", 0},    {"99999999999", 2147483647}};
  for (const auto &c : coordinates) {
    WriteFile(QByteArray("[alice]\n_FirstRun=+\n_DialogX=") + c.value + "\n");
    auto config = NewConfig();
    EXPECT_EQ(config->DialogX(), c.expected) << c.value;
    EXPECT_EQ(config->DialogY(), -1) << "missing key";
    config->SetModified(false);
  }
}

TEST_F(ConfigTest, SavedSectionWithoutQuoteKeyHasNoQuoteCharacters)
{
  WriteFile("[alice]\n_FirstRun=+\n");
  auto config = NewConfig();
  EXPECT_EQ(config->QuoteChars(), QString());
  EXPECT_EQ(config->ActiveCustomDictionary(), QString());
  EXPECT_EQ(config->CustomDictionaries().Count(), 0)
      << "no active dictionary is no dictionary to list";
  config->SetModified(false);
}

TEST_F(ConfigTest, ShorterListLeavesStaleEntryKeysThatAreIgnored)
{
  auto config = NewConfig();
  config->MainDictionaries().Clear();
  config->MainDictionaries().AddStrings(QStringList{"a.wdm", "b.wdm", "c.wdm"});
  config->SaveConfiguration();
  while (config->MainDictionaries().Count() > 1)
    config->MainDictionaries().Delete(1);
  config->SaveConfiguration();
  EXPECT_EQ(Value("alice", "_Main_count"), QStringLiteral("1"));
  EXPECT_EQ(Value("alice", "_Main_0"), QStringLiteral("a.wdm"));
  EXPECT_EQ(Value("alice", "_Main_1"), QStringLiteral("b.wdm"));
  EXPECT_EQ(Value("alice", "_Main_2"), QStringLiteral("c.wdm"));
  auto again = NewConfig();
  EXPECT_EQ(items(again->MainDictionaries()), QStringList{"a.wdm"});
}

TEST_F(ConfigTest, ChangesNotifyTheOwnerOnlyWhenLoaded)
{
  auto config = NewConfig();
  config->SetSpellOptions({soUpcase});
  EXPECT_EQ(FOwner.OtherChanges, 0) << "not loaded: nobody hears";
  EXPECT_EQ(config->SpellOptions(), kDefaultOptions) << "the load replaced the early value";
  const int dictionaryChanges = FOwner.DictionaryChanges;
  config->SetSpellOptions(config->SpellOptions() + soUpcase);
  EXPECT_EQ(FOwner.OtherChanges, 1);
  config->SetSpellOptions(config->SpellOptions()); // unchanged: no notice
  config->SetDialogX(10);
  config->SetDialogY(20);
  config->SetQuoteChars(">|");
  EXPECT_EQ(FOwner.OtherChanges, 4);
  config->MainDictionaries().Add("x.wdm");
  EXPECT_EQ(FOwner.DictionaryChanges, dictionaryChanges + 1);

  config->SetActiveCustomDictionary("new.wdu"); // not listed: added
  EXPECT_EQ(items(config->CustomDictionaries()),
            (QStringList{"Autocorrect.wdu", "alice.wdu", "new.wdu"}));
  config->SetActiveCustomDictionary("AUTOCORRECT.wdu"); // listed (names ignore case)
  EXPECT_EQ(config->CustomDictionaries().Count(), 3);
  EXPECT_EQ(config->ActiveCustomDictionary(), QStringLiteral("AUTOCORRECT.wdu"));

  config->NewDictionaryPaths().Add("/b");
  config->NewDictionaryPaths().Add("/a");
  config->NewDictionaryPaths().Add("/b");
  EXPECT_EQ(items(config->NewDictionaryPaths()), (QStringList{"/a", "/b"}));
  config->SaveConfiguration();

  auto again = NewConfig();
  EXPECT_EQ(again->DialogX(), 10);
  EXPECT_EQ(again->DialogY(), 20);
  EXPECT_EQ(again->QuoteChars(), QStringLiteral(">|"));
  EXPECT_EQ(again->ActiveCustomDictionary(), QStringLiteral("AUTOCORRECT.wdu"));
  EXPECT_EQ(items(again->NewDictionaryPaths()), (QStringList{"/a", "/b"}));
  EXPECT_EQ(again->SpellOptions(), kDefaultOptions + soUpcase);
}

TEST_F(ConfigTest, ActiveCustomIsReadExpanded)
{
  WriteFile("[alice]\n_FirstRun=+\n_ActiveCustom=%ConfigID%-own.wdu\n");
  auto config = NewConfig();
  EXPECT_EQ(config->ActiveCustomDictionary(), QStringLiteral("alice-own.wdu"));
  config->SaveConfiguration();
  EXPECT_EQ(Value("alice", "_ActiveCustom"), QStringLiteral("%ConfigID%-own.wdu"))
      << "stored unexpanded";
}

TEST_F(ConfigTest, ResetSavesThenReloadsDefaults)
{
  auto config = NewConfig();
  config->MainDictionaries().Clear();
  config->MainDictionaries().Add("mine.wdm");
  config->SetSpellOptions({soUpcase});
  config->SetConfigurationData("Theme", "dark");

  config->ResetConfigurationDefaults();
  EXPECT_EQ(Value("alice", "_Main_0"), QStringLiteral("mine.wdm")) << "current values saved first";
  EXPECT_EQ(Value("alice", "_soUpcase"), QStringLiteral("+"));
  EXPECT_TRUE(FOwner.LastFirstLoad);
  EXPECT_EQ(items(config->MainDictionaries()), QStringList{"aussie.wdm"});
  EXPECT_EQ(config->SpellOptions(), kDefaultOptions);
  EXPECT_EQ(items(config->CustomDictionaries()), (QStringList{"Autocorrect.wdu", "alice.wdu"}))
      << "the active default is listed again";
  EXPECT_TRUE(config->Modified());

  config->SaveConfiguration();
  EXPECT_EQ(Value("alice", "_FirstRun"), QStringLiteral("+"));
  EXPECT_EQ(Value("alice", "_Main_0"), QStringLiteral("aussie.wdm"));
  auto again = NewConfig();
  again->SetLoaded(true);
  EXPECT_FALSE(FOwner.LastFirstLoad) << "no longer a first run";
  again->SetModified(false);

  // Reset before any load waits for the load.
  auto fresh = NewConfig();
  fresh->ResetConfigurationDefaults();
  EXPECT_FALSE(fresh->Loaded());
  fresh->SetLoaded(true);
  EXPECT_TRUE(FOwner.LastFirstLoad);
  fresh->SetModified(false);
}

TEST_F(ConfigTest, HostDataNamesIgnoreCase)
{
  auto config = NewConfig();
  config->SetConfigurationData("Colour", "red");
  EXPECT_EQ(config->GetConfigurationData("COLOUR"), QStringLiteral("red"));
  config->SetConfigurationData("colour", "blue");
  config->SetConfigurationData("Size", "");
  config->SetConfigurationData("Size", "12");
  EXPECT_EQ(config->UserNames().Count(), 2);
  EXPECT_EQ(config->GetConfigurationData("missing"), QString());
  config->SaveConfiguration();
  EXPECT_EQ(Value("alice", "_UserData_0"), QStringLiteral("Colour"));
  EXPECT_EQ(Value("alice", "User_Colour"), QStringLiteral("blue"));
  EXPECT_EQ(Value("alice", "User_Size"), QStringLiteral("12"));

  auto again = NewConfig();
  EXPECT_EQ(again->GetConfigurationData("cOlOuR"), QStringLiteral("blue"));
  EXPECT_EQ(again->GetConfigurationData("size"), QStringLiteral("12"));
}

TEST_F(ConfigTest, UnwritableFileStopsTheSaveSilently)
{
  WriteFile("[alice]\n_FirstRun=+\n_Main_count=1\n_Main_0=old.wdm\n");
  auto config = NewConfig();
  config->MainDictionaries().Add("new.wdm");
  const QByteArray before = ReadFile();
  ASSERT_EQ(::chmod(QFile::encodeName(File()).constData(), 0444), 0);
  config->SaveConfiguration();
  EXPECT_FALSE(config->Modified());
  EXPECT_EQ(FOwner.SavedCount, 1);
  EXPECT_EQ(ReadFile(), before);
  EXPECT_EQ(items(config->MainDictionaries()), (QStringList{"old.wdm", "new.wdm"}))
      << "values stay in memory";
}

// A host name that cannot be a key (an "=", or a line break read back from the file) loses
// only its own value; the pairs after it are still written, on this save and every later one.
TEST_F(ConfigTest, AHostNameThatCannotBeAKeyLosesOnlyItsOwnValue)
{
  auto config = NewConfig();
  config->SetConfigurationData("ok", "1");
  config->SetConfigurationData("bad=name", "2");
  config->SetConfigurationData("later", "3");
  config->SaveConfiguration();
  EXPECT_EQ(Value("alice", "_FirstRun"), QStringLiteral("+"));
  EXPECT_EQ(Value("alice", "User_ok"), QStringLiteral("1"));
  EXPECT_EQ(Value("alice", "User_later"), QStringLiteral("3"));
  EXPECT_EQ(Value("alice", "_QuoteChars"), QStringLiteral(">"));

  WriteFile("[alice]\n_FirstRun=+\n_UserData_count=3\n_UserData_0=x\ry\n_UserData_1=keep\n"
            "_UserData_2=a=b\nUser_keep=old\n");
  for (const char *value : {"new", "newer"}) {
    SCOPED_TRACE(value);
    auto fromFile = NewConfig();
    fromFile->SetConfigurationData("keep", value);
    fromFile->SetConfigurationData("after", value);
    fromFile->SaveConfiguration();
    EXPECT_EQ(Value("alice", "User_keep"), QString::fromLatin1(value));
    EXPECT_EQ(Value("alice", "User_after"), QString::fromLatin1(value));
    auto reread = NewConfig();
    EXPECT_EQ(reread->GetConfigurationData("after"), QString::fromLatin1(value));
  }
}

TEST_F(ConfigTest, OtherSectionsAndKeysStayIntact)
{
  WriteFile("[Bob]\n_FirstRun=+\n_Main_count=1\n_Main_0=bob.wdm\n[ALICE]\nForeign=kept\n_main_"
            "COUNT=1\n_MAIN_0=x.wdm\n");
  auto config = NewConfig();
  config->SetLoaded(true);
  EXPECT_TRUE(FOwner.LastFirstLoad) << "a section without _FirstRun is a first run";
  config->SaveConfiguration();
  EXPECT_EQ(Value("bob", "_Main_0"), QStringLiteral("bob.wdm"));
  EXPECT_EQ(Value("alice", "Foreign"), QStringLiteral("kept"));
  EXPECT_EQ(Value("alice", "_Main_0"), QStringLiteral("aussie.wdm"));
  EXPECT_EQ(TIniFile(File()).ReadSections(), (QStringList{"Bob", "ALICE"}));
}

TEST_F(ConfigTest, LoadedFalseSavesAndUnloads)
{
  auto config = NewConfig();
  config->SetLoaded(true);
  config->SetLoaded(true); // already loaded: not loaded again
  EXPECT_EQ(FOwner.LoadedCount, 1);
  config->SetLoaded(false);
  EXPECT_FALSE(config->Loaded());
  EXPECT_EQ(FOwner.SavedCount, 1);
  EXPECT_EQ(ReadFile(), kFirstSave);
  config->SaveConfiguration(); // not loaded: nothing
  EXPECT_EQ(FOwner.SavedCount, 1);
}

TEST_F(ConfigTest, DestroyingSaves)
{
  {
    auto config = NewConfig();
    config->DialogX(); // loads (first run)
    config->SetDialogX(5);
  } // saves on destruction
  EXPECT_EQ(Value("alice", "_DialogX"), QStringLiteral("5"));
  TWrightConfig orphan; // no owner: never loads, never saves
  EXPECT_EQ(orphan.MainDictionaries().Count(), 0);
  EXPECT_FALSE(orphan.Loaded());
}

TEST_F(ConfigTest, StorageKinds)
{
  // csNone: every load is a first run and nothing is written.
  FOwner.Storage = csNone;
  for (int i = 0; i < 2; ++i) {
    auto config = NewConfig();
    config->SetLoaded(true);
    EXPECT_TRUE(FOwner.LastFirstLoad);
    config->SetDialogX(3);
  }
  EXPECT_FALSE(QFileInfo::exists(File()));

  // csCallback: reads and writes go to the owner, keyed by the identity.
  FOwner.Storage = csCallback;
  {
    auto config = NewConfig();
    config->SetLoaded(true);
    config->SetDialogX(4);
  }
  EXPECT_EQ(FOwner.CallbackStore.value("alice/_DialogX"), QStringLiteral("4"));
  EXPECT_EQ(FOwner.CallbackStore.value("alice/_FirstRun"), QStringLiteral("+"));
  EXPECT_EQ(NewConfig()->DialogX(), 4);

  // csRegistry: the user's key-value store.
  {
    const TEnvGuard configHome("XDG_CONFIG_HOME", (FDir.path() + "/config").toUtf8());
    FOwner.Storage = csRegistry;
    FOwner.RegistryKey = "Software\\Linewright\\Test";
    {
      auto config = NewConfig();
      config->SetLoaded(true);
      config->SetDialogY(6);
    }
    EXPECT_EQ(NewConfig()->DialogY(), 6);
    EXPECT_EQ(TUserStore("software\\linewright\\test").ReadString("Alice", "_DialogY", ""),
              QStringLiteral("6"));
    EXPECT_TRUE(QFileInfo::exists(FDir.path() +
                                  "/config/linewright-registry/software/linewright/test.ini"));
  }
  EXPECT_FALSE(QFileInfo::exists(File()));
}

TEST_F(ConfigTest, TwoProcessesSavingDifferentSectionsLoseNothing)
{
  constexpr int kRounds = 25;
  for (int repeat = 0; repeat < 3; ++repeat) {
    QFile::remove(File());
    QDir().mkpath(FDir.path() + "/Dictionaries");
    QProcess a, b;
    a.start(QString::fromUtf8(LW_SAVE_HELPER), {File(), "alpha", QString::number(kRounds)});
    b.start(QString::fromUtf8(LW_SAVE_HELPER), {File(), "beta", QString::number(kRounds)});
    ASSERT_TRUE(a.waitForFinished(60000));
    ASSERT_TRUE(b.waitForFinished(60000));
    EXPECT_EQ(a.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(a.exitCode(), 0) << a.readAllStandardError().toStdString();
    EXPECT_EQ(b.exitCode(), 0) << b.readAllStandardError().toStdString();
    TIniFile ini(File());
    for (const QString section : {"alpha", "beta"}) {
      EXPECT_EQ(ini.ReadString(section, "User_round", ""), QString::number(kRounds))
          << section.toStdString();
      EXPECT_EQ(ini.ReadString(section, "_Main_count", ""), QString::number(kRounds + 1));
      EXPECT_EQ(ini.ReadString(section, "_Main_" + QString::number(kRounds), ""),
                section + QString::number(kRounds) + ".wdm");
    }
    QStringList leftovers = QDir(FDir.path() + "/Dictionaries").entryList(QDir::Files);
    leftovers.removeAll("Spell.cfg");
    leftovers.removeAll("Spell.cfg.lock");
    EXPECT_TRUE(leftovers.isEmpty()) << leftovers.join(",").toStdString();
  }
}

// Option sets are stored and exchanged as masks whose bit n is the value of ordinal n.
TEST(SpellTypes, SetMasksFollowOrdinals)
{
  const struct {
    const char *name;
    quint32 mask, expected;
  } cases[] = {
      {"live and dual caps", TSpellOptions{soLiveSpelling, soDUalCaps}.Mask(), 0x401},
      {"user options", TSpellOptions{soUser1, soUser4}.Mask(), 0x4800},
      {"all but users", TSpellOptions::Range(soLiveSpelling, soDUalCaps).Mask(), 0x7FF},
      {"defaults minus live",
       (kDefaultOptions - TSpellOptions{soLiveSpelling, soLiveCorrect}).Mask(), 0x6A0},
      {"last dialog command", TSpellDialogCommands{sdcConfigEditDictionaryButton}.Mask(), 1u << 22},
      {"popup replace", TSpellPopupOptions{spReplace}.Mask(), 0x80},
  };
  for (const auto &c : cases)
    EXPECT_EQ(c.mask, c.expected) << c.name;
  TSpellOptions s = TSpellOptions::FromMask(0x7FFF);
  s.Exclude(soHTML);
  EXPECT_FALSE(s.Contains(soHTML));
  EXPECT_TRUE(s.Contains(soUser4));
  EXPECT_EQ(sizeof(TSpellOptions::MaskType), 2u);
}
