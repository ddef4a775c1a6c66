// The main window as the user meets it: start-up with and without an argument, the command
// band (order, tool tips, shortcuts), the keep-option list, the ruler, Clear, the two program
// launches, the pop-up menu and a few text commands through their buttons, each undone.

#include "print_qstring.h"

#include "CheckedComboBox.h"
#include "ReplaceDialog.h"
#include "RichTextEd.h"
#include "RichTextEdControls.h"
#include "ToolIcons.h"
#include "rtErrorBox.h"
#include "rtRegistry.h"
#include "rtShell.h"
#include "wrRichEdit.h"
#include "wrThesaurus.h"
#include "wrThesaurusDialog.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFontDialog>
#include <QFontInfo>
#include <QFrame>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QTreeWidget>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

namespace {

struct TBox {
  QString Text, Caption;
  unsigned Flags;
};

struct TLaunch {
  QString Verb, File, Parameters, Directory;
  int Show;
};

// A shown main window whose boxes answer `Answer` and whose launches are only recorded.
class MainWindow : public ::testing::Test {
protected:
  void SetUp() override
  {
    FOldBox = SetMessageBoxHandler(
        [this](QWidget *, const QString &text, const QString &caption, unsigned flags) {
          Boxes.push_back({text, caption, flags});
          return Answer;
        });
    FOldShell = SetShellExecuteHandler([this](QObject *, const QString &verb, const QString &file,
                                              const QString &parameters, const QString &directory,
                                              int show) {
      Launches.push_back({verb, file, parameters, directory, show});
      return true;
    });
    Registry = std::make_shared<TMemoryRegistryStore>();
    FOldRegistry = SetDefaultRegistryStore(Registry);
    QGuiApplication::clipboard()->clear();
  }

  void TearDown() override
  {
    Window.reset();
    SetMessageBoxHandler(FOldBox);
    SetShellExecuteHandler(FOldShell);
    SetDefaultRegistryStore(FOldRegistry);
  }

  TRichTextEd &Start(const QStringList &arguments = {})
  {
    Window = std::make_unique<TRichTextEd>();
    Window->CommandLine = arguments;
    // Live spelling loads the configuration at the first painted word: the user's files
    // (Spell.cfg, the new custom dictionary) go to a folder of the test's own, the shipped ones
    // are read from the build tree.
    EXPECT_TRUE(UserFolder.isValid());
    TStringList folders;
    folders.Add(UserFolder.path());
    folders.Add(QStringLiteral("%AppDir%\\Dictionaries"));
    Window->WrightAutoLiveSpell1->SetConfigDictionaryDir(folders);
    Window->WrightAutoLiveSpell1->SetConfigFilename(UserFolder.path() + "/Spell.cfg");
    Window->show();
    QApplication::processEvents();
    return *Window;
  }

  // Replaces the editor's text as typing would: one undoable edit.
  void Type(const QString &text)
  {
    Window->Editor->selectAll();
    Window->Editor->insertPlainText(text);
  }

  QString Text() const { return Window->Editor->GetText(); }

  QTemporaryDir UserFolder;

