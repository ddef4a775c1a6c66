// The Office-style options dialog over a real component and dictionary files: the collapsed
// option rows and the sample, the language and additional dictionaries, the custom page, new
// and deleted dictionaries, OK and leaving without it, and the live sample's hook.

#include "dictionary_fixture.h"
#include "print_qstring.h"
#include "wrConfiguration.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrConfigurationDialogOffice.h"
#include "wrCustomDictionaryPages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

// A component whose live spelling attaches a marker object to the sample.
class TLiveSampleSpell : public TDialogSpell {
public:
  int Asked = 0;
  QObject *AttachLiveSpellingSample(QWidget *Sample) override
  {
    ++Asked;
    return new QObject(Sample);
  }
};

class ConfigurationDialogOffice : public DictionaryDialogTest {
protected:
  void Open(TDialogSpell *spell = nullptr)
  {
    D = std::make_unique<TSpellCheckConfigDialogV4>();
    (spell ? spell : Spell.get())->BindDialogController(D.get(), nullptr);
    D->show();
    QApplication::processEvents();
  }
  QTreeWidgetItem *Row(const QString &text)
  {
    for (int i = 0; i < D->AdditionalDictionariesList->topLevelItemCount(); ++i)
      if (D->AdditionalDictionariesList->topLevelItem(i)->text(0) == text)
        return D->AdditionalDictionariesList->topLevelItem(i);
    ADD_FAILURE() << "no row " << text.toStdString();
    return nullptr;
  }
  static QStringList Items(const QComboBox *combo)
  {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i)
      out << combo->itemText(i);
    return out;
  }
  void ShowCustomPage()
  {
    D->OptionsTabs->setCurrentWidget(D->CustomDictionaryOptionsPage);
    QApplication::processEvents();
  }
  TWrightConfig *Config() { return Spell->Configuration(); }
  std::unique_ptr<TSpellCheckConfigDialogV4> D;
};

