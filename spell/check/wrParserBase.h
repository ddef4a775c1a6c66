#pragma once
// Abstract interfaces of the spelling checker's text access and word breaking:
// the control parser (a cursor over one text source), the parsing engine that cuts
// the text into words through that cursor, and the ignore rule hooked into both.

#include <QChar>
#include <QRect>
#include <QString>
#include <functional>

class QObject;

// How SetPosition uses its coordinates: move the cursor, or set the end limit.
enum TPositionType { ptCurrent = 0, ptEnd = 1 };

// A cursor over a text source, read one UTF-16 code unit at a time.
//
// Positions are (XPos, YPos): YPos is the line, XPos the column. Which column is the first
// depends on the implementation (window parsers count from 0, the string parser from 1).
//
// Screen rectangles use Left/Top/Right/Bottom edges: build them with
// QRect(QPoint(Left, Top), QPoint(Right, Bottom)) and read them with left(), top(), right(),
// bottom() (Right and Bottom are the exclusive edges, so width() is one too many).
// (-1, -1, -1, -1) means "no screen position".
class TControlParser {
public:
  virtual ~TControlParser();

  virtual void Initialize(void *EditControl) = 0;
  // Code unit under the cursor; 0 when the cursor is not on valid text.
  virtual QChar GetChar() = 0;
  virtual QString GetLine() = 0;
  virtual bool MoveNext() = 0;
  virtual bool MovePrevious() = 0;
  virtual void SetPosition(int XPos, int YPos, TPositionType PosType) = 0;
  virtual void GetPosition(int &XPos, int &YPos) = 0;
  // The word of Length units ending at the cursor becomes the current word; the cursor
  // moves to its first character.
  virtual void SelectWord(int Length) = 0;
  // Replaces the current word; the cursor moves just behind the replacement.
  virtual void ReplaceWord(const QString &Replacement, int State) = 0;
  // Leaves the current word; the cursor moves just behind it.
  virtual void IgnoreWord(int State) = 0;
  virtual void CenterSelection() = 0;
  virtual void GetCursorPosition(int &XPos, int &YPos) = 0;
  virtual void GetSelectionPosition(int &XPosStart, int &YPosStart, int &XPosEnd, int &YPosEnd) = 0;
  virtual void GetControlScreenPosition(QRect &ControlPosition) = 0;
  virtual void GetSelectionScreenPosition(QRect &SelectionPosition) = 0;
  virtual void UndoLast(int State, int UndoAction, int &UndoData) = 0;
};

// A control parser that can name the control object it works on.
class TControlParser2 : public TControlParser {
public:
  // The control object, or null when there is none.
  virtual QObject *GetControl() = 0;
};

// Raised for every character the engine examines between words; a handler that sets Ignore
// has moved the cursor past whatever it skipped.
using TInlineIgnoreEvent =
    std::function<void(QChar CurrentChar, TControlParser *Parser, bool &Ignore)>;
// Raised for every word just before it is returned, with the cursor just behind it.
using TWordIgnoreEvent =
    std::function<void(const QString &Word, TControlParser *Parser, bool &Ignore)>;
// Maps a character reference (such as an entity name) to the character it stands for.
using TCharReferenceEvent = std::function<void(const QString &Reference, QChar &MappingChar)>;

// Cuts the text a control parser exposes into words.
class TParsingEngine {
public:
  virtual ~TParsingEngine();

  // Positions Parser for a check of the given kind (check-type ordinal: 0 selection, 1 from
  // the cursor, 2 all, 3 smart, 4 current). No-op without a parser.
  virtual void Initialize(TControlParser *Parser, int CheckType) = 0;
  // Moves the cursor so that the next NextWord returns the whole word containing (XPos, YPos).
  virtual void AdjustToPosition(TControlParser *Parser, int XPos, int YPos) = 0;
  // The next word at or after the cursor; empty at the end of the text. The cursor is left
  // on the first character after the word.
  virtual QString NextWord(TControlParser *Parser) = 0;

  TInlineIgnoreEvent OnInlineIgnore;
  TWordIgnoreEvent OnPreCheckIgnore;
  TCharReferenceEvent OnIdentifyCharReference;
};

// A rule that keeps text which is not prose away from the dictionaries.
class TParserIgnore {
public:
  virtual ~TParserIgnore();

  // True when ExecuteIgnore and ExecuteWordIgnorePreCheck must run while words are formed.
  virtual bool NeededBeforeCheck() = 0;
  // True when ExecuteLineIgnore can judge a whole line.
  virtual bool LineCheckNeeded() = 0;
  // For a character between words: True when the rule skipped text (and moved the cursor).
  virtual bool ExecuteIgnore(QChar CurrentChar, TControlParser *Parser) = 0;
  // For a word just formed, cursor just after it: True when it is not a word to check.
  virtual bool ExecuteWordIgnorePreCheck(const QString &CurrentWord, TControlParser *Parser) = 0;
  // For a word the dictionaries rejected: True to accept it anyway. Parser may be null.
  virtual bool ExecuteWordIgnorePostCheck(const QString &CurrentWord, TControlParser *Parser) = 0;
  // True when no word of the line is to be checked.
  virtual bool ExecuteLineIgnore(const QString &CurrentLine) = 0;
};
