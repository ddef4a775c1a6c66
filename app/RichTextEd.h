#pragma once
// The main window of Linewright: the command bands, the keep-option list, the formatting band,
// the ruler and the editor, with start-up, show and hide behaviour and the window's commands.
//
// Every command handler runs through RunCommand (runtime/ui/rtErrorBox.h): an error escaping
// it is shown in the application's error box and the window goes on.

#include "rtEditWindow.h"
// Complete, so callers reach the spell component as any of its bases.
#include "wrLiveAutospell.h"

#include <QRect>
#include <QStringList>
#include <QWidget>

class QAction;
class QActionGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;
class TCheckedComboBox;
class TFontDialog;
class TReplaceDialog;
class TThesaurus3;
class TThesaurus3Base;
class TRulerPanel;
class TUpDown;
class TWrightRichEdit;
class TWrightSpell3Base;

class TRichTextEd : public QWidget {
  Q_OBJECT
public:
  // Creates every component and runs FormCreate.
  explicit TRichTextEd(QWidget *parent = nullptr);
  ~TRichTextEd() override;

  // Plain-text mode: decides the caption and whether the formatting band is shown.
  bool PlaintextOn = false;
  // The process's command-line arguments without the program itself; the first one, when not
  // empty, becomes the text of line 0 each time the window is shown.
  QStringList CommandLine;

  // True when the formatting controls are not being refreshed and the editor is not read-only.
  bool FormattingAllowed() const;

  // The text of the keep-option list (checked item names joined by ",").
  QString KeepText() const;

  // Shows a one-line notice under the editor without blocking: a later notice replaces an
  // earlier one, an empty text hides it. The notice goes when the user clicks it or next changes
  // the text, so it only ever speaks of the last thing done.
  void ShowNotice(const QString &Text);

  // The caption of the ruler: 100 pairs of a tab and "|".
  static QString RulerCaption();
  // What Launch Excel opens for a registered open command: quotes removed, the text before the
  // first "/" (nothing when there is no "/").
  static QString SpreadsheetProgramOf(const QString &command);
  // A tool tip from a hint: the text up to the first "|".
  static QString HintToolTip(const QString &hint);

  // --- Components (owned by the window through Qt's parent chain) ---------------------------
  QFrame *CoolBar1 = nullptr;
  QToolBar *ToolBar1 = nullptr;
  QToolButton *ToolButton4 = nullptr, *UndoButton = nullptr, *CutButton = nullptr,
              *CopyButton = nullptr, *PasteButton = nullptr, *ToolButton6 = nullptr,
              *ToolButton3 = nullptr, *ToolButton8 = nullptr, *ToolButton10 = nullptr,
              *DashIndent = nullptr, *ToolButton1 = nullptr, *ToolButton2 = nullptr,
              *ToolButton7 = nullptr, *ToolButton9 = nullptr, *ToolButton11 = nullptr,
              *ToolButton19 = nullptr, *ToolButton22 = nullptr, *ToolButton23 = nullptr,
              *ToolButton24 = nullptr, *ToolButton12 = nullptr, *ToolButton14 = nullptr,
              *ToolButton13 = nullptr, *ToolButton15 = nullptr, *ToolButton20 = nullptr,
              *ToolButton16 = nullptr, *ToolButton18 = nullptr, *SpecialPasteBtn1 = nullptr,
              *SpecialPasteBtn2 = nullptr;
  QToolBar *ToolBar4 = nullptr;
  TCheckedComboBox *TextToStrip = nullptr;

  QFrame *CoolBar2 = nullptr;
  QToolBar *ToolBar6 = nullptr;
  QComboBox *FontName = nullptr;
  QLineEdit *FontSize = nullptr;
  TUpDown *UpDown1 = nullptr;
  QToolBar *ToolBar7 = nullptr;
  QToolButton *ToolButton17 = nullptr, *BoldButton = nullptr, *ItalicButton = nullptr,
              *UnderlineButton = nullptr, *LeftAlign = nullptr, *CenterAlign = nullptr,
              *RightAlign = nullptr, *BulletsButton = nullptr, *BulletsNumButton = nullptr;

  TRulerPanel *Ruler = nullptr;
  QFrame *RulerLine = nullptr;
  QLabel *FirstInd = nullptr, *LeftInd = nullptr, *RightInd = nullptr;

  TWrightRichEdit *Editor = nullptr;
  QLabel *NoticeLine = nullptr;        // under the editor, hidden while there is nothing to say
  TFontDialog *ReFontDialog = nullptr; // modal, created with the window
  TReplaceDialog *ReplaceDialog1 = nullptr; // modeless, created with the window
  // The spell component behind the editor and the spelling commands. (It gains live spelling
  // with its full class; until then it is the dialog layer of the component.)
  TWrightAutoLiveSpell *WrightAutoLiveSpell1 = nullptr;
  TWrightSpell3Base *WrightSpell3Base1 = nullptr; // sits on the window; no command uses it
  TThesaurus3 *Thesaurus31 = nullptr;             // behind "Lookup word Thesausus"
  TThesaurus3Base *Thesaurus3Base1 = nullptr;     // sits on the window; no command uses it
  QMenu *EditorPopupMenu1 = nullptr;
  QAction *Lookupword1 = nullptr, *EditorSpellcheck1 = nullptr, *Exit1 = nullptr;

