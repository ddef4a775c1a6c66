#include "RichTextEd.h"

#include "CheckedComboBox.h"
#include "ReplaceDialog.h"
#include "RichTextEdControls.h"
#include "ToolIcons.h"
#include "rtErrorBox.h"
#include "rtFonts.h"
#include "rtRegistry.h"
#include "rtShell.h"
#include "wrLiveAutospell.h"
#include "wrLiveRichEdit.h"
#include "wrRichEdit.h"
#include "wrThesaurus.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QDragEnterEvent>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QRubberBand>
#include <QScreen>
#include <QStandardItemModel>
#include <QTextDocument>
#include <QThread>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QColor BandColor(213, 228, 242);
const QColor EditBoxColor(249, 248, 240);

QFrame *MakeBand(QWidget *parent, const char *name, int height)
{
  auto *band = new QFrame(parent);
  band->setObjectName(QLatin1String(name));
  band->setFixedHeight(height);
  band->setAutoFillBackground(true);
  QPalette pal = band->palette();
  pal.setColor(QPalette::Window, BandColor);
  pal.setColor(QPalette::Button, BandColor);
  band->setPalette(pal);
  auto *layout = new QHBoxLayout(band);
  layout->setContentsMargins(2, 1, 2, 1);
  layout->setSpacing(4);
  return band;
}

QToolBar *MakeToolBar(QWidget *band, const char *name)
{
  auto *bar = new QToolBar(band);
  bar->setObjectName(QLatin1String(name));
  bar->setIconSize(QSize(16, 16));
  bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
  bar->setMovable(false);
  bar->setFloatable(false);
  // Tight buttons, so that the whole command row fits the window's width on one line.
  bar->setContentsMargins(0, 0, 0, 0);
  bar->layout()->setSpacing(0);
  bar->layout()->setContentsMargins(0, 0, 0, 0);
  band->layout()->addWidget(bar);
  return bar;
}

bool AnimationVisible()
{
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

} // namespace

// --- Construction ---------------------------------------------------------------------------------

TRichTextEd::TRichTextEd(QWidget *parent) : QWidget(parent)
{
  setObjectName(QStringLiteral("RichTextEd"));
  CreateComponents();
  FormCreate();
}

TRichTextEd::~TRichTextEd()
{
  // The check works on the editor, which goes before the component does.
  EndSpellCheck();
  // Focus and clipboard changes while the children go (a dialog that held the focus) would
  // otherwise reach a window whose editor is already gone.
  disconnect(qApp, nullptr, this, nullptr);
  disconnect(QGuiApplication::clipboard(), nullptr, this, nullptr);
  // The editor's notifications call back into this window: stop them before the members go.
  if (Editor) {
    Editor->OnChange = nullptr;
    Editor->OnSelectionChange = nullptr;
    Editor->OnMouseDown = nullptr;
    Editor->removeEventFilter(this);
    Editor->viewport()->removeEventFilter(this);
  }
}

QString TRichTextEd::HintToolTip(const QString &hint)
{
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  return bar < 0 ? hint : hint.left(bar);
}

QString TRichTextEd::RulerCaption() { return QStringLiteral("\t|").repeated(100); }

QString TRichTextEd::SpreadsheetProgramOf(const QString &command)
{
  QString s = command;
  s.remove(QLatin1Char('"'));
  const qsizetype slash = s.indexOf(QLatin1Char('/'));
  return slash < 0 ? QString() : s.left(slash);
}

bool TRichTextEd::FormattingAllowed() const
{
  return !FUpdating && Editor && !Editor->IsReadOnly();
}

QString TRichTextEd::KeepText() const { return TextToStrip->Text(); }

void TRichTextEd::Run(void (TRichTextEd::*handler)())
{
  RunCommand([this, handler] { (this->*handler)(); });
}

QAction *TRichTextEd::MakeAction(const char *name, const QString &caption, const QString &hint,
                                 void (TRichTextEd::*handler)())
{
  auto *action = new QAction(caption, this);
  action->setObjectName(QLatin1String(name));
  action->setProperty("Hint", hint);
  action->setToolTip(HintToolTip(hint));
  action->setStatusTip(hint.mid(HintToolTip(hint).size() + 1));
  if (handler)
    connect(action, &QAction::triggered, this, [this, handler] { Run(handler); });
  return action;
}

