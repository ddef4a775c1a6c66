// The classic options dialog: options take the boxes in order and the dialog shrinks by the
// rest, every change reaches the configuration at once, the main dictionary rows and the row
// that locates a further folder, the active custom dictionary, and Reset Defaults.

#include "dictionary_fixture.h"
#include "print_qstring.h"
#include "wrConfiguration.h"
#include "wrConfigurationDialog.h"
#include "wrConfigurationDialogCtrl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>

namespace {

class ConfigurationDialog : public DictionaryDialogTest {
protected:
  void Open()
  {
    D = std::make_unique<TSpellCheckConfigDialog>();
    Spell->BindDialogController(D.get(), nullptr);
    D->show();
    QApplication::processEvents();
  }
  TWrightConfig *Config() { return Spell->Configuration(); }
  std::unique_ptr<TSpellCheckConfigDialog> D;
};

TEST_F(ConfigurationDialog, OptionsTakeTheBoxesInOrderAndChangeTheConfigurationAtOnce)
{
  Open();
  EXPECT_EQ(D->windowTitle(), "Spelling Options");
  EXPECT_EQ(D->OptionsGroup->title(), " O&ptions: ");
  // Seven options of this program; the dialog is three rows shorter.
  EXPECT_EQ(D->height(), 397 - 3 * 16);
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(D->Option[i]->objectName(), QString("Option%1").arg(i + 1));
    EXPECT_EQ(D->Option[i]->isHidden(), i >= 7);
    if (i > 0 && i < 7) {
      EXPECT_EQ(D->Option[i]->y() - D->Option[i - 1]->y(), 16);
    }
  }
  EXPECT_TRUE(D->Option[0]->isChecked()); // live spelling, a default option
  EXPECT_FALSE(D->Option[2]->isChecked());
  D->Option[2]->setChecked(true); // UPPERCASE
  EXPECT_TRUE(Config()->SpellOptions().Contains(soUpcase));
  D->Option[0]->setChecked(false);
  EXPECT_FALSE(Config()->SpellOptions().Contains(soLiveSpelling));
  D->Option[4]->setChecked(true); // the classic dialog does offer main-dictionaries-only
  EXPECT_TRUE(Config()->SpellOptions().Contains(soPrimaryOnly));
}

TEST_F(ConfigurationDialog, MainDictionaryRowsAndTheRowThatLocatesAFolder)
{
  QFile broken(Dir + "/broken.wdm");
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a dictionary");
  broken.close();
  QString offered;
  Spell->OnBrowseForFolder = [&](QObject *, QObject *, const TBrowseInfo &, QString &folder,
                                 bool &) { folder = offered; };
  Open();
  QStringList names = Rows(D->MainDictionaries);
  EXPECT_EQ(names, (QStringList{"???", "English words", "Second words", "Locate Dictionaries..."}));
  EXPECT_EQ(Rows(D->MainDictionaries, 1).mid(0, 3),
            (QStringList{"broken.wdm", "english.wdm", "second.wdm"}));
  EXPECT_EQ(D->MainDictionaries->topLevelItem(1)->checkState(0), Qt::Checked);
  D->MainDictionaries->topLevelItem(2)->setCheckState(0, Qt::Checked);
  EXPECT_EQ(Config()->MainDictionaries().ToQStringList(),
            (QStringList{"english.wdm", "second.wdm"}));
  D->MainDictionaries->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(Config()->MainDictionaries().ToQStringList(), QStringList{"second.wdm"});
  // The last row never stays checked; it adds the folder chosen and lists its dictionaries.
  const QString more = Temp.path() + "/More";
  ASSERT_TRUE(QDir().mkpath(more));
  {
    const QString keep = Dir;
    Dir = more;
    WriteWdm("third.wdm", "Third words", {"drei"});
    Dir = keep;
  }
  offered = more;
  QTreeWidgetItem *locate = D->MainDictionaries->topLevelItem(3);
  locate->setCheckState(0, Qt::Checked);
  QApplication::processEvents();
  EXPECT_EQ(Config()->NewDictionaryPaths().ToQStringList(), QStringList{more});
  EXPECT_TRUE(Rows(D->MainDictionaries).contains("Third words"));
  EXPECT_EQ(D->MainDictionaries->topLevelItem(D->MainDictionaries->topLevelItemCount() - 1)
                ->checkState(0),
            Qt::Unchecked);
}

TEST_F(ConfigurationDialog, TheComboChoosesTheActiveDictionaryAndResetRestoresTheDefaults)
{
  Open();
  EXPECT_EQ(D->CustomCombo->currentText(), "mine.wdu");
  D->CustomCombo->setCurrentIndex(D->CustomCombo->findText("other.wdu"));
  EXPECT_EQ(Config()->ActiveCustomDictionary(), "other.wdu");
  D->Option[0]->setChecked(false);
  D->ResetButtonClick();
  EXPECT_EQ(Config()->ActiveCustomDictionary(), "mine.wdu");
  EXPECT_TRUE(D->Option[0]->isChecked());
  EXPECT_EQ(D->CustomCombo->currentText(), "mine.wdu");
}

} // namespace
