#pragma once
// The main window's editing surface: a rich-text editor that is its own edit window and owns a
// live spelling engine, to which it hands its events (TLiveEditHooks) in this order:
//   paint: WMPaint, the editor's own paint only when it answered true, then WMPaintCleanup when
//   asked (the viewport's background fill is part of the toolkit's paint, into a back buffer,
//   so there is no separate erase to hand over);
//   context menu (mouse or keyboard): WMContextMenu, the editor's own menu only when it answered
//   true; resize: WMSize, then the editor; key release: WMKeyUp, then the editor;
//   read-only change: the editor, then EMSetReadOnly; focus out: the editor, then WMKillFocus;
//   paste or drop: the editor, then WMPaste; character formatting: the editor, then
//   EMSetCharFormat; typed character: the editor, then KeyPress; selection or caret moved: the
//   editor's notifications, then NotifySelectionChange.
// Key-down and right-button events are not handed over (the aggressive context-menu mode of
// the engine is for foreign widgets only).
//
// The engine comes from the factory that the live spelling layer installs
// (InstallLiveRichEditFactory in spell/live), since this layer cannot name it; without one the
// editor paints and behaves as a plain rich editor. The live properties forward to the engine.
//
// The window class name is "WrightRichEdit20W": a rich edit (the parsers treat it as one) that
// the automatic live attachment recognises as already spell-aware.

#include "rtTextEditWindow.h"
#include "wrLiveEditHooks.h"

#include <QTextEdit>
#include <functional>
#include <memory>

class TWrightRichEdit : public QTextEdit, public TTextEditWindow {
  Q_OBJECT
public:
  using TLiveInterfaceFactory = std::function<std::unique_ptr<TLiveEditHooks>()>;

  explicit TWrightRichEdit(QWidget *parent = nullptr);
  ~TWrightRichEdit() override;

  // The factory every new editor takes its engine from (empty: no engine).
  static void SetLiveInterfaceFactory(TLiveInterfaceFactory Factory);
  // The engine, or null. Setting one frees the previous and attaches the new one to this editor.
  TLiveEditHooks *LiveInterface() const { return FLiveInterface.get(); }
  void SetLiveInterface(std::unique_ptr<TLiveEditHooks> Value);

  // Live properties, forwarded to the engine (without one: the engine's defaults, writes lost).
  bool LiveSpelling() const;
  void SetLiveSpelling(bool Value);
  bool LiveCorrect() const;
  void SetLiveCorrect(bool Value);
  TWrightSpellBase *WrightSpell() const;
  void SetWrightSpell(TWrightSpellBase *Value);
  QColor LiveSpellingColor() const;
  void SetLiveSpellingColor(const QColor &Value);
  bool DoubleBuffered() const;
  void SetDoubleBuffered(bool Value);
  bool LiveSpellingOptions() const;
  void SetLiveSpellingOptions(bool Value);
  TSpellPopupOptions LiveMenuOptions() const;
  void SetLiveMenuOptions(TSpellPopupOptions Value);
  bool LiveSpellingReadOnly() const;
  void SetLiveSpellingReadOnly(bool Value);
  bool IrregularLeftMargin() const;
  void SetIrregularLeftMargin(bool Value);
  bool IrregularLineHeights() const;
  void SetIrregularLineHeights(bool Value);
  bool AggressiveContextMenu() const;
  void SetAggressiveContextMenu(bool Value);
  QString ExpansionChars() const;
  void SetExpansionChars(const QString &Value);
  TWordCheckEvent OnWordCheck() const;
  void SetOnWordCheck(const TWordCheckEvent &Value);
  // Read-only; writing is ignored.
  QString Version() const { return QStringLiteral("1.0.0"); }
  void SetVersion(const QString &) {}

  // A check of the whole window or part of it through the engine, with the selection kept
  // visible meanwhile (the word under check stays selected while the dialog has the focus).
  void Check(TCheckType CheckType);

  // A mouse button went down in the text, raised after the editor has handled it (the caret
  // or selection already moved).
  std::function<void(TWrightRichEdit *)> OnMouseDown;

  // --- Edit-window operations that the engine hears about --------------------------------------
  QString ClassName() const override;
  void SetReadOnly(bool readOnly) override;
  void PasteFromClipboard() override;
  void SetSelAttributes(const TCharAttributes &a) override;
  void SetDefAttributes(const TCharAttributes &a) override;

protected:
  // Paste and drop: line breaks normalised to real lines, unsupported structures dropped.
  void insertFromMimeData(const QMimeData *source) override;
  void mousePressEvent(QMouseEvent *event) override;
  bool event(QEvent *event) override;
  bool viewportEvent(QEvent *event) override;
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void keyReleaseEvent(QKeyEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;
  void changeEvent(QEvent *event) override;

private:
  // A context-menu event: true when the live menu took it.
  bool LiveContextMenu(QEvent *event);

  std::unique_ptr<TLiveEditHooks> FLiveInterface;
};
