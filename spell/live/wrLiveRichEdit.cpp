#include "wrLiveRichEdit.h"

#include "wrCustomDictionary.h"
#include "wrRichEdit.h"
#include "wrSpellBase.h"
#include "wrStringParser.h"
#include "wrWinAPIParser.h"

#include <QImage>
#include <QPainter>

quint32 TLiveCanvas::Pixel(int x, int y) const
{
  if (!Pixels || x < 0 || y < 0 || x >= Pixels->width() || y >= Pixels->height())
    return InvalidColor;
  return Pixels->pixel(x, y) & 0x00FFFFFFu;
}

TWrightLiveRichEdit::TWrightLiveRichEdit()
    : FStringParser(std::make_unique<TStringParser>()),
      FAPIParser(std::make_unique<TWinAPIControlParser>()),
      FIgnoreDictionary(std::make_unique<TCustomDictionary>())
{
}

TWrightLiveRichEdit::~TWrightLiveRichEdit() { SetWrightSpell(nullptr); }

void TWrightLiveRichEdit::SpellOptionsChanged(QObject *) {}
void TWrightLiveRichEdit::ConfigurationChanged(QObject *) {}
void TWrightLiveRichEdit::ParserIgnoreWord(QObject *) {}
void TWrightLiveRichEdit::PopupResult(QObject *) {}
void TWrightLiveRichEdit::RefreshHandle() {}
bool TWrightLiveRichEdit::HandleValid() { return FHandle != nullptr; }
bool TWrightLiveRichEdit::CanDoubleBuffer() { return false; }
void TWrightLiveRichEdit::ResetDrawDeltas() {}
void TWrightLiveRichEdit::MarkAllLinesDirty() {}
void TWrightLiveRichEdit::UpdateWatchState() {}
bool TWrightLiveRichEdit::LiveWordAcceptable(const QString &, const QString &) { return true; }
void TWrightLiveRichEdit::BeginEditing()
{
  if (FOnBeginEditing)
    FOnBeginEditing(EventSender());
}
void TWrightLiveRichEdit::SetWinControl(QObject *Value) { FEdit = Value; }
void TWrightLiveRichEdit::SetWindowHandle(HWND Value) { FHandle = Value; }
void TWrightLiveRichEdit::SetLiveSpelling(bool Value) { FLiveSpelling = Value; }
void TWrightLiveRichEdit::SetLiveCorrect(bool Value) { FLiveCorrect = Value; }
void TWrightLiveRichEdit::SetWrightSpell(TWrightSpellBase *Value) { FWrightSpell = Value; }
void TWrightLiveRichEdit::SetLiveSpellingColor(const QColor &Value) { FLiveColor = Value; }
void TWrightLiveRichEdit::SetLiveSpellingOptions(bool Value) { FLiveOptions = Value; }
void TWrightLiveRichEdit::SetLiveSpellingReadOnly(bool Value) { FLiveReadOnly = Value; }
void TWrightLiveRichEdit::SearchAndReplace(const QString &, const QString &) {}
void TWrightLiveRichEdit::IgnoreWord(qint32) {}
void TWrightLiveRichEdit::Check(TCheckType) {}
bool TWrightLiveRichEdit::WMPaint(QPaintEvent *, bool &PaintCleanup)
{
  PaintCleanup = false;
  return true;
}
void TWrightLiveRichEdit::WMPaintCleanup(QPaintEvent *) {}
bool TWrightLiveRichEdit::WMEraseBkgnd(QPaintDevice *) { return true; }
bool TWrightLiveRichEdit::WMContextMenu(const QPoint &) { return true; }
void TWrightLiveRichEdit::WMSize() {}
bool TWrightLiveRichEdit::WMKeyDown(int, Qt::KeyboardModifiers) { return true; }
void TWrightLiveRichEdit::WMKeyUp() {}
void TWrightLiveRichEdit::KeyPress(QChar &Key) { FLastKey = Key; }
bool TWrightLiveRichEdit::WMRButtonDown(const QPoint &) { return true; }
bool TWrightLiveRichEdit::WMRButtonUp(const QPoint &) { return true; }
void TWrightLiveRichEdit::EMSetReadOnly() {}
void TWrightLiveRichEdit::EMSetTargetDevice() {}
void TWrightLiveRichEdit::EMGetOleInterface() {}
void TWrightLiveRichEdit::WMKillFocus() {}
void TWrightLiveRichEdit::WMPaste() {}
void TWrightLiveRichEdit::EMSetCharFormat() {}
void TWrightLiveRichEdit::NotifySelectionChange() {}
void TWrightLiveRichEdit::Notification(QObject *, bool) {}
qint32 TWrightLiveRichEdit::UnderlineBaseline(const TLiveCanvas &, qint32, qint32, qint32,
                                              TLineChanged)
{
  return 0;
}
void TWrightLiveRichEdit::DrawSquiggle(const TLiveCanvas &, qint32, qint32, qint32) {}
qint32 TWrightLiveRichEdit::MeasureBaseline(const TLiveCanvas &, qint32, qint32, qint32, qint32)
{
  return 0;
}
qint32 TWrightLiveRichEdit::MeasureLastLineBaseline(const TLiveCanvas &, qint32 Estimate, qint32,
                                                    qint32, qint32, qint32, TLineChanged)
{
  return Estimate;
}
std::vector<QPoint> TWrightLiveRichEdit::SquigglePoints(qint32, qint32, qint32) { return {}; }
const TLineCache *TWrightLiveRichEdit::LineCache(int Line) const
{
  return Line >= 0 && Line < int(FLineList.size()) ? FLineList[size_t(Line)].get() : nullptr;
}
QObject *TWrightLiveRichEdit::EventSender() { return FEdit.data(); }

void InstallLiveRichEditFactory()
{
  TWrightRichEdit::SetLiveInterfaceFactory([] { return std::make_unique<TWrightLiveRichEdit>(); });
}
