#include "wrRichEdit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPaintEvent>

namespace {

TWrightRichEdit::TLiveInterfaceFactory &LiveFactory()
{
  static TWrightRichEdit::TLiveInterfaceFactory factory;
  return factory;
}

} // namespace

TWrightRichEdit::TWrightRichEdit(QWidget *parent) : QTextEdit(parent), TTextEditWindow(this, true)
{
  // Whoever creates the editor can also reach the program's other text widgets as windows.
  InstallEditWindowFactory();
  setAcceptRichText(true);
  setTabChangesFocus(false);
  setLineWrapMode(QTextEdit::WidgetWidth);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  // A thin margin like the native control's: the first character of an unindented line sits
  // at most 2 pixels from the left edge, which live painting relies on.
  document()->setDocumentMargin(2);
  // Latin text unshaped (no kerning or ligatures), as the native control draws it; scripts that
  // need shaping are still shaped. Shaping a joined multi-megabyte line costs about a third of
  // its layout.
  QFont f = document()->defaultFont();
  f.setStyleStrategy(QFont::PreferNoShaping);
  document()->setDefaultFont(f);
  // After the adapter's own notifications, so the engine sees the selection they reported.
  const auto selectionMoved = [this] {
    if (FLiveInterface)
      FLiveInterface->NotifySelectionChange();
  };
  connect(this, &QTextEdit::cursorPositionChanged, this, selectionMoved);
  connect(this, &QTextEdit::selectionChanged, this, selectionMoved);
  if (LiveFactory())
    SetLiveInterface(LiveFactory()());
}

TWrightRichEdit::~TWrightRichEdit()
{
  // The engine goes first, while the window it reads is still whole.
  FLiveInterface.reset();
}

void TWrightRichEdit::SetLiveInterfaceFactory(TLiveInterfaceFactory Factory)
{
  LiveFactory() = std::move(Factory);
}

void TWrightRichEdit::SetLiveInterface(std::unique_ptr<TLiveEditHooks> Value)
{
  FLiveInterface = std::move(Value);
  if (FLiveInterface && !FLiveInterface->WinControl())
    FLiveInterface->SetWinControl(this);
}

// The live properties: the engine's when there is one, else the engine's defaults.
bool TWrightRichEdit::LiveSpelling() const { return FLiveInterface ? FLiveInterface->LiveSpelling() : true; }
void TWrightRichEdit::SetLiveSpelling(bool Value)
{
  if (FLiveInterface)
    FLiveInterface->SetLiveSpelling(Value);
}

bool TWrightRichEdit::LiveCorrect() const { return FLiveInterface ? FLiveInterface->LiveCorrect() : true; }
void TWrightRichEdit::SetLiveCorrect(bool Value)
{
  if (FLiveInterface)
    FLiveInterface->SetLiveCorrect(Value);
}

TWrightSpellBase *TWrightRichEdit::WrightSpell() const { return FLiveInterface ? FLiveInterface->WrightSpell() : nullptr; }
void TWrightRichEdit::SetWrightSpell(TWrightSpellBase *Value)
{
  if (FLiveInterface)
    FLiveInterface->SetWrightSpell(Value);
}

QColor TWrightRichEdit::LiveSpellingColor() const { return FLiveInterface ? FLiveInterface->LiveSpellingColor() : QColor(255, 0, 0); }
void TWrightRichEdit::SetLiveSpellingColor(const QColor &Value)
{
  if (FLiveInterface)
    FLiveInterface->SetLiveSpellingColor(Value);
}

bool TWrightRichEdit::DoubleBuffered() const { return FLiveInterface ? FLiveInterface->DoubleBuffered() : true; }
void TWrightRichEdit::SetDoubleBuffered(bool Value)
{
  if (FLiveInterface)
    FLiveInterface->SetDoubleBuffered(Value);
}

bool TWrightRichEdit::LiveSpellingOptions() const { return FLiveInterface ? FLiveInterface->LiveSpellingOptions() : true; }
void TWrightRichEdit::SetLiveSpellingOptions(bool Value)
{
  if (FLiveInterface)
    FLiveInterface->SetLiveSpellingOptions(Value);
}

TSpellPopupOptions TWrightRichEdit::LiveMenuOptions() const { return FLiveInterface ? FLiveInterface->LiveMenuOptions() : TSpellPopupOptions::Range(spDialog, spReplace); }
void TWrightRichEdit::SetLiveMenuOptions(TSpellPopupOptions Value)
{
  if (FLiveInterface)
    FLiveInterface->SetLiveMenuOptions(Value);
}

bool TWrightRichEdit::LiveSpellingReadOnly() const { return FLiveInterface ? FLiveInterface->LiveSpellingReadOnly() : false; }
void TWrightRichEdit::SetLiveSpellingReadOnly(bool Value)
{
  if (FLiveInterface)
    FLiveInterface->SetLiveSpellingReadOnly(Value);
}

bool TWrightRichEdit::IrregularLeftMargin() const { return FLiveInterface ? FLiveInterface->IrregularLeftMargin() : true; }
void TWrightRichEdit::SetIrregularLeftMargin(bool Value)
{
  if (FLiveInterface)
    FLiveInterface->SetIrregularLeftMargin(Value);
}

