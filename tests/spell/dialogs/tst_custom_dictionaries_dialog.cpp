// The custom dictionaries dialog and the new-dictionary dialog over real files: names typed by
// the user stay file names in the dictionary folder, renaming in place, switching on and off,
// deleting to the trash after a question, and the internal Ignore All row.

#include "dictionary_fixture.h"
#include "print_qstring.h"
#include "rtDialogControls.h"
#include "wrConfiguration.h"
#include "wrConfigurationDialogCtrl.h"
#include "wrCustomDictionariesDialog.h"
#include "wrCustomDictionaryEditDialog.h"
#include "wrCustomDictionaryPages.h"
#include "wrNewCustomDictionaryDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>

namespace {

TEST(NewCustomDictionaryName, IsAFileNameWithTheDictionaryExtension)
{
  struct Case {
    QString text, name;
  };
  const Case cases[] = {
      {"mine", "mine.wdu"},
      {"mine.txt", "mine.wdu"},
      {"C:\\Users\\me\\mine.dic", "mine.wdu"},
      {"/etc/passwd", "passwd.wdu"},
      {"../../escape", "escape.wdu"},
      {"  spaced  ", "spaced.wdu"},
      {"", ".wdu"},
      {"two\nlines", ""},
      {"a\tb", ""},
      {QString(300, QChar('n')), ""},
      {QString(130, QChar(0x00E9)), ""}, // 130 characters, 264 bytes with the extension
      {QString(120, QChar(0x00E9)), QString(120, QChar(0x00E9)) + ".wdu"},
      {QString(120, QChar('n')), QString(120, QChar('n')) + ".wdu"},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(NewCustomDictionaryName(c.text), c.name);
  }
}

class CustomDictionariesDialog : public DictionaryDialogTest {
protected:
  void Open()
  {
    D = std::make_unique<TCustomDictionariesDialog>();
    Spell->BindDialogController(D.get(), nullptr);
    D->show();
    QApplication::processEvents();
  }
  QTreeWidgetItem *Row(const QString &text)
  {
    QTreeWidgetItem *row = D->FindRow(text);
    EXPECT_NE(row, nullptr) << text.toStdString();
    return row;
  }
  void Select(const QString &text)
  {
    QTreeWidgetItem *row = Row(text);
    D->CustomDictionaries->setCurrentItem(row);
    row->setSelected(true);
  }
  TWrightConfig *Config() { return Spell->Configuration(); }
  std::unique_ptr<TCustomDictionariesDialog> D;
};

TEST_F(CustomDictionariesDialog, FilledWhenShownWithEveryCustomDictionary)
{
  Open();
  EXPECT_EQ(D->windowTitle(), "Dictionaries");
  EXPECT_EQ(D->CustomGroup->title(), " Custom Dictionaries: ");
  EXPECT_EQ(D->NewButton->text(), "&New");
  EXPECT_TRUE(D->HelpButton->isHidden());
  QStringList rows = Rows(D->CustomDictionaries);
  rows.sort();
  EXPECT_EQ(rows, (QStringList{"Autocorrect.wdu", "mine.wdu", "other.wdu"}));
  // No Ignore All words yet: no internal row.
  EXPECT_EQ(D->FindRow("(Ignore All / Change All)"), nullptr);
  EXPECT_FALSE(D->EditButton->isEnabled());
  EXPECT_FALSE(D->DeleteButton->isEnabled());
  Select("other.wdu");
  EXPECT_TRUE(D->EditButton->isEnabled());
  EXPECT_TRUE(D->DeleteButton->isEnabled());
}

// A window manager draws the title in its own, larger bold font beside the frame's buttons and
// cuts what does not fit ("New Cus... ictionary" at the design width).
TEST_F(CustomDictionariesDialog, TheNewDictionaryDialogShowsItsTitleAndTextsWhole)
{
  TNewCustomDictionary d;
  Spell->BindDialogController(&d, nullptr);
  ASSERT_EQ(d.windowTitle(), "New Custom Dictionary");
  EXPECT_GE(d.width(), TitleFrameWidth(d.windowTitle()));
  EXPECT_GE(d.width(), 231) << "never below the design width";
  EXPECT_EQ(d.minimumSize(), d.maximumSize()) << "still a fixed dialog";
  const QFontMetrics label(d.EditLabel->font());
  EXPECT_GE(d.EditLabel->width(), label.horizontalAdvance(d.EditLabel->text()));
  EXPECT_EQ(d.NameEdit->width(), d.width() - 16);
  for (QWidget *w : {static_cast<QWidget *>(d.EditLabel), static_cast<QWidget *>(d.NameEdit),
                     static_cast<QWidget *>(d.OKButton), static_cast<QWidget *>(d.CancelButton)}) {
    SCOPED_TRACE(w->objectName().toStdString());
    EXPECT_TRUE(d.rect().contains(w->geometry()));
  }
  EXPECT_EQ(d.CancelButton->geometry().right(), d.width() - 9) << "buttons stay at the right";
  EXPECT_LT(d.OKButton->geometry().right(), d.CancelButton->x());
}

TEST_F(CustomDictionariesDialog, NamesTypedForANewDictionaryCreateFilesOnlyInTheFolder)
{
  Open();
  struct Case {
    const char *name;
    QString text;
    QString created; // empty: nothing is created
  };
  const Case cases[] = {
      {"a plain name", "extra", "extra.wdu"},
      {"another extension", "words.txt", "words.wdu"},
      {"a parent folder", "../escape", "escape.wdu"},
      {"an absolute path", "/etc/passwd", "passwd.wdu"},
      {"backslashes", "a\\b\\deep", "deep.wdu"},
      {"a line break", "bad\nname", ""},
      {"a control character", QString("bad") + QChar(7), ""},
      {"300 characters", QString(300, QChar('x')), ""},
      {"empty", "", ""},
      {"already listed", "other", ""},
  };
  const QStringList outside = FilesIn(Temp.path());
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    const QStringList before = FilesIn(Dir);
    AnswerNewName(c.text);
    D->NewButtonClick();
    QStringList expected = before;
    if (!c.created.isEmpty()) {
      expected << c.created;
      expected.sort();
      EXPECT_EQ(D->CustomDictionaries->currentItem()->text(0), c.created);
      EXPECT_GE(Config()->CustomDictionaries().IndexOf(c.created), 0);
    }
    EXPECT_EQ(FilesIn(Dir), expected);
  }
  EXPECT_EQ(FilesIn(Temp.path()), outside);
  EXPECT_FALSE(QFileInfo::exists("/etc/passwd.wdu"));
  // A listed name only selects its row.
  EXPECT_EQ(D->CustomDictionaries->currentItem()->text(0), "other.wdu");
  // Cancel creates nothing.
  const QStringList before = FilesIn(Dir);
  AnswerNewName("cancelled", false);
  D->NewButtonClick();
  EXPECT_EQ(FilesIn(Dir), before);
}