QToolButton *TRichTextEd::AddButton(QToolBar *bar, const char *name, const QString &hint,
                                    void (TRichTextEd::*handler)())
{
  auto *button = new QToolButton(bar);
  button->setObjectName(QLatin1String(name));
  button->setProperty("Hint", hint);
  button->setToolTip(HintToolTip(hint));
  button->setIcon(ToolIcon(QLatin1String(name)));
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  if (handler)
    connect(button, &QToolButton::clicked, this, [this, handler] { Run(handler); });
  bar->addWidget(button);
  return button;
}

QToolButton *TRichTextEd::AddActionButton(QToolBar *bar, const char *name, QAction *action)
{
  auto *button = new QToolButton(bar);
  button->setObjectName(QLatin1String(name));
  button->setDefaultAction(action);
  // The action's hint shows, with this button's own icon.
  action->setIcon(ToolIcon(QLatin1String(name)));
  button->setAutoRaise(true);
  button->setFocusPolicy(Qt::NoFocus);
  bar->addWidget(button);
  return button;
}

void TRichTextEd::CreateComponents()
{
  setWindowTitle(QStringLiteral("Linewright (Plain text)"));
  setFont(ClassicSansFont(8));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QApplication::palette().color(QPalette::Button));
  setPalette(pal);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  CreateCommandBand();
  CreateFormattingBand();
  CreateRuler();
  CreateEditor();
  layout->addWidget(CoolBar1);
  layout->addWidget(CoolBar2);
  layout->addWidget(Ruler);
  layout->addWidget(Editor, 1);

  CreateSpellComponents();

  Thesaurus31 = new TThesaurus3(this);
  Thesaurus31->setObjectName(QStringLiteral("Thesaurus31"));
  Thesaurus31->SetFilename(QStringLiteral("%AppDir%\\Dictionaries\\Wordnest.wdt"));
  Thesaurus31->SortedLists = false;
  Thesaurus31->DoubleClickAction = dcaLookup;
  Thesaurus31->UILanguage = ltEnglish;
  Thesaurus31->CommandsEnabled = AllThesaurusCommands;
  Thesaurus31->CommandsVisible = AllThesaurusCommands;
  Thesaurus31->HelpCtxThesaurusDialog = 0;
  Thesaurus31->ParentFont = false;
  Thesaurus3Base1 = new TThesaurus3Base(this);
  Thesaurus3Base1->setObjectName(QStringLiteral("Thesaurus3Base1"));

  ReFontDialog = new TFontDialog(this);
  ReFontDialog->setObjectName(QStringLiteral("ReFontDialog"));

  ReplaceDialog1 = new TReplaceDialog(this);
  ReplaceDialog1->setObjectName(QStringLiteral("ReplaceDialog1"));
  ReplaceDialog1->OnFind = [this](TReplaceDialog *) { Run(&TRichTextEd::ReplaceDialog1Find); };
  ReplaceDialog1->OnReplace = [this](TReplaceDialog *) {
    Run(&TRichTextEd::ReplaceDialog1Replace);
  };

  resize(821, 400);
  // The ruler has the window's width from the start, so that the markers placed at creation
  // (before it is ever shown) sit where they will be seen.
  Ruler->resize(width(), Ruler->height());
  if (const QScreen *screen = QGuiApplication::primaryScreen()) {
    QRect r(QPoint(0, 0), size());
    r.moveCenter(screen->availableGeometry().center());
    move(r.topLeft());
  }

  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          [this] { UpdateEditActions(); });
  connect(qApp, &QApplication::focusChanged, this, [this] { UpdateEditActions(); });
  UpdateEditActions();
}

