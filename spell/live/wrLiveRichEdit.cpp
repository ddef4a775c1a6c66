#include "wrLiveRichEdit.h"
#include "wrLiveRichEditPrivate.h"

#include "wrConfiguration.h"
#include "wrCustomDictionary.h"
#include "wrMainDictionary.h"
#include "wrParseEngine.h"
#include "wrRichEdit.h"
#include "wrSpellBase.h"
#include "wrStringParser.h"
#include "wrUtil.h"
#include "wrWinAPIParser.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QWidget>
#include <algorithm>
#include <cmath>

using wrLiveRichEditPrivate::Rgb;

namespace {

// A line is checked up to here; the rest of a longer line stays unchecked.
constexpr int LineBufferCapacity = 4096;
// Ignore decisions and notifications of the spelling dialog (the parser's states).
constexpr qint32 StateIgnoreOnce = 10;
constexpr qint32 StateIgnoreAll = 11;
constexpr qint32 StateAdded = 12;
// Key codes of the context-menu keys.
constexpr int VirtualKeyApps = Qt::Key_Menu;
constexpr int VirtualKeyF10 = Qt::Key_F10;

} // namespace

TWrightLiveRichEdit::TWrightLiveRichEdit()
    : FStringParser(std::make_unique<TStringParser>()),
      FAPIParser(std::make_unique<TWinAPIControlParser>()),
      FIgnoreDictionary(std::make_unique<TCustomDictionary>())
{
}

TWrightLiveRichEdit::~TWrightLiveRichEdit()
{
  SetWrightSpell(nullptr);
  QObject::disconnect(FSpellDestroyed);
}

// --- Notifications from the spell component ----------------------------------------------------

void TWrightLiveRichEdit::SpellOptionsChanged(QObject *)
{
  if (FLiveOptions)
    UpdateWatchState();
}

void TWrightLiveRichEdit::ConfigurationChanged(QObject *)
{
  if (FLiveOptions)
    UpdateWatchState(); // the user's options may differ from the defaults assumed before
  if (FWatchSpelling && HandleValid()) {
    MarkAllLinesDirty();
    InvalidateAll();
  }
  if (!FWrightSpell)
    return;
  const auto &mains = FWrightSpell->MainDictionaries();
  auto *engine = dynamic_cast<TMainParsingEngine *>(FWrightSpell->ParsingEngine());
  if (!mains.empty() && mains.front() && engine)
    engine->SetAllowFrenchExceptions((mains.front()->Language() & 0xFF) == 0x0C);
}

void TWrightLiveRichEdit::ParserIgnoreWord(QObject *)
{
  if (!FWatchSpelling || !FWrightSpell)
    return;
  const TParserIgnoreWordEventList &list = FWrightSpell->OnParserIgnoreWordList();
  if (list.Before)
    return;
  const qint32 state = list.State;
  if (state != StateIgnoreAll && state != StateAdded &&
      (!HandleValid() || FWrightSpell->CurrentWord() != FHandle->GetSelText()))
    return;
  IgnoreWord(state);
}

void TWrightLiveRichEdit::PopupResult(QObject *)
{
  if (!FWatchSpelling || !FWrightSpell || !HandleValid())
    return;
  const TSpellPopupOption result = FWrightSpell->OnPopupResultList().PopupResult;
  if (result == spAdd || result == spIgnoreAll) {
    MarkAllLinesDirty();
    InvalidateAll();
  }
}

// --- The window --------------------------------------------------------------------------------

void TWrightLiveRichEdit::RefreshHandle()
{
  if (FEditGiven && !FEdit) {
    // The host control is gone, and its window with it.
    FEditGiven = false;
    FHandle = nullptr;
    return;
  }
  if (FHandle && FEdit) {
    HWND found = FindEditWindow();
    if (found && found != FHandle)
      FHandle = found;
  }
}

bool TWrightLiveRichEdit::HandleValid()
{
  RefreshHandle();
  return FHandle != nullptr;
}

HWND TWrightLiveRichEdit::FindEditWindow()
{
  auto *widget = qobject_cast<QWidget *>(FEdit.data());
  if (!widget)
    return nullptr;
  HWND own = TEditWindow::FromControl(widget);
  if (!own)
    return nullptr;
  if (IsRichEditWindow(own))
    return own;
  for (HWND child : own->Children())
    if (IsRichEditWindow(child))
      return child;
  return own;
}

void TWrightLiveRichEdit::SetWinControl(QObject *Value)
{
  FEdit = Value;
  FEditGiven = Value != nullptr;
  SetWindowHandle(Value ? FindEditWindow() : nullptr);
}