TEST_F(ConfigurationDialogOffice, ThisProgramsOptionsArePackedWithTheSampleBesideLiveSpelling)
{
  Open();
  EXPECT_EQ(D->size(), QSize(436, 468));
  EXPECT_EQ(D->windowTitle(), "Spelling Options");
  EXPECT_EQ(D->OptionsTabs->tabText(0), "Spelling");
  EXPECT_EQ(D->OptionsTabs->tabText(1), "Language");
  EXPECT_EQ(D->OptionsTabs->tabText(2), "Custom Dictionary");
  struct Row {
    QCheckBox *box;
    const char *name;
    int y; // -1: hidden
    bool checked;
  };
  const Row rows[] = {
      {D->LiveSpellCheckbox, "LiveSpellCheckbox", 20, true},
      {D->AutoCorrectCheckbox, "AutoCorrectCheckbox", 40, true},
      {D->DUalCapsCheckbox, "DUalCapsCheckbox", 60, true},
      {D->RepeatedWordsCheckbox, "RepeatedWordsCheckbox", 80, true},
      {D->UserCheckBox1, "UserCheckBox1", -1, false},
      {D->UserCheckBox4, "UserCheckBox4", -1, false},
      {D->UPPERCASECheckbox, "UPPERCASECheckbox", 20, false},
      {D->NumbersCheckbox, "NumbersCheckbox", 40, false},
      {D->HTMLCheckbox, "HTMLCheckbox", -1, false},
      {D->InternetAddressCheckbox, "InternetAddressCheckbox", -1, false},
      {D->AbbreviationsCheckbox, "AbbreviationsCheckbox", -1, false},
      {D->QuotedLineCheckbox, "QuotedLineCheckbox", -1, false},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(r.box->objectName(), r.name);
    EXPECT_EQ(r.box->isHidden(), r.y < 0);
    if (r.y >= 0) {
      EXPECT_EQ(r.box->y(), r.y);
    }
    EXPECT_EQ(r.box->isChecked(), r.checked);
  }
  EXPECT_EQ(D->UPPERCASECheckbox->text(), "Words in &UPPERCASE");
  // The general group lost four rows, and the ignore group moved up by as much and lost four.
  EXPECT_EQ(D->GeneralOptionsGroupBox->height(), 24 + 4 * 20);
  EXPECT_EQ(D->IgnoreOptionsGroupBox->y(), D->GeneralOptionsGroupBox->geometry().bottom() + 9);
  EXPECT_EQ(D->IgnoreOptionsGroupBox->height(), 24 + 2 * 20);
  EXPECT_TRUE(D->QuotedLineEdit->isHidden());
  // The sample: on the live-spelling row, right of its caption.
  EXPECT_TRUE(D->SpellingErrorsEdit->isVisible());
  EXPECT_FALSE(D->SpellingErrorsEdit->isEnabled());
  EXPECT_EQ(D->SpellingErrorsEdit->toPlainText(), "(spelling errorss)");
  const int captionEnd =
      D->LiveSpellCheckbox->x() + D->LiveSpellCheckbox->fontMetrics().horizontalAdvance(
                                      QString(D->LiveSpellCheckbox->text()).remove('&'));
  EXPECT_GT(D->SpellingErrorsEdit->x(), captionEnd + 30);
  EXPECT_LT(D->SpellingErrorsEdit->x(), captionEnd + 30 + 30);
  EXPECT_LE(qAbs(D->SpellingErrorsEdit->y() - D->LiveSpellCheckbox->y()), 2);
  EXPECT_LE(D->SpellingErrorsEdit->geometry().right(), D->GeneralOptionsGroupBox->width());
  // Only OK shows at the bottom, at the right.
  EXPECT_TRUE(D->CancelButton->isHidden());
  EXPECT_TRUE(D->HelpButton->isHidden());
  EXPECT_EQ(D->OK->geometry().right(), 436 - 8 - 1);
  // No placeholder caption shows anywhere.
  for (QWidget *w : D->findChildren<QWidget *>()) {
    if (!w->isVisibleTo(D.get()))
      continue;
    QString text;
    if (auto *b = qobject_cast<QAbstractButton *>(w))
      text = b->text();
    else if (auto *l = qobject_cast<QLabel *>(w))
      text = l->text();
    else if (auto *g = qobject_cast<QGroupBox *>(w))
      text = g->title();
    EXPECT_FALSE(text.startsWith("xx")) << w->objectName().toStdString();
  }
}

TEST_F(ConfigurationDialogOffice, TheLanguageComboReplacesTheLanguageDictionary)
{
  Open();
  EXPECT_EQ(Items(D->LanguageSelectCombo), (QStringList{"English words", "Second words"}));
  EXPECT_EQ(D->LanguageSelectCombo->currentText(), "English words");
  QTreeWidgetItem *second = Row("Second words");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->text(1), "language dictionary");
  EXPECT_EQ(second->checkState(0), Qt::Unchecked);
  // An additional main dictionary chosen as the language: listed once, in front.
  second->setCheckState(0, Qt::Checked);
  EXPECT_EQ(D->MainDictionaries().ToQStringList(), (QStringList{"english.wdm", "second.wdm"}));
  D->LanguageSelectCombo->setCurrentIndex(1);
  EXPECT_EQ(D->MainDictionaries().ToQStringList(), QStringList{"second.wdm"});
  // The previous language dictionary is offered again, unchecked.
  QTreeWidgetItem *english = Row("English words");
  ASSERT_NE(english, nullptr);
  EXPECT_EQ(english->checkState(0), Qt::Unchecked);
  D->LanguageSelectCombo->setCurrentIndex(0);
  EXPECT_EQ(D->MainDictionaries().ToQStringList(), QStringList{"english.wdm"});
}

TEST_F(ConfigurationDialogOffice, ADictionaryThatCannotOpenLeavesNoGapInTheLanguageCombo)
{
  // "broken.wdm" sorts first among the files: the combo's positions are not the files'.
  QFile broken(Dir + "/broken.wdm");
  ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
  broken.write("not a dictionary");
  broken.close();
  Open();
  EXPECT_EQ(Items(D->LanguageSelectCombo), (QStringList{"English words", "Second words"}));
  D->LanguageSelectCombo->setCurrentIndex(1);
  EXPECT_EQ(D->MainDictionaries().ToQStringList(), QStringList{"second.wdm"});
}