  std::unique_ptr<TRichTextEd> Window;
  std::vector<TBox> Boxes;
  std::vector<TLaunch> Launches;
  std::shared_ptr<TMemoryRegistryStore> Registry;
  int Answer = IDCANCEL;

private:
  TMessageBoxHandler FOldBox;
  TShellExecuteHandler FOldShell;
  std::shared_ptr<TRegistryStore> FOldRegistry;
};

// --- Start-up -----------------------------------------------------------------------------------

TEST_F(MainWindow, StartsWithOneEmptyLineInPlainTextMode)
{
  TRichTextEd &w = Start();
  EXPECT_EQ(Text(), "\r\n");
  EXPECT_EQ(w.Editor->LinesCount(), 1);
  EXPECT_EQ(w.Editor->GetLineText(0), "");
  EXPECT_EQ(w.Editor->GetSelStart(), 0);
  EXPECT_EQ(w.Editor->GetSelLength(), 0);
  EXPECT_FALSE(w.UndoButton->isEnabled());

  EXPECT_EQ(w.windowTitle(), "Linewright (Plain text)");
  EXPECT_TRUE(w.PlaintextOn);
  EXPECT_TRUE(w.Editor->PlainText());
  EXPECT_TRUE(w.CoolBar2->isHidden());
  EXPECT_TRUE(w.Ruler->isHidden());
  EXPECT_FALSE(w.ToolButton18->isChecked());
  EXPECT_EQ(w.size(), QSize(821, 400));
  EXPECT_EQ(w.FontSize->text(), "8");
  EXPECT_EQ(w.UpDown1->Position(), 8);
  EXPECT_EQ(w.FontName->currentText(), "Arial");
  EXPECT_TRUE(Boxes.empty());
  EXPECT_TRUE(Launches.empty());
}

struct ArgumentCase {
  QStringList Arguments;
  QString Expected;
};

void PrintTo(const ArgumentCase &c, std::ostream *os)
{
  *os << c.Arguments.join(QStringLiteral(" | ")).toStdString();
}

class StartArgument : public MainWindow, public ::testing::WithParamInterface<ArgumentCase> {};

TEST_P(StartArgument, FirstArgumentBecomesLineZeroAsText)
{
  Start(GetParam().Arguments);
  EXPECT_EQ(Text(), GetParam().Expected);
  EXPECT_EQ(Window->Editor->GetSelStart(), 0);
  EXPECT_EQ(Window->Editor->GetSelLength(), 0);
  EXPECT_FALSE(Window->UndoButton->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(StartUp, StartArgument,
                         ::testing::Values(ArgumentCase{{"hello world"}, "hello world\r\n"},
                                           ArgumentCase{{"first", "second"}, "first\r\n"},
                                           ArgumentCase{{""}, "\r\n"},
                                           ArgumentCase{{"", "second"}, "\r\n"},
                                           // A name of an existing file is still just text.
                                           ArgumentCase{{"/etc/hostname"}, "/etc/hostname\r\n"}));

TEST_F(MainWindow, ShowingAgainPutsTheArgumentBackIntoLineZeroOnly)
{
  Start({"arg"});
  Type("one\ntwo\n");
  Window->hide();
  Window->show();
  QApplication::processEvents();
  EXPECT_EQ(Text(), "arg\r\ntwo\r\n");
}

// --- Command band -------------------------------------------------------------------------------

struct ToolBarEntry {
  const char *Name; // "" for a separator
  const char *ToolTip;
};

// The bar's items in order: each button by its name and tool tip, or a separator.
void ExpectToolBar(QToolBar *bar, const std::vector<ToolBarEntry> &expected)
{
  const QList<QAction *> actions = bar->actions();
  ASSERT_EQ(actions.size(), qsizetype(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(i);
    if (*expected[i].Name == 0) {
      EXPECT_TRUE(actions[i]->isSeparator());
      continue;
    }
    QWidget *button = bar->widgetForAction(actions[i]);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->objectName(), expected[i].Name);
    EXPECT_EQ(button->toolTip(), expected[i].ToolTip);
  }
}

TEST_F(MainWindow, CommandButtonsInOrderWithTheirToolTips)
{
  const std::vector<ToolBarEntry> expected = {
      {"ToolButton4", "Close & Update form"},
      {"UndoButton", "Undo"},
      {"CutButton", "Cut"},
      {"CopyButton", "Copy"},
      {"PasteButton", "Paste"},
      {"ToolButton6", "Clear all text"},
      {"", ""}, // separator
      {"ToolButton3", "Setup spell checker"},
      {"ToolButton8", "Launch Notepad"},
      {"ToolButton10", "Launch Excel"},
      {"DashIndent", "Dash Indent lines 2+"},
      {"ToolButton1", "Dash Un-Indent"},
      {"ToolButton2", "Indent lines 2+"},
      {"ToolButton7", "Un-Indent"},
      {"ToolButton9", "Convert Bars to CrLf"},
      {"ToolButton11", "Convert Commas to CrLf"},
      {"ToolButton19", "Convert Dashes to CrLf"},
      {"ToolButton22", "Convert Semi-colons to CrLf"},
      {"ToolButton23", "Convert  CrLf to Semi-colons"},
      {"ToolButton24", "Add CrLf to Plus Signs"},
      {"ToolButton12", "Remove blank lines"},
      {"ToolButton14", "Trim leading and trailing spaces"},
      {"ToolButton13", "Hide/Show Ruler"},
      {"ToolButton15", "Replace text"},
      {"ToolButton20", "Convert selected text words to Proper Text\n"
                       " (only words of 3 or more characters are affected)"},
      {"ToolButton16", "Convert to Plaintext"},
      {"ToolButton18", "Toggle Plaintext/Richtext"},
      {"SpecialPasteBtn1", "All-In-One Dash Indent Paste"},
      {"SpecialPasteBtn2", "All-In-One NO Indent Paste"},
  };
  TRichTextEd &w = Start();
  ASSERT_NO_FATAL_FAILURE(ExpectToolBar(w.ToolBar1, expected));
  // The actions' hints keep their long forms behind "|".
  EXPECT_EQ(w.EditUndoAction->property("Hint").toString(), "Undo|Undo the Last Action");
  EXPECT_EQ(w.EditPasteAction->property("Hint").toString(), "Paste|Inserts Clipboard contents");
}

TEST_F(MainWindow, OnlyCtrlZXCVAreShortcuts)
{
  TRichTextEd &w = Start();
  QStringList shortcuts;
  for (QAction *a : w.findChildren<QAction *>())
    for (const QKeySequence &k : a->shortcuts())
      shortcuts << k.toString(QKeySequence::PortableText);
  shortcuts.sort();
  EXPECT_EQ(shortcuts, QStringList({"Ctrl+C", "Ctrl+V", "Ctrl+X", "Ctrl+Z"}));
}

TEST_F(MainWindow, ClipboardButtonsFollowSelectionAndClipboard)
{
  TRichTextEd &w = Start();
  EXPECT_FALSE(w.CutButton->isEnabled());
  EXPECT_FALSE(w.PasteButton->isEnabled());
  Type("abc");
  w.Editor->SetSel(0, 2);
  QApplication::processEvents();
  EXPECT_TRUE(w.CutButton->isEnabled());
  EXPECT_TRUE(w.CopyButton->isEnabled());
  w.CopyButton->click();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "ab");
  EXPECT_TRUE(w.PasteButton->isEnabled());
  w.CutButton->click();
  EXPECT_EQ(Text(), "c");
  EXPECT_FALSE(w.CutButton->isEnabled());
  w.PasteButton->click();
  EXPECT_EQ(Text(), "abc");
}

// --- Keep-option list ----------------------------------------------------------------------------

TEST_F(MainWindow, TextToStripStartsWithTheLastThreeItemsAndReadOnlyText)
{
  TRichTextEd &w = Start();
  const QStringList items = {"Trademark",   "Copyright",  "Registered", "Tabs",
                             "Apostrophes", "Quotemarks", "Commas"};
  ASSERT_EQ(w.TextToStrip->ItemCount(), items.size());
  for (int i = 0; i < items.size(); ++i) {
    EXPECT_EQ(w.TextToStrip->ItemText(i), items[i]);
    EXPECT_EQ(w.TextToStrip->Checked(i), i >= 4) << i;
  }
  EXPECT_EQ(w.TextToStrip->Text(), "Apostrophes,Quotemarks,Commas");
  EXPECT_EQ(w.TextToStrip->lineEdit()->text(), "Apostrophes,Quotemarks,Commas");
  EXPECT_TRUE(w.TextToStrip->lineEdit()->isReadOnly());
  EXPECT_EQ(w.TextToStrip->toolTip(), "Text to keep in Plaintext conversion");
  EXPECT_EQ(w.TextToStrip->width(), 133);
}

TEST_F(MainWindow, TextToStripMenuAndChecksKeepTheirTextOrder)
{
  TRichTextEd &w = Start();
  QMenu *menu = w.TextToStrip->PopupMenu();
  const QList<QAction *> items = menu->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), "&Select all");
  EXPECT_EQ(items[1]->text(), "&Deselect all");
  EXPECT_EQ(items[2]->text(), "&Invert all");

  w.TextToStrip->SetChecked(0, true); // appended at the end
  EXPECT_EQ(w.TextToStrip->Text(), "Apostrophes,Quotemarks,Commas,Trademark");
  w.TextToStrip->SetChecked(5, false);
  EXPECT_EQ(w.TextToStrip->Text(), "Apostrophes,Commas,Trademark");
  items[2]->trigger(); // invert rebuilds in item order
  EXPECT_EQ(w.TextToStrip->Text(), "Copyright,Registered,Tabs,Quotemarks");
  items[0]->trigger();
  EXPECT_EQ(w.TextToStrip->Text(),
            "Trademark,Copyright,Registered,Tabs,Apostrophes,Quotemarks,Commas");
  items[1]->trigger();
  EXPECT_EQ(w.TextToStrip->Text(), "");
}

TEST_F(MainWindow, TextToStripListTogglesOnClickAndStaysOpenUntilEsc)
{
  TRichTextEd &w = Start();
  TCheckedComboBox *box = w.TextToStrip;
  box->showPopup();
  QApplication::processEvents();
  QAbstractItemView *view = box->view();
  ASSERT_TRUE(view->isVisible());
  const QPoint at = view->visualRect(view->model()->index(1, 0)).center();
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent e(type, QPointF(at), view->viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &e);
  }
  EXPECT_TRUE(box->Checked(1));
  EXPECT_EQ(box->Text(), "Apostrophes,Quotemarks,Commas,Copyright");
  EXPECT_TRUE(view->isVisible());
  QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(view, &esc);
  QApplication::processEvents();
  EXPECT_FALSE(view->isVisible());
  EXPECT_EQ(box->Text(), "Apostrophes,Quotemarks,Commas,Copyright");
}

TEST_F(MainWindow, ConvertToPlaintextReadsTheKeepOptions)
{
  TRichTextEd &w = Start();
  Type(QString::fromUtf8("it's \"a\u201D, \u2122\t"));
  w.ToolButton16->click();
  EXPECT_EQ(Text(), "it's \"a\", ");
  w.TextToStrip->PopupMenu()->actions()[1]->trigger(); // deselect all
  Type(QString::fromUtf8("it's \"a\u201D, \u2122\t"));
  w.ToolButton16->click();
  EXPECT_EQ(Text(), "its a ");
}

// --- Ruler ------------------------------------------------------------------------------------------