void TWrightLiveRichEdit::SetWindowHandle(HWND Value)
{
  if (FEdit && FindEditWindow() != Value) {
    FEdit = nullptr;
    FEditGiven = false;
  }
  if (HandleValid())
    InvalidateAll();
  FHandle = Value;
  if (HandleValid()) {
    const QString cls = FHandle->ClassName().left(1024).toLower();
    FLMDTools = cls.contains(u"lmd");
    FInfoPower = cls.contains(u"ww");
    FDXMemo = cls.contains(u"dxmemo");
    FDXInPlace = cls.contains(u"dxinplace");
    FRXLib = cls.contains(u"rx") || cls.contains(u"jv");
    if (FLMDTools)
      FControlCanDoubleBuffer = false;
  }
  UpdateWatchState();
}

QWidget *TWrightLiveRichEdit::ClientWidget() const
{
  if (!FHandle)
    return nullptr;
  auto *widget = qobject_cast<QWidget *>(FHandle->Control());
  if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
    return area->viewport();
  return widget;
}

bool TWrightLiveRichEdit::HasFocus() const
{
  auto *widget = FHandle ? qobject_cast<QWidget *>(FHandle->Control()) : nullptr;
  return widget && widget->hasFocus();
}

void TWrightLiveRichEdit::InvalidateAll()
{
  if (FHandle)
    FHandle->Invalidate();
}

QObject *TWrightLiveRichEdit::EventSender()
{
  // Without a control the engine itself is the sender; it is no QObject, so null stands for it.
  return FEdit.data();
}

// --- Properties --------------------------------------------------------------------------------

void TWrightLiveRichEdit::SetLiveSpelling(bool Value)
{
  FLiveSpelling = Value;
  UpdateWatchState();
}

void TWrightLiveRichEdit::SetLiveCorrect(bool Value)
{
  FLiveCorrect = Value;
  UpdateWatchState();
}

void TWrightLiveRichEdit::SetWrightSpell(TWrightSpellBase *Value)
{
  if (Value == FWrightSpell)
    return;
  if (FWrightSpell) {
    FWrightSpell->OnAddCustomIgnoreList().Remove(this);
    FWrightSpell->OnConfigChangedList().Remove(this);
    FWrightSpell->OnParserIgnoreWordList().Remove(this);
    FWrightSpell->OnPopupResultList().Remove(this);
    QObject::disconnect(FSpellDestroyed);
  }
  FWrightSpell = Value;
  if (FWrightSpell) {
    FWrightSpell->OnAddCustomIgnoreList().Add(this, [this](QObject *s) { SpellOptionsChanged(s); });
    FWrightSpell->OnConfigChangedList().Add(this, [this](QObject *s) { ConfigurationChanged(s); });
    FWrightSpell->OnParserIgnoreWordList().Add(this, [this](QObject *s) { ParserIgnoreWord(s); });
    FWrightSpell->OnPopupResultList().Add(this, [this](QObject *s) { PopupResult(s); });
    // A component freed before the engine: its lists go with it, so only forget it.
    FSpellDestroyed = QObject::connect(FWrightSpell, &QObject::destroyed, [this] {
      FWrightSpell = nullptr;
      UpdateWatchState();
    });
  }
  UpdateWatchState();
}

void TWrightLiveRichEdit::SetLiveSpellingColor(const QColor &Value)
{
  if (Value == FLiveColor)
    return;
  FLiveColor = Value;
  if (HandleValid())
    InvalidateAll();
}

void TWrightLiveRichEdit::SetLiveSpellingOptions(bool Value)
{
  FLiveOptions = Value;
  UpdateWatchState();
}

void TWrightLiveRichEdit::SetLiveSpellingReadOnly(bool Value)
{
  FLiveReadOnly = Value;
  UpdateWatchState();
}

void TWrightLiveRichEdit::UpdateWatchState()
{
  bool s = FLiveSpelling;
  bool c = FLiveCorrect;
  const bool valid = HandleValid();
  if (FWrightSpell && valid && FLiveOptions && FWrightSpell->Configuration()) {
    // Until the first word test loads the user's configuration, the first-run defaults stand
    // for it: attaching must not read the disk (ConfigurationChanged follows the load).
    TWrightConfig *config = FWrightSpell->Configuration();
    const TSpellOptions options =
        config->Loaded() ? config->SpellOptions() : FWrightSpell->ConfigDefaultOptions();
    s = options.Contains(soLiveSpelling);
    c = options.Contains(soLiveCorrect);
  }
  const bool writable = valid && (FLiveReadOnly || !FHandle->IsReadOnly());
  const bool watchSpelling = s && FWrightSpell && FLiveSpelling && writable;
  const bool watchCorrect = c && FWrightSpell && FLiveCorrect && writable;
  if (watchSpelling != FWatchSpelling) {
    FWatchSpelling = watchSpelling;
    if (!FWatchSpelling)
      FLineList.clear();
    if (valid)
      InvalidateAll();
  }
  FWatchCorrect = watchCorrect;
}

