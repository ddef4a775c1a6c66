#include "rtTextEditWindow.h"

#include "rtText.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextList>
#include <type_traits>
#include <utility>
#include <vector>

namespace {

// Paragraph indents are kept in twips beside the layout margins, so that they read back exactly.
constexpr int PropFirstIndentTwips = QTextFormat::UserProperty + 0x100;
constexpr int PropLeftIndentTwips = QTextFormat::UserProperty + 0x101;
constexpr int PropRightIndentTwips = QTextFormat::UserProperty + 0x102;
// Character set and pitch are carried for whole-font assignment; the layout does not use them.
constexpr int PropCharset = QTextFormat::UserProperty + 0x103;
constexpr int PropPitch = QTextFormat::UserProperty + 0x104;

constexpr QChar LineSeparator(0x2028);
constexpr QChar ParagraphSeparator(0x2029);

quint32 ToColorRef(const QColor &c)
{
  return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

QColor FromColorRef(quint32 c)
{
  return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// The document's own breaks read as CR LF.
QString WithCrLf(QString text)
{
  text.replace(ParagraphSeparator, QStringLiteral("\r\n"));
  text.replace(LineSeparator, QStringLiteral("\r\n"));
  return text;
}

int PointSizeOf(const QFont &f, int dpi)
{
  if (f.pointSizeF() > 0)
    return qRound(f.pointSizeF());
  if (f.pixelSize() > 0 && dpi > 0)
    return qRound(f.pixelSize() * 72.0 / dpi);
  return 0;
}

TCharAttributes AttributesOf(const QFont &f, const QColor &color, int dpi)
{
  TCharAttributes a;
  a.Name = f.family();
  a.Size = PointSizeOf(f, dpi);
  if (f.bold())
    a.Style.Include(TFontStyle::fsBold);
  if (f.italic())
    a.Style.Include(TFontStyle::fsItalic);
  if (f.underline())
    a.Style.Include(TFontStyle::fsUnderline);
  a.Color = ToColorRef(color);
  a.Pitch = f.fixedPitch() ? 1 : 0;
  return a;
}

// Rewrites Shift+Enter into Enter (a real paragraph, not U+2028) and routes paste keys through
// the adapter, so that a widget we did not write still gets only real line breaks.
class TLineBreakKeyFilter : public QObject {
public:
  TLineBreakKeyFilter(QObject *widget, std::function<void()> paste)
      : QObject(widget), FPaste(std::move(paste))
  {
    widget->installEventFilter(this);
  }

protected:
  bool eventFilter(QObject *watched, QEvent *event) override
  {
    if (event->type() != QEvent::KeyPress)
      return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & Qt::ShiftModifier || key->matches(QKeySequence::InsertLineSeparator))) {
      // Without modifiers, so the rewritten key cannot match the line-separator binding again.
      QKeyEvent plain(QEvent::KeyPress, key->key(), key->modifiers() & Qt::KeypadModifier,
                      QStringLiteral("\r"), key->isAutoRepeat(), key->count());
      QCoreApplication::sendEvent(watched, &plain);
      return true;
    }
    if (key->matches(QKeySequence::Paste) && FPaste) {
      FPaste();
      return true;
    }
    return false;
  }

private:
  std::function<void()> FPaste;
};

// Qt draws a list paragraph's bullet or number in the paragraph's own character format (the
// format of the break before it), a bullet lineSpacing / 3 wide, centred on that font's height
// from the top of the first line, and a space's width left of the text. A selection never
// reaches the first paragraph's own format, and the others keep the size they were made with,
// so an 18-point paragraph got an 8-point dot at its top. Each list paragraph of [first, last]
// takes the font of its first character for its own (an empty paragraph keeps its format, which
// is also what typing into it uses), and its left margin grows, where the indents leave too
// little, to hold the marker: at 18 points the 10-point bullet indent cut the dot and a number
// showed only its full stop. The indents as read back stay as set. Part of the caller's edit
// block, so one undo takes back the change and the markers' together.
// The marker font of list paragraph b made its first character's; answers b's own format.
QTextCharFormat FitMarkerFont(const QTextBlock &b)
{
  static constexpr QTextFormat::Property fontProperties[] = {
      QTextFormat::FontFamilies,       QTextFormat::FontPointSize, QTextFormat::FontPixelSize,
      QTextFormat::FontSizeAdjustment, QTextFormat::FontWeight,    QTextFormat::FontItalic};
  QTextCharFormat own = b.charFormat();
  if (b.length() <= 1)
    return own;
  const QTextCharFormat text = b.begin().fragment().charFormat();
  for (const QTextFormat::Property property : fontProperties) {
    if (text.hasProperty(property))
      own.setProperty(property, text.property(property));
    else
      own.clearProperty(property);
  }
  if (own != b.charFormat())
    QTextCursor(b).setBlockCharFormat(own);
  return own;
}

void FitListMarkers(QTextBlock first, const QTextBlock &last, double pxPerPoint)
{
  const QTextDocument *doc = first.document();
  for (QTextBlock b = first; b.isValid(); b = b.next()) {
    if (QTextList *list = b.textList()) {
      const QTextCharFormat own = FitMarkerFont(b);
      const QFontMetrics fm(own.font().resolve(doc->defaultFont()),
                            doc->documentLayout()->paintDevice());
      const bool disc = list->format().style() == QTextListFormat::ListDisc;
      const int marker = disc ? fm.lineSpacing() / 3 : fm.horizontalAdvance(list->itemText(b));
      QTextBlockFormat bf = b.blockFormat();
      const double indent = bf.hasProperty(PropFirstIndentTwips)
                                ? qMax(0, bf.intProperty(PropFirstIndentTwips) +
                                              bf.intProperty(PropLeftIndentTwips)) /
                                      20.0 * pxPerPoint
                                : bf.leftMargin();
      const double margin = qMax(indent, double(fm.horizontalAdvance(u' ') + marker));
      if (!qFuzzyCompare(margin + 1, bf.leftMargin() + 1)) {
        bf.setLeftMargin(margin);
        QTextCursor(b).setBlockFormat(bf);
      }
    }
    if (b == last)
      break;
  }
}

} // namespace

