#pragma once
// TWrightLiveRichEdit: live spelling for one edit window. While the window paints, the engine
// checks the visible lines against the spell component, keeps one cache record per line so
// that unchanged lines are not checked again, and draws a wavy line under each misspelled word.
// It also shows the live menu on a right click over a misspelled word and applies the choice,
// corrects a word when a delimiter (ExpansionChars) is typed after it, remembers ignore-once
// decisions by the word that precedes the ignored word, and replaces all occurrences of a word.
//
// The engine never owns the window: a host forwards the window's events through the
// TLiveEditHooks interface (TWrightRichEdit from its own handlers, TWrightRichEditSubclass
// from an event filter on any edit widget). All text access goes through the edit-window
// contract (rtEditWindow.h); painting goes to the window's client widget.
//
// A "line" is a line of the contract (a paragraph); a wrapped paragraph is checked once and each
// misspelling is underlined on the visual row that holds it. A line is checked only up to its
// first 4096 code units.
//
// Painting: with DoubleBuffered the visible text is rendered off-screen (FormatRange into a
// QImage), the underlines are drawn there, and the image is copied to the window in one
// operation; the underline is placed by sampling the rendered pixels where the font metrics are
// unreliable (UnderlineBaseline). Without buffering the control paints itself and the
// underlines follow; a last line that needs measuring then is measured on an off-screen
// rendering of the text (else it keeps its last measurement, else the metric estimate).
//
// Failures: none are raised. Without a window or a spell component every operation does
// nothing and every paint is left to the control.

#include "rtEditWindow.h"
#include "wrLiveEditHooks.h"
#include "wrTypes.h"

#include <QColor>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QtGlobal>
#include <map>
#include <memory>
#include <set>
#include <vector>

class QPainter;
class QWidget;
class TCustomDictionary;
class TStringParser;
class TWinAPIControlParser;
class TWrightSpellBase;

// One misspelling of a line: columns X1 (first code unit) to X2 (just after the last).
class TSpellingError {
public:
  TSpellingError(qint32 AX1 = 0, qint32 AX2 = 0) : X1(AX1), X2(AX2) {}
  qint32 X1 = 0;
  qint32 X2 = 0;
};

// What the engine knows about one line since it last checked it.
class TLineCache {
public:
  QString OldLine;                            // the text when last checked
  std::vector<TSpellingError> SpellingErrors; // in word order
  bool Dirty = true;                          // check again at the next paint
  // Cached underline position: DrawDelta is the offset below the row's top handed to
  // DrawSquiggle (0: not measured); NextLineDelta the row height it was measured for, or for
  // the last line a marker (0 measured normally, 1 the quick probe saw one colour only).
  qint32 NextLineDelta = 0;
  qint32 DrawDelta = 0;
};

// The drawing surface of one paint: a painter on it and, for pixel sampling, the image the
// text was rendered into (absent on the window itself: every pixel reads as invalid).
class TLiveCanvas {
public:
  static constexpr quint32 InvalidColor = 0xFFFFFFFFu;
  QPainter *Painter = nullptr;
  const QImage *Pixels = nullptr;
  // The colour of pixel (x, y) as 0x00RRGGBB, InvalidColor outside the surface.
  quint32 Pixel(int x, int y) const;
};

// Named arguments.
enum TLineChanged : bool { lcUnchanged = false, lcChanged = true };

class TWrightLiveRichEdit : public TLiveEditHooks {
public:
  TWrightLiveRichEdit();
  // Detaches from the spell component and the window.
  ~TWrightLiveRichEdit() override;
  TWrightLiveRichEdit(const TWrightLiveRichEdit &) = delete;
  TWrightLiveRichEdit &operator=(const TWrightLiveRichEdit &) = delete;

  // --- Notifications from the spell component (slots 0 to 3) ----------------------------------
  virtual void SpellOptionsChanged(QObject *Sender);
  virtual void ConfigurationChanged(QObject *Sender);
  virtual void ParserIgnoreWord(QObject *Sender);
  virtual void PopupResult(QObject *Sender);

  virtual void RefreshHandle();
  virtual bool HandleValid();
  virtual bool CanDoubleBuffer();
  virtual void ResetDrawDeltas();
  virtual void MarkAllLinesDirty();
  virtual void UpdateWatchState();
  // Whether the live checker accepts Word after PreviousWord (empty at a line's start).
  virtual bool LiveWordAcceptable(const QString &Word, const QString &PreviousWord);
  // Raises OnBeginEditing: the engine is about to change the text.
  virtual void BeginEditing();