// --- Word decisions ----------------------------------------------------------------------------

bool TWrightLiveRichEdit::LiveWordAcceptable(const QString &Word, const QString &PreviousWord)
{
  if (!FWrightSpell)
    return true;
  bool ok = FWrightSpell->WordAcceptable(Word);
  TWordCheckType checkType = wcAccepted;
  if (ok && FWrightSpell->UseExcludeWords() && FWrightSpell->WordExcluded(Word)) {
    ok = false;
    checkType = wcExcluded;
  } else if (!ok) {
    checkType = wcDenied;
  }
  if (!ok && FUseIgnore && FIgnoreDictionary->IgnoreExists(Word)) {
    const auto found = FIgnoreWords.find(Word);
    if (found != FIgnoreWords.end())
      ok = found->second.count(PreviousWord) > 0;
  }
  if (FOnWordCheck) {
    QString replacement;
    FOnWordCheck(EventSender(), Word, checkType, replacement);
    ok = checkType == wcAccepted;
  }
  return ok;
}

void TWrightLiveRichEdit::BeginEditing()
{
  if (FOnBeginEditing)
    FOnBeginEditing(EventSender());
}

// --- Caches ------------------------------------------------------------------------------------

void TWrightLiveRichEdit::ResetDrawDeltas()
{
  for (auto &cache : FLineList)
    if (cache)
      cache->DrawDelta = 0;
}

void TWrightLiveRichEdit::MarkAllLinesDirty()
{
  for (auto &cache : FLineList)
    if (cache)
      cache->Dirty = true;
}

const TLineCache *TWrightLiveRichEdit::LineCache(int Line) const
{
  return Line >= 0 && Line < int(FLineList.size()) ? FLineList[size_t(Line)].get() : nullptr;
}

QString TWrightLiveRichEdit::GetLineText(int Line) const
{
  if (!FHandle)
    return QString();
  // EM_GETLINE into a buffer of fixed size: a longer line is cut there.
  QString text(LineBufferCapacity, Qt::Uninitialized);
  auto *buffer = reinterpret_cast<char16_t *>(text.data());
  buffer[0] = char16_t(LineBufferCapacity);
  text.truncate(FHandle->GetLine(Line, buffer));
  return text;
}

void TWrightLiveRichEdit::CheckLine(TLineCache &Cache, int Line, const QString &Text, int Caret,
                                    bool Focused)
{
  ++FLinesChecked;
  Cache.OldLine = Text;
  Cache.SpellingErrors.clear();
  bool spared = false;
  const int lineStart = FHandle->LineIndex(Line);
  TParsingEngine *engine = FWrightSpell->ParsingEngine();
  if (engine && !FWrightSpell->RunLineIgnore(Text)) {
    FLineBuffer = Text;
    FStringParser->Initialize(&FLineBuffer);
    engine->Initialize(FStringParser.get(), ctAll);
    QString previous;
    for (QString w = engine->NextWord(FStringParser.get()); !w.isEmpty();
         w = engine->NextWord(FStringParser.get())) {
      if (!LiveWordAcceptable(w, previous)) {
        int x = 0, y = 0;
        FStringParser->GetPosition(x, y);
        if (lineStart + x - 1 == Caret && Focused)
          spared = true; // the word being typed
        else
          Cache.SpellingErrors.emplace_back(x - int(w.size()) - 1, x - 1);
      }
      if (FUseIgnore)
        previous = w;
    }
  }
  Cache.Dirty = spared;
}

// --- Painting ----------------------------------------------------------------------------------

bool TWrightLiveRichEdit::CanDoubleBuffer()
{
  if (FVersionCheckNeeded) {
    // The editing widget renders ranges exactly as it paints them (FormatRange).
    FVersionCheckNeeded = false;
    FSufficientVersion = true;
  }
  return FWatchSpelling && FDoubleBuffered && FSufficientVersion && FHandle &&
         FHandle->IsMultiLine() && FHandle->GetSelLength() == 0 && FBufferNextPaint &&
         FControlCanDoubleBuffer;
}