QString NormalizeLineBreaks(const QString &text)
{
  return ReplaceLineBreaks(text, u"\n", lbAllBreaks);
}

template <class W>
TTextWidgetWindow<W>::TTextWidgetWindow(W *edit, bool rich)
    : TWidgetWindow(edit), FEdit(edit), FRich(rich && std::is_same_v<W, QTextEdit>)
{
  FConnections.push_back(QObject::connect(edit, &W::textChanged, edit, [this] {
    if (OnChange)
      OnChange(this);
  }));
  FConnections.push_back(
      QObject::connect(edit, &W::cursorPositionChanged, edit, [this] { FireSelectionIfMoved(); }));
  FConnections.push_back(
      QObject::connect(edit, &W::selectionChanged, edit, [this] { FireSelectionIfMoved(); }));
  FConnections.push_back(QObject::connect(edit, &W::cursorPositionChanged, edit,
                                          [this] { KeepCaretBlockAnalysis(); }));
  // Before the document lays the change out, so a new long paragraph is analysed only once.
  FConnections.push_back(QObject::connect(edit->document(), &QTextDocument::contentsChange, edit,
                                          [this] { KeepCaretBlockAnalysis(); }));
  // Qt keeps the first paragraph's own format outside the undo history (the others' changes
  // are undone with the edit that made them): after an undo, a redo or any other edit its
  // marker takes its text's font again, which adds no undo step either.
  if (FRich)
    FConnections.push_back(QObject::connect(edit, &W::textChanged, edit, [this] {
      const QTextBlock b = Document()->firstBlock();
      if (b.textList())
        FitMarkerFont(b);
    }));
  FKeyFilter = new TLineBreakKeyFilter(edit, [this] { PasteFromClipboard(); });
  // Like the native control, the selection is hidden while the window has no focus.
  SetHideSelection(FHideSelection);
  TEditWindow::Register(edit, this);
}

template <class W>
TTextWidgetWindow<W>::~TTextWidgetWindow()
{
  for (const auto &c : FConnections)
    QObject::disconnect(c);
  delete FKeyFilter.data();
  TEditWindow::Unregister(FEdit);
}

template <class W>
QTextDocument *TTextWidgetWindow<W>::Document() const
{
  return FEdit->document();
}

template <class W>
QWidget *TTextWidgetWindow<W>::ClientWidget() const
{
  return FEdit->viewport();
}

template <class W>
QString TTextWidgetWindow<W>::ClassName() const
{
  return FRich ? QStringLiteral("RichEdit20W") : QStringLiteral("Edit");
}

template <class W>
bool TTextWidgetWindow<W>::IsReadOnly() const
{
  return FEdit->isReadOnly();
}

template <class W>
int TTextWidgetWindow<W>::LineHeight() const
{
  return QFontMetrics(Document()->defaultFont()).lineSpacing();
}

// A text layout drops its analysis of the paragraph (character attributes, glyphs) after every
// layout and paint, and anything that asks where the caret is (scrolling to it, drawing it, each
// blink) has it rebuilt for the whole paragraph: half a second for a paragraph of 5 million
// characters. The long paragraph holding the caret keeps it instead, at some 30 bytes per
// character of that one paragraph; the paragraph the caret has left drops it again.
template <class W>
void TTextWidgetWindow<W>::KeepCaretBlockAnalysis()
{
  constexpr int LongParagraph = 100'000;
  QTextDocument *doc = Document();
  const QTextBlock caret = FEdit->textCursor().block();
  const bool keep = caret.isValid() && caret.length() > LongParagraph;
  if (!FAnalysedBlock.isNull() && FAnalysedBlock.document() == doc) {
    // The tracked position follows the text; the paragraph it ended up in is the one that kept
    // the analysis unless that one was removed (its layout with it).
    const QTextBlock kept = FAnalysedBlock.block();
    if (keep && kept == caret)
      return;
    if (kept.isValid() && kept.layout())
      kept.layout()->setCacheEnabled(false);
  }
  FAnalysedBlock = QTextCursor();
  if (keep && caret.layout()) {
    caret.layout()->setCacheEnabled(true);
    FAnalysedBlock = QTextCursor(caret);
  }
}

// --- Position mapping ---------------------------------------------------------------------------