void TRichTextEd::CreateCommandBand()
{
  CoolBar1 = MakeBand(this, "CoolBar1", 29);
  ToolBar1 = MakeToolBar(CoolBar1, "ToolBar1");

  // The clipboard and undo buttons show their actions' hints. These four actions carry the
  // window's only shortcuts.
  EditUndoAction = MakeAction("EditUndo1", QStringLiteral("&Undo"),
                              QStringLiteral("Undo|Undo the Last Action"), &TRichTextEd::EditUndo);
  EditCutAction = MakeAction("EditCut1", QStringLiteral("Cu&t"),
                             QStringLiteral("Cut|Cuts the selection and puts it on the Clipboard"),
                             &TRichTextEd::EditCut);
  EditCopyAction =
      MakeAction("EditCopy1", QStringLiteral("&Copy"),
                 QStringLiteral("Copy|Copies the selection and puts it on the Clipboard"),
                 &TRichTextEd::EditCopy);
  EditPasteAction =
      MakeAction("EditPaste1", QStringLiteral("&Paste"),
                 QStringLiteral("Paste|Inserts Clipboard contents"), &TRichTextEd::EditPaste);
  EditUndoAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  EditCutAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
  EditCopyAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  EditPasteAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
  for (QAction *a : {EditUndoAction, EditCutAction, EditCopyAction, EditPasteAction}) {
    a->setShortcutContext(Qt::WindowShortcut);
    addAction(a);
  }
  RulerAct = MakeAction("RulerAct", QStringLiteral("Ruler"), QStringLiteral("Hide/Show Ruler"),
                        &TRichTextEd::RulerActExecute);

  ToolButton4 = AddButton(ToolBar1, "ToolButton4", QStringLiteral("Close & Update form"),
                          &TRichTextEd::FileClose1Execute);
  UndoButton = AddActionButton(ToolBar1, "UndoButton", EditUndoAction);
  CutButton = AddActionButton(ToolBar1, "CutButton", EditCutAction);
  CopyButton = AddActionButton(ToolBar1, "CopyButton", EditCopyAction);
  PasteButton = AddActionButton(ToolBar1, "PasteButton", EditPasteAction);
  ToolButton6 = AddButton(ToolBar1, "ToolButton6", QStringLiteral("Clear all text"),
                          &TRichTextEd::EditClearExecute);
  ToolBar1->addSeparator();
  ToolButton3 = AddButton(ToolBar1, "ToolButton3", QStringLiteral("Setup spell checker"),
                          &TRichTextEd::ToolButton3Click);
  ToolButton8 = AddButton(ToolBar1, "ToolButton8", QStringLiteral("Launch Notepad"),
                          &TRichTextEd::NotepadAction1Execute);
  ToolButton10 = AddButton(ToolBar1, "ToolButton10", QStringLiteral("Launch Excel"),
                           &TRichTextEd::ToolButton10Click);
  DashIndent = AddButton(ToolBar1, "DashIndent", QStringLiteral("Dash Indent lines 2+"),
                         &TRichTextEd::DashIndentActExecute);
  ToolButton1 = AddButton(ToolBar1, "ToolButton1", QStringLiteral("Dash Un-Indent"),
                          &TRichTextEd::DashUnIndentActExecute);
  ToolButton2 = AddButton(ToolBar1, "ToolButton2", QStringLiteral("Indent lines 2+"),
                          &TRichTextEd::IndentActExecute);
  ToolButton7 = AddButton(ToolBar1, "ToolButton7", QStringLiteral("Un-Indent"),
                          &TRichTextEd::UnIndentActExecute);
  ToolButton9 = AddButton(ToolBar1, "ToolButton9", QStringLiteral("Convert Bars to CrLf"),
                          &TRichTextEd::ToolButton9Click);
  ToolButton11 = AddButton(ToolBar1, "ToolButton11", QStringLiteral("Convert Commas to CrLf"),
                           &TRichTextEd::ToolButton11Click);
  ToolButton19 = AddButton(ToolBar1, "ToolButton19", QStringLiteral("Convert Dashes to CrLf"),
                           &TRichTextEd::ToolButton19Click);
  ToolButton22 = AddButton(ToolBar1, "ToolButton22", QStringLiteral("Convert Semi-colons to CrLf"),
                           &TRichTextEd::ToolButton22Click);
  ToolButton23 = AddButton(ToolBar1, "ToolButton23", QStringLiteral("Convert  CrLf to Semi-colons"),
                           &TRichTextEd::ToolButton23Click);
  ToolButton24 = AddButton(ToolBar1, "ToolButton24", QStringLiteral("Add CrLf to Plus Signs"),
                           &TRichTextEd::ToolButton24Click);
  ToolButton12 = AddButton(ToolBar1, "ToolButton12", QStringLiteral("Remove blank lines"),
                           &TRichTextEd::ToolButton12Click);
  ToolButton14 =
      AddButton(ToolBar1, "ToolButton14", QStringLiteral("Trim leading and trailing spaces"),
                &TRichTextEd::ToolButton14Click);
  ToolButton13 = AddActionButton(ToolBar1, "ToolButton13", RulerAct);
  ToolButton15 = AddButton(ToolBar1, "ToolButton15", QStringLiteral("Replace text"),
                           &TRichTextEd::ToolButton15Click);
  ToolButton20 = AddButton(ToolBar1, "ToolButton20",
                           QStringLiteral("Convert selected text words to Proper Text\n"
                                          " (only words of 3 or more characters are affected)"),
                           &TRichTextEd::ToolButton20Click);
  ToolButton16 = AddButton(ToolBar1, "ToolButton16", QStringLiteral("Convert to Plaintext"),
                           &TRichTextEd::ToolButton16Click);
  ToolButton18 = AddButton(ToolBar1, "ToolButton18", QStringLiteral("Toggle Plaintext/Richtext"),
                           &TRichTextEd::ToolButton18Click);
  ToolButton18->setCheckable(true);
  SpecialPasteBtn1 =
      AddButton(ToolBar1, "SpecialPasteBtn1", QStringLiteral("All-In-One Dash Indent Paste"),
                &TRichTextEd::SpecialPasteBtn1Click);
  SpecialPasteBtn2 =
      AddButton(ToolBar1, "SpecialPasteBtn2", QStringLiteral("All-In-One NO Indent Paste"),
                &TRichTextEd::SpecialPasteBtn2Click);

  ToolBar4 = MakeToolBar(CoolBar1, "ToolBar4");
  TextToStrip = new TCheckedComboBox(ToolBar4);
  TextToStrip->setObjectName(QStringLiteral("TextToStrip"));
  TextToStrip->setFixedWidth(133);
  TextToStrip->setToolTip(QStringLiteral("Text to keep in Plaintext conversion"));
  TextToStrip->SetItems({QStringLiteral("Trademark"), QStringLiteral("Copyright"),
                         QStringLiteral("Registered"), QStringLiteral("Tabs"),
                         QStringLiteral("Apostrophes"), QStringLiteral("Quotemarks"),
                         QStringLiteral("Commas")});
  ToolBar4->addWidget(TextToStrip);
  static_cast<QHBoxLayout *>(CoolBar1->layout())->addStretch(1);
}

