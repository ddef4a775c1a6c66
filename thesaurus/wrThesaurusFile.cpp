#include "wrThesaurusFile.h"

#include "wrThesaurusFileLog.h"

#include <QFile>
#include <QFileInfo>
#include <cstring>

namespace {

constexpr int HeaderSize = 165;
constexpr int ContextRecordSize = 14;

} // namespace

// --- TThesaurusBuffer ---------------------------------------------------------------------------

void TThesaurusBuffer::Require(qint64 count) const
{
  if (count < 0 || FPos < 0 || FPos > FData.size() || count > FData.size() - FPos) {
    qCInfo(lcThesaurusFile) << "thesaurus file damaged: a read of" << count << "bytes at" << FPos
                            << "ends beyond its" << FData.size() << "bytes";
    throw EReadError();
  }
}

void TThesaurusBuffer::ReadBuffer(void *dest, qint64 count)
{
  Require(count);
  if (count > 0)
    std::memcpy(dest, FData.constData() + FPos, static_cast<size_t>(count));
  FPos += count;
}

QByteArray TThesaurusBuffer::ReadBytes(qint64 count)
{
  Require(count);
  QByteArray out = FData.mid(FPos, count);
  FPos += count;
  return out;
}

QString TThesaurusBuffer::ReadShortString() { return QString::fromLatin1(ReadBytes(ReadByte())); }

quint8 TThesaurusBuffer::ReadByte()
{
  quint8 b;
  ReadBuffer(&b, 1);
  return b;
}

quint16 TThesaurusBuffer::ReadWord()
{
  quint8 b[2];
  ReadBuffer(b, 2);
  return quint16(b[0] | b[1] << 8);
}

quint32 TThesaurusBuffer::ReadDWord()
{
  quint8 b[4];
  ReadBuffer(b, 4);
  return quint32(b[0]) | quint32(b[1]) << 8 | quint32(b[2]) << 16 | quint32(b[3]) << 24;
}

// --- Nodes and entries --------------------------------------------------------------------------

void TReverseNode::ReadNodeWord(quint16 Pos, TThesaurusBuffer &Nodes)
{
  using namespace ThesaurusNodeBits;
  Nodes.Seek(qint64(Pos) * 4);
  const quint32 v = Nodes.ReadDWord();
  LinkPos = static_cast<int>(v & LinkPosMask);
  OneKid = v & ThesaurusNodeBits::OneKid;
  RevRef = v & ThesaurusNodeBits::RevRef;
  EWC = v & ThesaurusNodeBits::EWC;
  EW = v & ThesaurusNodeBits::EW;
  C = QChar(char16_t(v >> CharShift));
}

void TReverseNode::Retrieve(quint16 Pos, TThesaurusBuffer &Nodes, TThesaurusBuffer &Links)
{
  ReadNodeWord(Pos, Nodes);
  Links.Seek(LinkPos);
  if (OneKid) {
    Child = Links.ReadWord();
  } else {
    const quint8 count = Links.ReadByte();
    Links.Skip(qint64(count) * 2);
  }
  if (RevRef)
    Parent = Links.ReadWord();
}

void TForwardNode::Retrieve(quint16 Pos, TThesaurusBuffer &Nodes, TThesaurusBuffer &Links)
{
  ReadNodeWord(Pos, Nodes);
  kids.clear();
  links.clear();
  Links.Seek(LinkPos);
  const int count = OneKid ? 1 : Links.ReadByte();
  for (int i = 0; i < count; ++i)
    kids.push_back(Links.ReadWord());
  if (OneKid)
    Child = kids.front();
  if (RevRef)
    Parent = Links.ReadWord();
  if (EW || EWC) {
    const quint8 n = Links.ReadByte();
    for (int i = 0; i < n; ++i)
      links.push_back(Links.ReadWord());
  }
}

void TEntry::retrieve(quint16 Pos, TThesaurusBuffer &Contexts, TThesaurusBuffer &Index)
{
  Contexts.Seek(qint64(Pos) * ContextRecordSize);
  Master = Contexts.ReadWord();
  quint16 counts[4];
  for (quint16 &c : counts)
    c = Contexts.ReadWord();
  const quint32 offset = Contexts.ReadDWord();
  Index.Seek(offset);
  for (int list = 0; list < 4; ++list) {
    Words[list].clear();
    for (int i = 0; i < counts[list]; ++i)
      Words[list].push_back(Index.ReadWord());
  }
}

