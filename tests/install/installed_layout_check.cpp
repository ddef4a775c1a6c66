// Run by install_test.sh from the bin folder of a temporary, read-only installation, with private
// XDG folders: the program's files are found in the installed data folder and in the user's
// folder, and what the program writes lands in the user's folder. Run twice: the first run
// ("--write") changes the user's settings and dictionary, the second ("--read") finds them, as
// a restarted program would.

#include "RichTextEd.h"
#include "config_owner.h"
#include "wrCustomDictionary.h"
#include "wrMainDictionary.h"
#include "wrThesaurus.h"
#include "wrUtil.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <memory>

namespace {

bool Writing = false;

QString InProgramFolder(const char *Name)
{
  return QString::fromLatin1(ProgramDataFolder) + QLatin1Char('\\') + QLatin1String(Name);
}

QString Prefix() { return QDir::cleanPath(QCoreApplication::applicationDirPath() + "/.."); }

// The user's folder as the XDG base directory specification places it.
QString ExpectedUserFolder()
{
  return QDir::cleanPath(qEnvironmentVariable("XDG_DATA_HOME")) + "/linewright/Dictionaries";
}

} // namespace

TEST(InstalledLayout, ShippedFilesAreReadFromTheDataFolderAndUserFilesFromXdg)
{
  const TDataLayout layout = ProgramDataLayout();
  ASSERT_TRUE(layout.Installed()) << "run from <prefix>/bin of an installation";
  EXPECT_EQ(layout.ShippedFolder(), Prefix() + "/share/linewright/Dictionaries");
  EXPECT_EQ(layout.UserFolder(), ExpectedUserFolder());
  const QString folder = QString::fromLatin1(ProgramDataFolder);
  EXPECT_EQ(layout.SearchFolders(folder),
            (QStringList{ExpectedUserFolder(), layout.ShippedFolder()}));
  EXPECT_EQ(layout.WritableFile(InProgramFolder("Spell.cfg")), ExpectedUserFolder() + "/Spell.cfg");
  EXPECT_FALSE(QFileInfo::exists(QCoreApplication::applicationDirPath() + "/Dictionaries"));
}

TEST(InstalledLayout, MainWindowThesaurusReadsTheInstalledFile)
{
  const QString shipped = ProgramDataLayout().ShippedFolder() + "/Wordnest.wdt";
  if (!QFileInfo::exists(shipped))
    GTEST_SKIP() << "Wordnest.wdt is not built (mythes-en-au missing)";
  TRichTextEd w;
  TThesaurusFile *file = w.Thesaurus31->ThesaurusFile();
  EXPECT_EQ(w.Thesaurus31->Filename(), InProgramFolder("Wordnest.wdt"));
  EXPECT_EQ(file->FileName(), shipped);
  EXPECT_TRUE(file->LookupWord(QStringLiteral("happy")));
  EXPECT_FALSE(file->Contexts().empty());
}

TEST(InstalledLayout, ShippedMainDictionaryReadsTheInstalledFile)
{
  const QString name =
      ProgramDataLayout().ReadableFile(ExpandPathMacros(InProgramFolder("aussie.wdm")));
  if (!QFileInfo::exists(name))
    GTEST_SKIP() << "aussie.wdm is not built (hunspell-en-au missing)";
  EXPECT_EQ(name, ProgramDataLayout().ShippedFolder() + "/aussie.wdm");
  TMainDictionary dictionary;
  dictionary.SetFilename(name);
  ASSERT_EQ(dictionary.Filename(), name);
  EXPECT_TRUE(dictionary.WordExists(QStringLiteral("colour")));
  EXPECT_FALSE(dictionary.WordExists(QStringLiteral("colourx")));
}

// Spell.cfg and the user's custom dictionary, named as the program names them, land in the
// user's folder and are there after a restart.
TEST(InstalledLayout, SettingsAndCustomDictionaryPersistInTheUserFolder)
{
  const TDataLayout layout = ProgramDataLayout();
  TTestConfigOwner owner;
  owner.Filename = layout.WritableFile(InProgramFolder("Spell.cfg"));
  const QString dictionaryName =
      layout.WritableFolder(QString::fromLatin1(ProgramDataFolder)) + "/tester.wdu";
  const QString word = QStringLiteral("wombatish");

  {
    TWrightConfig config;
    config.SetWrightSpell(&owner);
    config.SetLoaded(true);
    if (Writing) {
      ForceFolders(ExtractFileDir(dictionaryName));
      TCustomDictionary dictionary;
      dictionary.SetFilename(dictionaryName);
      ASSERT_EQ(dictionary.Filename(), dictionaryName);
      EXPECT_TRUE(dictionary.AddIgnore(word));
      dictionary.Save();
      EXPECT_FALSE(dictionary.Modified());
      config.SetSpellOptions(TSpellOptions{soUpcase, soNumbers});
      config.SetActiveCustomDictionary(QStringLiteral("tester.wdu"));
      config.SaveConfiguration();
    } else {
      EXPECT_EQ(config.SpellOptions(), (TSpellOptions{soUpcase, soNumbers}));
      EXPECT_EQ(config.ActiveCustomDictionary(), QStringLiteral("tester.wdu"));
      TCustomDictionary dictionary;
      dictionary.SetFilename(dictionaryName);
      EXPECT_TRUE(dictionary.IgnoreExists(word));
    }
  }
  EXPECT_TRUE(QFileInfo::exists(ExpectedUserFolder() + "/Spell.cfg"));
  EXPECT_TRUE(QFileInfo::exists(ExpectedUserFolder() + "/tester.wdu"));
}

int main(int argc, char **argv)
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  const QStringList args = QCoreApplication::arguments();
  Writing = args.contains(QStringLiteral("--write"));
  if (!Writing && !args.contains(QStringLiteral("--read"))) {
    fprintf(stderr, "usage: installed_layout_check --write|--read [gtest options]\n");
    return 2;
  }
  return RUN_ALL_TESTS();
}