void TRichTextEd::CreateFormattingBand()
{
  CoolBar2 = MakeBand(this, "CoolBar2", 26);
  ToolBar6 = MakeToolBar(CoolBar2, "ToolBar6");

  FontName = new QComboBox(ToolBar6);
  FontName->setObjectName(QStringLiteral("FontName"));
  FontName->setEditable(true);
  FontName->setInsertPolicy(QComboBox::NoInsert);
  FontName->setFixedWidth(145);
  FontName->setToolTip(QStringLiteral("Default font "));
  FontSize = new QLineEdit(ToolBar6);
  FontSize->setObjectName(QStringLiteral("FontSize"));
  FontSize->setFixedWidth(102);
  FontSize->setToolTip(QStringLiteral("Default font Size"));
  for (QWidget *box : {static_cast<QWidget *>(FontName), static_cast<QWidget *>(FontSize)}) {
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, EditBoxColor);
    box->setPalette(pal);
  }
  UpDown1 = new TUpDown(ToolBar6);
  UpDown1->setObjectName(QStringLiteral("UpDown1"));
  UpDown1->SetRange(0, 100);
  UpDown1->SetIncrement(1);
  UpDown1->SetAssociate(FontSize);
  ToolBar6->addWidget(FontName);
  ToolBar6->addWidget(FontSize);
  ToolBar6->addWidget(UpDown1);
  connect(FontName, &QComboBox::currentTextChanged, this,
          [this] { Run(&TRichTextEd::FontNameChange); });
  connect(FontSize, &QLineEdit::textChanged, this, [this] { Run(&TRichTextEd::FontSizeChange); });

  ToolBar7 = MakeToolBar(CoolBar2, "ToolBar7");
  ToolButton17 =
      AddButton(ToolBar7, "ToolButton17", QStringLiteral("Font"), &TRichTextEd::SelectFont);
  BoldButton =
      AddButton(ToolBar7, "BoldButton", QStringLiteral("Bold"), &TRichTextEd::BoldButtonClick);
  ItalicButton = AddButton(ToolBar7, "ItalicButton", QStringLiteral("Italic"),
                           &TRichTextEd::ItalicButtonClick);
  UnderlineButton =
      AddButton(ToolBar7, "UnderlineButton", QString(), &TRichTextEd::UnderlineButtonClick);
  for (QToolButton *b : {BoldButton, ItalicButton, UnderlineButton})
    b->setCheckable(true);
  ToolBar7->addSeparator();

  FAlignGroup = new QActionGroup(this);
  FAlignGroup->setExclusive(true);
  auto makeAlign = [this](const char *name, const char *hint, int tag) {
    QAction *a = MakeAction(name, QLatin1String(hint), QLatin1String(hint), nullptr);
    a->setProperty("Tag", tag);
    a->setCheckable(true);
    FAlignGroup->addAction(a);
    connect(a, &QAction::triggered, this,
            [this, a] { RunCommand([this, a] { AlignButtonClick(a); }); });
    return a;
  };
  AlignLeftAct = makeAlign("AlignLeft1", "Align Left", 0);
  AlignCenterAct = makeAlign("AlignCenter1", "Centre Text", 2);
  AlignRightAct = makeAlign("AlignRight1", "Align Right", 1);
  AlignLeftAct->setChecked(true);
  LeftAlign = AddActionButton(ToolBar7, "LeftAlign", AlignLeftAct);
  CenterAlign = AddActionButton(ToolBar7, "CenterAlign", AlignCenterAct);
  RightAlign = AddActionButton(ToolBar7, "RightAlign", AlignRightAct);
  ToolBar7->addSeparator();

  BulletsButton = AddButton(ToolBar7, "BulletsButton", QStringLiteral("Bullets"),
                            &TRichTextEd::BulletsButtonClick);
  BulletsButton->setCheckable(true);
  // No caption and no hint: an action would otherwise show its caption as the tool tip.
  BulletNumAct1 =
      MakeAction("BulletNumAct1", QString(), QString(), &TRichTextEd::BulletNumAct1Execute);
  BulletNumAct1->setCheckable(true);
  BulletsNumButton = AddActionButton(ToolBar7, "BulletsNumButton", BulletNumAct1);
  static_cast<QHBoxLayout *>(CoolBar2->layout())->addStretch(1);
}