TEST_F(MainWindow, RulerCaptionIsAHundredTabBarPairsAndTheButtonTogglesIt)
{
  TRichTextEd &w = Start();
  const QString caption = w.Ruler->Caption();
  ASSERT_EQ(caption.size(), 200);
  for (int i = 0; i < caption.size(); ++i)
    ASSERT_EQ(caption[i], i % 2 == 0 ? QChar(u'\t') : QChar(u'|')) << i;
  EXPECT_EQ(w.Ruler->height(), 26);
  w.ToolButton13->click();
  EXPECT_FALSE(w.Ruler->isHidden());
  w.ToolButton13->click();
  EXPECT_TRUE(w.Ruler->isHidden());
}

// --- Clear ------------------------------------------------------------------------------------------

struct ClearCase {
  int Answer;
  bool Emptied;
};

void PrintTo(const ClearCase &c, std::ostream *os) { *os << "answer " << c.Answer; }

class ClearAnswer : public MainWindow, public ::testing::WithParamInterface<ClearCase> {};

TEST_P(ClearAnswer, OnlyYesEmptiesTheEditor)
{
  TRichTextEd &w = Start();
  Type("keep me");
  ASSERT_TRUE(w.UndoButton->isEnabled());
  Answer = GetParam().Answer;
  w.ToolButton6->click();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Caption, "Confirm");
  EXPECT_EQ(Boxes[0].Text, "Clear all text\r\n\r\n.......... Is this OK?");
  EXPECT_EQ(Boxes[0].Flags, unsigned(MB_YESNOCANCEL | MB_ICONQUESTION));
  if (GetParam().Emptied) {
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(w.Editor->LinesCount(), 0);
    EXPECT_FALSE(w.Editor->Modified());
    EXPECT_FALSE(w.UndoButton->isEnabled());
  } else {
    EXPECT_EQ(Text(), "keep me");
    EXPECT_TRUE(w.UndoButton->isEnabled());
  }
}

INSTANTIATE_TEST_SUITE_P(ClearBox, ClearAnswer,
                         ::testing::Values(ClearCase{IDCANCEL, false}, ClearCase{IDNO, false},
                                           ClearCase{IDYES, true}));

TEST_F(MainWindow, ClearAsksNothingWhileTheEditorIsReadOnly)
{
  TRichTextEd &w = Start();
  Type("text");
  w.Editor->SetReadOnly(true);
  Answer = IDYES;
  w.ToolButton6->click();
  EXPECT_TRUE(Boxes.empty());
  EXPECT_EQ(Text(), "text");
}

// --- Program launches ----------------------------------------------------------------------------

TEST_F(MainWindow, NotepadOpensTheTextEditor)
{
  Start().ToolButton8->click();
  ASSERT_EQ(Launches.size(), 1u);
  EXPECT_EQ(Launches[0].Verb, "open");
  EXPECT_EQ(Launches[0].File, "Notepad.exe");
  EXPECT_EQ(Launches[0].Parameters, "");
  EXPECT_EQ(Launches[0].Directory, "");
  EXPECT_EQ(Launches[0].Show, SW_SHOWNORMAL);
}

struct ExcelCase {
  const char *Name;
  bool ExtensionKey;
  QString TypeName;       // default value of "\.xls"
  QString CommandKeyType; // type whose "\shell\open\command" is registered (empty: none)
  QString Command;
  QString Launched; // empty: nothing launched
};

void PrintTo(const ExcelCase &c, std::ostream *os) { *os << c.Name; }

class LaunchExcel : public MainWindow, public ::testing::WithParamInterface<ExcelCase> {};

TEST_P(LaunchExcel, OpensTheTextBeforeTheFirstSlashWithoutQuotes)
{
  const ExcelCase &c = GetParam();
  if (c.ExtensionKey)
    Registry->SetValue(TRootKey::HKEY_CLASSES_ROOT, ".xls", "", c.TypeName);
  if (!c.CommandKeyType.isEmpty())
    Registry->SetValue(TRootKey::HKEY_CLASSES_ROOT, c.CommandKeyType + "\\shell\\open\\command", "",
                       c.Command);
  Start().ToolButton10->click();
  if (c.Launched.isEmpty()) {
    EXPECT_TRUE(Launches.empty());
  } else {
    ASSERT_EQ(Launches.size(), 1u);
    EXPECT_EQ(Launches[0].Verb, "open");
    EXPECT_EQ(Launches[0].File, c.Launched);
    EXPECT_EQ(Launches[0].Parameters, "");
    EXPECT_EQ(Launches[0].Show, SW_SHOWNORMAL);
  }
  EXPECT_TRUE(Boxes.empty()); // never reported
}