// --- TThesaurusFile -----------------------------------------------------------------------------

TThesaurusFile::TThesaurusFile() = default;
TThesaurusFile::~TThesaurusFile() = default;

void TThesaurusFile::LoadFile()
{
  if (FFileName.isEmpty() || !QFileInfo(FFileName).isFile())
    return;
  QFile file(FFileName);
  if (!file.open(QIODevice::ReadOnly))
    return;

  // Every size is checked against what the file still holds before anything is copied, so a
  // damaged size field (negative or too large) fails the load instead of asking for a huge buffer.
  TThesaurusBuffer r;
  QString name;
  QStringList kinds;
  qint32 numNodes = 0, linkSize = 0, indexSize = 0;
  quint16 masterSize = 0;
  QByteArray nodes, links, contexts, index;
  try {
    r.Assign(file.readAll());
    file.close();
    r.Seek(HeaderSize);
    name = r.ReadShortString();
    for (int i = 0; i < 5; ++i)
      kinds << r.ReadShortString();
    numNodes = static_cast<qint32>(r.ReadDWord());
    nodes = r.ReadBytes(qint64(numNodes) * 4);
    linkSize = static_cast<qint32>(r.ReadDWord());
    links = r.ReadBytes(linkSize);
    masterSize = r.ReadWord();
    contexts = r.ReadBytes(qint64(masterSize) * ContextRecordSize);
    indexSize = static_cast<qint32>(r.ReadDWord());
    index = r.ReadBytes(indexSize);
  } catch (const std::exception &) { // a read error, or no memory for a huge file
    qCInfo(lcThesaurusFile) << "thesaurus file refused (damaged header):" << FFileName;
    return;
  }
  if (numNodes < 1 || numNodes > MaxNodes || linkSize > MaxLinkSize) {
    qCInfo(lcThesaurusFile) << "thesaurus file refused (sizes beyond the format):" << FFileName;
    return;
  }

  FName = name;
  FKindNames = kinds;
  NumNodes = numNodes;
  LinkSize = linkSize;
  MasterSize = masterSize;
  IndexSize = indexSize;
  ms1.Assign(nodes);
  ms2.Assign(links);
  ms3.Assign(contexts);
  ms4.Assign(index);
  FLoaded = true;
}

void TThesaurusFile::UnloadFile()
{
  if (!FLoaded)
    return;
  ms1.Clear();
  ms2.Clear();
  ms3.Clear();
  ms4.Clear();
  FLoaded = false;
}

void TThesaurusFile::SetLoaded(bool Value)
{
  if (Value == FLoaded)
    return;
  if (Value)
    LoadFile();
  else
    UnloadFile();
}

void TThesaurusFile::SetFileName(const QString &Value)
{
  if (Value == FFileName || !QFileInfo(Value).isFile())
    return;
  FFileName = Value;
  if (FLoaded) {
    UnloadFile();
    LoadFile();
  }
}

// A valid single-child chain or parent path never visits more nodes than the table holds; a
// longer walk means a damaged file with a cycle, which is reported like any other bad read.
QString TThesaurusFile::NodeWord(quint16 Node)
{
  TReverseNode node;
  node.Retrieve(Node, ms1, ms2);
  Spend(1);
  QString word(node.C);
  if (node.EWC) {
    TReverseNode cur = node;
    qint64 steps = 0;
    while (cur.OneKid) {
      if (++steps > NumNodes)
        throw EReadError();
      Spend(1);
      const quint16 next = cur.Child;
      cur.Retrieve(next, ms1, ms2);
      word += cur.C;
    }
  }
  TReverseNode cur = node;
  qint64 steps = 0;
  while (cur.RevRef && cur.Parent != 0) {
    if (++steps > NumNodes)
      throw EReadError();
    Spend(1);
    const quint16 parent = cur.Parent;
    cur.Retrieve(parent, ms1, ms2);
    word.prepend(cur.C);
  }
  return word;
}