bool TWrightLiveRichEdit::WMEraseBkgnd(QPaintDevice *Device)
{
  return !CanDoubleBuffer() || (Device && Device == &FBuffer);
}

void TWrightLiveRichEdit::CacheBackgroundColor()
{
  if (FBackgroundColorCached || !FHandle)
    return;
  FBackgroundColorCached = true;
  const quint32 previous = FHandle->SetBackgroundColor(CLR_DEFAULT);
  const QColor color(int(previous & 0xFF), int((previous >> 8) & 0xFF),
                     int((previous >> 16) & 0xFF));
  FBackgroundColor = color;
  FBackgroundSysColor = Rgb(color) == Rgb(QGuiApplication::palette().color(QPalette::Base));
  if (!FBackgroundSysColor)
    FHandle->SetBackgroundColor(previous);
}

int TWrightLiveRichEdit::RenderLeft() const
{
  // The formatting origin on screen: the document margin less the horizontal scroll.
  auto *edit = FHandle ? qobject_cast<QTextEdit *>(FHandle->Control()) : nullptr;
  if (!edit)
    return 1;
  return qRound(edit->document()->documentMargin()) - edit->horizontalScrollBar()->value();
}

bool TWrightLiveRichEdit::WMPaint(QPaintEvent *Message, bool &PaintCleanup)
{
  PaintCleanup = false;
  if (!FWatchSpelling || FSearching || !HandleValid())
    return true;
  QWidget *client = ClientWidget();
  if (!client)
    return true;
  const QRect clientRect(QPoint(0, 0), FHandle->ClientSize());
  QRect update = Message ? Message->rect() : clientRect;
  const int first = FHandle->GetFirstVisibleLine();
  if (first != FLastFirstLine) {
    FLastFirstLine = first;
    InvalidateAll();
  } else if (!update.isEmpty()) {
    // An update ending at a line's bottom also repaints the underline hanging below it. A
    // paint cannot grow its own region here, so the band below is asked for once more; the
    // paint of that band asks for nothing further.
    const QRect band = QRect(0, update.bottom() + 1, clientRect.width(), 4).intersected(clientRect);
    if (!band.isEmpty() && !FPendingExtension.contains(update)) {
      FPendingExtension = band;
      FHandle->Invalidate(band);
    } else {
      FPendingExtension = QRect();
    }
  }

  if (!(CanDoubleBuffer() && !update.isEmpty())) {
    // Plain path: the control paints, the underlines follow in WMPaintCleanup.
    PaintCleanup = true;
    FBufferNextPaint = true;
    return true;
  }

  // Buffered path.
  RenderVisibleText(FBuffer);
  {
    QPainter painter(&FBuffer);
    TLiveCanvas dc;
    dc.Painter = &painter;
    dc.Pixels = &FBuffer;
    PaintErrors(dc);
    DrawCaret(painter);
  }
  QPainter window(client);
  window.drawImage(0, 0, FBuffer);
  return false;
}

bool TWrightLiveRichEdit::RenderVisibleText(QImage &Image)
{
  const QRect clientRect(QPoint(0, 0), FHandle->ClientSize());
  if (Image.size() != clientRect.size())
    Image = QImage(clientRect.size(), QImage::Format_RGB32);
  const int twipsX = 1440 / qMax(1, Image.logicalDpiX());
  const int twipsY = 1440 / qMax(1, Image.logicalDpiY());
  const int start = FHandle->LineIndex(FHandle->GetFirstVisibleLine());
  const QPoint p = FHandle->PosFromChar(start);
  // Horizontal: where the widget puts the formatting origin; vertical: the first visible
  // line's top (partly above the window when it is scrolled half out).
  const QRect render(
      QPoint(RenderLeft() * twipsX, p.y() * twipsY),
      QPoint((clientRect.width() - 2) * twipsX - 1, (clientRect.height() + 30) * twipsY - 1));
  CacheBackgroundColor();
  {
    QPainter fill(&Image);
    fill.fillRect(clientRect, FBackgroundSysColor ? QGuiApplication::palette().color(QPalette::Base)
                                                  : FBackgroundColor);
  }
  FHandle->EraseBackground(&Image);
  FHandle->ClearFormatCache();
  return FHandle->FormatRange(&Image, start, render) > start;
}

const QImage *TWrightLiveRichEdit::MeasureSurface()
{
  if (!FMeasureRendered) {
    FMeasureRendered = true;
    FMeasureValid = HandleValid() && RenderVisibleText(FMeasureBuffer);
  }
  return FMeasureValid ? &FMeasureBuffer : nullptr;
}