template <class W>
QTextBlock TTextWidgetWindow<W>::BlockOfPos(int pos) const
{
  QTextDocument *doc = Document();
  const int count = doc->blockCount();
  if (pos <= 0)
    return doc->firstBlock();
  // The last block hit, and its successor, answer sequential walks with one lookup.
  if (FBlockHint >= 0 && FBlockHint < count) {
    QTextBlock b = doc->findBlockByNumber(FBlockHint);
    for (int step = 0; step < 2 && b.isValid(); ++step, b = b.next()) {
      if (BlockStart(b) > pos)
        break;
      const QTextBlock next = b.next();
      if (!next.isValid() || BlockStart(next) > pos) {
        FBlockHint = b.blockNumber();
        return b;
      }
    }
  }
  // The block k sought is the last with position(k) + k <= pos. Document lookups bound it
  // from both sides: the block at document position pos - lo is at or after it (lo <= k), the
  // block at pos - hi - 1 at or before it (hi >= k). A few rounds close the gap for ordinary
  // texts; a binary search finishes what is left (runs of empty lines).
  const int maxDoc = doc->characterCount() - 1;
  auto blockAtDoc = [&](int d) { return doc->findBlock(qBound(0, d, maxDoc)).blockNumber(); };
  int hi = blockAtDoc(pos);
  int lo = blockAtDoc(pos - hi - 1);
  for (int round = 0; round < 4 && lo < hi; ++round) {
    hi = qMin(hi, blockAtDoc(pos - lo));
    lo = qMax(lo, blockAtDoc(pos - hi - 1));
  }
  while (lo < hi) {
    const int mid = lo + (hi - lo + 1) / 2;
    if (BlockStart(doc->findBlockByNumber(mid)) <= pos)
      lo = mid;
    else
      hi = mid - 1;
  }
  FBlockHint = lo;
  return doc->findBlockByNumber(lo);
}

template <class W>
int TTextWidgetWindow<W>::ToDocPos(int pos) const
{
  if (pos <= 0)
    return 0;
  const QTextBlock b = BlockOfPos(pos);
  // A position between CR and LF (or past the end) is the end of the line's text.
  const int rel = qMin(pos - BlockStart(b), b.length() - 1);
  return b.position() + rel;
}

template <class W>
int TTextWidgetWindow<W>::FromDocPos(int docPos) const
{
  QTextDocument *doc = Document();
  docPos = qBound(0, docPos, doc->characterCount() - 1);
  return docPos + doc->findBlock(docPos).blockNumber();
}

template <class W>
QTextCursor TTextWidgetWindow<W>::DocCursor(int docStart, int docEnd) const
{
  QTextCursor c(Document());
  c.setPosition(docStart);
  c.setPosition(docEnd, QTextCursor::KeepAnchor);
  return c;
}

template <class W>
void TTextWidgetWindow<W>::ApplyCursor(const QTextCursor &c, bool keepScroll)
{
  const int h = FEdit->horizontalScrollBar()->value();
  const int v = FEdit->verticalScrollBar()->value();
  FEdit->setTextCursor(c);
  if (keepScroll) {
    FEdit->horizontalScrollBar()->setValue(h);
    FEdit->verticalScrollBar()->setValue(v);
  }
}

// --- Whole text --------------------------------------------------------------------------------

template <class W>
QString TTextWidgetWindow<W>::GetText() const
{
  // toRawText keeps every character (toPlainText would turn no-break spaces into spaces).
  return WithCrLf(Document()->toRawText());
}

template <class W>
int TTextWidgetWindow<W>::GetTextLength() const
{
  QTextDocument *doc = Document();
  return doc->characterCount() - 1 + doc->blockCount() - 1;
}

template <class W>
void TTextWidgetWindow<W>::ReplaceAll(const QString &text)
{
  TSelectionBatch batch(this);
  QTextCursor c(Document());
  c.beginEditBlock();
  c.select(QTextCursor::Document);
  c.removeSelectedText();
  if (QTextList *list = c.block().textList())
    list->remove(c.block());
  c.setBlockFormat(QTextBlockFormat());
  c.setBlockCharFormat(QTextCharFormat());
  c.insertText(NormalizeLineBreaks(text), QTextCharFormat());
  c.endEditBlock();
  c.setPosition(0);
  FEdit->setCurrentCharFormat(QTextCharFormat());
  ApplyCursor(c, false);
}

template <class W>
void TTextWidgetWindow<W>::SetText(const QString &text)
{
  SetTextEx(text, false);
}

template <class W>
void TTextWidgetWindow<W>::SetTextEx(const QString &text, bool keepUndo)
{
  QTextDocument *doc = Document();
  // Inside an open edit block the history cannot be reset without breaking the block: the
  // replacement becomes part of it.
  if (keepUndo || FEditDepth > 0 || !doc->isUndoRedoEnabled()) {
    ReplaceAll(text); // one undo step, every format dropped
    return;
  }
  // A fresh text starts a fresh history, as with the native control.
  doc->setUndoRedoEnabled(false);
  ReplaceAll(text);
  doc->setUndoRedoEnabled(true);
}

// --- Selection ---------------------------------------------------------------------------------

template <class W>
void TTextWidgetWindow<W>::GetSel(int &start, int &end) const
{
  const QTextCursor c = FEdit->textCursor();
  start = FromDocPos(c.selectionStart());
  end = c.hasSelection() ? FromDocPos(c.selectionEnd()) : start;
}

template <class W>
void TTextWidgetWindow<W>::SetSel(int start, int end)
{
  TSelectionBatch batch(this);
  QTextCursor c = FEdit->textCursor();
  if (start == -1) {
    // Deselect: the caret stays at the selection's end.
    const int e = c.selectionEnd();
    c.setPosition(e);
  } else {
    const int len = GetTextLength();
    if (end < 0)
      end = len;
    start = qBound(0, start, len);
    end = qBound(0, end, len);
    // The anchor is the start, the caret the end (which may lie before the start).
    c = DocCursor(ToDocPos(start), ToDocPos(end));
  }
  // Selecting does not scroll; ScrollCaret does.
  ApplyCursor(c, true);
}