void TRichTextEd::CreateRuler()
{
  Ruler = new TRulerPanel(this);
  Ruler->setObjectName(QStringLiteral("Ruler"));
  Ruler->setFixedHeight(26);
  Ruler->setAutoFillBackground(true);
  QPalette pal = Ruler->palette();
  pal.setColor(QPalette::Window, BandColor);
  pal.setColor(QPalette::WindowText, Qt::black);
  Ruler->setPalette(pal);
  QFont rulerFont(QStringLiteral("Arial"));
  rulerFont.setPointSize(8);
  Ruler->setFont(rulerFont);
  Ruler->hide();

  RulerLine = new QFrame(Ruler);
  RulerLine->setObjectName(QStringLiteral("RulerLine"));
  RulerLine->setFrameShape(QFrame::HLine);
  RulerLine->setFrameShadow(QFrame::Sunken);
  RulerLine->setGeometry(2, 12, 815, 2);

  // The indent markers: down arrow (first line), up arrow (other lines), outlined up arrow
  // (right indent). Symbol glyphs stand in for a symbol font this desktop may not have.
  auto makeMarker = [this](const char *name, const QString &glyph, const QRect &geometry) {
    auto *marker = new QLabel(glyph, Ruler);
    marker->setObjectName(QLatin1String(name));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(9);
    marker->setFont(f);
    marker->setAlignment(Qt::AlignCenter);
    marker->setGeometry(geometry);
    marker->installEventFilter(this);
    return marker;
  };
  FirstInd = makeMarker("FirstInd", QStringLiteral("\u25BC"), QRect(2, 2, 10, 9));
  LeftInd = makeMarker("LeftInd", QStringLiteral("\u25B2"), QRect(2, 12, 10, 11));
  RightInd = makeMarker("RightInd", QStringLiteral("\u25B3"), QRect(575, 14, 9, 12));
  Ruler->OnResize = [this](TRulerPanel *) { RulerResize(); };
}

