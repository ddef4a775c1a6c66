#pragma once
// Edit-window adapters over Qt's document-based text widgets (QTextEdit, QPlainTextEdit).
//
// Positions: the contract counts a line break as two (CR LF); QTextDocument counts a block
// break as one. For a position inside block k, ours = document position + k. Conversions go
// through the document's block tree (findBlock / findBlockByNumber, O(log n)), never through a
// scan of the text; ours -> document narrows the block down with a few document lookups and
// a binary search over what is left, with a cache of the last block hit, so sequential access
// (a parser walking the text) is one lookup.
//
// Undo: a whole-text set (WM_SETTEXT) starts a fresh history; SetTextEx with keepUndo, and
// everything between BeginEditBlock and EndEditBlock, is one undo step.
//
// Every text that enters the document through the adapter (SetText, ReplaceSel, SetLineText,
// paste, drop) has its line breaks normalised: CR LF, lone CR, lone LF, U+2028, U+2029, VT, FF
// and NEL each become one real block break, so every visible break is a line of the list.

#include "rtWidgetWindow.h"

#include <QMetaObject>
#include <QPointer>
#include <QSizeF>
#include <QTextBlock>
#include <QTextCursor>

class QMimeData;
class QTextDocument;
class QTextEdit;
class QPlainTextEdit;

// Turns every kind of line break into '\n' (one block break when inserted).
QString NormalizeLineBreaks(const QString &text);

template <class W>
class TTextWidgetWindow : public TWidgetWindow {
public:
  // rich: answers as a rich edit (class "RichEdit20W", rich-edit probe, attributes,
  // EM_FORMATRANGE); otherwise as a multi-line "Edit".
  TTextWidgetWindow(W *edit, bool rich);
  ~TTextWidgetWindow() override;

  QString ClassName() const override;
  std::vector<HWND> Children() const override { return {}; }
  bool IsReadOnly() const override;
  bool IsMultiLine() const override { return true; }
  int LineHeight() const override;

  QString GetText() const override;
  int GetTextLength() const override;
  void SetText(const QString &text) override;
  void SetTextEx(const QString &text, bool keepUndo) override;

  void GetSel(int &start, int &end) const override;
  void SetSel(int start, int end) override;
  QString GetSelText() const override;
  void ReplaceSel(const QString &text, bool canUndo) override;
  void ExGetSel(int &cpMin, int &cpMax) const override;

  int GetLineCount() const override;
  int GetLine(int line, char16_t *buffer) const override;
  int LineIndex(int line) const override;
  int LineFromChar(int pos) const override;
  int LineLength(int pos) const override;
  int LinesCount() const override;
  QString GetLineText(int line) const override;
  void SetLineText(int line, const QString &text) override;

  QPoint PosFromChar(int pos) const override;
  int CharFromPos(const QPoint &p) const override;
  int GetFirstVisibleLine() const override;
  void LineScroll(int lines) override;
  void ScrollCaret() override;

  int FormatRange(QPaintDevice *device, int from, const QRect &rectTwips) override;
  quint32 SetBackgroundColor(quint32 color) override;
  void EraseBackground(QPaintDevice *device) override;

  TCharAttributes GetSelAttributes() const override;
  void SetSelAttributes(const TCharAttributes &a) override;
  TCharAttributes GetDefAttributes() const override;
  void SetDefAttributes(const TCharAttributes &a) override;
  TParaAttributes GetParagraph() const override;
  void SetParagraphAttributes(const TParaAttributes &p, TParaAttributeSet which) override;
  void GetDefaultCharFormat(QString &faceName, int &heightTwips) const override;

  void CutToClipboard() override;
  void CopyToClipboard() override;
  void PasteFromClipboard() override;
  bool CanPaste() const override;
  bool CanUndo() const override;
  void Undo() override;
  void BeginEditBlock() override;
  void EndEditBlock() override;
  // Inside an edit block the repaint waits for the block's end: the rich-text document has no
  // layout until then, and a paint over it would see every line at the top of the view.
  void Repaint() override;
  void Clear() override;
  bool Modified() const override;
  void SetHideSelection(bool hide) override;
  bool HideSelection() const override { return FHideSelection; }
  bool PlainText() const override { return FPlainText; }
  void SetPlainText(bool plain) override { FPlainText = plain; }
  void SetReadOnly(bool readOnly) override;

  // --- Services for the widget and its subclasses --------------------------------------------
  // Inserts clipboard/drop data at the cursor, line breaks normalised; rich text is kept
  // unless it holds structures (tables, frames) the line list cannot express.
  void InsertMimeData(const QMimeData *source);
  // What InsertMimeData inserts something from: text, or (rich) HTML.
  bool CanInsertMimeData(const QMimeData *source) const;
  // Conversions between contract positions (break = 2) and document positions (break = 1).
  int ToDocPos(int pos) const;
  int FromDocPos(int docPos) const;
  QTextDocument *Document() const;
  W *Edit() const { return FEdit; }

protected:
  QWidget *ClientWidget() const override;

private:
  TParaAttributes ParagraphOf(const QTextBlock &block) const;
  QTextBlock BlockOfPos(int pos) const; // the block holding contract position pos (clamped)
  int BlockStart(const QTextBlock &b) const { return b.position() + b.blockNumber(); }
  QTextCursor DocCursor(int docStart, int docEnd) const;
  void ApplyCursor(const QTextCursor &c, bool keepScroll);
  void InsertText(QTextCursor &c, const QString &text); // normalised, single undo step
  void ReplaceRange(QTextCursor &c, const QString &text, bool canUndo);
  void FireSelectionIfMoved();
  // Holds back selection notifications during one operation of ours: the widget's cursor
  // passes through intermediate positions, the listener hears only the outcome.
  class TSelectionBatch {
  public:
    explicit TSelectionBatch(TTextWidgetWindow *w) : FW(w) { ++FW->FSelectionBatch; }
    ~TSelectionBatch()
    {
      if (--FW->FSelectionBatch == 0)
        FW->FireSelectionIfMoved();
    }
    TSelectionBatch(const TSelectionBatch &) = delete;
    TSelectionBatch &operator=(const TSelectionBatch &) = delete;

  private:
    TTextWidgetWindow *FW;
  };
  void ReplaceAll(const QString &text);
  void KeepCaretBlockAnalysis();

  W *FEdit;
  bool FRich;
  bool FPlainText = false;
  bool FHideSelection = true;
  mutable int FBlockHint = 0;
  int FEditDepth = 0;        // open BeginEditBlock calls
  QTextCursor FEditCursor;   // holds the document's edit block while FEditDepth > 0
  QSizeF FHeldPageSize;      // the page size given back when the outermost block ends
  bool FRepaintHeld = false; // a repaint asked for inside the block
  int FLastSelStart = 0;     // a new widget's caret is at the start
  int FLastSelEnd = 0;
  int FSelectionBatch = 0;
  QTextCursor FAnalysedBlock; // at the start of the long paragraph whose analysis is kept
  std::vector<QMetaObject::Connection> FConnections;
  QPointer<QObject> FKeyFilter; // owned by the widget; removed with the adapter
};

extern template class TTextWidgetWindow<QTextEdit>;
extern template class TTextWidgetWindow<QPlainTextEdit>;

// The rich-text adapter (class "RichEdit20W") and the plain multi-line adapter (class "Edit").
using TTextEditWindow = TTextWidgetWindow<QTextEdit>;
using TPlainEditWindow = TTextWidgetWindow<QPlainTextEdit>;