template <class W>
QString TTextWidgetWindow<W>::GetSelText() const
{
  return WithCrLf(FEdit->textCursor().selectedText());
}

template <class W>
void TTextWidgetWindow<W>::InsertText(QTextCursor &c, const QString &text)
{
  c.beginEditBlock();
  c.insertText(NormalizeLineBreaks(text));
  c.endEditBlock();
}

template <class W>
void TTextWidgetWindow<W>::ReplaceRange(QTextCursor &c, const QString &text, bool canUndo)
{
  QTextDocument *doc = Document();
  // Inside an open edit block the change simply joins the block.
  if (canUndo || FEditDepth > 0 || !doc->isUndoRedoEnabled()) {
    InsertText(c, text);
    return;
  }
  if (!doc->isUndoAvailable()) {
    // No history to keep consistent: make the change with undo switched off. That drops only
    // redo steps, which any edit drops anyway.
    doc->setUndoRedoEnabled(false);
    InsertText(c, text);
    doc->setUndoRedoEnabled(true);
    return;
  }
  // History exists. A change made outside the history would leave the recorded steps pointing
  // at wrong positions (undo would then corrupt the text), switching undo off would wipe it,
  // and joining the most recent step would make one Ctrl+Z take back the user's own edit
  // together with this one. So the change becomes a step of its own: Ctrl+Z restores exactly
  // the text before it, a second Ctrl+Z the user's step before that.
  InsertText(c, text);
}

template <class W>
void TTextWidgetWindow<W>::ReplaceSel(const QString &text, bool canUndo)
{
  TSelectionBatch batch(this);
  QTextCursor c = FEdit->textCursor();
  ReplaceRange(c, text, canUndo);
  ApplyCursor(c, false);
}

template <class W>
void TTextWidgetWindow<W>::ExGetSel(int &cpMin, int &cpMax) const
{
  // Only a rich edit understands the probe; a plain edit leaves the preset range alone.
  if (FRich)
    GetSel(cpMin, cpMax);
}

template <class W>
void TTextWidgetWindow<W>::FireSelectionIfMoved()
{
  if (FSelectionBatch > 0)
    return;
  int s = 0, e = 0;
  GetSel(s, e);
  if (s == FLastSelStart && e == FLastSelEnd)
    return;
  FLastSelStart = s;
  FLastSelEnd = e;
  if (OnSelectionChange)
    OnSelectionChange(this);
}

// --- Lines -------------------------------------------------------------------------------------

template <class W>
int TTextWidgetWindow<W>::GetLineCount() const
{
  return Document()->blockCount();
}

template <class W>
int TTextWidgetWindow<W>::GetLine(int line, char16_t *buffer) const
{
  if (!buffer)
    return 0;
  const int capacity = buffer[0];
  const QTextBlock b = line >= 0 ? Document()->findBlockByNumber(line) : QTextBlock();
  if (!b.isValid() || capacity <= 0)
    return 0;
  const QString text = b.text();
  const int n = qMin(capacity, int(text.size()));
  std::copy_n(reinterpret_cast<const char16_t *>(text.utf16()), n, buffer);
  return n;
}

template <class W>
int TTextWidgetWindow<W>::LineIndex(int line) const
{
  if (line == -1)
    line = LineFromChar(-1);
  if (line < 0 || line >= Document()->blockCount())
    return -1;
  return BlockStart(Document()->findBlockByNumber(line));
}

template <class W>
int TTextWidgetWindow<W>::LineFromChar(int pos) const
{
  if (pos == -1) {
    int e = 0;
    GetSel(pos, e);
  }
  return BlockOfPos(pos).blockNumber();
}

template <class W>
int TTextWidgetWindow<W>::LineLength(int pos) const
{
  if (pos == -1) {
    // The unselected characters on the lines that hold the selection.
    int s = 0, e = 0;
    GetSel(s, e);
    const QTextBlock first = BlockOfPos(s);
    const QTextBlock last = BlockOfPos(e);
    const int lastEnd = BlockStart(last) + last.length() - 1;
    return qMax(0, s - BlockStart(first)) + qMax(0, lastEnd - e);
  }
  if (pos < 0 || pos > GetTextLength())
    return 0;
  return BlockOfPos(pos).length() - 1;
}

template <class W>
int TTextWidgetWindow<W>::LinesCount() const
{
  QTextDocument *doc = Document();
  const int n = doc->blockCount();
  return doc->lastBlock().length() <= 1 ? n - 1 : n;
}

template <class W>
QString TTextWidgetWindow<W>::GetLineText(int line) const
{
  if (line < 0)
    return QString();
  const QTextBlock b = Document()->findBlockByNumber(line);
  return b.isValid() ? b.text() : QString();
}

template <class W>
void TTextWidgetWindow<W>::SetLineText(int line, const QString &text)
{
  TSelectionBatch batch(this);
  if (line < 0)
    return;
  const QTextBlock b = Document()->findBlockByNumber(line);
  if (!b.isValid())
    return;
  QTextCursor c = DocCursor(b.position(), b.position() + b.length() - 1);
  InsertText(c, text);
}

// --- Screen ------------------------------------------------------------------------------------