TEST_F(ConfigurationDialogOffice, CustomDictionariesInTheListAndTheCombo)
{
  Open();
  // The active one is not an additional dictionary; the auto-correct list can never be active.
  EXPECT_EQ(Items(D->ChooseCustomCombo), (QStringList{"mine.wdu", "other.wdu"}));
  EXPECT_EQ(D->ChooseCustomCombo->currentText(), "mine.wdu");
  QTreeWidgetItem *autocorrect = Row("Autocorrect.wdu");
  ASSERT_NE(autocorrect, nullptr);
  EXPECT_EQ(autocorrect->text(1), "custom dictionary");
  EXPECT_EQ(autocorrect->checkState(0), Qt::Checked);
  for (int i = 0; i < D->AdditionalDictionariesList->topLevelItemCount(); ++i)
    EXPECT_NE(D->AdditionalDictionariesList->topLevelItem(i)->text(0), "mine.wdu");
  // The Edit button is hidden in this program; Locate shows.
  EXPECT_TRUE(D->EditAdditionalButton->isHidden());
  EXPECT_FALSE(D->LocateDictionariesButton->isHidden());
  EXPECT_TRUE(D->LearningLabel->isHidden());
  EXPECT_TRUE(D->DownloadLabel->isHidden());
}

TEST_F(ConfigurationDialogOffice, OKWritesTheWorkingChoicesAndTheOptions)
{
  Open();
  Row("other.wdu")->setCheckState(0, Qt::Unchecked);
  D->LiveSpellCheckbox->setChecked(false);
  D->UPPERCASECheckbox->setChecked(true);
  D->QuotedLineEdit->setText("  >|  ");
  TSpellOptions options = Config()->SpellOptions();
  options.Include(soPrimaryOnly);
  Config()->SetSpellOptions(options);
  D->OK->click();
  EXPECT_EQ(D->result(), QDialog::Accepted);
  EXPECT_LT(Config()->CustomDictionaries().IndexOf("other.wdu"), 0);
  const TSpellOptions saved = Config()->SpellOptions();
  EXPECT_FALSE(saved.Contains(soLiveSpelling));
  EXPECT_TRUE(saved.Contains(soLiveCorrect));
  EXPECT_TRUE(saved.Contains(soUpcase));
  EXPECT_FALSE(saved.Contains(soPrimaryOnly)); // no box here
  EXPECT_EQ(Config()->QuoteChars(), ">|");
  EXPECT_EQ(Config()->ActiveCustomDictionary(), "mine.wdu");
}

TEST_F(ConfigurationDialogOffice, LeavingWithoutOKKeepsWordsButNotChoices)
{
  Open();
  Row("other.wdu")->setCheckState(0, Qt::Unchecked);
  D->LiveSpellCheckbox->setChecked(false);
  ShowCustomPage();
  TCustomDictionaryPages *p = D->Pages;
  ASSERT_TRUE(p->EditCustomTabs->isVisible());
  EXPECT_EQ(Rows(p->IgnoreList), (QStringList{"alpha", "beta", "gamma"}));
  p->IgnoreEdit->setText("kept");
  p->AddIgnoreButtonClick();
  // Typing a word that is excluded keeps Add off.
  p->IgnoreEdit->setText("colour");
  EXPECT_FALSE(p->AddIgnoreButton->isEnabled());
  D->reject(); // the close box
  D.reset();
  EXPECT_GE(Config()->CustomDictionaries().IndexOf("other.wdu"), 0);
  EXPECT_TRUE(Config()->SpellOptions().Contains(soLiveSpelling));
  EXPECT_EQ(IgnoreWords("mine.wdu"), (QStringList{"alpha", "beta", "gamma", "kept"}));
}