  // Actions behind buttons and the window's only shortcuts (Ctrl+Z, Ctrl+X, Ctrl+C, Ctrl+V).
  QAction *EditUndoAction = nullptr, *EditCutAction = nullptr, *EditCopyAction = nullptr,
          *EditPasteAction = nullptr, *RulerAct = nullptr;
  QAction *AlignLeftAct = nullptr, *AlignRightAct = nullptr, *AlignCenterAct = nullptr,
          *BulletNumAct1 = nullptr;

  // --- Window events ----------------------------------------------------------------------------
  void FormCreate();
  void FormShow();
  void FormHide();

  // --- Commands of this window (RichTextEd.cpp) -----------------------------------------------
  void FileClose1Execute();
  void EditUndo();
  void EditCut();
  void EditCopy();
  void EditPaste();
  void EditClearExecute();
  void NotepadAction1Execute();
  void ToolButton10Click();
  void RichEditChange();
  void RulerActExecute();

  // --- Line commands, plain text, formatting, find and replace, spelling, thesaurus ---------------
  // (RichTextEdCommands.cpp)
  void ToolButton3Click();
  void DashIndentActExecute();
  void DashUnIndentActExecute();
  void IndentActExecute();
  void UnIndentActExecute();
  void ToolButton9Click();
  void ToolButton11Click();
  void ToolButton19Click();
  void ToolButton22Click();
  void ToolButton23Click();
  void ToolButton24Click();
  void ToolButton12Click();
  void ToolButton14Click();
  void ToolButton15Click();
  void ReplaceDialog1Find();
  void ReplaceDialog1Replace();
  void ToolButton20Click();
  void ToolButton16Click();
  void ToolButton18Click();
  void SpecialPasteBtn1Click();
  void SpecialPasteBtn2Click();
  void SelectFont();
  void BoldButtonClick();
  void ItalicButtonClick();
  void UnderlineButtonClick();
  void AlignButtonClick(
      QObject *Sender); // Sender carries the "Tag" property: 0 left, 1 right, 2 centre
  void BulletsButtonClick();
  void BulletNumAct1Execute();
  void FontNameChange();
  void FontSizeChange();
  void SelectionChange();
  void EditorMouseDown();
  void RulerResize();
  void Lookupword1Click();
  void EditorSpellcheck1Click();

  // The rectangle animation between a point and the window (show and hide); skipped where
  // nothing is drawn (the offscreen platform).
  static void AnimateRect(const QRect &from, const QRect &to);

  // Remembered selection start and search length (proper case, find and replace).
  int UserSS = 0;
  int UserSL = 0;

protected:
  void showEvent(QShowEvent *event) override;
  // A spell check waiting in its dialog ends (cancelled) before the window closes.
  void closeEvent(QCloseEvent *event) override;
  void hideEvent(QHideEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dropEvent(QDropEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

  bool FUpdating = false;
  bool FDragging = false;
  int FDragOfs = 0;
  QRect MsRect;

private:
  void CreateComponents();
  void CreateCommandBand();
  void CreateFormattingBand();
  void CreateRuler();
  void CreateEditor();
  void CreateNoticeLine();
  void CreateSpellComponents();
  // Ends a running spell check as a Cancel would: the dialog closes, dictionaries are saved.
  void EndSpellCheck();
  QToolButton *AddButton(QToolBar *bar, const char *name, const QString &hint,
                         void (TRichTextEd::*handler)());
  QToolButton *AddActionButton(QToolBar *bar, const char *name, QAction *action);
  QAction *MakeAction(const char *name, const QString &caption, const QString &hint,
                      void (TRichTextEd::*handler)());
  void Run(void (TRichTextEd::*handler)());
  void UpdateEditActions();
  void ShowEditorPopup(const QPoint &pos);
  void ApplyStyle(int styleBit, bool on);
  // Before a command on a long text, or one that pastes (its length unknown until it is in): the
  // busy cursor until the editor has laid out its whole text. After a paste, EndBusyIfShort
  // takes it back at once when the text turned out short.
  enum TIncoming { inNone, inClipboard };
  void BusyForLongText(TIncoming incoming = inNone);
  void EndBusyIfShort();
  bool EditorLaidOut() const;
  // Tells what a plain-text conversion could not keep.
  void NoticeLostCharacters(qsizetype lost);
  void SetParagraphAttribute(TParaAttribute which, const TParaAttributes &p);
  // Ruler markers: drag start, drag move and the release handlers.
  void RulerItemMouseDown(QLabel *marker, int x);
  void RulerItemMouseMove(QLabel *marker, int x);
  void FirstIndMouseUp();
  void LeftIndMouseUp();
  void RightIndMouseUp();

  QActionGroup *FAlignGroup = nullptr;
  QTimer *FBusyTimer = nullptr; // runs only while the busy cursor shows

  // Files the spell component could not read or write, on the notice line (RichTextEdNotices):
  // told once per start, and shown again after a change of the text hid it, until the user
  // clicks it away.
  void CreateFileProblemNotices();
  void ShowFileProblems();
  QStringList FFileProblems;
  bool FFileProblemsDismissed = false;
};