bool TWrightRichEdit::IrregularLineHeights() const { return FLiveInterface ? FLiveInterface->IrregularLineHeights() : false; }
void TWrightRichEdit::SetIrregularLineHeights(bool Value)
{
  if (FLiveInterface)
    FLiveInterface->SetIrregularLineHeights(Value);
}

bool TWrightRichEdit::AggressiveContextMenu() const { return FLiveInterface ? FLiveInterface->AggressiveContextMenu() : false; }
void TWrightRichEdit::SetAggressiveContextMenu(bool Value)
{
  if (FLiveInterface)
    FLiveInterface->SetAggressiveContextMenu(Value);
}

QString TWrightRichEdit::ExpansionChars() const { return FLiveInterface ? FLiveInterface->ExpansionChars() : QStringLiteral(" .,;:\t"); }
void TWrightRichEdit::SetExpansionChars(const QString &Value)
{
  if (FLiveInterface)
    FLiveInterface->SetExpansionChars(Value);
}

TWordCheckEvent TWrightRichEdit::OnWordCheck() const { return FLiveInterface ? FLiveInterface->OnWordCheck() : TWordCheckEvent(); }
void TWrightRichEdit::SetOnWordCheck(const TWordCheckEvent &Value)
{
  if (FLiveInterface)
    FLiveInterface->SetOnWordCheck(Value);
}

void TWrightRichEdit::Check(TCheckType CheckType)
{
  if (!FLiveInterface)
    return;
  const bool hide = HideSelection();
  TTextEditWindow::SetHideSelection(false);
  FLiveInterface->Check(CheckType);
  TTextEditWindow::SetHideSelection(hide);
}

QString TWrightRichEdit::ClassName() const { return QStringLiteral("WrightRichEdit20W"); }

void TWrightRichEdit::SetReadOnly(bool readOnly)
{
  // The engine hears of it through the read-only change event.
  TTextEditWindow::SetReadOnly(readOnly);
}

void TWrightRichEdit::PasteFromClipboard()
{
  TTextEditWindow::PasteFromClipboard();
  if (FLiveInterface)
    FLiveInterface->WMPaste();
}

void TWrightRichEdit::SetSelAttributes(const TCharAttributes &a)
{
  TTextEditWindow::SetSelAttributes(a);
  if (FLiveInterface)
    FLiveInterface->EMSetCharFormat();
}

void TWrightRichEdit::SetDefAttributes(const TCharAttributes &a)
{
  TTextEditWindow::SetDefAttributes(a);
  if (FLiveInterface)
    FLiveInterface->EMSetCharFormat();
}

void TWrightRichEdit::insertFromMimeData(const QMimeData *source)
{
  InsertMimeData(source);
  if (FLiveInterface)
    FLiveInterface->WMPaste();
}

void TWrightRichEdit::mousePressEvent(QMouseEvent *event)
{
  QTextEdit::mousePressEvent(event);
  if (OnMouseDown)
    OnMouseDown(this);
}

bool TWrightRichEdit::LiveContextMenu(QEvent *event)
{
  if (!FLiveInterface || event->type() != QEvent::ContextMenu)
    return false;
  auto *menu = static_cast<QContextMenuEvent *>(event);
  const QPoint at =
      menu->reason() == QContextMenuEvent::Keyboard ? QPoint(-1, -1) : menu->globalPos();
  if (FLiveInterface->WMContextMenu(at))
    return false;
  event->accept();
  return true;
}

// The keyboard's context-menu request reaches the editor, the mouse's its viewport; both come
// here before the editor's menu policy (the main window's own menu) sees them.
bool TWrightRichEdit::event(QEvent *event)
{
  if (LiveContextMenu(event))
    return true;
  return QTextEdit::event(event);
}

bool TWrightRichEdit::viewportEvent(QEvent *event)
{
  if (LiveContextMenu(event))
    return true;
  return QTextEdit::viewportEvent(event);
}

void TWrightRichEdit::paintEvent(QPaintEvent *event)
{
  bool cleanup = false;
  if (!FLiveInterface || FLiveInterface->WMPaint(event, cleanup))
    QTextEdit::paintEvent(event);
  if (cleanup && FLiveInterface)
    FLiveInterface->WMPaintCleanup(event);
}

void TWrightRichEdit::resizeEvent(QResizeEvent *event)
{
  if (FLiveInterface)
    FLiveInterface->WMSize();
  QTextEdit::resizeEvent(event);
}

void TWrightRichEdit::keyPressEvent(QKeyEvent *event)
{
  QTextEdit::keyPressEvent(event);
  if (FLiveInterface && !event->text().isEmpty()) {
    QChar key = event->text().at(0);
    FLiveInterface->KeyPress(key);
  }
}

void TWrightRichEdit::keyReleaseEvent(QKeyEvent *event)
{
  if (FLiveInterface)
    FLiveInterface->WMKeyUp();
  QTextEdit::keyReleaseEvent(event);
}

void TWrightRichEdit::focusOutEvent(QFocusEvent *event)
{
  QTextEdit::focusOutEvent(event);
  if (FLiveInterface)
    FLiveInterface->WMKillFocus();
}

void TWrightRichEdit::changeEvent(QEvent *event)
{
  QTextEdit::changeEvent(event);
  if (event->type() == QEvent::ReadOnlyChange && FLiveInterface)
    FLiveInterface->EMSetReadOnly();
}