TEST_F(ConfigurationDialogOffice, CtrlTabInsideTheWordListsSwitchesTheirPagesOnly)
{
  Open();
  ShowCustomPage();
  TCustomDictionaryPages *p = D->Pages;
  ASSERT_EQ(p->ActivePage(), wpAdded);
  QKeyEvent next(QEvent::KeyPress, Qt::Key_Tab, Qt::ControlModifier);
  QApplication::sendEvent(p->IgnoreEdit, &next);
  EXPECT_EQ(p->ActivePage(), wpAutoCorrect);
  EXPECT_EQ(D->OptionsTabs->currentWidget(), D->CustomDictionaryOptionsPage);
  // The page switched to is filled.
  EXPECT_EQ(Rows(p->AutoCorrectList), QStringList{"teh"});
  QKeyEvent previous(QEvent::KeyPress, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  QApplication::sendEvent(p->ReplaceEdit, &previous);
  EXPECT_EQ(p->ActivePage(), wpAdded);
  EXPECT_EQ(D->OptionsTabs->currentWidget(), D->CustomDictionaryOptionsPage);
}

TEST_F(ConfigurationDialogOffice, ChoosingAnotherCustomDictionarySavesTheOneEditedAndShowsTheNew)
{
  Open();
  ShowCustomPage();
  D->Pages->IgnoreEdit->setText("first");
  D->Pages->AddIgnoreButtonClick();
  D->ChooseCustomCombo->setCurrentIndex(D->ChooseCustomCombo->findText("other.wdu"));
  EXPECT_EQ(D->ActiveCustomDictionary(), "other.wdu");
  EXPECT_EQ(Rows(D->Pages->IgnoreList), QStringList{"otherword"});
  EXPECT_EQ(IgnoreWords("mine.wdu"), (QStringList{"alpha", "beta", "first", "gamma"}));
  // mine.wdu is an additional dictionary now.
  EXPECT_NE(Row("mine.wdu"), nullptr);
  D->OK->click();
  EXPECT_EQ(Config()->ActiveCustomDictionary(), "other.wdu");
}

TEST_F(ConfigurationDialogOffice, NewDictionariesStayInTheFolderAndBecomeActive)
{
  Open();
  ShowCustomPage();
  struct Case {
    const char *name;
    QString text, created;
  };
  const Case cases[] = {
      {"a plain name", "fresh", "fresh.wdu"},
      {"a path", "../../../tmp/evil", "evil.wdu"},
      {"empty", "", ""},
      {"a line break", "a\nb", ""},
      {"300 characters", QString(300, QChar('y')), ""},
  };
  const QStringList outside = FilesIn(Temp.path());
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QStringList before = FilesIn(Dir);
    const QString activeBefore = D->ActiveCustomDictionary();
    AnswerNewName(c.text);
    D->NewCustomButtonClick();
    QStringList expected = before;
    if (c.created.isEmpty()) {
      EXPECT_EQ(D->ActiveCustomDictionary(), activeBefore);
    } else {
      expected << c.created;
      expected.sort();
      EXPECT_EQ(D->ActiveCustomDictionary(), c.created);
      EXPECT_EQ(D->ChooseCustomCombo->currentText(), c.created);
      EXPECT_GE(D->CustomDictionaries().IndexOf(c.created), 0);
      EXPECT_TRUE(D->Pages->EditCustomTabs->isVisible());
    }
    EXPECT_EQ(FilesIn(Dir), expected);
  }
  EXPECT_EQ(FilesIn(Temp.path()), outside);
  // A listed name is only chosen.
  AnswerNewName("mine");
  D->NewCustomButtonClick();
  EXPECT_EQ(D->ActiveCustomDictionary(), "mine.wdu");
}

