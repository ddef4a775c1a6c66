#pragma once
// A control parser over a live edit window, working only through the edit-window contract
// (runtime/rtEditWindow.h), so it serves any text window without knowing its class.
// Columns count from 0; every line reads as its text followed by CR LF.

#include "rtEditWindow.h"
#include "wrParserBase.h"
#include "wrUtil.h"

enum TWinAPIControlType { actEdit = 0, actRichEdit = 1, actRichEdit2 = 2 };

// IsRichEditWindow, the rich-edit probe, comes from the engine's text helpers.

class TWinAPIControlParser : public TControlParser2 {
public:
  static constexpr int LineBufferSize = 16384;
  // Capacity offered to the window when a line is fetched (room is left for CR LF and 0).
  static constexpr int LineBufferCapacity = 16374;

  // EditControl is a control object (QObject); its window comes from TEditWindow::FromControl.
  void Initialize(void *EditControl) override;
  void Initialize(QObject *EditControl);
  // Binds to a window directly (FEdit is left as it was).
  void InitializeFromHWND(HWND Handle);

  QChar GetChar() override;
  QString GetLine() override;
  bool MoveNext() override;
  bool MovePrevious() override;
  void SetPosition(int XPos, int YPos, TPositionType PosType) override;
  void GetPosition(int &XPos, int &YPos) override;
  void SelectWord(int Length) override;
  void ReplaceWord(const QString &Replacement, int State) override;
  void IgnoreWord(int State) override;
  void CenterSelection() override;
  void GetCursorPosition(int &XPos, int &YPos) override;
  void GetSelectionPosition(int &XPosStart, int &YPosStart, int &XPosEnd, int &YPosEnd) override;
  void GetControlScreenPosition(QRect &ControlPosition) override;
  void GetSelectionScreenPosition(QRect &SelectionPosition) override;
  void UndoLast(int State, int UndoAction, int &UndoData) override;
  QObject *GetControl() override;

  QObject *Control() const { return FEdit; }
  HWND ControlHWND() const { return FHandle; }
  TWinAPIControlType ControlType() const { return FControlType; }
  void SetControlType(TWinAPIControlType Value) { FControlType = Value; }

protected:
  // Brings the cursor's line into the buffer (wrapping across line ends) and answers whether
  // the cursor is on valid text within the end limit.
  virtual bool ValidatePosition();
  // Client coordinates of a character; (0, 0) when the window has none.
  virtual void PositionFromChar(int CharIndex, QPoint &Point);
  // Fetches line FY into the buffer, followed by CR LF; False when there is no such line.
  bool LoadLine();

  QObject *FEdit = nullptr;
  HWND FHandle = nullptr;
  TWinAPIControlType FControlType = actEdit;
  int FEndX = 0;
  int FEndY = 0;
  bool FUsingEnd = false;
  int FX = 0;
  int FY = 0;
  char16_t FLine[LineBufferSize] = {};
  int FLineIndex = -1;
  int FLineLength = 0;
  int FLineCount = 0;
  bool FDirty = true;
  unsigned FSelStart = 0;
  unsigned FSelLen = 0;
};