void TWrightLiveRichEdit::DrawCaret(QPainter &Painter)
{
  // The off-screen rendering has no caret; the window shows it while it has the focus.
  auto *edit = FHandle ? qobject_cast<QTextEdit *>(FHandle->Control()) : nullptr;
  if (!edit || !edit->hasFocus() || edit->isReadOnly())
    return;
  const QRect r = edit->cursorRect();
  Painter.fillRect(QRect(r.left(), r.top(), qMax(1, edit->cursorWidth()), r.height()),
                   edit->palette().color(QPalette::Text));
}

void TWrightLiveRichEdit::WMPaintCleanup(QPaintEvent *)
{
  if (!HandleValid())
    return;
  QWidget *client = ClientWidget();
  if (!client)
    return;
  QPainter painter(client);
  TLiveCanvas dc;
  dc.Painter = &painter;
  FMeasureRendered = false; // the text may have changed since the last paint
  PaintErrors(dc);
  FMeasureRendered = false;
}

void TWrightLiveRichEdit::PaintErrors(const TLiveCanvas &DC)
{
  if (!FWrightSpell || !HandleValid() || !DC.Painter)
    return;
  FUseIgnore = FLiveMenuOptions.Contains(spIgnore);
  const QRect client(QPoint(0, 0), FHandle->ClientSize());
  DC.Painter->save();
  DC.Painter->setPen(QPen(FLiveColor, 1, Qt::SolidLine));
  DC.Painter->setRenderHint(QPainter::Antialiasing, false);
  const int caret = FHandle->GetSelStart();
  const bool focused = HasFocus();
  int i = FHandle->GetFirstVisibleLine();
  for (;;) {
    const QString text = GetLineText(i);
    if (i >= int(FLineList.size()))
      FLineList.resize(size_t(i) + 64);
    auto &slot = FLineList[size_t(i)];
    if (!slot)
      slot = std::make_unique<TLineCache>();
    TLineCache &cache = *slot;
    bool changed = false;
    if (cache.Dirty || cache.OldLine != text) {
      changed = true;
      CheckLine(cache, i, text, caret, focused);
    }
    if (!cache.SpellingErrors.empty()) {
      const int lineStart = FHandle->LineIndex(i);
      const TSpellingError &firstError = cache.SpellingErrors.front();
      const int y = UnderlineBaseline(DC, i, firstError.X1 + lineStart, firstError.X2 + lineStart,
                                      changed ? lcChanged : lcUnchanged);
      // Rows of a wrapped line take the same offset below their own top.
      const int firstRowTop = FHandle->PosFromChar(firstError.X1 + lineStart).y();
      for (const TSpellingError &e : cache.SpellingErrors) {
        const int rowTop = FHandle->PosFromChar(e.X1 + lineStart).y();
        if (rowTop > client.bottom())
          break;
        DrawSquiggle(DC, y + rowTop - firstRowTop, e.X1 + lineStart, e.X2 + lineStart);
      }
    }
    ++i;
    const int next = FHandle->LineIndex(i);
    if (next < 0 || FHandle->PosFromChar(next).y() > client.bottom())
      break;
  }
  DC.Painter->restore();
}

// --- Hooks -------------------------------------------------------------------------------------

void TWrightLiveRichEdit::WMSize()
{
  if (HandleValid()) {
    InvalidateAll();
    FBufferNextPaint = false;
  }
}

void TWrightLiveRichEdit::WMKeyUp()
{
  if (!FLastKey.isNull()) {
    LiveCorrectKey(FLastKey);
    FLastKey = QChar();
  }
}

void TWrightLiveRichEdit::KeyPress(QChar &Key) { FLastKey = Key; }

void TWrightLiveRichEdit::EMSetReadOnly() { UpdateWatchState(); }

void TWrightLiveRichEdit::EMSetTargetDevice()
{
  FControlCanDoubleBuffer = false;
  if (HandleValid())
    InvalidateAll();
}

void TWrightLiveRichEdit::EMGetOleInterface() { ResetDrawDeltas(); }

void TWrightLiveRichEdit::WMKillFocus()
{
  if (FWatchSpelling && HandleValid())
    InvalidateAll();
}

void TWrightLiveRichEdit::WMPaste()
{
  ResetDrawDeltas();
  if (FWatchSpelling && HandleValid())
    InvalidateAll();
}

void TWrightLiveRichEdit::EMSetCharFormat() { WMPaste(); }