template <class W>
QPoint TTextWidgetWindow<W>::PosFromChar(int pos) const
{
  if (pos < 0 || pos > GetTextLength())
    return QPoint(-1, -1);
  const QTextBlock b = BlockOfPos(pos);
  const int rel = pos <= 0 ? 0 : qMin(pos - BlockStart(b), b.length() - 1);
  if constexpr (std::is_same_v<W, QTextEdit>) {
    // What cursorRect answers, without the cursor: placing one lays out its row to find its x,
    // and cursorRect does that once more (the live spelling asks for a few positions per line
    // it paints: a third of what it added to a key in a 5 MB text). Input-method text being
    // composed shifts positions; the cursor takes care of that.
    const QTextLayout *layout = b.layout();
    if (layout && layout->preeditAreaText().isEmpty()) {
      const QPointF origin = Document()->documentLayout()->blockBoundingRect(b).topLeft();
      const QTextLine line = layout->lineForTextPosition(rel);
      const QPointF p = line.isValid() ? origin + QPointF(line.cursorToX(rel), line.y()) : origin;
      const QScrollBar *h = FEdit->horizontalScrollBar();
      const int dx = FEdit->isRightToLeft() ? h->maximum() - h->value() : h->value();
      return QPoint(qRound(p.x()) - dx, qRound(p.y()) - FEdit->verticalScrollBar()->value());
    }
  }
  QTextCursor c(Document());
  c.setPosition(b.position() + rel);
  return FEdit->cursorRect(c).topLeft();
}

template <class W>
int TTextWidgetWindow<W>::CharFromPos(const QPoint &p) const
{
  return FromDocPos(FEdit->cursorForPosition(p).position());
}

template <class W>
int TTextWidgetWindow<W>::GetFirstVisibleLine() const
{
  if constexpr (std::is_same_v<W, QPlainTextEdit>) {
    return FEdit->cursorForPosition(QPoint(0, 0)).blockNumber();
  } else {
    // The first line whose bottom lies below the top of the view (a hit test at the top edge
    // would answer the line just above when a line starts exactly there).
    QTextDocument *doc = Document();
    const QAbstractTextDocumentLayout *layout = doc->documentLayout();
    const qreal top = FEdit->verticalScrollBar()->value();
    if (top <= 0)
      return 0;
    int lo = 0, hi = doc->blockCount() - 1;
    while (lo < hi) {
      const int mid = lo + (hi - lo) / 2;
      if (layout->blockBoundingRect(doc->findBlockByNumber(mid)).bottom() > top)
        hi = mid;
      else
        lo = mid + 1;
    }
    return lo;
  }
}

template <class W>
void TTextWidgetWindow<W>::LineScroll(int lines)
{
  if (lines == 0)
    return;
  QScrollBar *bar = FEdit->verticalScrollBar();
  if constexpr (std::is_same_v<W, QPlainTextEdit>) {
    bar->setValue(bar->value() + lines); // the plain editor scrolls in lines
  } else {
    QTextDocument *doc = Document();
    const int target = qBound(0, GetFirstVisibleLine() + lines, doc->blockCount() - 1);
    const QRectF r = doc->documentLayout()->blockBoundingRect(doc->findBlockByNumber(target));
    bar->setValue(qRound(r.top()));
  }
}

template <class W>
void TTextWidgetWindow<W>::ScrollCaret()
{
  FEdit->ensureCursorVisible();
}

// --- Painting ----------------------------------------------------------------------------------

template <class W>
int TTextWidgetWindow<W>::FormatRange(QPaintDevice *device, int from, const QRect &rectTwips)
{
  if constexpr (!std::is_same_v<W, QTextEdit>) {
    (void)device, (void)from, (void)rectTwips;
    return 0; // a plain edit does not render ranges
  } else {
    if (!FRich || !device)
      return 0;
    QTextDocument *doc = Document();
    const int length = GetTextLength();
    from = qBound(0, from, length);
    const double sx = device->logicalDpiX() / 1440.0;
    const double sy = device->logicalDpiY() / 1440.0;
    const QRectF target(rectTwips.left() * sx, rectTwips.top() * sy, rectTwips.width() * sx,
                        rectTwips.height() * sy);
    if (target.isEmpty())
      return from;

    // The widget's own layout is drawn, so the image shows the lines exactly as the screen
    // does: the formatting origin (indent 0) lands on the rectangle's left edge, the top of
    // the line holding `from` on its top edge.
    QAbstractTextDocumentLayout *layout = doc->documentLayout();
    const int docFrom = ToDocPos(from);
    const QTextBlock first = doc->findBlock(docFrom);
    const QRectF firstRect = layout->blockBoundingRect(first);
    qreal lineTop = firstRect.top();
    if (const QTextLayout *tl = first.layout()) {
      const QTextLine line = tl->lineForTextPosition(docFrom - first.position());
      if (line.isValid())
        lineTop += line.y();
    }
    const qreal originX = doc->documentMargin();
    const QPointF shift(target.left() - originX, target.top() - lineTop);

    QPainter painter(device);
    painter.setClipRect(target);
    painter.translate(shift);
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.palette = FEdit->palette();
    ctx.palette.setColor(QPalette::Text, FEdit->palette().color(QPalette::Text));
    ctx.clip = QRectF(target.translated(-shift));
    ctx.clip.setTop(lineTop);
    layout->draw(&painter, ctx);
    painter.end();

    // The first line not wholly inside the rectangle is where a next page would start.
    const qreal bottom = target.bottom() - shift.y();
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
      const QRectF r = layout->blockBoundingRect(b);
      const QTextLayout *tl = b.layout();
      for (int i = 0; tl && i < tl->lineCount(); ++i) {
        const QTextLine line = tl->lineAt(i);
        const int lineStart = b.position() + line.textStart();
        if (lineStart + line.textLength() < docFrom && b == first)
          continue;
        if (r.top() + line.y() + line.height() > bottom)
          return qMax(from, FromDocPos(lineStart));
      }
    }
    return length;
  }
}

