#include "wrStringParser.h"

#include <algorithm>

void TStringParser::Initialize(void *EditControl)
{
  FString = static_cast<QString *>(EditControl);
  FUsingEnd = false;
  FEndX = 0;
  FX = 1;
  FLength = 0;
}

QChar TStringParser::GetChar()
{
  if (FX < 1 || FX > TextLength())
    return QChar(0);
  // Past the end limit is no text either: a cut-off last word must not be followed by words
  // from beyond the limit.
  if (FUsingEnd && FX > FEndX)
    return QChar(0);
  return FString->at(FX - 1);
}

QString TStringParser::GetLine() { return FString ? *FString : QString(); }

bool TStringParser::MoveNext()
{
  // The position just past the last character is reachable (it reads 0); the step after it fails.
  bool ok = FX <= TextLength();
  ++FX;
  if (ok && FUsingEnd && FX > FEndX)
    ok = false;
  return ok;
}

bool TStringParser::MovePrevious()
{
  if (FX > 1) {
    --FX;
    return true;
  }
  return false;
}

void TStringParser::SetPosition(int XPos, int /*YPos*/, TPositionType PosType)
{
  if (PosType == ptEnd) {
    FUsingEnd = true;
    FEndX = XPos;
  } else {
    FX = std::max(1, XPos);
  }
}

void TStringParser::GetPosition(int &XPos, int &YPos)
{
  XPos = FX;
  YPos = 0;
}

void TStringParser::SelectWord(int Length)
{
  FLength = Length;
  FX -= Length;
}

void TStringParser::ReplaceWord(const QString &Replacement, int /*State*/)
{
  if (FUsingEnd)
    FEndX += int(Replacement.size()) - FLength;
  if (FString) {
    // Clamp to the text: a stale selection must not corrupt the caller's string.
    const int start = std::clamp(FX - 1, 0, int(FString->size()));
    const int count = std::clamp(FLength, 0, int(FString->size()) - start);
    FString->replace(start, count, Replacement);
  }
  FX += int(Replacement.size());
}

void TStringParser::IgnoreWord(int /*State*/) { FX += FLength; }

void TStringParser::CenterSelection() {}

void TStringParser::GetCursorPosition(int &XPos, int &YPos)
{
  XPos = FX;
  YPos = 0;
}

void TStringParser::GetSelectionPosition(int &XPosStart, int &YPosStart, int &XPosEnd, int &YPosEnd)
{
  XPosStart = FX;
  YPosStart = 0;
  XPosEnd = FX;
  YPosEnd = 0;
}

void TStringParser::GetControlScreenPosition(QRect &ControlPosition)
{
  ControlPosition = QRect(QPoint(-1, -1), QPoint(-1, -1));
}

void TStringParser::GetSelectionScreenPosition(QRect &SelectionPosition)
{
  SelectionPosition = QRect(QPoint(-1, -1), QPoint(-1, -1));
}

void TStringParser::UndoLast(int, int, int &) {}