INSTANTIATE_TEST_SUITE_P(
    XlsCommand, LaunchExcel,
    ::testing::Values(ExcelCase{"QuotedPathAndSwitch", true, "Excel.Sheet.8", "Excel.Sheet.8",
                                "\"C:\\Office\\EXCEL.EXE\" /e", "C:\\Office\\EXCEL.EXE "},
                      ExcelCase{"BarePathWithoutSlash", true, "Excel.Sheet.8", "Excel.Sheet.8",
                                "C:\\Office\\EXCEL.EXE", ""},
                      ExcelCase{"QuotesInsideRemoved", true, "calc", "calc", "\"/usr/bin/\"x /dde",
                                ""},
                      ExcelCase{"DesktopEntryCommand", true, "application/vnd.ms-excel",
                                "application/vnd.ms-excel", "\"libreoffice-calc.desktop\" /open %1",
                                "libreoffice-calc.desktop "},
                      ExcelCase{"EmptyTypeNameUsesTheExtension", true, "", ".xls",
                                "\"gnumeric\" /dde", "gnumeric "},
                      ExcelCase{"NoExtensionKey", false, "", "Excel.Sheet.8", "\"excel\" /e", ""},
                      ExcelCase{"NoCommandKey", true, "Excel.Sheet.8", "", "", ""},
                      ExcelCase{"EmptyCommand", true, "Excel.Sheet.8", "Excel.Sheet.8", "", ""},
                      ExcelCase{"SlashFirst", true, "Excel.Sheet.8", "Excel.Sheet.8", "/dde", ""}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(SpreadsheetProgramOf, KeepsTheTextBeforeTheFirstSlash)
{
  EXPECT_EQ(TRichTextEd::SpreadsheetProgramOf("\"a b\" /x /y"), "a b ");
  EXPECT_EQ(TRichTextEd::SpreadsheetProgramOf("a\"b\"c/"), "abc");
  EXPECT_EQ(TRichTextEd::SpreadsheetProgramOf("plain"), "");
}

// --- Pop-up menu, close ----------------------------------------------------------------------------

TEST_F(MainWindow, PopupMenuHasThreeItemsAndExitDoesNothing)
{
  TRichTextEd &w = Start();
  const QList<QAction *> items = w.EditorPopupMenu1->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_EQ(items[0]->text(), "Lookup word Thesausus");
  EXPECT_EQ(items[0]->toolTip(), "Thesaurus");
  EXPECT_EQ(items[1]->text(), "Spellcheck the document");
  EXPECT_EQ(items[2]->text(), "Exit");
  EXPECT_EQ(items[2], w.Exit1);

  Type("some text");
  w.Editor->SetSel(2, 4);
  w.Exit1->trigger();
  QApplication::processEvents();
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(Text(), "some text");
  EXPECT_EQ(w.Editor->GetSelStart(), 2);
  EXPECT_EQ(w.Editor->GetSelLength(), 2);
  EXPECT_TRUE(Boxes.empty());
  EXPECT_TRUE(Launches.empty());
}

// The pop-up's thesaurus item looks up the word at the caret in the shipped thesaurus and
// replaces it with the word the user picks.
TEST_F(MainWindow, LookupWordReplacesTheWordAtTheCaretFromTheShippedThesaurus)
{
  TRichTextEd &w = Start();
  if (!QFile::exists(QCoreApplication::applicationDirPath() + "/Dictionaries/Wordnest.wdt"))
    GTEST_SKIP() << "the shipped thesaurus is not built";
  EXPECT_EQ(w.Thesaurus31->Filename(), "%AppDir%\\Dictionaries\\Wordnest.wdt");
  EXPECT_EQ(w.Thesaurus31->DoubleClickAction, dcaLookup);
  Type("I am happy today.");
  w.Editor->SetSel(7, 7);

  QString looked, chosen;
  QTimer::singleShot(0, [&] {
    auto *d = qobject_cast<TThesDialog *>(w.Thesaurus31->DialogForm());
    if (!d)
      return;
    looked = w.Editor->GetSelText();
    // The first word of the first context that is not the looked-up word itself.
    for (int i = 0; i < d->WordList->topLevelItemCount() && chosen.isEmpty(); ++i) {
      const QString word = d->WordList->topLevelItem(i)->text(0);
      if (word.compare("happy", Qt::CaseInsensitive) != 0) {
        d->WordList->setCurrentItem(d->WordList->topLevelItem(i));
        chosen = d->ReplaceEdit->text();
      }
    }
    if (d->ReplaceButton->isEnabled())
      d->ReplaceButton->click();
    else
      d->done(QDialog::Rejected);
  });
  w.Lookupword1->trigger();
  QApplication::processEvents();

  EXPECT_EQ(looked, "happy");
  ASSERT_FALSE(chosen.isEmpty());
  EXPECT_EQ(Text(), "I am " + chosen + " today.");
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(MainWindow, RightClickInTheEditorOpensThePopupMenu)
{
  TRichTextEd &w = Start();
  QWidget *viewport = w.Editor->viewport();
  QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(10, 10),
                      viewport->mapToGlobal(QPoint(10, 10)));
  QApplication::sendEvent(viewport, &e);
  EXPECT_TRUE(w.EditorPopupMenu1->isVisible());
  w.EditorPopupMenu1->hide();
}

TEST_F(MainWindow, CloseButtonClosesWithoutAsking)
{
  TRichTextEd &w = Start();
  Type("unsaved");
  w.ToolButton4->click();
  QApplication::processEvents();
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(Boxes.empty());
}

// --- Plain/rich toggle and formatting -----------------------------------------------------------

TEST_F(MainWindow, ToggleSwitchesCaptionAndFormattingBand)
{
  TRichTextEd &w = Start();
  w.ToolButton18->click();
  EXPECT_TRUE(w.ToolButton18->isChecked());
  EXPECT_FALSE(w.PlaintextOn);
  EXPECT_FALSE(w.CoolBar2->isHidden());
  EXPECT_EQ(w.windowTitle(), "Linewright (Rich text)");
  EXPECT_FALSE(w.Editor->PlainText());
  w.ToolButton18->click();
  EXPECT_TRUE(w.PlaintextOn);
  EXPECT_TRUE(w.CoolBar2->isHidden());
  EXPECT_EQ(w.windowTitle(), "Linewright (Plain text)");
}

TEST_F(MainWindow, BadFontSizeIsShownInTheErrorBoxAndChangesNothing)
{
  TRichTextEd &w = Start();
  Type("word");
  w.Editor->SetSel(0, 4);
  const int before = w.Editor->GetSelAttributes().Size;
  w.FontSize->setText("abc");
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(Boxes[0].Text, "'abc' is not a valid integer value.");
  EXPECT_EQ(Boxes[0].Flags & MB_ICONMASK, unsigned(MB_ICONERROR));
  EXPECT_EQ(w.Editor->GetSelAttributes().Size, before);
  w.FontSize->setText("14");
  EXPECT_EQ(w.Editor->GetSelAttributes().Size, 14);
}

TEST_F(MainWindow, BoldWithoutSelectionChangesNothing)
{
  TRichTextEd &w = Start();
  Type("word");
  w.Editor->SetSel(1, 1);
  w.BoldButton->click();
  EXPECT_TRUE(w.BoldButton->isChecked());
  w.Editor->SetSel(0, 4);
  EXPECT_FALSE(w.Editor->GetSelAttributes().Style & FontStyleBit(TFontStyle::fsBold));
  w.BoldButton->click(); // now up: removes bold from the selection (none there)
  w.BoldButton->click(); // down: bold
  EXPECT_TRUE(w.Editor->GetSelAttributes().Style & FontStyleBit(TFontStyle::fsBold));
}

// --- Text commands through their buttons, each one undo step ------------------------------------

struct CommandCase {
  const char *Name;
  QToolButton *TRichTextEd::*Button;
  QString Input;
  int SelStart, SelLength;
  QString Expected;
};

void PrintTo(const CommandCase &c, std::ostream *os) { *os << c.Name; }

class ButtonCommand : public MainWindow, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(ButtonCommand, RunsAndUndoesInOneStep)
{
  const CommandCase &c = GetParam();
  TRichTextEd &w = Start();
  Type(c.Input);
  w.Editor->SetSel(c.SelStart, c.SelStart + c.SelLength);
  (w.*c.Button)->click();
  EXPECT_EQ(Text(), c.Expected);
  ASSERT_TRUE(w.UndoButton->isEnabled());
  w.UndoButton->click();
  EXPECT_EQ(Text(), c.Input);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, ButtonCommand,
    ::testing::Values(
        CommandCase{"Bars", &TRichTextEd::ToolButton9, "a|b|c", 0, 0, "a\r\nb\r\nc"},
        CommandCase{"ToSemicolons", &TRichTextEd::ToolButton23, "a\r\nb\r\n", 0, 0, "a;b;"},
        CommandCase{"Plus", &TRichTextEd::ToolButton24, "x+y", 0, 0, "x+\r\ny"},
        CommandCase{"Trim", &TRichTextEd::ToolButton14, "  a \r\n b", 0, 0, "a\r\nb\r\n\r\n"},
        CommandCase{"DashIndent", &TRichTextEd::DashIndent, "head\r\nitem\r\n(note)", 0, 0,
                    "head\r\n - item\r\n   (note)"},
        CommandCase{"UnIndent", &TRichTextEd::ToolButton7, "a\r\n      x", 0, 0, "a\r\n   x"},
        CommandCase{"ProperCase", &TRichTextEd::ToolButton20, "the QUICK fox is ok", 0, 19,
                    "The Quick Fox is Ok"}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(MainWindow, AllInOneDashIndentPasteThroughItsButton)
{
  TRichTextEd &w = Start();
  QGuiApplication::clipboard()->setText("one\r\ntwo\r\n(three)");
  w.SpecialPasteBtn1->click();
  EXPECT_EQ(Text(), "one\r\n - two\r\n   (three)\r\n\r\n");
  w.UndoButton->click();
  EXPECT_EQ(Text(), "\r\n");
}

TEST_F(MainWindow, UndoButtonFollowsTheEditor)
{
  TRichTextEd &w = Start();
  EXPECT_FALSE(w.UndoButton->isEnabled());
  w.Editor->insertPlainText("x");
  EXPECT_TRUE(w.UndoButton->isEnabled());
  w.UndoButton->click();
  EXPECT_EQ(Text(), "\r\n");
  EXPECT_FALSE(w.UndoButton->isEnabled());
}

// --- Find and replace ------------------------------------------------------------------------------

TEST_F(MainWindow, ReplaceButtonOpensTheModelessDialog)
{
  TRichTextEd &w = Start();
  w.ToolButton15->click();
  EXPECT_TRUE(w.ReplaceDialog1->isVisible());
  EXPECT_FALSE(w.ReplaceDialog1->isModal());
}

struct FindCase {
  const char *Name;
  QString Text;
  int Caret;
  QString What;
  int FoundAt; // -1: "not found" box
};

void PrintTo(const FindCase &c, std::ostream *os) { *os << c.Name; }

class FindNext : public MainWindow, public ::testing::WithParamInterface<FindCase> {};

TEST_P(FindNext, SelectsTheNextMatchAfterTheSelectionStart)
{
  const FindCase &c = GetParam();
  TRichTextEd &w = Start();
  Type(c.Text);
  w.Editor->SetSel(c.Caret, c.Caret);
  w.ReplaceDialog1->SetFindText(c.What);
  w.ReplaceDialog1->FindNextButton->click();
  if (c.FoundAt < 0) {
    ASSERT_EQ(Boxes.size(), 1u);
    EXPECT_EQ(Boxes[0].Text, "Sorry, \"" + c.What + "\" not found...");
    EXPECT_EQ(Boxes[0].Caption, ApplicationTitle());
    EXPECT_EQ(Boxes[0].Flags, unsigned(MB_OK));
    EXPECT_EQ(w.Editor->GetSelStart(), c.Caret);
    EXPECT_EQ(w.Editor->GetSelLength(), 0);
  } else {
    EXPECT_TRUE(Boxes.empty());
    EXPECT_EQ(w.Editor->GetSelStart(), c.FoundAt);
    EXPECT_EQ(w.Editor->GetSelLength(), c.What.size());
  }
}

INSTANTIATE_TEST_SUITE_P(
    FindText, FindNext,
    ::testing::Values(FindCase{"MatchAtCaretSkipped", "abc abc", 0, "abc", 4},
                      FindCase{"AfterLastMatch", "abc abc", 4, "abc", -1},
                      FindCase{"AsciiCaseIgnored", "x abc", 0, "ABC", 2},
                      FindCase{"AccentCaseNotIgnored", QString::fromUtf8("x \u00E9"), 0,
                               QString::fromUtf8("\u00C9"), -1},
                      FindCase{"SecondLineCountsTheBreakAsTwo", "ab\r\ncd ab", 0, "ab", 7}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(MainWindow, FindNextTwiceReportsNotFound)
{
  TRichTextEd &w = Start();
  Type("abc abc");
  w.Editor->SetSel(0, 0);
  w.ReplaceDialog1->SetFindText("abc");
  w.ReplaceDialog1->FindNextButton->click();
  w.ReplaceDialog1->FindNextButton->click();
  ASSERT_EQ(Boxes.size(), 1u);
  EXPECT_EQ(w.Editor->GetSelStart(), 4);
}

struct ReplaceCase {
  const char *Name;
  QString Text;
  int SelStart, SelEnd;
  bool MatchCase, All;
  QString Expected;
  int ResultSelLength; // -1: not checked
};

void PrintTo(const ReplaceCase &c, std::ostream *os) { *os << c.Name; }

class ReplaceCommand : public MainWindow, public ::testing::WithParamInterface<ReplaceCase> {};

TEST_P(ReplaceCommand, ReplacesInTheSelectionOrTheWholeText)
{
  const ReplaceCase &c = GetParam();
  TRichTextEd &w = Start();
  Type(c.Text);
  w.ToolButton15->click();
  w.Editor->SetSel(c.SelStart, c.SelEnd);
  w.ReplaceDialog1->SetFindText("cat");
  w.ReplaceDialog1->SetReplaceText("dog");
  w.ReplaceDialog1->SetMatchCase(c.MatchCase);
  (c.All ? w.ReplaceDialog1->ReplaceAllButton : w.ReplaceDialog1->ReplaceButton)->click();
  EXPECT_EQ(Text(), c.Expected);
  EXPECT_EQ(w.ReplaceDialog1->isVisible(), !c.All);
  if (c.ResultSelLength >= 0) {
    EXPECT_EQ(w.Editor->GetSelStart(), c.SelStart);
    EXPECT_EQ(w.Editor->GetSelLength(), c.ResultSelLength);
  }
  w.UndoButton->click();
  EXPECT_EQ(Text(), c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    ReplaceText, ReplaceCommand,
    ::testing::Values(
        ReplaceCase{"FirstInWholeTextAnyCase", "a CAT, a cat", 0, 0, false, false, "a dog, a cat",
                    -1},
        ReplaceCase{"AllInWholeText", "a CAT, a cat", 0, 0, false, true, "a dog, a dog", -1},
        ReplaceCase{"MatchCaseSkipsOtherCase", "a CAT, a cat", 0, 0, true, false, "a CAT, a dog",
                    -1},
        ReplaceCase{"AllOnlyInsideSelection", "cat cat\r\ncat cat", 4, 12, false, true,
                    "cat dog\r\ndog cat", 8},
        ReplaceCase{"SelectedMatchOnSecondLineSelectsReplacement", "x\r\nthe cat", 7, 10, false,
                    false, "x\r\nthe dog", 3},
        ReplaceCase{"NothingFoundKeepsText", "no match", 0, 0, false, false, "no match", -1}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(MainWindow, DroppedFilesAreAcceptedAndChangeNothing)
{
  TRichTextEd &w = Start();
  Type("text");
  EXPECT_TRUE(w.acceptDrops());
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile("/tmp/dropped.txt")});
  QWidget *target = w.Editor->viewport();
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDragMoveEvent move(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &move);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  EXPECT_EQ(Text(), "text");
}

// --- Formatting band and ruler -------------------------------------------------------------------

TEST_F(MainWindow, FormattingBandInOrderWithItsToolTips)
{
  const std::vector<ToolBarEntry> expected = {
      {"ToolButton17", "Font"},
      {"BoldButton", "Bold"},
      {"ItalicButton", "Italic"},
      {"UnderlineButton", ""},
      {"", ""},
      {"LeftAlign", "Align Left"},
      {"CenterAlign", "Centre Text"},
      {"RightAlign", "Align Right"},
      {"", ""},
      {"BulletsButton", "Bullets"},
      {"BulletsNumButton", ""},
  };
  TRichTextEd &w = Start();
  w.ToolButton18->click();
  w.BulletsNumButton->click(); // a checked action must not bring a tool tip back
  ASSERT_NO_FATAL_FAILURE(ExpectToolBar(w.ToolBar7, expected));
  EXPECT_EQ(w.FontName->toolTip(), "Default font ");
  EXPECT_EQ(w.FontSize->toolTip(), "Default font Size");
  EXPECT_EQ(w.FontName->width(), 145);
  EXPECT_EQ(w.FontSize->width(), 102);
  EXPECT_EQ(w.UpDown1->Min(), 0);
  EXPECT_EQ(w.UpDown1->Max(), 100);
  for (QWidget *box : {static_cast<QWidget *>(w.FontName), static_cast<QWidget *>(w.FontSize)})
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(249, 248, 240));
}

TEST_F(MainWindow, RulerMarkersFollowTheParagraph)
{
  TRichTextEd &w = Start();
  w.ToolButton13->click();
  QApplication::processEvents();
  Type("para");
  w.SelectionChange();
  const int width = w.Ruler->width();
  EXPECT_EQ(w.FirstInd->x(), 2);
  EXPECT_EQ(w.LeftInd->x(), 2);
  EXPECT_EQ(w.RightInd->x(), width - 8 - 6);
  EXPECT_EQ(w.RulerLine->width(), width - 4);
}

TEST_F(MainWindow, DraggingTheFirstLineMarkerKeepsTheOtherLines)
{
  TRichTextEd &w = Start();
  w.ToolButton13->click();
  QApplication::processEvents();
  Type("para");
  auto mouse = [&](QEvent::Type type, int x) {
    QMouseEvent e(type, QPointF(x, 4), w.FirstInd->mapToGlobal(QPointF(x, 4)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w.FirstInd, &e);
  };
  mouse(QEvent::MouseButtonPress, 5); // half the marker's width: no jump
  EXPECT_EQ(w.FirstInd->x(), 2);
  mouse(QEvent::MouseMove, 35);
  EXPECT_EQ(w.FirstInd->x(), 32);
  mouse(QEvent::MouseButtonRelease, 5);
  const TParaAttributes p = w.Editor->GetParagraph();
  EXPECT_EQ(p.FirstIndent, 23); // trunc(31 * 3 / 4)
  EXPECT_EQ(p.LeftIndent, -23);
  EXPECT_EQ(w.FirstInd->x(), 32);
  EXPECT_EQ(w.LeftInd->x(), 2);
}

TEST_F(MainWindow, BulletsAndAlignmentThroughTheirButtons)
{
  TRichTextEd &w = Start();
  w.ToolButton18->click(); // rich text
  Type("para");
  TParaAttributes p = w.Editor->GetParagraph();
  p.LeftIndent = 4;
  w.Editor->SetParagraph(p);
  w.BulletsButton->click();
  EXPECT_EQ(w.Editor->GetParagraph().Numbering, 1);
  EXPECT_EQ(w.Editor->GetParagraph().LeftIndent, 10);
  w.BulletsButton->click();
  EXPECT_EQ(w.Editor->GetParagraph().Numbering, 0);
  EXPECT_EQ(w.Editor->GetParagraph().LeftIndent, 0);
  w.CenterAlign->click();
  EXPECT_EQ(w.Editor->GetParagraph().Alignment, 2);
  w.RightAlign->click();
  EXPECT_EQ(w.Editor->GetParagraph().Alignment, 1);
  EXPECT_TRUE(w.RightAlign->isChecked());
  EXPECT_FALSE(w.CenterAlign->isChecked());
}

// Paragraph commands change only their own attribute, on every paragraph of the selection:
// line 0 plain, line 1 with indents 20/5/7 and right alignment, both selected.
struct ParagraphCommandCase {
  const char *Name;
  std::function<void(TRichTextEd &)> Act;
  TParaAttributes Line0, Line1;
};

void PrintTo(const ParagraphCommandCase &c, std::ostream *os) { *os << c.Name; }

class ParagraphCommand : public MainWindow,
                         public ::testing::WithParamInterface<ParagraphCommandCase> {};

TEST_P(ParagraphCommand, ChangesOnlyItsOwnAttributeOnEveryParagraph)
{
  const ParagraphCommandCase &c = GetParam();
  TRichTextEd &w = Start();
  w.ToolButton18->click(); // rich text
  w.ToolButton13->click(); // ruler
  QApplication::processEvents();
  Type("one\ntwo");
  w.Editor->SetSel(5, 5);
  w.Editor->SetParagraph({1, 0, 20, 5, 7});
  w.Editor->SetSel(1, 6);
  w.SelectionChange();
  c.Act(w);
  for (int line : {0, 1}) {
    SCOPED_TRACE(line);
    const TParaAttributes &want = line == 0 ? c.Line0 : c.Line1;
    w.Editor->SetSel(w.Editor->LineIndex(line), w.Editor->LineIndex(line));
    const TParaAttributes got = w.Editor->GetParagraph();
    EXPECT_EQ(got.Alignment, want.Alignment);
    EXPECT_EQ(got.Numbering, want.Numbering);
    EXPECT_EQ(got.FirstIndent, want.FirstIndent);
    EXPECT_EQ(got.LeftIndent, want.LeftIndent);
    EXPECT_EQ(got.RightIndent, want.RightIndent);
  }
  EXPECT_EQ(Text(), "one\r\ntwo");
}

// A marker released where it was picked up (in its middle) with the mouse.
void DragMarker(QLabel *marker, int dx)
{
  const int half = marker->width() / 2;
  auto mouse = [&](QEvent::Type type, int x) {
    QMouseEvent e(type, QPointF(x, 4), marker->mapToGlobal(QPointF(x, 4)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(marker, &e);
  };
  mouse(QEvent::MouseButtonPress, half);
  mouse(QEvent::MouseMove, half + dx);
  mouse(QEvent::MouseButtonRelease, half);
}

INSTANTIATE_TEST_SUITE_P(
    Paragraphs, ParagraphCommand,
    ::testing::Values(
        ParagraphCommandCase{"Centre",
                             [](TRichTextEd &w) { w.CenterAlign->click(); },
                             {2, 0, 0, 0, 0},
                             {2, 0, 20, 5, 7}},
        ParagraphCommandCase{"Bullets",
                             [](TRichTextEd &w) { w.BulletsButton->click(); },
                             {0, 1, 0, 10, 0},
                             {1, 1, 20, 10, 7}},
        ParagraphCommandCase{"Numbers",
                             [](TRichTextEd &w) { w.BulletsNumButton->click(); },
                             {0, 2, 0, 0, 0},
                             {1, 2, 20, 5, 7}},
        // Numbering off is written to both, also to the one that had none: its left indent goes.
        ParagraphCommandCase{"BulletsOnThenOff",
                             [](TRichTextEd &w) {
                               w.BulletsButton->click();
                               w.BulletsButton->click();
                             },
                             {0, 0, 0, 0, 0},
                             {1, 0, 20, 0, 7}},
        // Right marker 12 pixels left: right indent trunc((width - x + 4 - 2) * 3 / 4) - 12.
        ParagraphCommandCase{"RightIndentMarker",
                             [](TRichTextEd &w) { DragMarker(w.RightInd, -12); },
                             {0, 0, 0, 0, 9},
                             {1, 0, 20, 5, 9}},
        // First-line marker from 2 to 32: first indent 23, the other lines of line 0 stay put.
        ParagraphCommandCase{"FirstIndentMarker",
                             [](TRichTextEd &w) { DragMarker(w.FirstInd, 30); },
                             {0, 0, 23, -23, 0},
                             {1, 0, 23, -23, 7}}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST_F(MainWindow, MouseDownShowsTheFormattingOfTheClickedPosition)
{
  TRichTextEd &w = Start();
  w.ToolButton18->click();
  Type("bold\nplain\nbold");
  for (int start : {0, 13}) {
    w.Editor->SetSel(start, start + 4);
    w.BoldButton->setChecked(true);
    w.BoldButtonClick();
  }
  w.Editor->SetSel(8, 8);
  w.SelectionChange();
  ASSERT_FALSE(w.BoldButton->isChecked());
  QWidget *viewport = w.Editor->viewport();
  // Clicks into bold, plain, bold lines: the band follows each click at once.
  for (int pos : {2, 9, 15, 8}) {
    SCOPED_TRACE(pos);
    const QPoint at = w.Editor->PosFromChar(pos) + QPoint(1, 3);
    QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
    const bool boldLine = pos != 9 && pos != 8;
    EXPECT_EQ(w.Editor->LineFromChar(w.Editor->GetSelStart()), w.Editor->LineFromChar(pos));
    EXPECT_EQ(w.BoldButton->isChecked(), boldLine);
  }
  // Bold pressed on the plain line now makes it bold instead of toggling the wrong way.
  w.Editor->SetSel(5, 10);
  w.BoldButton->click();
  EXPECT_TRUE(w.Editor->GetSelAttributes().Style & FontStyleBit(TFontStyle::fsBold));
}

TEST_F(MainWindow, FontDialogOpensOnTheSelectionsFontAndAppliesItsColour)
{
  TRichTextEd &w = Start();
  w.ToolButton18->click();
  Type("word rest");
  w.Editor->SetSel(0, 4);
  w.Editor->SetSelAttributes({"Arial", 14, FontStyleBit(TFontStyle::fsBold), 0x0000FF, 0, 2});

  struct Run {
    const char *name;
    bool confirm;
    int selStart, selEnd;
    TCharAttributes expected;
  };
  const Run runs[] = {
      {"cancelled changes nothing",
       false,
       0,
       4,
       {"Arial", 14, FontStyleBit(TFontStyle::fsBold), 0x0000FF, 0, 2}},
      {"confirmed with an empty selection changes nothing",
       true,
       2,
       2,
       {"Arial", 14, FontStyleBit(TFontStyle::fsBold), 0x0000FF, 0, 2}},
      {"confirmed: italic and blue; character set and pitch kept",
       true,
       0,
       4,
       {"Arial", 14, FontStyleBit(TFontStyle::fsBold) | FontStyleBit(TFontStyle::fsItalic),
        0xFF0000, 0, 2}},
  };
  for (const Run &r : runs) {
    SCOPED_TRACE(r.name);
    w.Editor->SetSel(0, 4);
    w.Editor->SetSel(r.selStart, r.selEnd);
    QFont shown;
    quint32 shownColour = 0;
    QTimer::singleShot(0, [&] {
      shown = w.ReFontDialog->Font();
      shownColour = w.ReFontDialog->Color();
      QFont f = shown;
      f.setStyleName(QString()); // the style from the flags, as the style list would pick it
      f.setItalic(true);
      w.ReFontDialog->FontPanel->setCurrentFont(f);
      w.ReFontDialog->SetColor(0xFF0000);
      if (r.confirm)
        w.ReFontDialog->accept();
      else
        w.ReFontDialog->reject();
    });
    w.ToolButton17->click();
    // The dialog opened on the face really drawn for Arial, in its style, size and colour.
    EXPECT_EQ(shown.family(), QFontInfo(QFont("Arial")).family());
    EXPECT_EQ(shown.pointSize(), 14);
    EXPECT_TRUE(shown.bold());
    EXPECT_FALSE(shown.italic());
    EXPECT_EQ(shownColour, 0x0000FFu);
    EXPECT_EQ(w.Editor->GetSelStart(), r.selStart);
    w.Editor->SetSel(0, 4);
    const TCharAttributes got = w.Editor->GetSelAttributes();
    EXPECT_EQ(got.Name, r.expected.Name);
    EXPECT_EQ(got.Size, r.expected.Size);
    EXPECT_EQ(got.Style, r.expected.Style);
    EXPECT_EQ(got.Color, r.expected.Color);
    EXPECT_EQ(got.Charset, r.expected.Charset);
    EXPECT_EQ(got.Pitch, r.expected.Pitch);
  }
  EXPECT_EQ(Text(), "word rest");
  EXPECT_TRUE(Boxes.empty());
}

TEST_F(MainWindow, FindNextActivatesTheWindowSoTheMatchShowsAndReplaceWorksOnIt)
{
  TRichTextEd &w = Start();
  Type("one cat, two cat");
  w.Editor->SetSel(0, 0);
  w.ToolButton15->click();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::activeWindow(), w.ReplaceDialog1);
  w.ReplaceDialog1->SetFindText("cat");
  w.ReplaceDialog1->SetReplaceText("dog");
  w.ReplaceDialog1->FindNextButton->click();
  QApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), &w);
  EXPECT_EQ(QApplication::focusWidget(), w.Editor);
  EXPECT_EQ(w.Editor->GetSelText(), "cat");
  EXPECT_TRUE(w.Editor->hasFocus()) << "an editor with the focus shows its selection";
  w.ReplaceDialog1->ReplaceButton->click();
  EXPECT_EQ(Text(), "one dog, two cat");
}

TEST_F(MainWindow, ThesaurusReplacementIsAnUndoStepOfItsOwn)
{
  TRichTextEd &w = Start();
  if (!QFile::exists(QCoreApplication::applicationDirPath() + "/Dictionaries/Wordnest.wdt"))
    GTEST_SKIP() << "the shipped thesaurus is not built";
  Type("I am happy today."); // the user's own step before the lookup
  w.Editor->SetSel(7, 7);
  QTimer::singleShot(0, [&] {
    auto *d = qobject_cast<TThesDialog *>(w.Thesaurus31->DialogForm());
    if (!d)
      return;
    d->ReplaceEdit->setText("glad");
    d->ReplaceButton->click();
  });
  w.Lookupword1->trigger();
  QApplication::processEvents();
  ASSERT_EQ(Text(), "I am glad today.");
  w.UndoButton->click();
  EXPECT_EQ(Text(), "I am happy today.");
  ASSERT_TRUE(w.UndoButton->isEnabled());
  w.UndoButton->click();
  EXPECT_EQ(Text(), "\r\n");
}

TEST_F(MainWindow, PasteTakesHtmlWithoutATextVersion)
{
  TRichTextEd &w = Start();
  ASSERT_FALSE(w.PasteButton->isEnabled());
  auto *html = new QMimeData;
  html->setHtml("<table><tr><td>c1</td></tr><tr><td>c2</td></tr></table>");
  QGuiApplication::clipboard()->setMimeData(html);
  QApplication::processEvents();
  EXPECT_TRUE(w.PasteButton->isEnabled());
  w.PasteButton->click();
  EXPECT_EQ(Text(), "c1\r\nc2\r\n");
  // Something the editor cannot paste leaves the button disabled.
  auto *other = new QMimeData;
  other->setData("application/x-private", "data");
  QGuiApplication::clipboard()->setMimeData(other);
  QApplication::processEvents();
  EXPECT_FALSE(w.PasteButton->isEnabled());
}

TEST_F(MainWindow, TextToStripHoverShowsEveryKeptItem)
{
  TRichTextEd &w = Start();
  EXPECT_EQ(w.TextToStrip->HoverText(),
            "Text to keep in Plaintext conversion:\nApostrophes\nQuotemarks\nCommas");
  w.TextToStrip->DeselectAll();
  EXPECT_EQ(w.TextToStrip->HoverText(), "Text to keep in Plaintext conversion:\n(none)");
  w.TextToStrip->SetChecked(3, true);
  w.TextToStrip->SetChecked(0, true);
  QWidget *field = w.TextToStrip->lineEdit();
  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), field->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(field, &help);
  EXPECT_EQ(QToolTip::text(), "Text to keep in Plaintext conversion:\nTabs\nTrademark");
  QToolTip::hideText();
  EXPECT_EQ(w.TextToStrip->toolTip(), "Text to keep in Plaintext conversion");
}

// --- Notice line -----------------------------------------------------------------------------------

TEST_F(MainWindow, NoticeLineShowsTheLastNoticeUntilClickedOrTheTextChanges)
{
  TRichTextEd &w = Start();
  auto *notice = w.findChild<QLabel *>("NoticeLine");
  ASSERT_NE(notice, nullptr);
  EXPECT_TRUE(notice->isHidden());
  w.ShowNotice("first");
  QApplication::processEvents();
  EXPECT_TRUE(notice->isVisible());
  EXPECT_EQ(notice->text(), "first");
  EXPECT_GE(notice->y(), w.Editor->geometry().bottom()); // under the editor
  w.ShowNotice("second");
  EXPECT_EQ(notice->text(), "second");
  EXPECT_TRUE(Boxes.empty()); // nothing blocks

  QMouseEvent click(QEvent::MouseButtonRelease, QPointF(3, 3), notice->mapToGlobal(QPointF(3, 3)),
                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(notice, &click);
  EXPECT_TRUE(notice->isHidden());

  w.ShowNotice("third");
  EXPECT_TRUE(notice->isVisible());
  Type("typed");
  EXPECT_TRUE(notice->isHidden());

  w.ShowNotice("fourth");
  w.ShowNotice(QString());
  EXPECT_TRUE(notice->isHidden());
}

TEST(ToolIcons, AllInOnePastesAreEasyToTellApart)
{
  const QImage dash = ToolIcon("SpecialPasteBtn1").pixmap(16, 16).toImage();
  const QImage flush = ToolIcon("SpecialPasteBtn2").pixmap(16, 16).toImage();
  ASSERT_EQ(dash.size(), flush.size());
  // Pixels whose colour differs clearly (not just anti-aliasing).
  int differing = 0;
  for (int y = 0; y < dash.height(); ++y)
    for (int x = 0; x < dash.width(); ++x) {
      const QColor a = dash.pixelColor(x, y), b = flush.pixelColor(x, y);
      if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
              std::abs(a.blue() - b.blue()) + std::abs(a.alpha() - b.alpha()) >
          120)
        ++differing;
    }
  EXPECT_GE(differing, 30) << "of 256 pixels";
}

// --- The launches on this desktop: file associations and desktop entries -------------------------

// The real shell and class registry over a private desktop: desktop entries and default
// applications in temporary XDG folders; launches are recorded instead of started.
class DesktopLaunch : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(FDir.isValid());
    for (const char *name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_DIRS",
                             "XDG_CURRENT_DESKTOP"})
      FSaved.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    const QString data = FDir.filePath("data"), config = FDir.filePath("config");
    QDir().mkpath(data + "/applications");
    QDir().mkpath(config);
    qputenv("XDG_DATA_HOME", data.toUtf8());
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    qputenv("XDG_DATA_DIRS", FDir.filePath("none").toUtf8());
    qputenv("XDG_CONFIG_DIRS", FDir.filePath("none").toUtf8());
    qunsetenv("XDG_CURRENT_DESKTOP");
    FOldRegistry = SetDefaultRegistryStore(std::make_shared<TDesktopClassesStore>());
    FOldLauncher = SetShellLauncher([this](const TShellLaunch &l) {
      Launches.push_back(l);
      return true;
    });
    FOldBox = SetMessageBoxHandler([this](QWidget *, const QString &, const QString &, unsigned) {
      ++Boxes;
      return IDOK;
    });
  }

  void TearDown() override
  {
    SetShellLauncher(FOldLauncher);
    SetDefaultRegistryStore(FOldRegistry);
    SetMessageBoxHandler(FOldBox);
    for (const auto &v : FSaved) {
      if (v.Set)
        qputenv(v.Name, v.Value);
      else
        qunsetenv(v.Name);
    }
  }

  void Write(const QString &relative, const QByteArray &content)
  {
    QFile f(FDir.filePath(relative));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
  }

  void AddApplication(const char *id, const char *exec)
  {
    Write(QStringLiteral("data/applications/") + id,
          QByteArray("[Desktop Entry]\nType=Application\nName=") + id + "\nExec=" + exec + "\n");
  }

  std::vector<TShellLaunch> Launches;
  int Boxes = 0;

private:
  struct Saved {
    const char *Name;
    QByteArray Value;
    bool Set;
  };
  QTemporaryDir FDir;
  std::vector<Saved> FSaved;
  std::shared_ptr<TRegistryStore> FOldRegistry;
  TShellLauncher FOldLauncher;
  TMessageBoxHandler FOldBox;
};

TEST_F(DesktopLaunch, ExcelStartsTheDefaultSpreadsheetApplication)
{
  // The MIME database of the system names the type of ".xls"; the user's list chooses the program.
  qputenv("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
  const QString mime = TDesktopClassesStore::MimeTypeOfExtension(".xls");
  if (mime.isEmpty())
    GTEST_SKIP() << "no MIME type for .xls on this system";
  AddApplication("lwcalc.desktop", "/bin/echo calc %F");
  Write("config/mimeapps.list", "[Default Applications]\n" + mime.toUtf8() + "=lwcalc.desktop\n");
  TRichTextEd w;
  w.ToolButton10->click();
  ASSERT_EQ(Launches.size(), 1u);
  EXPECT_EQ(Launches[0].Program, "/bin/echo");
  EXPECT_EQ(Launches[0].Arguments, QStringList({"calc"}));
  EXPECT_EQ(Boxes, 0);
}

TEST_F(DesktopLaunch, ExcelWithoutAnyRegisteredApplicationDoesNothing)
{
  TRichTextEd w;
  w.ToolButton10->click();
  EXPECT_TRUE(Launches.empty());
  EXPECT_EQ(Boxes, 0);
}

TEST_F(DesktopLaunch, NotepadStartsTheDefaultTextEditor)
{
  AddApplication("lwedit.desktop", "/bin/echo edit %U");
  Write("config/mimeapps.list", "[Default Applications]\ntext/plain=lwedit.desktop\n");
  TRichTextEd w;
  w.ToolButton8->click();
  ASSERT_EQ(Launches.size(), 1u);
  EXPECT_EQ(Launches[0].Program, "/bin/echo");
  EXPECT_EQ(Launches[0].Arguments, QStringList({"edit"}));
  EXPECT_EQ(Boxes, 0);
}

} // namespace