  // --- Properties ----------------------------------------------------------------------------------
  QObject *WinControl() const override { return FEdit; }
  // Attaches to a control: its edit window (the control's own, or the first rich-edit child).
  void SetWinControl(QObject *Value) override;
  HWND WindowHandle() const { return FHandle; }
  virtual void SetWindowHandle(HWND Value);
  bool LiveSpelling() const override { return FLiveSpelling; }
  void SetLiveSpelling(bool Value) override;
  bool LiveCorrect() const override { return FLiveCorrect; }
  void SetLiveCorrect(bool Value) override;
  TWrightSpellBase *WrightSpell() const override { return FWrightSpell; }
  void SetWrightSpell(TWrightSpellBase *Value) override;
  QColor LiveSpellingColor() const override { return FLiveColor; }
  void SetLiveSpellingColor(const QColor &Value) override;
  bool LiveSpellingOptions() const override { return FLiveOptions; }
  void SetLiveSpellingOptions(bool Value) override;
  bool LiveSpellingReadOnly() const override { return FLiveReadOnly; }
  void SetLiveSpellingReadOnly(bool Value) override;
  bool DoubleBuffered() const override { return FDoubleBuffered; }
  void SetDoubleBuffered(bool Value) override { FDoubleBuffered = Value; }
  TSpellPopupOptions LiveMenuOptions() const override { return FLiveMenuOptions; }
  void SetLiveMenuOptions(TSpellPopupOptions Value) override { FLiveMenuOptions = Value; }
  QString ExpansionChars() const override { return FExpandKeys; }
  void SetExpansionChars(const QString &Value) override { FExpandKeys = Value; }
  bool IrregularLineHeights() const override { return FIrregularLineHeights; }
  void SetIrregularLineHeights(bool Value) override { FIrregularLineHeights = Value; }
  bool IrregularLeftMargin() const override { return FIrregularLeftMargin; }
  void SetIrregularLeftMargin(bool Value) override { FIrregularLeftMargin = Value; }
  bool AggressiveContextMenu() const override { return FAggressiveContextMenu; }
  void SetAggressiveContextMenu(bool Value) override { FAggressiveContextMenu = Value; }
  const TNotifyEvent &OnBeginEditing() const { return FOnBeginEditing; }
  void SetOnBeginEditing(const TNotifyEvent &Value) { FOnBeginEditing = Value; }
  const TWordCheckEvent &OnWordCheck() const override { return FOnWordCheck; }
  void SetOnWordCheck(const TWordCheckEvent &Value) override { FOnWordCheck = Value; }
  // Whether underlining / live correction are active now.
  bool WatchSpelling() const { return FWatchSpelling; }
  bool WatchCorrect() const { return FWatchCorrect; }

  // --- Operations ----------------------------------------------------------------------------------
  // Replaces every exact, case-sensitive whole-word occurrence of Word (redrawing suspended, the
  // busy cursor after 500 ms). Nothing when the words are equal or a replacement runs.
  virtual void SearchAndReplace(const QString &Word, const QString &ReplacementWord);
  // An ignore decision taken elsewhere: 10 this occurrence (the selected word), 11 ignore all,
  // 12 added to a dictionary.
  virtual void IgnoreWord(qint32 State);
  // Runs the spell component's check over the window.
  void Check(TCheckType CheckType) override;

  // --- Hooks (TLiveEditHooks) --------------------------------------------------------------------
  bool WMPaint(QPaintEvent *Message, bool &PaintCleanup) override;
  void WMPaintCleanup(QPaintEvent *Message) override;
  bool WMEraseBkgnd(QPaintDevice *Device) override;
  bool WMContextMenu(const QPoint &ScreenPos) override;
  void WMSize() override;
  bool WMKeyDown(int Key, Qt::KeyboardModifiers Modifiers) override;
  void WMKeyUp() override;
  void KeyPress(QChar &Key) override;
  bool WMRButtonDown(const QPoint &ClientPos) override;
  bool WMRButtonUp(const QPoint &ClientPos) override;
  void EMSetReadOnly() override;
  void EMSetTargetDevice() override;
  void EMGetOleInterface() override;
  void WMKillFocus() override;
  void WMPaste() override;
  void EMSetCharFormat() override;
  void NotifySelectionChange() override;
  void Notification(QObject *AComponent, bool Removing) override;

  // --- Underline placement and drawing -----------------------------------------------------------
  // The y reference of the underlines of Line (for the row holding FromChar); 0 without a window.
  qint32 UnderlineBaseline(const TLiveCanvas &DC, qint32 Line, qint32 FromChar, qint32 ToChar,
                           TLineChanged Changed);
  // One wavy line under characters FromChar to ToChar - 1, points 4 and 2 pixels above Y.
  void DrawSquiggle(const TLiveCanvas &DC, qint32 Y, qint32 FromChar, qint32 ToChar);
  qint32 MeasureBaseline(const TLiveCanvas &DC, qint32 Line, qint32 X, qint32 Top, qint32 NextTop);
  qint32 MeasureLastLineBaseline(const TLiveCanvas &DC, qint32 Estimate, qint32 Line,
                                 qint32 FromChar, qint32 ToChar, qint32 Top, TLineChanged Changed);
  // The points DrawSquiggle draws (at most 1024).
  std::vector<QPoint> SquigglePoints(qint32 Y, qint32 FromChar, qint32 ToChar);