void TRichTextEd::CreateSpellComponents()
{
  WrightAutoLiveSpell1 = new TWrightAutoLiveSpell(this);
  TWrightAutoLiveSpell *s = WrightAutoLiveSpell1;
  s->setObjectName(QStringLiteral("WrightAutoLiveSpell1"));
  s->SetConfigStorage(csFile);
  s->SetConfigFilename(QStringLiteral("%AppDir%\\Dictionaries\\Spell.cfg"));
  TStringList folders;
  folders.Add(QStringLiteral("%AppDir%\\Dictionaries"));
  s->SetConfigDictionaryDir(folders);
  s->SetConfigAvailableOptions(
      {soLiveSpelling, soLiveCorrect, soUpcase, soNumbers, soPrimaryOnly, soRepeated, soDUalCaps});
  s->SetConfigUseMSWordCustom(false);
  TStringList mainDictionaries;
  mainDictionaries.Add(QStringLiteral("aussie.wdm"));
  s->SetConfigDefaultMain(mainDictionaries);
  s->SetSuggestionsLearning(false);
  s->SetSuggestionsLearningDict(QStringLiteral("P:\\%UserName%_sp.wdl"));
  TSpellDialogCommands commands = TSpellDialogCommands::Range(sdcIgnore, sdcOptions);
  for (TSpellDialogCommand c : {sdcConfigOK, sdcAddedEdit, sdcAutoCorrectEdit, sdcExcludedEdit,
                                sdcInternalEdit, sdcMainDictFolderBrowse, sdcResetDefaults})
    commands.Include(c);
  s->SetCommandsVisible(commands);
  s->SetCommandsEnabled(commands);
  s->SetPhoneticMaxDistance(4);
  s->SetPhoneticDivisor(2);
  s->SetPhoneticDepth(2);
  s->SetUseAutoCorrectFirst(false);
  s->SetUILanguage(TSpellLanguageType::ltEnglish);
  s->DialogTypeSpelling = sdOffice;
  s->DialogTypeConfiguration = sdOffice;
  s->SetDialogMisspelledWordColor(Qt::red);
  s->SetDialogMisspelledWordStyle(TFontStyle::fsBold);
  s->SetLiveSpelling(true);
  s->SetLiveCorrect(true);
  s->SetLiveSpellingColor(Qt::red);
  s->SetLiveSpellingReadOnly(false);
  s->SetLiveMenuOptions(TSpellPopupOptions::Range(spDialog, spReplace));
  s->SetLiveSpellingOptions(true);
  s->SetAutoSpellWhenFocused(true);
  s->SetAutoSpellOnlyFocusedControl(false);

  // The editor runs its own live spelling against this component; the component's lists tell
  // it when a check, the options or the live menu changed what is acceptable. Attaching reads
  // no file: the configuration loads at the first word test (the first paint).
  Editor->SetLiveSpelling(true);
  Editor->SetLiveCorrect(true);
  Editor->SetWrightSpell(s);
  Editor->SetLiveSpellingColor(Qt::red);
  Editor->SetDoubleBuffered(true);
  Editor->SetLiveSpellingOptions(true);
  Editor->SetLiveMenuOptions(
      {spDialog, spAutoCorrect, spChangeAll, spAdd, spIgnoreAll, spIgnore, spReplace});
  Editor->SetLiveSpellingReadOnly(false);
  Editor->SetIrregularLeftMargin(true);
  // Pasted rich text brings paragraph spacing and mixed sizes: the line box's bottom can lie
  // far below the text, so the wavy line follows the rendered baseline of every line.
  Editor->SetIrregularLineHeights(true);

  WrightSpell3Base1 = new TWrightSpell3Base(this);
  WrightSpell3Base1->setObjectName(QStringLiteral("WrightSpell3Base1"));
  WrightSpell3Base1->SetUIType(suiSilent);
}

void TRichTextEd::EndSpellCheck()
{
  if (WrightAutoLiveSpell1 && WrightAutoLiveSpell1->Checking())
    WrightAutoLiveSpell1->StopCheck(true);
}

void TRichTextEd::closeEvent(QCloseEvent *event)
{
  EndSpellCheck();
  QWidget::closeEvent(event);
}

