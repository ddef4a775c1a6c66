#pragma once
// A control parser over a string variable held by the caller. The parser reads and
// modifies that variable in place; it has one line and counts columns from 1.

#include "wrParserBase.h"

class TStringParser : public TControlParser {
public:
  // EditControl is the address of a QString variable (null reads as an empty text).
  void Initialize(void *EditControl) override;
  void Initialize(QString *Text) { Initialize(static_cast<void *>(Text)); }

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

protected:
  int TextLength() const { return FString ? int(FString->size()) : 0; }

  QString *FString = nullptr;
  int FEndX = 0;
  bool FUsingEnd = false;
  int FX = 1;      // 1-based cursor
  int FLength = 0; // length of the current word
};