  // --- Inspection (tests, benchmarks) ------------------------------------------------------------
  // The cache of Line, or null.
  const TLineCache *LineCache(int Line) const;
  int LineCacheCount() const { return int(FLineList.size()); }
  // How many lines were spell-checked (not served from the cache) since creation.
  qint64 LinesChecked() const { return FLinesChecked; }
  // The image of the last buffered paint (empty before one).
  const QImage &LastBuffer() const { return FBuffer; }

protected:
  // The edit window of FEdit: its own window when it passes the rich-edit probe, else the first
  // child window that does, else its own.
  HWND FindEditWindow();
  void CacheBackgroundColor();
  void PaintErrors(const TLiveCanvas &DC);
  // Checks one line's text into its cache.
  void CheckLine(TLineCache &Cache, int Line, const QString &Text, int Caret, bool Focused);
  QString GetLineText(int Line) const;
  bool WMContextMenuInternal(const QPoint &ScreenPos);
  void LiveCorrectKey(QChar Key);
  void SetRedraw(bool Suspend);
  QObject *EventSender();
  // The client widget of the window (a scroll area's viewport), or null.
  QWidget *ClientWidget() const;
  bool HasFocus() const;
  // Top of the visual row holding Pos and top of the row after it (-1 when none follows).
  void RowBounds(int Pos, int &Top, int &NextTop) const;
  void InvalidateAll();
  void DrawCaret(QPainter &Painter);
  // Renders the visible text as the window shows it (no selection, no caret) into Image, sized
  // to the client area; false when the window cannot render its text.
  bool RenderVisibleText(QImage &Image);
  // The visible text rendered off-screen for pixel sampling during an unbuffered paint (once
  // per paint), or null when the window cannot render it.
  const QImage *MeasureSurface();
  // Where the window draws the formatting origin (x of indent 0) in client coordinates.
  int RenderLeft() const;
  // Carries out the live menu's outcome on the selected word.
  void ApplyPopupChoice(TSpellPopupOption Choice, const QString &Word, const QString &Replacement);

  // --- Fields ---------------------------------------------------------------------------------------
  QPointer<QObject> FEdit;
  bool FEditGiven = false; // FEdit was set: its destruction takes the window with it
  HWND FHandle = nullptr;
  bool FLiveSpelling = true;
  bool FLiveCorrect = true;
  TWrightSpellBase *FWrightSpell = nullptr;
  QColor FLiveColor = QColor(255, 0, 0);
  QColor FBackgroundColor;
  bool FBackgroundColorCached = false;
  bool FBackgroundSysColor = false;
  bool FDoubleBuffered = true;
  bool FLiveOptions = true;
  TSpellPopupOptions FLiveMenuOptions = TSpellPopupOptions::Range(spDialog, spReplace);
  bool FLiveReadOnly = false;
  QString FExpandKeys = QStringLiteral(" .,;:\t");
  QChar FLastKey;
  std::unique_ptr<TStringParser> FStringParser;
  std::unique_ptr<TWinAPIControlParser> FAPIParser;
  bool FWatchSpelling = false;
  bool FWatchCorrect = false;
  bool FSearching = false;
  bool FUseIgnore = true;
  bool FVersionCheckNeeded = true;
  bool FSufficientVersion = false;
  bool FBufferNextPaint = true;
  qint32 FLastFirstLine = 0;
  bool FIrregularLineHeights = false;
  bool FIrregularLeftMargin = true;
  bool FAggressiveContextMenu = false;
  bool FHardcodeLeft = false;
  bool FControlCanDoubleBuffer = true;
  std::vector<std::unique_ptr<TLineCache>> FLineList;
  std::unique_ptr<TCustomDictionary> FIgnoreDictionary;
  // Ignored-once word -> the words that preceded it where it was ignored ("" = line start).
  std::map<QString, std::set<QString>> FIgnoreWords;
  TNotifyEvent FOnBeginEditing;
  TWordCheckEvent FOnWordCheck;
  bool FLMDTools = false;
  bool FInfoPower = false;
  bool FDXMemo = false;
  bool FDXInPlace = false;
  bool FRXLib = false;

  QMetaObject::Connection FSpellDestroyed;
  QImage FBuffer;                // the off-screen surface, kept between paints
  QImage FMeasureBuffer;         // MeasureSurface's rendering
  bool FMeasureRendered = false; // FMeasureBuffer holds this paint's text
  bool FMeasureValid = false;
  QRect FPendingExtension; // the band below an update asked for by the previous paint
  qint64 FLinesChecked = 0;
  QString FLineBuffer; // the string parser's text
};

// Makes every TWrightRichEdit created from now on own a TWrightLiveRichEdit. Idempotent.
void InstallLiveRichEditFactory();