void TRichTextEd::CreateEditor()
{
  // The editor takes its live spelling engine from the live layer.
  InstallLiveRichEditFactory();
  Editor = new TWrightRichEdit(this);
  Editor->setObjectName(QStringLiteral("Editor"));
  QFont editorFont(QStringLiteral("Arial"));
  editorFont.setPointSize(8);
  editorFont.setStyleStrategy(QFont::PreferNoShaping); // the editor's own drawing rule
  Editor->setFont(editorFont);
  Editor->document()->setDefaultFont(editorFont);
  Editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Editor->setTabChangesFocus(false);
  // One empty line, not an undoable edit.
  Editor->SetText(QStringLiteral("\r\n"));
  Editor->document()->clearUndoRedoStacks();
  Editor->document()->setModified(false);

  Editor->OnChange = [this](TEditWindow *) { RichEditChange(); };
  // After the editor has handled the press, so the band shows where the caret now is.
  Editor->OnMouseDown = [this](TWrightRichEdit *) { RunCommand([this] { EditorMouseDown(); }); };
  Editor->OnSelectionChange = [this](TEditWindow *) { UpdateEditActions(); };
  connect(Editor->document(), &QTextDocument::undoAvailable, this, [this] { RichEditChange(); });
  connect(Editor, &QTextEdit::copyAvailable, this, [this] { UpdateEditActions(); });

  EditorPopupMenu1 = new QMenu(this);
  EditorPopupMenu1->setObjectName(QStringLiteral("EditorPopupMenu1"));
  Lookupword1 = EditorPopupMenu1->addAction(QStringLiteral("Lookup word Thesausus"));
  Lookupword1->setObjectName(QStringLiteral("Lookupword1"));
  Lookupword1->setToolTip(QStringLiteral("Thesaurus"));
  Lookupword1->setStatusTip(QStringLiteral("Thesaurus"));
  connect(Lookupword1, &QAction::triggered, this, [this] { Run(&TRichTextEd::Lookupword1Click); });
  EditorSpellcheck1 = EditorPopupMenu1->addAction(QStringLiteral("Spellcheck the document"));
  EditorSpellcheck1->setObjectName(QStringLiteral("EditorSpellcheck1"));
  EditorSpellcheck1->setToolTip(QStringLiteral("Spellcheck the document"));
  EditorSpellcheck1->setStatusTip(QStringLiteral("Spellcheck the document"));
  connect(EditorSpellcheck1, &QAction::triggered, this,
          [this] { Run(&TRichTextEd::EditorSpellcheck1Click); });
  // "Exit" has no handler: choosing it only closes the menu.
  Exit1 = EditorPopupMenu1->addAction(QStringLiteral("Exit"));
  Exit1->setObjectName(QStringLiteral("Exit1"));

  Editor->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Editor, &QWidget::customContextMenuRequested, this,
          [this](const QPoint &pos) { ShowEditorPopup(pos); });
  Editor->viewport()->installEventFilter(this);
}

void TRichTextEd::ShowEditorPopup(const QPoint &pos)
{
  // A scroll area reports the position in its viewport's coordinates.
  EditorPopupMenu1->popup(Editor->viewport()->mapToGlobal(pos));
}

// --- Window events --------------------------------------------------------------------------------

void TRichTextEd::FormCreate()
{
  // Font names as the system reports them, then sorted.
  FontName->addItems(QFontDatabase::families());
  FontName->model()->sort(0);

  Ruler->SetCaption(RulerCaption());

  SelectionChange();

  QString face;
  int twips = 0;
  Editor->GetDefaultCharFormat(face, twips);
  UpDown1->SetPosition(twips / 20);
  FontSize->setText(QString::number(twips / 20));
  FontName->setEditText(face);

  PlaintextOn = true;
  Editor->SetPlainText(PlaintextOn);
  Editor->Repaint();

  for (int i = 0; i < TextToStrip->ItemCount(); ++i)
    TextToStrip->SetChecked(i, i >= 4);
}

void TRichTextEd::FormShow()
{
  const QPoint mouse = QCursor::pos();
  MsRect = QRect(mouse, mouse);
  if (!isMinimized())
    AnimateRect(MsRect, frameGeometry());

  CoolBar2->setVisible(!PlaintextOn);

  // Line 0 is replaced as the line list writes lines: outside the undo history.
  if (!CommandLine.isEmpty() && !CommandLine.first().isEmpty()) {
    const int start = Editor->LineIndex(0);
    Editor->SetSel(start, start + int(Editor->GetLineText(0).size()));
    Editor->ReplaceSel(CommandLine.first(), false);
  }

  Editor->Repaint();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

  setAcceptDrops(true);

  RichEditChange();
  Editor->SetSel(0, 0);
  Editor->SetFocus();
}

void TRichTextEd::FormHide()
{
  if (!isMinimized())
    AnimateRect(frameGeometry(), MsRect);
}

void TRichTextEd::showEvent(QShowEvent *event)
{
  QWidget::showEvent(event);
  if (!event->spontaneous())
    RunCommand([this] { FormShow(); });
}

void TRichTextEd::hideEvent(QHideEvent *event)
{
  QWidget::hideEvent(event);
  if (!event->spontaneous())
    RunCommand([this] { FormHide(); });
}

void TRichTextEd::dragEnterEvent(QDragEnterEvent *event)
{
  // Files from the desktop are accepted, and nothing acts on them.
  if (event->mimeData()->hasUrls())
    event->acceptProposedAction();
  else
    QWidget::dragEnterEvent(event);
}

void TRichTextEd::dropEvent(QDropEvent *event)
{
  if (event->mimeData()->hasUrls())
    event->acceptProposedAction();
  else
    QWidget::dropEvent(event);
}