void TWrightLiveRichEdit::Notification(QObject *AComponent, bool Removing)
{
  if (Removing && AComponent && FWrightSpell && AComponent == FWrightSpell)
    SetWrightSpell(nullptr);
}

bool TWrightLiveRichEdit::WMContextMenu(const QPoint &ScreenPos)
{
  if (FAggressiveContextMenu)
    return false;
  return WMContextMenuInternal(ScreenPos);
}

bool TWrightLiveRichEdit::WMKeyDown(int Key, Qt::KeyboardModifiers Modifiers)
{
  if (FAggressiveContextMenu &&
      (Key == VirtualKeyApps || (Key == VirtualKeyF10 && (Modifiers & Qt::ShiftModifier)))) {
    RefreshHandle();
    return WMContextMenuInternal(QPoint(-1, -1));
  }
  return true;
}

bool TWrightLiveRichEdit::WMRButtonDown(const QPoint &ClientPos)
{
  if (!FAggressiveContextMenu)
    return true;
  RefreshHandle();
  if (!FHandle)
    return true;
  return WMContextMenuInternal(FHandle->ClientToScreen(ClientPos));
}

bool TWrightLiveRichEdit::WMRButtonUp(const QPoint &ClientPos)
{
  if (FAggressiveContextMenu)
    return true;
  RefreshHandle();
  if (FHandle && (FLMDTools || FInfoPower || FDXInPlace || FRXLib))
    return WMContextMenuInternal(FHandle->ClientToScreen(ClientPos));
  return true;
}

// --- Selection changes ---------------------------------------------------------------------------

void TWrightLiveRichEdit::NotifySelectionChange()
{
  if (!FWatchSpelling || !HandleValid())
    return;
  int i = FHandle->GetFirstVisibleLine();
  const int caretLine = FHandle->LineFromChar(FHandle->GetSelStart());
  // Only dirty lines off the caret are repainted: past the last of them the walk down the
  // screen (a position lookup per line) has nothing left to do. Usually there is none.
  int last = int(FLineList.size()) - 1;
  while (last >= i &&
         !(FLineList[size_t(last)] && FLineList[size_t(last)]->Dirty && last != caretLine))
    --last;
  const QRect client(QPoint(0, 0), FHandle->ClientSize());
  while (i <= last) {
    TLineCache *cache = FLineList[size_t(i)].get();
    if (cache && cache->Dirty && i != caretLine) {
      cache->Dirty = true;
      const int top = FHandle->PosFromChar(FHandle->LineIndex(i)).y();
      const int nextStart = FHandle->LineIndex(i + 1);
      const int bottom = nextStart > 0 ? FHandle->PosFromChar(nextStart).y() : client.bottom();
      FHandle->Invalidate(QRect(QPoint(0, top), QPoint(client.right(), qMax(top, bottom))));
    }
    if (++i > last)
      break;
    const int start = FHandle->LineIndex(i);
    if (start < 0 || FHandle->PosFromChar(start).y() > client.bottom())
      break;
  }
}

// --- Live correction ---------------------------------------------------------------------------

void TWrightLiveRichEdit::SetRedraw(bool Suspend)
{
  if (!HandleValid())
    return;
  QWidget *client = ClientWidget();
  if ((client && client->isVisible()) || !Suspend)
    FHandle->SetRedraw(!Suspend);
  if (!Suspend) {
    InvalidateAll();
    FHandle->Update();
  }
}

void TWrightLiveRichEdit::LiveCorrectKey(QChar Key)
{
  if (!FWatchCorrect || !HandleValid() || !FExpandKeys.contains(Key) ||
      FHandle->GetSelLength() != 0 || !FWrightSpell || !FWrightSpell->ParsingEngine())
    return;
  int caret = FHandle->GetSelStart();
  const int line = FHandle->LineFromChar(caret);
  const int lineStart = FHandle->LineIndex(line);
  TParsingEngine *engine = FWrightSpell->ParsingEngine();
  FAPIParser->InitializeFromHWND(FHandle);
  engine->Initialize(FAPIParser.get(), ctAll);
  // The character before the delimiter just typed.
  const int column = caret - lineStart - 2;
  if (column < 0)
    return;
  engine->AdjustToPosition(FAPIParser.get(), column, line);
  const QString w = engine->NextWord(FAPIParser.get());
  if (w.isEmpty())
    return;
  // Only the word that ends right before the delimiter.
  int px = 0, py = 0;
  FAPIParser->GetPosition(px, py);
  if (py != line || px != column + 1)
    return;
  if (LiveWordAcceptable(w, QString()) && !FWrightSpell->UseAutoCorrectFirst())
    return;
  TWordCheckType checkType = wcDenied;
  QString correction;
  if (FWrightSpell->WordHasCorrection(w, correction))
    checkType = wcCorrected;
  if (FOnWordCheck)
    FOnWordCheck(EventSender(), w, checkType, correction);
  if (checkType != wcCorrected)
    return;
  SetRedraw(true);
  struct TResume {
    TWrightLiveRichEdit *Engine;
    ~TResume() { Engine->SetRedraw(false); }
  } resume{this};
  BeginEditing();
  // One undo step: undoing brings back the word as typed, delimiter included.
  FHandle->BeginEditBlock();
  FAPIParser->SelectWord(int(w.size()));
  FAPIParser->ReplaceWord(correction, 2);
  caret += int(correction.size()) - int(w.size());
  FHandle->SetSel(caret, caret);
  FHandle->EndEditBlock();
}