TEST_F(CustomDictionariesDialog, RenamingInPlaceKeepsTheFileInTheFolderAndTheActiveOneActive)
{
  Open();
  struct Case {
    const char *name;
    QString from, text, shown; // shown: the row's text afterwards
    bool renamed;
  };
  const Case cases[] = {
      {"a new name", "other.wdu", "renamed", "renamed.wdu", true},
      {"a path", "renamed.wdu", "../../outside.wdu", "outside.wdu", true},
      {"a line break", "outside.wdu", "two\nlines", "outside.wdu", false},
      {"an existing file", "outside.wdu", "mine.wdu", "outside.wdu", false},
      {"an empty name", "outside.wdu", "", "outside.wdu", false},
      {"the active dictionary", "mine.wdu", "active", "active.wdu", true},
  };
  const QStringList outside = FilesIn(Temp.path());
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    QTreeWidgetItem *row = Row(c.from);
    ASSERT_NE(row, nullptr);
    EXPECT_TRUE(D->CustomDictionariesEditing(row));
    EXPECT_FALSE(D->OK->isDefault()) << "Enter ends the edit, not the dialog";
    EXPECT_EQ(D->CustomDictionariesEdited(row, c.text), c.renamed);
    D->CustomDictionariesEditEnded();
    EXPECT_TRUE(D->OK->isDefault());
    EXPECT_EQ(row->text(0), c.shown);
    EXPECT_TRUE(QFileInfo::exists(Dir + "/" + c.shown));
    if (c.renamed) {
      EXPECT_FALSE(QFileInfo::exists(Dir + "/" + c.from));
    }
  }
  EXPECT_EQ(FilesIn(Temp.path()), outside);
  EXPECT_EQ(Config()->ActiveCustomDictionary(), "active.wdu");
  EXPECT_GE(Config()->CustomDictionaries().IndexOf("outside.wdu"), 0);
  EXPECT_LT(Config()->CustomDictionaries().IndexOf("other.wdu"), 0);
  // The renamed row still switches its file.
  QTreeWidgetItem *row = Row("outside.wdu");
  row->setCheckState(0, Qt::Unchecked);
  EXPECT_LT(Config()->CustomDictionaries().IndexOf("outside.wdu"), 0);
}

TEST_F(CustomDictionariesDialog, TheInPlaceEditorRenamesThroughTheList)
{
  Open();
  QTreeWidgetItem *row = Row("other.wdu");
  D->CustomDictionaries->setCurrentItem(row);
  D->CustomDictionaries->editItem(row, 0);
  auto *edit = D->CustomDictionaries->viewport()->findChild<QLineEdit *>();
  ASSERT_NE(edit, nullptr);
  EXPECT_FALSE(D->OK->isDefault());
  edit->setText("typed");
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(edit, &enter);
  QApplication::processEvents();
  EXPECT_EQ(row->text(0), "typed.wdu");
  EXPECT_TRUE(QFileInfo::exists(Dir + "/typed.wdu"));
  EXPECT_TRUE(D->OK->isDefault());
}

