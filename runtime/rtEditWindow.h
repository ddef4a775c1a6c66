#pragma once
// The edit-window contract: what the rest of the program may ask of a text window.
//
// On Windows these are window messages sent to a window handle; here a window handle is a
// pointer to a TEditWindow and each message is one virtual operation with the message's
// meaning. A window that does not understand edit messages (a container, a button) keeps the
// defaults, which answer like such a window would: 0, an empty text, nothing changed.
//
// Positions are 0-based UTF-16 offsets into the text as read through GetText(), where every
// line break counts two (CR LF), whatever the widget counts internally.
//
// This header is QtCore-only (the spelling checker includes it); painting types are only
// forward-declared.

#include "rtTypes.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <vector>

class QObject;
class QPaintDevice;

// Character attributes (the selection's or the default set).
enum class TFontStyle : unsigned { fsBold = 0, fsItalic = 1, fsUnderline = 2 };
using TFontStyles = TSet<TFontStyle, quint8>;

inline constexpr TFontStyles FontStyleBit(TFontStyle s) { return s; }

// Hand-aligned field notes.
// clang-format off
struct TCharAttributes {
  QString Name;          // font face name
  int Size = 0;          // whole points
  TFontStyles Style;     // bold, italic, underline
  quint32 Color = 0;     // 0x00BBGGRR like a COLORREF
  int Charset = 1;       // DEFAULT_CHARSET
  int Pitch = 0;         // 0 default, 1 fixed, 2 variable
};

// Paragraph attributes; indents in whole points (kept in twips, 20 per point).
struct TParaAttributes {
  int Alignment = 0;   // 0 left, 1 right, 2 centre
  int Numbering = 0;   // 0 none, 1 bullets, 2 Arabic numbers
  int FirstIndent = 0;
  int LeftIndent = 0;  // offset of the other lines from the first line; may be negative
  int RightIndent = 0;
};
// clang-format on

// Which paragraph attributes a setting writes (the paragraph-format mask); the others stay as
// each paragraph has them.
enum class TParaAttribute : unsigned {
  paAlignment = 0,
  paNumbering,
  paFirstIndent,
  paLeftIndent,
  paRightIndent
};
using TParaAttributeSet = TSet<TParaAttribute, quint8>;

inline constexpr TParaAttributeSet ParaAttributeBit(TParaAttribute a) { return a; }
inline constexpr TParaAttributeSet AllParaAttributes =
    TParaAttributeSet::Range(TParaAttribute::paAlignment, TParaAttribute::paRightIndent);

// EM_SETBKGNDCOLOR with wParam 1: use the system window colour.
inline constexpr quint32 CLR_DEFAULT = 0xFF000000u;

class TEditWindow;
using HWND = TEditWindow *;

class TEditWindow {
public:
  // The operations and their messages form a table.
  // clang-format off
  virtual ~TEditWindow();

  // --- Window identity and geometry -------------------------------------------------------
  virtual QString ClassName() const { return QString(); }
  // Child windows in order (first child, then each next sibling).
  virtual std::vector<HWND> Children() const { return {}; }
  // Whole window rectangle and client size, and client -> screen mapping.
  virtual QRect WindowRect() const { return QRect(); }
  virtual QSize ClientSize() const { return QSize(); }
  virtual QPoint ClientToScreen(const QPoint &p) const { return p; }
  virtual QPoint ScreenToClient(const QPoint &p) const { return p; }
  // tmHeight + tmExternalLeading of the window's font.
  virtual int LineHeight() const { return 0; }
  // ES_READONLY / ES_MULTILINE style bits.
  virtual bool IsReadOnly() const { return false; }
  virtual bool IsMultiLine() const { return false; }
  virtual bool HandleAllocated() const { return true; }
  // The control object behind the window (for Initialize(EditControl)); may be null.
  virtual QObject *Control() const { return nullptr; }

  // --- Whole text -------------------------------------------------------------------------
  virtual QString GetText() const { return QString(); }             // WM_GETTEXT, CR LF breaks
  virtual int GetTextLength() const { return 0; }                   // WM_GETTEXTLENGTH
  virtual void SetText(const QString &) {}                          // WM_SETTEXT
  // EM_SETTEXTEX: WM_SETTEXT's rules (every kind of break, formatting dropped, change
  // notification); with keepUndo (ST_KEEPUNDO) the replacement is one undoable edit instead of
  // resetting the undo history. A window without an undo history of its own just sets the text.
  virtual void SetTextEx(const QString &text, bool /*keepUndo*/) { SetText(text); }

  // --- Selection ----------------------------------------------------------------------------
  virtual void GetSel(int &start, int &end) const { start = end = 0; } // EM_GETSEL / EM_EXGETSEL
  // EM_SETSEL / EM_EXSETSEL: start -1 removes the selection (caret at end); end -1 means the end
  // of the text. Positions are clamped to the text.
  virtual void SetSel(int, int) {}
  virtual QString GetSelText() const { return QString(); }          // EM_GETSELTEXT
  // EM_REPLACESEL: canUndo false (wParam 0) keeps the change out of the undo history.
  virtual void ReplaceSel(const QString &, bool /*canUndo*/) {}
  // The rich-edit probe: EM_EXGETSEL with a range preset to (-2, -2); a rich edit overwrites it.
  virtual void ExGetSel(int &cpMin, int &cpMax) const { (void)cpMin; (void)cpMax; }

  // Selection properties of the editing surface: a start above 0x7FFFFFFE reads as 0; setting
  // the start collapses the selection to a caret; setting the length keeps the start, moves
  // the end and scrolls the caret into view.
  int GetSelStart() const;
  int GetSelLength() const;
  void SetSelStart(int start);
  void SetSelLength(int length);
  void SelectAll() { SetSel(0, -1); }

