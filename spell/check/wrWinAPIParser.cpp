#include "wrWinAPIParser.h"

#include <QObject>
#include <algorithm>

namespace {
// Line and column of a character index in the window.
void CharToLineColumn(HWND Handle, int Char, int &XPos, int &YPos)
{
  YPos = Handle->LineFromChar(Char);
  XPos = Char - Handle->LineIndex(YPos);
}
} // namespace

void TWinAPIControlParser::Initialize(void *EditControl)
{
  Initialize(static_cast<QObject *>(EditControl));
}

void TWinAPIControlParser::Initialize(QObject *EditControl)
{
  FEdit = EditControl;
  InitializeFromHWND(TEditWindow::FromControl(EditControl));
}

void TWinAPIControlParser::InitializeFromHWND(HWND Handle)
{
  FHandle = Handle;
  FUsingEnd = false;
  FEndX = 0;
  FEndY = 0;
  FX = 0;
  FY = 0;
  FDirty = true;
  FLineLength = 0;
  FLineIndex = -1;
  FLine[0] = 0;
  FSelStart = 0;
  FSelLen = 0;
  FLineCount = 0;
  FControlType = actEdit;
  if (!FHandle)
    return;

  FLineCount = FHandle->GetLineCount();
  if (FLineCount == 0) {
    // A container: read the first child that answers as a text window.
    for (HWND child : FHandle->Children()) {
      if (!child)
        continue;
      const int count = child->GetLineCount();
      if (count > 0) {
        FHandle = child;
        FLineCount = count;
        break;
      }
    }
  }

  const QString className = FHandle->ClassName().left(1024).toLower();
  if (className.contains(u"richedit2"))
    FControlType = actRichEdit2;
  else if (className.contains(u"richedit"))
    FControlType = actRichEdit;
  else if (className.contains(u"syntaxmemo") || className.contains(u"lmdmemo") ||
           IsRichEditWindow(FHandle))
    FControlType = actRichEdit;
  else
    FControlType = actEdit;
}

bool TWinAPIControlParser::LoadLine()
{
  // Ask for the count first: the text may have grown or shrunk since the last load.
  FLineCount = FHandle ? FHandle->GetLineCount() : 0;
  if (FY < 0 || FY >= FLineCount)
    return false;
  FDirty = false;
  FLine[0] = char16_t(LineBufferCapacity);
  const int n = std::clamp(FHandle->GetLine(FY, FLine), 0, LineBufferCapacity);
  FLine[n] = u'\r';
  FLine[n + 1] = u'\n';
  FLine[n + 2] = 0;
  FLineLength = n + 2;
  FLineIndex = FY;
  return true;
}

bool TWinAPIControlParser::ValidatePosition()
{
  // Nothing lies before the start, whichever line the buffer holds.
  if (FY == 0 && FX < 0) {
    FX = 0;
    return false;
  }
  bool valid = true;
  // A changed line is measured as it is now: after a longer replacement the old length would
  // wrap the cursor to the next line and skip the rest of this one.
  if (FDirty && FY == FLineIndex)
    valid = LoadLine();
  if (FY == FLineIndex) {
    if (FX >= FLineLength) {
      ++FY;
      FX = 0;
    } else if (FX < 0) {
      --FY;
      FX = -1; // the previous line's last character, known once it is loaded
    }
  }
  if (FY != FLineIndex || FDirty) {
    valid = LoadLine();
    if (FX < 0)
      FX = FLineLength - 1;
  }
  // Any position on a later line than the limit's is beyond it too.
  if (FUsingEnd && (FY > FEndY || (FY == FEndY && FX > FEndX)))
    return false;
  return valid;
}

QChar TWinAPIControlParser::GetChar()
{
  if (!ValidatePosition())
    return QChar(0);
  // A column set beyond the line's end reads as no text rather than stale buffer contents.
  if (FX < 0 || FX >= FLineLength)
    return QChar(0);
  return QChar(FLine[FX]);
}

QString TWinAPIControlParser::GetLine()
{
  if (!ValidatePosition())
    return QString();
  return QString::fromUtf16(FLine, FLineLength);
}

bool TWinAPIControlParser::MoveNext()
{
  ++FX;
  return ValidatePosition();
}

bool TWinAPIControlParser::MovePrevious()
{
  --FX;
  return ValidatePosition();
}

void TWinAPIControlParser::SetPosition(int XPos, int YPos, TPositionType PosType)
{
  if (PosType == ptEnd) {
    FUsingEnd = true;
    FEndX = XPos;
    FEndY = YPos;
  } else {
    FX = XPos;
    FY = YPos;
    FDirty = true;
  }
}