int TThesaurusFile::FindWordNode(const QString &Text)
{
  QString text = Text;
  TForwardNode cur;
  quint16 curNum = 0;
  cur.Retrieve(curNum, ms1, ms2);
  while (!text.isEmpty()) {
    if (cur.kids.empty())
      return -1;
    const QChar first = text.at(0);
    bool matched = false;
    for (const quint16 kid : cur.kids) {
      TReverseNode child;
      child.Retrieve(kid, ms1, ms2);
      if (child.C == first) {
        curNum = kid;
        matched = true;
        break;
      }
    }
    if (!matched)
      return -1;
    text.remove(0, 1);
    cur.Retrieve(curNum, ms1, ms2);

    if (cur.EW && text.isEmpty())
      return curNum;
    if (cur.EWC) {
      if (cur.kids.empty())
        return -1;
      TReverseNode chain;
      chain.Retrieve(cur.kids.front(), ms1, ms2);
      QString tail(chain.C);
      qint64 steps = 0;
      // The tail never needs to be longer than the text it is compared with.
      while (chain.OneKid && tail.size() <= text.size()) {
        if (++steps > NumNodes)
          throw EReadError();
        const quint16 next = chain.Child;
        chain.Retrieve(next, ms1, ms2);
        tail += chain.C;
      }
      return tail == text ? curNum : -1;
    }
  }
  return -1;
}

void TThesaurusFile::FillEntry(const TEntry &Entry, TThesaurusEntry &Result)
{
  Result.ContextWord = NodeWord(Entry.Master);
  Result.ContextKind = Entry.Kind;
  Result.ContextKindName =
      Entry.Kind >= 0 && Entry.Kind < FKindNames.size() ? FKindNames.at(Entry.Kind) : QString();
  for (int list = 0; list < 4; ++list)
    for (const quint16 n : Entry.Words[list])
      Result.Words[list] << NodeWord(n);
}

QString TThesaurusFile::AdjustCase(const QString &Pattern, const QString &Word)
{
  if (Pattern == Pattern.toUpper())
    return Word.toUpper();
  if (Pattern.isEmpty() || Word.isEmpty())
    return Word;
  // First character of each, as a whole code point (a surrogate pair counts as one).
  const auto firstLength = [](const QString &s) {
    return s.size() > 1 && s.at(0).isHighSurrogate() && s.at(1).isLowSurrogate() ? 2 : 1;
  };
  const QString patternFirst = Pattern.left(firstLength(Pattern));
  if (patternFirst != patternFirst.toUpper())
    return Word;
  const int n = firstLength(Word);
  return Word.left(n).toUpper() + Word.mid(n);
}

void TThesaurusFile::MatchCaseOf(const QString &Pattern, TThesaurusEntry &Context)
{
  Context.ContextWord = AdjustCase(Pattern, Context.ContextWord);
  for (QStringList &list : Context.Words)
    for (QString &w : list)
      w = AdjustCase(Pattern, w);
}

void TThesaurusFile::Spend(qint64 Units)
{
  if (Units > FOutputLeft)
    throw EReadError();
  FOutputLeft -= Units;
}

bool TThesaurusFile::LookupWord(const QString &Lookup)
{
  SetLoaded(true);
  if (!FLoaded)
    return false;
  FContexts.clear();
  FContextWord = Lookup;
  // Whatever ends the lookup early, it leaves no half-built contexts and only the read error.
  struct TBudget {
    TThesaurusFile *self;
    ~TBudget() { self->FOutputLeft = std::numeric_limits<qint64>::max(); }
  } budget{this};
  FOutputLeft = MaxLookupOutput;
  try {
    return FindContexts(Lookup);
  } catch (const EReadError &) {
    FContexts.clear();
    throw;
  } catch (const std::exception &) {
    FContexts.clear();
    throw EReadError();
  }
}

bool TThesaurusFile::FindContexts(const QString &Lookup)
{
  bool caseChanged = false;
  int n = FindWordNode(Lookup);
  if (n < 0) {
    if (!FAllowCaseChanges)
      return false;
    n = FindWordNode(Lookup.toLower());
    if (n < 0)
      return false;
    caseChanged = true;
  }

  TForwardNode node;
  node.Retrieve(static_cast<quint16>(n), ms1, ms2);
  for (const quint16 x : node.links) {
    TEntry entry;
    entry.retrieve(x / 5, ms3, ms4);
    entry.Kind = x % 5;
    auto result = std::make_unique<TThesaurusEntry>();
    FillEntry(entry, *result);
    if (caseChanged)
      MatchCaseOf(Lookup, *result);
    FContexts.push_back(std::move(result));
  }
  return true;
}