bool TRichTextEd::eventFilter(QObject *watched, QEvent *event)
{
  if (Editor && watched == Editor->viewport()) {
    // Files dropped from the desktop are accepted by the window and change nothing, also when
    // they land on the editor (which would otherwise insert their names).
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
        event->type() == QEvent::Drop) {
      auto *drop = static_cast<QDropEvent *>(event);
      if (acceptDrops() && drop->mimeData()->hasUrls()) {
        drop->acceptProposedAction();
        return true;
      }
    }
  }
  if (watched == FirstInd || watched == LeftInd || watched == RightInd) {
    auto *marker = static_cast<QLabel *>(watched);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
      RulerItemMouseDown(marker, static_cast<QMouseEvent *>(event)->position().toPoint().x());
      return true;
    case QEvent::MouseMove:
      RulerItemMouseMove(marker, static_cast<QMouseEvent *>(event)->position().toPoint().x());
      return true;
    case QEvent::MouseButtonRelease:
      RunCommand([this, marker] {
        if (marker == FirstInd)
          FirstIndMouseUp();
        else if (marker == LeftInd)
          LeftIndMouseUp();
        else
          RightIndMouseUp();
      });
      return true;
    default:
      break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TRichTextEd::AnimateRect(const QRect &from, const QRect &to)
{
  if (!AnimationVisible())
    return;
  QRubberBand band(QRubberBand::Rectangle);
  const int steps = 8;
  for (int i = 1; i <= steps; ++i) {
    const double t = double(i) / steps;
    const QRect r(QPoint(qRound(from.left() + (to.left() - from.left()) * t),
                         qRound(from.top() + (to.top() - from.top()) * t)),
                  QPoint(qRound(from.right() + (to.right() - from.right()) * t),
                         qRound(from.bottom() + (to.bottom() - from.bottom()) * t)));
    band.setGeometry(r.normalized());
    band.show();
    band.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(15);
  }
  band.hide();
}

// --- Commands of this window -------------------------------------------------------------------

void TRichTextEd::FileClose1Execute() { close(); }

void TRichTextEd::EditUndo()
{
  if (Editor->HandleAllocated())
    Editor->Undo();
}

void TRichTextEd::EditCut() { Editor->CutToClipboard(); }

void TRichTextEd::EditCopy() { Editor->CopyToClipboard(); }

void TRichTextEd::EditPaste() { Editor->PasteFromClipboard(); }

void TRichTextEd::UpdateEditActions()
{
  if (!EditCutAction || !Editor)
    return;
  // Cut and copy follow the focused edit control's selection; without one, the editor's.
  bool hasSelection = false;
  QWidget *focus = QApplication::focusWidget();
  if (auto *line = qobject_cast<QLineEdit *>(focus))
    hasSelection = line->hasSelectedText();
  else if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
    hasSelection = plain->textCursor().hasSelection();
  else if (auto *text = qobject_cast<QTextEdit *>(focus))
    hasSelection = text->textCursor().hasSelection();
  else
    hasSelection = Editor->textCursor().hasSelection();
  EditCutAction->setEnabled(hasSelection);
  EditCopyAction->setEnabled(hasSelection);
  // Whatever the editor can paste, also HTML without a text version.
  EditPasteAction->setEnabled(Editor->CanPaste());
}

void TRichTextEd::EditClearExecute()
{
  if (!FormattingAllowed())
    return;
  const int answer =
      MessageBox(this, QStringLiteral("Clear all text\r\n\r\n.......... Is this OK?"),
                 QStringLiteral("Confirm"), MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDYES)
    Editor->Clear();
}

void TRichTextEd::NotepadAction1Execute()
{
  ShellExecute(this, QStringLiteral("open"), QStringLiteral("Notepad.exe"), QString(), QString(),
               SW_SHOWNORMAL);
}

void TRichTextEd::ToolButton10Click()
{
  const QString program = SpreadsheetProgramOf(GetAssociatedOpenCommand(QStringLiteral(".xls")));
  if (!program.isEmpty())
    ShellExecute(this, QStringLiteral("open"), program, QString(), QString(), SW_SHOWNORMAL);
}

void TRichTextEd::RichEditChange()
{
  if (UndoButton)
    EditUndoAction->setEnabled(Editor->CanUndo());
}

void TRichTextEd::RulerActExecute() { Ruler->setVisible(Ruler->isHidden()); }