// --- The live menu -----------------------------------------------------------------------------

bool TWrightLiveRichEdit::WMContextMenuInternal(const QPoint &ScreenPos)
{
  if (!FWatchSpelling || !HandleValid() || !FWrightSpell || !FWrightSpell->ParsingEngine())
    return true;
  const QRect client(QPoint(0, 0), FHandle->ClientSize());
  QPoint p = ScreenPos;
  if (p.x() < 0)
    p = FHandle->PosFromChar(FHandle->GetSelStart()) + QPoint(1, 1);
  else
    p = FHandle->ScreenToClient(p);
  if (!client.contains(p))
    return true;
  const int index = FHandle->CharFromPos(p);
  const int line = FHandle->LineFromChar(index);
  const int column = index - FHandle->LineIndex(line);
  const QString text = GetLineText(line);
  if (FWrightSpell->RunLineIgnore(text))
    return true;

  TParsingEngine *engine = FWrightSpell->ParsingEngine();
  FUseIgnore = FLiveMenuOptions.Contains(spIgnore);
  FLineBuffer = text;
  FStringParser->Initialize(&FLineBuffer);
  engine->Initialize(FStringParser.get(), ctAll);
  QString previous, target;
  int targetX = 0;
  for (QString w = engine->NextWord(FStringParser.get()); !w.isEmpty();
       w = engine->NextWord(FStringParser.get())) {
    if (!LiveWordAcceptable(w, previous)) {
      int x = 0, y = 0;
      FStringParser->GetPosition(x, y);
      if (x - int(w.size()) - 1 <= column && column <= x - 1) {
        target = w;
        targetX = x;
        break;
      }
      if (column < x)
        break;
    }
    if (FUseIgnore)
      previous = w;
  }
  if (target.isEmpty())
    return true;

  FAPIParser->InitializeFromHWND(FHandle);
  FAPIParser->SetPosition(targetX - 1, line, ptCurrent);
  FAPIParser->SelectWord(int(target.size()));
  QRect r;
  FAPIParser->GetSelectionScreenPosition(r);
  QString chosen = target;
  const TSpellPopupOption choice =
      FWrightSpell->ShowPopupMenu(FEdit.data(), FLiveMenuOptions, r.left(), r.bottom(), chosen);
  ApplyPopupChoice(choice, target, chosen);
  if (HandleValid()) {
    const QPoint topLeft = FHandle->ScreenToClient(r.topLeft());
    const QPoint bottomRight = FHandle->ScreenToClient(r.bottomRight());
    FHandle->Invalidate(
        QRect(QPoint(0, topLeft.y() - 1), QPoint(client.right(), bottomRight.y() + 1)));
  }
  return false;
}

void TWrightLiveRichEdit::ApplyPopupChoice(TSpellPopupOption Choice, const QString &Word,
                                           const QString &Replacement)
{
  if (!HandleValid())
    return;
  switch (Choice) {
  case spDialog:
    if (FWrightSpell)
      FWrightSpell->CheckLiveSpellWord(FEdit.data(), FHandle);
    break;
  case spAutoCorrect:
    BeginEditing();
    FAPIParser->ReplaceWord(Replacement, 2);
    break;
  case spChangeAll:
    // The clicked word and every other occurrence: one undo step.
    FHandle->BeginEditBlock();
    BeginEditing();
    FAPIParser->ReplaceWord(Replacement, 1);
    SearchAndReplace(Word, Replacement);
    FHandle->EndEditBlock();
    break;
  case spAdd:
  case spIgnoreAll:
    MarkAllLinesDirty();
    InvalidateAll();
    break;
  case spIgnore:
    IgnoreWord(StateIgnoreOnce);
    break;
  case spReplace:
    BeginEditing();
    FAPIParser->ReplaceWord(Replacement, 0);
    break;
  default:
    break;
  }
}