template <class W>
quint32 TTextWidgetWindow<W>::SetBackgroundColor(quint32 color)
{
  QWidget *view = FEdit->viewport();
  QPalette pal = view->palette();
  const quint32 previous = ToColorRef(pal.color(QPalette::Base));
  const QColor next =
      color == CLR_DEFAULT ? QGuiApplication::palette().color(QPalette::Base) : FromColorRef(color);
  pal.setColor(QPalette::Base, next);
  view->setPalette(pal);
  QPalette own = FEdit->palette();
  own.setColor(QPalette::Base, next);
  FEdit->setPalette(own);
  if (FHideSelection)
    SetHideSelection(true); // a hidden selection is drawn in the new background
  return previous;
}

template <class W>
void TTextWidgetWindow<W>::EraseBackground(QPaintDevice *device)
{
  if (!device)
    return;
  QPainter p(device);
  p.fillRect(QRect(QPoint(0, 0), ClientSize()), FEdit->viewport()->palette().color(QPalette::Base));
}

// --- Attributes --------------------------------------------------------------------------------

template <class W>
TCharAttributes TTextWidgetWindow<W>::GetSelAttributes() const
{
  if (!FRich)
    return {};
  // A selection answers with its first character, whichever end the caret is at; a caret
  // answers with the insertion point's format.
  QTextCharFormat fmt;
  const QTextCursor sel = FEdit->textCursor();
  if (sel.hasSelection()) {
    QTextCursor first(Document());
    first.setPosition(sel.selectionStart() + 1);
    fmt = first.charFormat();
  } else {
    fmt = FEdit->currentCharFormat();
  }
  const QFont font = fmt.font().resolve(Document()->defaultFont());
  const QColor color = fmt.hasProperty(QTextFormat::ForegroundBrush)
                           ? fmt.foreground().color()
                           : FEdit->palette().color(QPalette::Text);
  TCharAttributes a = AttributesOf(font, color, FEdit->logicalDpiY());
  if (fmt.hasProperty(PropCharset))
    a.Charset = fmt.intProperty(PropCharset);
  if (fmt.hasProperty(PropPitch))
    a.Pitch = fmt.intProperty(PropPitch);
  return a;
}

template <class W>
void TTextWidgetWindow<W>::SetSelAttributes(const TCharAttributes &a)
{
  if (!FRich)
    return;
  QTextCharFormat fmt;
  if (!a.Name.isEmpty())
    fmt.setFontFamilies(QStringList{a.Name});
  if (a.Size > 0)
    fmt.setFontPointSize(a.Size);
  fmt.setFontWeight(a.Style.Contains(TFontStyle::fsBold) ? QFont::Bold : QFont::Normal);
  fmt.setFontItalic(a.Style.Contains(TFontStyle::fsItalic));
  fmt.setFontUnderline(a.Style.Contains(TFontStyle::fsUnderline));
  fmt.setForeground(FromColorRef(a.Color));
  fmt.setFontFixedPitch(a.Pitch == 1);
  fmt.setProperty(PropCharset, a.Charset);
  fmt.setProperty(PropPitch, a.Pitch);
  QTextCursor c = FEdit->textCursor();
  c.beginEditBlock();
  FEdit->mergeCurrentCharFormat(fmt);
  if (c.hasSelection())
    FitListMarkers(Document()->findBlock(c.selectionStart()),
                   Document()->findBlock(c.selectionEnd()), FEdit->logicalDpiX() / 72.0);
  c.endEditBlock();
}

template <class W>
TCharAttributes TTextWidgetWindow<W>::GetDefAttributes() const
{
  if (!FRich)
    return {};
  return AttributesOf(Document()->defaultFont(), FEdit->palette().color(QPalette::Text),
                      FEdit->logicalDpiY());
}

template <class W>
void TTextWidgetWindow<W>::SetDefAttributes(const TCharAttributes &a)
{
  if (!FRich)
    return;
  QFont f = Document()->defaultFont();
  if (!a.Name.isEmpty())
    f.setFamilies(QStringList{a.Name});
  if (a.Size > 0)
    f.setPointSize(a.Size);
  f.setBold(a.Style.Contains(TFontStyle::fsBold));
  f.setItalic(a.Style.Contains(TFontStyle::fsItalic));
  f.setUnderline(a.Style.Contains(TFontStyle::fsUnderline));
  f.setFixedPitch(a.Pitch == 1);
  Document()->setDefaultFont(f);
  QPalette pal = FEdit->palette();
  pal.setColor(QPalette::Text, FromColorRef(a.Color));
  FEdit->setPalette(pal);
}

template <class W>
void TTextWidgetWindow<W>::GetDefaultCharFormat(QString &faceName, int &heightTwips) const
{
  const QFont f = Document()->defaultFont();
  // LF_FACESIZE is 32 code units including the terminating zero.
  faceName = f.family().left(31);
  if (f.pointSizeF() > 0)
    heightTwips = qRound(f.pointSizeF() * 20);
  else
    heightTwips = qRound(f.pixelSize() * 1440.0 / qMax(1, FEdit->logicalDpiY()));
}

