#pragma once
// The thesaurus file (".wdt"): a character trie of all words plus a table of contexts (senses).
// The whole file is read into four memory buffers; every later read goes through them and
// refuses to run past their end (EReadError, "Stream read error").
//
// A file is refused at load when its node count or link area size exceeds what 16-bit node
// numbers and 20-bit link offsets can address. A lookup builds at most MaxLookupOutput UTF-16
// code units of words: a small damaged or crafted file (many links to a context of many long
// chained words) could otherwise ask for billions. Beyond that budget, or on any other failure
// inside it, the lookup ends with EReadError and no contexts; nothing else escapes a lookup.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

// Raised when a read runs past the end of a buffer (damaged file); the application shows it.
class EReadError : public std::runtime_error {
public:
  EReadError() : std::runtime_error("Stream read error") {}
};

// A read-only byte buffer with a cursor. Seeking anywhere is allowed; reading past the end
// throws EReadError.
class TThesaurusBuffer {
public:
  void Assign(QByteArray data)
  {
    FData = std::move(data);
    FPos = 0;
  }
  void Clear()
  {
    FData.clear();
    FPos = 0;
  }
  qint64 Size() const { return FData.size(); }
  void Seek(qint64 pos) { FPos = pos; }
  qint64 Position() const { return FPos; }
  void Skip(qint64 count) { FPos += count; }
  void ReadBuffer(void *dest, qint64 count);
  QByteArray ReadBytes(qint64 count);
  QString ReadShortString(); // a length byte, then that many Latin-1 characters
  quint8 ReadByte();
  quint16 ReadWord();  // 16-bit little-endian
  quint32 ReadDWord(); // 32-bit little-endian

private:
  void Require(qint64 count) const; // throws unless count bytes are left at the cursor

  QByteArray FData;
  qint64 FPos = 0;
};

// Node flags (bits of the 32-bit node word).
namespace ThesaurusNodeBits {
inline constexpr quint32 LinkPosMask = 0x000FFFFFu;
inline constexpr quint32 OneKid = 1u << 20;
inline constexpr quint32 RevRef = 1u << 21;
inline constexpr quint32 EWC = 1u << 22;
inline constexpr quint32 EW = 1u << 23;
inline constexpr int CharShift = 24;
} // namespace ThesaurusNodeBits

// A node as needed to walk upward (parent) or along a single-child chain.
class TReverseNode {
public:
  TReverseNode() = default;
  virtual ~TReverseNode() = default;
  virtual void Retrieve(quint16 Pos, TThesaurusBuffer &Nodes, TThesaurusBuffer &Links);

  int LinkPos = 0;
  bool EW = false;
  bool EWC = false;
  bool RevRef = false;
  bool OneKid = false;
  quint16 Parent = 0;
  quint16 Child = 0;
  QChar C;

protected:
  void ReadNodeWord(quint16 Pos, TThesaurusBuffer &Nodes);
};

// A node with its children and its context links.
class TForwardNode : public TReverseNode {
public:
  void Retrieve(quint16 Pos, TThesaurusBuffer &Nodes, TThesaurusBuffer &Links) override;

  std::vector<quint16> kids;
  std::vector<quint16> links;
};

// A context record: its master word node, kind and four word lists (node numbers).
class TEntry {
public:
  TEntry() = default;
  virtual ~TEntry() = default;
  virtual void retrieve(quint16 Pos, TThesaurusBuffer &Contexts, TThesaurusBuffer &Index);

  int Kind = 0;
  quint16 Master = 0;
  std::vector<quint16> Words[4];
};

// One context of a lookup result, as strings.
class TThesaurusEntry {
public:
  QString ContextWord;
  int ContextKind = 0;
  QString ContextKindName;
  QStringList Words[4];
};

using TThesaurusEntryList = std::vector<std::unique_ptr<TThesaurusEntry>>;

class TThesaurusFile {
public:
  TThesaurusFile();
  virtual ~TThesaurusFile();

  // Fills Contexts for the word; true when the word was found (even with no contexts).
  // A damaged file can make it throw EReadError.
  virtual bool LookupWord(const QString &Lookup);

  // The largest lookup of the shipped thesaurus builds 545 code units ("preventive", 43 words);
  // a thesaurus with far richer entries still fits. One crafted file of 424 KB made a lookup
  // build 62 million (15 s, over 300 MB) with 20 links, and about 13 times that with 255.
  static constexpr qint64 MaxLookupOutput = 1 << 20;
  // What the format can address: 16-bit node numbers, and link records that start below 2^20
  // (at most 1,024 bytes long: a count, 255 children, a parent, a count and 255 links).
  static constexpr qint32 MaxNodes = 65536;
  static constexpr qint32 MaxLinkSize = (1 << 20) - 1 + 1024;

  bool Loaded() const { return FLoaded; }
  virtual void SetLoaded(bool Value);
  QString FileName() const { return FFileName; }
  virtual void SetFileName(const QString &Value);
  QString Name() const { return FName; }
  const TThesaurusEntryList &Contexts() const { return FContexts; }
  TThesaurusEntryList &Contexts() { return FContexts; }
  QString ContextWord() const { return FContextWord; }
  const QStringList &ContextKindNames() const { return FKindNames; }
  bool AllowCaseChanges() const { return FAllowCaseChanges; }
  void SetAllowCaseChanges(bool Value) { FAllowCaseChanges = Value; }

  // Case rule: all-capitals pattern -> word in capitals; capitalised pattern -> capitalised word.
  static QString AdjustCase(const QString &Pattern, const QString &Word);

  // Node search; -1 when not found.
  virtual int FindWordNode(const QString &Text);
  virtual QString NodeWord(quint16 Node);

protected:
  virtual void LoadFile();
  virtual void UnloadFile();
  virtual void FillEntry(const TEntry &Entry, TThesaurusEntry &Result);
  virtual void MatchCaseOf(const QString &Pattern, TThesaurusEntry &Context);

private:
  bool FindContexts(const QString &Lookup); // the lookup proper, inside its budget
  bool FLoaded = false;
  QString FFileName;
  qint32 NumNodes = 0;
  qint32 LinkSize = 0;
  quint16 MasterSize = 0;
  qint32 IndexSize = 0;
  TThesaurusBuffer ms1; // node table
  TThesaurusBuffer ms2; // link area
  TThesaurusBuffer ms3; // context table
  TThesaurusBuffer ms4; // index area
  QString FName;
  QStringList FKindNames;
  TThesaurusEntryList FContexts;
  QString FContextWord;
  bool FAllowCaseChanges = true;
  // Code units a running lookup may still build; unbounded outside a lookup.
  qint64 FOutputLeft = std::numeric_limits<qint64>::max();
  void Spend(qint64 Units);
};