void TWinAPIControlParser::GetPosition(int &XPos, int &YPos)
{
  XPos = FX;
  YPos = FY;
}

void TWinAPIControlParser::SelectWord(int Length)
{
  FX -= Length;
  if (!FHandle)
    return;
  const int start = FHandle->LineIndex(FY) + FX;
  FSelStart = unsigned(start);
  FSelLen = unsigned(Length);
  FHandle->SetSel(start, start + Length);
}

void TWinAPIControlParser::ReplaceWord(const QString &Replacement, int /*State*/)
{
  if (FHandle) {
    FHandle->SetSel(int(FSelStart), int(FSelStart + FSelLen));
    if (FUsingEnd && FY == FEndY) {
      // Keep the limit on the same text after the line's length changes.
      int s = 0, e = 0;
      FHandle->GetSel(s, e);
      FEndX += int(Replacement.size()) - (e - s);
    }
    FHandle->ReplaceSel(Replacement, false);
  }
  FX += int(Replacement.size());
  FDirty = true;
}

void TWinAPIControlParser::IgnoreWord(int /*State*/)
{
  if (!FHandle)
    return;
  int s = 0, e = 0;
  FHandle->GetSel(s, e);
  FX += e - s;
}

void TWinAPIControlParser::CenterSelection()
{
  if (!FHandle)
    return;
  const int lineHeight = FHandle->LineHeight();
  if (lineHeight > 0) {
    const int visible = FHandle->ClientSize().height() / lineHeight;
    const int first = FHandle->GetFirstVisibleLine();
    FHandle->LineScroll(FY - visible / 2 - first);
  }
  // Scroll both ends of the word into view, then restore the selection.
  int s = 0, e = 0;
  FHandle->GetSel(s, e);
  FHandle->SetSel(s, s);
  FHandle->ScrollCaret();
  FHandle->SetSel(e, e);
  FHandle->ScrollCaret();
  FHandle->SetSel(s, e);
}

void TWinAPIControlParser::GetCursorPosition(int &XPos, int &YPos)
{
  XPos = 0;
  YPos = 0;
  if (!FHandle)
    return;
  int s = 0, e = 0;
  FHandle->GetSel(s, e);
  CharToLineColumn(FHandle, s, XPos, YPos);
}

void TWinAPIControlParser::GetSelectionPosition(int &XPosStart, int &YPosStart, int &XPosEnd,
                                                int &YPosEnd)
{
  XPosStart = YPosStart = XPosEnd = YPosEnd = 0;
  if (!FHandle)
    return;
  int s = 0, e = 0;
  FHandle->GetSel(s, e);
  CharToLineColumn(FHandle, s, XPosStart, YPosStart);
  CharToLineColumn(FHandle, e, XPosEnd, YPosEnd);
}

void TWinAPIControlParser::GetControlScreenPosition(QRect &ControlPosition)
{
  if (!FHandle) {
    ControlPosition = QRect(QPoint(-1, -1), QPoint(-1, -1));
    return;
  }
  const QPoint origin = FHandle->ClientToScreen(QPoint(0, 0));
  const QRect window = FHandle->WindowRect();
  ControlPosition =
      QRect(origin, QPoint(origin.x() + window.width(), origin.y() + window.height()));
}

void TWinAPIControlParser::GetSelectionScreenPosition(QRect &SelectionPosition)
{
  if (!FHandle) {
    SelectionPosition = QRect(QPoint(-1, -1), QPoint(-1, -1));
    return;
  }
  int s = 0, e = 0;
  FHandle->GetSel(s, e);
  QPoint startPoint, endPoint;
  PositionFromChar(s, startPoint);
  PositionFromChar(e, endPoint);
  const QPoint topLeft = FHandle->ClientToScreen(startPoint);
  const QPoint endScreen = FHandle->ClientToScreen(endPoint);
  int bottom = topLeft.y() + FHandle->LineHeight();
  // Cover the whole line height under the word: the next line's top when it lies lower.
  const int next = FHandle->LineIndex(FY + 1);
  if (next != -1) {
    QPoint nextPoint;
    PositionFromChar(next, nextPoint);
    bottom = std::max(bottom, FHandle->ClientToScreen(nextPoint).y());
  }
  SelectionPosition = QRect(topLeft, QPoint(endScreen.x(), bottom));
}

void TWinAPIControlParser::UndoLast(int, int, int &) {}

QObject *TWinAPIControlParser::GetControl() { return FEdit; }

void TWinAPIControlParser::PositionFromChar(int CharIndex, QPoint &Point)
{
  Point = QPoint(0, 0);
  if (!FHandle)
    return;
  const QPoint p = FHandle->PosFromChar(CharIndex);
  if (p != QPoint(-1, -1))
    Point = p;
}