// --- Ignore once and replace all ----------------------------------------------------------------

void TWrightLiveRichEdit::IgnoreWord(qint32 State)
{
  if (!FWatchSpelling || !HandleValid() || !FWrightSpell || !FWrightSpell->ParsingEngine())
    return;
  TParsingEngine *engine = FWrightSpell->ParsingEngine();
  if (State == StateIgnoreOnce) {
    FAPIParser->InitializeFromHWND(FHandle);
    int cx = 0, cy = 0;
    FAPIParser->GetCursorPosition(cx, cy);
    engine->Initialize(FAPIParser.get(), ctAll);
    engine->AdjustToPosition(FAPIParser.get(), cx, cy);
    const QString w = engine->NextWord(FAPIParser.get());
    if (w.isEmpty() || w != FHandle->GetSelText())
      return;
    engine->AdjustToPosition(FAPIParser.get(), 0, cy);
    QString previous, v;
    for (;;) {
      v = engine->NextWord(FAPIParser.get());
      int px = 0, py = 0;
      FAPIParser->GetPosition(px, py);
      if (px >= cx || v.isEmpty() || py != cy)
        break;
      previous = v;
    }
    if (v != w)
      return;
    FAPIParser->SelectWord(int(w.size()));
    FIgnoreDictionary->AddIgnore(w);
    FIgnoreWords[w].insert(previous);
    if (TLineCache *cache =
            cy >= 0 && cy < int(FLineList.size()) ? FLineList[size_t(cy)].get() : nullptr) {
      QRect r;
      FAPIParser->GetSelectionScreenPosition(r);
      FHandle->Invalidate(
          QRect(FHandle->ScreenToClient(r.topLeft()), FHandle->ScreenToClient(r.bottomRight())));
      cache->Dirty = true;
    }
  } else if (State == StateIgnoreAll || State == StateAdded) {
    const int start = FHandle->GetSelStart();
    FHandle->SetSel(start, start);
    MarkAllLinesDirty();
    InvalidateAll();
    FHandle->Update();
  }
}

void TWrightLiveRichEdit::SearchAndReplace(const QString &Word, const QString &ReplacementWord)
{
  if (Word == ReplacementWord || FSearching || !HandleValid() || !FWrightSpell ||
      !FWrightSpell->ParsingEngine())
    return;
  QElapsedTimer t0;
  t0.start();
  bool busy = false;
  const int selStart = FHandle->GetSelStart();
  const int selLength = FHandle->GetSelLength();
  FSearching = true;
  SetRedraw(true);
  struct TEnd {
    TWrightLiveRichEdit *Engine;
    bool &Busy;
    ~TEnd()
    {
      Engine->SetRedraw(false);
      Engine->FSearching = false;
      if (Busy)
        QGuiApplication::restoreOverrideCursor();
    }
  } end{this, busy};
  TParsingEngine *engine = FWrightSpell->ParsingEngine();
  // One edit block: one undo step, and the layout of a long text waits until the end.
  FHandle->BeginEditBlock();
  FAPIParser->InitializeFromHWND(FHandle);
  engine->Initialize(FAPIParser.get(), ctAll);
  for (QString v = engine->NextWord(FAPIParser.get()); !v.isEmpty();
       v = engine->NextWord(FAPIParser.get())) {
    if (v == Word) {
      BeginEditing();
      FAPIParser->SelectWord(int(v.size()));
      FAPIParser->ReplaceWord(ReplacementWord, 0);
    }
    if (!busy && t0.elapsed() > 500) {
      busy = true;
      QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
  }
  FHandle->SetSel(selStart, selStart + selLength);
  FHandle->EndEditBlock();
  InvalidateAll();
}

void TWrightLiveRichEdit::Check(TCheckType CheckType)
{
  if (!FWrightSpell || !HandleValid())
    return;
  auto parser = std::make_unique<TWinAPIControlParser>();
  parser->InitializeFromHWND(FHandle);
  // The component frees a parser it takes over (FreeParser); otherwise it is freed here.
  const bool handOver = FWrightSpell->FreeParser();
  FWrightSpell->CheckParser(parser.get(), CheckType);
  if (handOver)
    parser.release();
}

void InstallLiveRichEditFactory()
{
  TWrightRichEdit::SetLiveInterfaceFactory([] { return std::make_unique<TWrightLiveRichEdit>(); });
}