TEST_F(CustomDictionariesDialog, DeletingAsksFirstAndSendsTheFileToTheTrash)
{
  Open();
  Select("other.wdu");
  BoxAnswer = IDNO;
  D->DeleteButtonClick();
  EXPECT_EQ(Boxes, QStringList{"Confirmation:|Delete this custom dictionary?"});
  EXPECT_EQ(BoxFlags, unsigned(MB_YESNO | MB_ICONWARNING));
  EXPECT_TRUE(QFileInfo::exists(Dir + "/other.wdu"));
  EXPECT_NE(D->FindRow("other.wdu"), nullptr);

  BoxAnswer = IDYES;
  D->DeleteButtonClick();
  EXPECT_FALSE(QFileInfo::exists(Dir + "/other.wdu"));
  EXPECT_TRUE(QFileInfo::exists(Temp.path() + "/data/Trash/files/other.wdu"));
  EXPECT_EQ(D->FindRow("other.wdu"), nullptr);
  EXPECT_LT(Config()->CustomDictionaries().IndexOf("other.wdu"), 0);

  // The active dictionary deleted: only the auto-correction list is left, which may never
  // take the user's words, so none is active and none names the file.
  Select("mine.wdu");
  D->DeleteButtonClick();
  EXPECT_FALSE(QFileInfo::exists(Dir + "/mine.wdu"));
  EXPECT_EQ(Config()->ActiveCustomDictionary(), QString());
  EXPECT_EQ(Config()->CustomDictionaries().ToQStringList(), QStringList{"Autocorrect.wdu"});
  // Reloading the configuration's dictionaries does not bring the deleted file back.
  Spell->WordExists("word");
  EXPECT_FALSE(QFileInfo::exists(Dir + "/mine.wdu"));
}

TEST_F(CustomDictionariesDialog, ChecksSwitchDictionariesAndUncheckingTheActiveOneMovesIt)
{
  Open();
  QTreeWidgetItem *other = Row("other.wdu");
  ASSERT_EQ(other->checkState(0), Qt::Checked);
  other->setCheckState(0, Qt::Unchecked);
  EXPECT_LT(Config()->CustomDictionaries().IndexOf("other.wdu"), 0);
  other->setCheckState(0, Qt::Checked);
  EXPECT_GE(Config()->CustomDictionaries().IndexOf("other.wdu"), 0);
  // The first one left that may take the user's words, not the auto-correction list.
  ASSERT_EQ(Config()->CustomDictionaries().Strings(0), "Autocorrect.wdu");
  Row("mine.wdu")->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(Config()->ActiveCustomDictionary(), "other.wdu");
}

TEST_F(CustomDictionariesDialog, TheIgnoreAllRowCanBeEditedButNotSwitchedOffOrDeleted)
{
  Spell->InternalCustom()->AddIgnore("skipped");
  Open();
  QTreeWidgetItem *row = D->CustomDictionaries->topLevelItem(0);
  ASSERT_EQ(row->text(0), "(Ignore All / Change All)");
  row->setCheckState(0, Qt::Unchecked);
  EXPECT_EQ(row->checkState(0), Qt::Checked);
  Select("(Ignore All / Change All)");
  EXPECT_TRUE(D->EditButton->isEnabled());
  EXPECT_FALSE(D->DeleteButton->isEnabled());
  EXPECT_FALSE(D->CustomDictionariesEditing(row));
  QString title;
  bool hasExclusions = true;
  AtNextModal<TCustomDictionaryEditDialog>([&](TCustomDictionaryEditDialog *e) {
    title = e->windowTitle();
    hasExclusions = e->Pages->PageVisible(wpExcluded);
    e->accept();
  });
  D->EditButtonClick();
  EXPECT_EQ(title, "Words added with Ignore All / Change All");
  EXPECT_FALSE(hasExclusions);
  // Not offered when the component hides the internal editor.
  TSpellDialogCommands visible = Spell->CommandsVisible();
  visible.Exclude(sdcInternalEdit);
  Spell->SetCommandsVisible(visible);
  Open();
  EXPECT_EQ(D->FindRow("(Ignore All / Change All)"), nullptr);
}

TEST_F(CustomDictionariesDialog, EditingACustomDictionarySavesItsWordsWhenTheEditorCloses)
{
  Open();
  Select("other.wdu");
  AtNextModal<TCustomDictionaryEditDialog>([](TCustomDictionaryEditDialog *e) {
    e->Pages->IgnoreEdit->setText("added");
    e->Pages->AddIgnoreButtonClick();
    e->reject(); // Escape
  });
  ASSERT_FALSE(Spell->WordExists("added"));
  D->EditButtonClick();
  EXPECT_EQ(IgnoreWords("other.wdu"), (QStringList{"added", "otherword"}));
  // The component checks with the edited lists at once.
  EXPECT_TRUE(Spell->WordExists("added"));
}

} // namespace