template <class W>
TParaAttributes TTextWidgetWindow<W>::ParagraphOf(const QTextBlock &block) const
{
  TParaAttributes p;
  const QTextBlockFormat bf = block.blockFormat();
  const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
  if (align & (Qt::AlignRight | Qt::AlignTrailing))
    p.Alignment = 1;
  else if (align & Qt::AlignHCenter)
    p.Alignment = 2;
  if (const QTextList *list = block.textList()) {
    const auto style = list->format().style();
    p.Numbering = (style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
                   style == QTextListFormat::ListSquare)
                      ? 1
                      : 2;
  }
  // Kept in twips; read back by integer division. Paragraphs that came in by paste carry only
  // layout margins, which are converted.
  const double pxPerTwip = FEdit->logicalDpiX() / 1440.0;
  auto twips = [&](int prop, double px) {
    return bf.hasProperty(prop) ? bf.intProperty(prop) : int(qRound(px / pxPerTwip));
  };
  const int firstTwips = twips(PropFirstIndentTwips, bf.leftMargin() + bf.textIndent());
  const int leftTwips = twips(PropLeftIndentTwips, -bf.textIndent());
  const int rightTwips = twips(PropRightIndentTwips, bf.rightMargin());
  p.FirstIndent = firstTwips / 20;
  p.LeftIndent = leftTwips / 20;
  p.RightIndent = rightTwips / 20;
  return p;
}

template <class W>
TParaAttributes TTextWidgetWindow<W>::GetParagraph() const
{
  if (!FRich)
    return {};
  return ParagraphOf(Document()->findBlock(FEdit->textCursor().selectionStart()));
}

template <class W>
void TTextWidgetWindow<W>::SetParagraphAttributes(const TParaAttributes &p, TParaAttributeSet which)
{
  TSelectionBatch batch(this);
  if (!FRich || (which * AllParaAttributes).IsEmpty())
    return;
  auto has = [which](TParaAttribute a) { return which.Contains(a); };
  QTextDocument *doc = Document();
  QTextCursor c = FEdit->textCursor();
  const QTextBlock first = doc->findBlock(c.selectionStart());
  const QTextBlock last = doc->findBlock(c.selectionEnd());
  // Every paragraph is read before any is written: list changes shift what a block reports.
  std::vector<std::pair<QTextBlock, TParaAttributes>> paragraphs;
  for (QTextBlock b = first; b.isValid(); b = b.next()) {
    paragraphs.emplace_back(b, ParagraphOf(b));
    if (b == last)
      break;
  }

  c.beginEditBlock();
  if (has(TParaAttribute::paNumbering)) {
    for (auto &[b, current] : paragraphs)
      if (QTextList *list = b.textList())
        list->remove(b);
    if (p.Numbering != 0) {
      QTextListFormat lf;
      lf.setStyle(p.Numbering == 1 ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal);
      lf.setIndent(0); // the left indent makes the room for the bullet
      c.createList(lf);
    }
  }
  const double pxPerPoint = FEdit->logicalDpiX() / 72.0;
  for (auto &[b, q] : paragraphs) {
    if (has(TParaAttribute::paAlignment))
      q.Alignment = p.Alignment;
    if (has(TParaAttribute::paFirstIndent))
      q.FirstIndent = p.FirstIndent;
    if (has(TParaAttribute::paLeftIndent))
      q.LeftIndent = p.LeftIndent;
    if (has(TParaAttribute::paRightIndent))
      q.RightIndent = p.RightIndent;
    if (has(TParaAttribute::paNumbering)) {
      // Turning numbering off also resets the left indent, bullets make room for themselves;
      // both whenever numbering is set, whatever it was before.
      q.Numbering = p.Numbering;
      if (q.Numbering == 0)
        q.LeftIndent = 0;
      else if (q.Numbering == 1 && q.LeftIndent < 10)
        q.LeftIndent = 10;
    }
    QTextBlockFormat bf;
    bf.setAlignment(q.Alignment == 1   ? Qt::AlignRight
                    : q.Alignment == 2 ? Qt::AlignHCenter
                                       : Qt::AlignLeft);
    const int otherLines = q.FirstIndent + q.LeftIndent;
    bf.setLeftMargin(qMax(0, otherLines) * pxPerPoint);
    // A numbered paragraph hangs its bullet in the offset; a plain one indents its first line.
    bf.setTextIndent(
        q.Numbering != 0 ? 0.0 : (qMax(0, q.FirstIndent) - qMax(0, otherLines)) * pxPerPoint);
    bf.setRightMargin(qMax(0, q.RightIndent) * pxPerPoint);
    bf.setProperty(PropFirstIndentTwips, q.FirstIndent * 20);
    bf.setProperty(PropLeftIndentTwips, q.LeftIndent * 20);
    bf.setProperty(PropRightIndentTwips, q.RightIndent * 20);
    QTextCursor(b).mergeBlockFormat(bf);
  }
  FitListMarkers(first, last, pxPerPoint);
  c.endEditBlock();
}

// --- Editing services --------------------------------------------------------------------------

template <class W>
void TTextWidgetWindow<W>::CutToClipboard()
{
  TSelectionBatch batch(this);
  FEdit->cut();
}

template <class W>
void TTextWidgetWindow<W>::CopyToClipboard()
{
  FEdit->copy();
}

template <class W>
void TTextWidgetWindow<W>::PasteFromClipboard()
{
  if (FEdit->isReadOnly())
    return;
  InsertMimeData(QGuiApplication::clipboard()->mimeData());
}

template <class W>
bool TTextWidgetWindow<W>::CanPaste() const
{
  return !FEdit->isReadOnly() && CanInsertMimeData(QGuiApplication::clipboard()->mimeData());
}