  // --- Lines ----------------------------------------------------------------------------------
  virtual int GetLineCount() const { return 0; }                    // EM_GETLINECOUNT: breaks + 1
  // EM_GETLINE: buffer[0] holds the capacity on entry; copies the line without break or
  // terminating zero and answers the number of code units copied.
  virtual int GetLine(int /*line*/, char16_t * /*buffer*/) const { return 0; }
  virtual int LineIndex(int /*line*/) const { return -1; }         // EM_LINEINDEX: -1 beyond the last line; line -1 = caret's line
  virtual int LineFromChar(int /*pos*/) const { return 0; }        // EM_LINEFROMCHAR; pos -1 = caret's line
  virtual int LineLength(int /*pos*/) const { return 0; }          // EM_LINELENGTH of the line holding pos

  // The line list (Lines): Count is breaks + 1, or breaks when the last line is empty.
  virtual int LinesCount() const { return 0; }
  virtual QString GetLineText(int /*line*/) const { return QString(); } // empty beyond the last line
  virtual void SetLineText(int /*line*/, const QString &) {}            // keeps the break; beyond: nothing

  // --- Screen -----------------------------------------------------------------------------------
  // EM_POSFROMCHAR: client coordinates of a character's top-left corner (for the position just
  // after a line's last character, that character's right edge); (-1,-1) when there is none.
  virtual QPoint PosFromChar(int) const { return QPoint(-1, -1); }
  virtual int CharFromPos(const QPoint &) const { return 0; }      // EM_CHARFROMPOS
  virtual int GetFirstVisibleLine() const { return 0; }            // EM_GETFIRSTVISIBLELINE
  virtual void LineScroll(int /*lines*/) {}                         // EM_LINESCROLL(0, lines)
  virtual void ScrollCaret() {}                                     // EM_SCROLLCARET

  // --- Painting ---------------------------------------------------------------------------------
  // EM_FORMATRANGE: render the text from position `from` to the end into `device`, inside
  // `rectTwips` (1440 per inch of the device). Answers the first position not rendered.
  virtual int FormatRange(QPaintDevice * /*device*/, int /*from*/, const QRect & /*rectTwips*/) { return 0; }
  virtual void ClearFormatCache() {}                                // EM_FORMATRANGE with no request
  // EM_SETBKGNDCOLOR: answers the previous colour; CLR_DEFAULT asks for the system window colour.
  virtual quint32 SetBackgroundColor(quint32 color) { return color; }
  virtual void SetRedraw(bool) {}                                   // WM_SETREDRAW
  virtual void EraseBackground(QPaintDevice *) {}                   // WM_ERASEBKGND into a device
  virtual void Invalidate(const QRect & = QRect()) {}               // empty rect: whole client area
  virtual void Update() {}

  // --- Attributes -------------------------------------------------------------------------------
  virtual TCharAttributes GetSelAttributes() const { return {}; }
  virtual void SetSelAttributes(const TCharAttributes &) {}
  virtual TCharAttributes GetDefAttributes() const { return {}; }
  virtual void SetDefAttributes(const TCharAttributes &) {}
  // The attributes of the paragraph where the selection starts.
  virtual TParaAttributes GetParagraph() const { return {}; }
  // Writes the attributes in `which` to every paragraph touched by the selection; each
  // paragraph keeps its other attributes. Whenever numbering is written, each paragraph's left
  // indent follows it: numbering 0 resets it to 0, bullets raise one below 10 points to 10.
  virtual void SetParagraphAttributes(const TParaAttributes &, TParaAttributeSet /*which*/) {}
  // Writes the whole set to every touched paragraph; numbering (and with it the left-indent
  // rule) only when it differs from the first paragraph's.
  void SetParagraph(const TParaAttributes &p);
  // EM_GETCHARFORMAT (default format): face name (up to 32 code units) and height in twips.
  virtual void GetDefaultCharFormat(QString &faceName, int &heightTwips) const { faceName.clear(); heightTwips = 0; }

  // --- Editing services -------------------------------------------------------------------------
  virtual void CutToClipboard() {}
  virtual void CopyToClipboard() {}
  virtual void PasteFromClipboard() {}                              // WM_PASTE
  virtual bool CanPaste() const { return false; }                   // EM_CANPASTE: clipboard holds what WM_PASTE inserts
  virtual bool CanUndo() const { return false; }                    // EM_CANUNDO
  virtual void Undo() {}                                            // EM_UNDO
  // Edits between the two calls form one undo step (ITextDocument BeginEditCollection /
  // EndEditCollection); pairs may nest, the outermost pair counts. A window may hold back its
  // layout until the outermost block ends and then scroll the caret into view.
  virtual void BeginEditBlock() {}
  virtual void EndEditBlock() {}
  virtual void Clear() {}                                           // empty content, reset modified flag
  virtual bool Modified() const { return false; }
  virtual void SetHideSelection(bool) {}
  virtual bool HideSelection() const { return false; }              // selection hidden without focus
  virtual bool PlainText() const { return false; }
  virtual void SetPlainText(bool) {}
  virtual void SetReadOnly(bool) {}                                 // EM_SETREADONLY
  virtual void SetFocus() {}                                        // also activates the top-level window
  virtual void Repaint() {}

  // Notifications, raised after every change (typed or programmatic) and selection change.
  std::function<void(TEditWindow *)> OnChange;
  std::function<void(TEditWindow *)> OnSelectionChange;

  // The window of a control object: the one registered for it, or the one a registered
  // factory makes for it (the widgets layer installs the factory). Null when none.
  static HWND FromControl(QObject *control);
  static void Register(QObject *control, HWND window);
  static void Unregister(QObject *control);
  static void SetFactory(std::function<HWND(QObject *)> factory);
  // clang-format on
};