TEST_F(ConfigurationDialogOffice, DeleteOnAnAdditionalDictionaryAsksAndKeepsItDeleted)
{
  Open();
  D->OptionsTabs->setCurrentWidget(D->LanguageOptionsPage);
  D->AdditionalDictionariesList->setCurrentItem(Row("other.wdu"));
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  BoxAnswer = IDNO;
  QApplication::sendEvent(D->AdditionalDictionariesList, &del);
  EXPECT_EQ(Boxes, QStringList{"Confirmation:|Delete this custom dictionary?"});
  EXPECT_TRUE(QFileInfo::exists(Dir + "/other.wdu"));
  BoxAnswer = IDYES;
  QApplication::sendEvent(D->AdditionalDictionariesList, &del);
  EXPECT_FALSE(QFileInfo::exists(Dir + "/other.wdu"));
  EXPECT_TRUE(QFileInfo::exists(Temp.path() + "/data/Trash/files/other.wdu"));
  for (int i = 0; i < D->AdditionalDictionariesList->topLevelItemCount(); ++i)
    EXPECT_NE(D->AdditionalDictionariesList->topLevelItem(i)->text(0), "other.wdu");
  // OK does not list the deleted file again, so no reload creates it anew.
  D->OK->click();
  EXPECT_LT(Config()->CustomDictionaries().IndexOf("other.wdu"), 0);
  Spell->WordExists("word");
  EXPECT_FALSE(QFileInfo::exists(Dir + "/other.wdu"));
}

TEST_F(ConfigurationDialogOffice, AnActiveDictionaryThatCannotLoadHidesTheWordLists)
{
  QFile damaged(Dir + "/mine.wdu");
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
  damaged.write("Wright User Dictionary, damaged");
  damaged.close();
  Open();
  ShowCustomPage();
  EXPECT_FALSE(D->Pages->EditCustomTabs->isVisible());
  EXPECT_FALSE(D->ModifyCustomLabel->isVisible());
  EXPECT_EQ(D->EditedDictionary(), nullptr);
}

TEST_F(ConfigurationDialogOffice, TheSampleAsksTheComponentForLiveSpellingOnce)
{
  TLiveSampleSpell live;
  TStringList folders;
  folders.Add(Dir);
  live.SetConfigDictionaryDir(folders);
  Open(&live);
  EXPECT_EQ(live.Asked, 1);
  EXPECT_TRUE(D->SpellingErrorsEdit->LiveAttached());
  EXPECT_EQ(D->SpellingErrorsEdit->LiveSpelling()->parent(), D->SpellingErrorsEdit);
  D->OptionsTabs->setCurrentIndex(1);
  D->OptionsTabs->setCurrentIndex(0);
  EXPECT_EQ(live.Asked, 1);
  D.reset();
  // Without live spelling the sample stays plain.
  Open();
  EXPECT_FALSE(D->SpellingErrorsEdit->LiveAttached());
}

} // namespace

namespace {

// What the component could not read stands beside the dictionary it is about.
TEST_F(ConfigurationDialogOffice, FilesThatCouldNotBeReadAreToldBesideTheirDictionaries)
{
  {
    QFile f(Dir + "/english.wdm");
    ASSERT_TRUE(f.resize(f.size() / 2));
    QFile a(Dir + "/Autocorrect.wdu");
    ASSERT_TRUE(a.resize(a.size() - 8));
  }
  Spell->WordAcceptable("word"); // the first word test opens the dictionaries
  Open();
  ASSERT_EQ(D->LanguageSelectCombo->currentIndex(), -1);
  EXPECT_TRUE(D->LanguageSelectCombo->placeholderText().contains(
      "english.wdm\" could not be read (damaged): words cannot be checked."))
      << D->LanguageSelectCombo->placeholderText().toStdString();
  EXPECT_EQ(D->LanguageSelectCombo->toolTip(), D->LanguageSelectCombo->placeholderText());
  QTreeWidgetItem *autocorrect = Row("Autocorrect.wdu");
  ASSERT_NE(autocorrect, nullptr);
  EXPECT_TRUE(autocorrect->text(1).endsWith(
      "could not be read (damaged): its words and automatic corrections are not used."))
      << autocorrect->text(1).toStdString();
  QTreeWidgetItem *other = Row("other.wdu");
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(other->text(1), "custom dictionary") << "a good file keeps its kind";
  EXPECT_TRUE(D->ChooseCustomCombo->toolTip().isEmpty());
}

} // namespace