template <class W>
bool TTextWidgetWindow<W>::CanInsertMimeData(const QMimeData *source) const
{
  return source && (source->hasText() || (FRich && source->hasHtml()));
}

template <class W>
void TTextWidgetWindow<W>::InsertMimeData(const QMimeData *source)
{
  TSelectionBatch batch(this);
  if (!source)
    return;
  QTextCursor c = FEdit->textCursor();
  if (FRich && source->hasHtml()) {
    const QTextDocumentFragment fragment =
        QTextDocumentFragment::fromHtml(source->html(), Document());
    // Tables and frames have no place in a list of lines: such a paste comes in as text.
    QTextDocument probe;
    QTextCursor(&probe).insertFragment(fragment);
    if (probe.rootFrame()->childFrames().isEmpty()) {
      c.beginEditBlock();
      const int start = c.selectionStart();
      c.insertFragment(fragment);
      const int end = c.position();
      // Line breaks inside paragraphs (<br>) become real paragraph breaks.
      const QString inserted = DocCursor(start, end).selectedText();
      for (int i = 0; i < inserted.size(); ++i) {
        const QChar ch = inserted.at(i);
        if (ch == ParagraphSeparator || !IsLineBreak(ch, lbAllBreaks))
          continue;
        QTextCursor at = DocCursor(start + i, start + i + 1);
        at.removeSelectedText();
        at.insertBlock();
      }
      c.endEditBlock();
      FEdit->setTextCursor(c);
      FEdit->ensureCursorVisible();
      return;
    }
  }
  // Text as such; HTML without a text version (a table copied from a web page) gives its text.
  QString text;
  if (source->hasText())
    text = source->text();
  else if (FRich && source->hasHtml()) {
    // Only a table or frame gets here; the breaks that only bound it are not lines.
    text = QTextDocumentFragment::fromHtml(source->html()).toPlainText();
    while (text.startsWith(u'\n'))
      text.remove(0, 1);
    while (text.endsWith(u'\n'))
      text.chop(1);
  } else
    return;
  InsertText(c, text);
  FEdit->setTextCursor(c);
  FEdit->ensureCursorVisible();
}

template <class W>
bool TTextWidgetWindow<W>::CanUndo() const
{
  return Document()->isUndoAvailable();
}

template <class W>
void TTextWidgetWindow<W>::Undo()
{
  TSelectionBatch batch(this);
  FEdit->undo();
}

// The outermost edit block also leaves the layout of the new text to the widget's own lazy
// layout. The rich-text widget lays out the changed part of its text synchronously when an edit
// ends: over a second for a few megabytes, and a rebuilt text is all changed. Without a page size
// the document only drops the old layout; giving the size back after the block has ended starts
// the lazy layout, which lays out what is on screen first and the rest in small steps between
// events (inside the block, the size would bring back the synchronous layout).
template <class W>
void TTextWidgetWindow<W>::BeginEditBlock()
{
  // The document counts nested blocks itself; one block held here is enough for any depth.
  if (FEditDepth++ == 0) {
    if constexpr (std::is_same_v<W, QTextEdit>) {
      QTextDocument *doc = Document();
      FHeldPageSize = doc->pageSize();
      if (!FHeldPageSize.isNull()) {
        // A lazy layout still running (the previous block's) is finished first, at the real
        // width: anything that needs a position during the block would otherwise lay the rest
        // out at the width of no page, one character per line.
        doc->documentLayout()->documentSize();
        doc->setPageSize(QSizeF(0, 0)); // a null size: the layout stands still
      }
    }
    FEditCursor = QTextCursor(Document());
    FEditCursor.beginEditBlock();
  }
}

template <class W>
void TTextWidgetWindow<W>::EndEditBlock()
{
  if (FEditDepth <= 0)
    return; // unbalanced: nothing is open
  if (--FEditDepth == 0) {
    FEditCursor.endEditBlock();
    FEditCursor = QTextCursor();
    if constexpr (std::is_same_v<W, QTextEdit>) {
      if (!FHeldPageSize.isNull()) {
        Document()->setPageSize(FHeldPageSize);
        FHeldPageSize = QSizeF();
        ScrollCaret();
      }
    }
  }
}

template <class W>
void TTextWidgetWindow<W>::Clear()
{
  SetText(QString()); // every format dropped, a fresh history outside an edit block
  Document()->setModified(false);
}

template <class W>
bool TTextWidgetWindow<W>::Modified() const
{
  return Document()->isModified();
}

template <class W>
void TTextWidgetWindow<W>::SetHideSelection(bool hide)
{
  // Hiding the selection means: without focus it is drawn like unselected text.
  FHideSelection = hide;
  QPalette pal = FEdit->palette();
  const QPalette app = QGuiApplication::palette();
  pal.setColor(QPalette::Inactive, QPalette::Highlight,
               hide ? pal.color(QPalette::Inactive, QPalette::Base)
                    : app.color(QPalette::Inactive, QPalette::Highlight));
  pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
               hide ? pal.color(QPalette::Inactive, QPalette::Text)
                    : app.color(QPalette::Inactive, QPalette::HighlightedText));
  FEdit->setPalette(pal);
}

template <class W>
void TTextWidgetWindow<W>::SetReadOnly(bool readOnly)
{
  FEdit->setReadOnly(readOnly);
}

template class TTextWidgetWindow<QTextEdit>;
template class TTextWidgetWindow<QPlainTextEdit>;
