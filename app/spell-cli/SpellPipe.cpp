#include "SpellPipe.h"

#include "wrCustomDictionary.h"
#include "wrMainDictionary.h"
#include "wrProgramSpellSettings.h"
#include "wrStringParser.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

// Longer "words" (runs of letters in binary data, URLs the rules let through) are reported
// without suggestions: no dictionary word is that far from them, and the edit distances would
// cost quadratic time.
constexpr qsizetype MaxSuggestWordLength = 64;

// Bounds of what the session remembers (a few MB at most): past them it starts afresh.
constexpr qsizetype MaxRememberedWords = 100000;
constexpr qsizetype MaxRememberedSuggestions = 5000;

// Input is read, and output written, in blocks of this size.
constexpr qsizetype BlockBytes = 64 * 1024;

const QString ProgramName = QStringLiteral("linewright-spell");

// Code points in Text[From, To).
qsizetype CodePoints(const QString &Text, qsizetype From, qsizetype To)
{
  qsizetype n = 0;
  for (qsizetype i = From; i < To; ++i)
    if (!Text[i].isLowSurrogate() || i == 0 || !Text[i - 1].isHighSurrogate())
      ++n;
  return n;
}

void Write(QIODevice &Out, const QString &Text) { Out.write(Text.toUtf8()); }

// Bytes as UTF-8 into Text, reusing its storage (invalid bytes become U+FFFD, as with
// QString::fromUtf8): a line then costs no allocation.
void DecodeInto(QString &Text, QByteArrayView Bytes)
{
  static QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  Text.resize(Bytes.size());
  QChar *end = decoder.appendToBuffer(Text.data(), Bytes);
  Text.truncate(end - Text.constData());
}

} // namespace

// === Session
// =========================================================================================

TSpellPipeSession::TSpellPipeSession(const QString &ConfigFile)
{
  ApplyProgramSpellSettings(*this);
  SetPromptSaves(psAtUnload); // "*word" is written by "#" alone
  if (!ConfigFile.isEmpty())
    SetConfigFilename(ConfigFile);
}

TSpellPipeSession::~TSpellPipeSession() { ForgetChanges(); }

void TSpellPipeSession::LoadDictionaries()
{
  ForgetChanges();
  ForgetAnswers();
  TWrightSpellBase::LoadDictionaries();
}

void TSpellPipeSession::ForgetAnswers()
{
  FAcceptable.clear();
  FSuggestCache.clear();
}

QString TSpellPipeSession::Open(const QString &MainName, const QString &Personal)
{
  QString name = MainName;
  if (name.contains(u'/') || name.contains(u'\\'))
    name = QFileInfo(name).absoluteFilePath();
  else if (!name.isEmpty() && !name.endsWith(QStringLiteral(".wdm"), Qt::CaseInsensitive))
    name += QStringLiteral(".wdm");
  // A first run (no Spell.cfg) then opens only the chosen dictionary.
  if (!name.isEmpty()) {
    TStringList main;
    main.Add(name);
    SetConfigDefaultMain(main);
  }
  EnsureConfigurationLoaded();
  if (!name.isEmpty()) {
    TStringList &main = FConfiguration->MainDictionaries();
    main.BeginUpdate();
    main.Clear();
    main.Add(name);
    main.EndUpdate();
    if (FMainDictionaries.empty())
      return QStringLiteral("cannot open dictionary \"%1\"").arg(MainName);
  }
  if (!Personal.isEmpty()) {
    const QString path = QFileInfo(Personal).absoluteFilePath();
    FConfiguration->SetActiveCustomDictionary(path);
    if (!FActiveCustom || QFileInfo(FActiveCustom->Filename()) != QFileInfo(path))
      return QStringLiteral("cannot read personal dictionary \"%1\"").arg(Personal);
  }
  if (FMainDictionaries.empty())
    return QStringLiteral("no main dictionary could be opened");
  return QString();
}

const std::vector<TSpellPipeSession::TWordAt> &TSpellPipeSession::Words(const QString &Text)
{
  FWords.clear();
  // The check loop sees every line end in a line break, so the last word is complete.
  // Into the kept buffer: a line's copy then costs no allocation.
  FBuffer.resize(0);
  FBuffer.append(Text);
  FBuffer.append(QLatin1Char('\n'));
  TStringParser parser;
  parser.Initialize(&FBuffer);
  FParser = &parser;
  FParsingEngine->Initialize(&parser, ctAll);
  for (;;) {
    QString word = FParsingEngine->NextWord(&parser);
    if (word.isEmpty())
      break;
    int x = 0, y = 0;
    parser.GetPosition(x, y);
    const qsizetype start = qsizetype(x - 1) - word.size();
    FWords.push_back({std::move(word), start});
  }
  // The words are tested without a parser, so that a word's answer depends on the word alone.
  FParser = nullptr;
  return FWords;
}

bool TSpellPipeSession::Acceptable(const QString &Word)
{
  // Prose repeats its words: of 6.7 MB of documentation's 1.2 million words 40,000 differ, so
  // all but one test in thirty find the answer here.
  auto known = FAcceptable.constFind(Word);
  if (known != FAcceptable.constEnd())
    return *known;
  if (FAcceptable.size() >= MaxRememberedWords)
    FAcceptable.clear();
  const bool acceptable = WordAcceptable(Word);
  FAcceptable.insert(Word, acceptable);
  return acceptable;
}

QStringList TSpellPipeSession::SuggestionsFor(const QString &Word)
{
  if (Word.size() > MaxSuggestWordLength)
    return {};
  auto cached = FSuggestCache.constFind(Word);
  if (cached != FSuggestCache.constEnd())
    return *cached;
  TStringList list;
  Suggest(Word, list);
  QStringList words = list.ToQStringList();
  if (FSuggestCache.size() >= MaxRememberedSuggestions)
    FSuggestCache.clear();
  FSuggestCache.insert(Word, words);
  return words;
}

void TSpellPipeSession::AcceptForSession(const QString &Word)
{
  EnsureConfigurationLoaded();
  FInternalCustom->AddIgnore(Word);
  ForgetAnswers();
}

void TSpellPipeSession::AddPersonal(const QString &Word)
{
  EnsureConfigurationLoaded();
  if (FActiveCustom)
    FActiveCustom->AddIgnore(Word);
  ForgetAnswers();
}

bool TSpellPipeSession::SavePersonal()
{
  if (!FActiveCustom)
    return false;
  FActiveCustom->Save();
  return !FActiveCustom->Modified();
}

// === Descriptor device
// ===============================================================================

qint64 TDescriptorDevice::readData(char *Data, qint64 MaxSize)
{
  for (;;) {
    const ssize_t n = ::read(FDescriptor, Data, size_t(MaxSize));
    if (n >= 0)
      return n;
    if (errno != EINTR)
      return -1;
  }
}

qint64 TDescriptorDevice::writeData(const char *Data, qint64 Size)
{
  qint64 done = 0;
  while (done < Size) {
    const ssize_t n = ::write(FDescriptor, Data + done, size_t(Size - done));
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return done > 0 ? done : -1;
    done += n;
  }
  return done;
}

// === Protocol
// ========================================================================================

namespace {

struct TOptions {
  enum TMode { mNone, mPipe, mList, mVersion } Mode = mNone;
  QString Main;
  QString Personal;
  QString Config;
  int Suggestions = DefaultSuggestionCount;
};

bool ParseCount(const QString &Text, int &Count)
{
  bool ok = false;
  const int n = Text.toInt(&ok);
  if (!ok || n < 0)
    return false;
  Count = n;
  return true;
}

// Answers an error text, empty when the arguments are usable.
QString ParseArguments(const QStringList &Args, TOptions &Options)
{
  // Flags editors pass that mean nothing here: formatting modes, run-together words, the
  // ispell encodings (the pipe always speaks UTF-8).
  static const QString IgnoredFlags = QStringLiteral("mBCStnHPxbMNrVoOgGf");
  static const QString IgnoredWithValue = QStringLiteral("TwWLik");
  for (qsizetype i = 0; i < Args.size(); ++i) {
    const QString &a = Args[i];
    auto value = [&](qsizetype skip, QString &into) {
      if (a.size() > skip) {
        into = a.mid(skip);
        return true;
      }
      if (i + 1 >= Args.size())
        return false;
      into = Args[++i];
      return true;
    };
    if (a.startsWith(QStringLiteral("--"))) {
      QString count;
      if (a == QStringLiteral("--config")) {
        if (!value(a.size(), Options.Config))
          return QStringLiteral("option --config needs a file");
      } else if (a.startsWith(QStringLiteral("--config="))) {
        Options.Config = a.mid(9);
      } else if (a == QStringLiteral("--suggestions")) {
        if (!value(a.size(), count) || !ParseCount(count, Options.Suggestions))
          return QStringLiteral("option --suggestions needs a number (0 or more)");
      } else if (a.startsWith(QStringLiteral("--suggestions="))) {
        if (!ParseCount(a.mid(14), Options.Suggestions))
          return QStringLiteral("option --suggestions needs a number (0 or more)");
      } else if (!a.contains(u'=')) {
        return QStringLiteral("unknown option %1").arg(a);
      } // --name=value options of other checkers: ignored
      continue;
    }
    if (a.size() < 2 || a[0] != u'-')
      return QStringLiteral("unexpected argument \"%1\" (use -a or -l)").arg(a);
    const QChar f = a[1];
    QString ignored;
    if (a == QStringLiteral("-a"))
      Options.Mode = TOptions::mPipe;
    else if (a == QStringLiteral("-l"))
      Options.Mode = TOptions::mList;
    else if (a == QStringLiteral("-v") || a == QStringLiteral("-vv"))
      Options.Mode = TOptions::mVersion;
    else if (f == u'd') {
      if (!value(2, Options.Main))
        return QStringLiteral("option -d needs a dictionary name");
    } else if (f == u'p') {
      if (!value(2, Options.Personal))
        return QStringLiteral("option -p needs a file");
    } else if (f == u'e' || (a.size() == 2 && IgnoredFlags.contains(f))) {
    } else if (IgnoredWithValue.contains(f)) {
      if (!value(2, ignored))
        return QStringLiteral("option -%1 needs a value").arg(f);
    } else {
      return QStringLiteral("unknown option %1").arg(a);
    }
  }
  if (Options.Mode == TOptions::mNone)
    return QStringLiteral("interactive checking of files is not supported; use -a or -l");
  return QString();
}

// The input as pieces of lines: a whole line when it is at most MaxPieceBytes long, else pieces
// of at most that size cut after the last space or tab (or, with neither, before a character
// starts). Reads only when no whole line is left, so a pipe is answered line by line.
class TLineReader {
public:
  explicit TLineReader(QIODevice &In) : FIn(In) { FBuffer.resize(MaxPieceBytes + BlockBytes); }

  // The next piece, without its line break (LF, or CR LF); LineStart and LineEnd tell whether
  // it begins or ends its line. False at the end of the input.
  bool Next(QByteArrayView &Piece, bool &LineStart, bool &LineEnd)
  {
    for (;;) {
      const char *base = FBuffer.constData();
      if (FScan < FEnd) {
        if (const void *nl = std::memchr(base + FScan, '\n', size_t(FEnd - FScan))) {
          const qsizetype at = static_cast<const char *>(nl) - base;
          TakeLine(at, at + 1, Piece, LineStart, LineEnd);
          return true;
        }
        FScan = FEnd;
      }
      const qsizetype pending = FEnd - FPos;
      if (pending >= MaxPieceBytes) {
        TakePiece(Piece, LineStart, LineEnd);
        return true;
      }
      if (FAtEnd) {
        if (pending == 0)
          return false;
        TakeLine(FEnd, FEnd, Piece, LineStart, LineEnd);
        return true;
      }
      if (FBuffer.size() - FEnd < BlockBytes) {
        std::memmove(FBuffer.data(), FBuffer.constData() + FPos, size_t(pending));
        FScan -= FPos;
        FEnd = pending;
        FPos = 0;
      }
      const qint64 n = FIn.read(FBuffer.data() + FEnd, FBuffer.size() - FEnd);
      if (n <= 0)
        FAtEnd = true;
      else
        FEnd += n;
    }
  }

private:
  void TakeLine(qsizetype End, qsizetype Next, QByteArrayView &Piece, bool &LineStart,
                bool &LineEnd)
  {
    const char *base = FBuffer.constData();
    qsizetype end = End;
    if (end > FPos && base[end - 1] == '\r')
      --end;
    Piece = QByteArrayView(base + FPos, end - FPos);
    LineStart = FLineStart;
    LineEnd = true;
    FLineStart = true;
    FPos = FScan = Next;
  }

  void TakePiece(QByteArrayView &Piece, bool &LineStart, bool &LineEnd)
  {
    const char *base = FBuffer.constData();
    const qsizetype limit = FPos + MaxPieceBytes;
    qsizetype cut = limit;
    while (cut > FPos && base[cut - 1] != ' ' && base[cut - 1] != '\t')
      --cut;
    if (cut == FPos) {
      // No blank: end the piece where a character starts (not inside a UTF-8 sequence).
      cut = limit;
      while (cut > FPos + MaxPieceBytes - 4 && (uchar(base[cut]) & 0xC0) == 0x80)
        --cut;
    }
    Piece = QByteArrayView(base + FPos, cut - FPos);
    LineStart = FLineStart;
    LineEnd = false;
    FLineStart = false;
    FPos = cut;
  }

  QIODevice &FIn;
  QByteArray FBuffer;
  qsizetype FPos = 0, FScan = 0, FEnd = 0;
  bool FAtEnd = false, FLineStart = true;
};

// Output gathered in blocks; Send writes what is gathered.
class TOutput {
public:
  explicit TOutput(QIODevice &Out) : FOut(Out) { FData.reserve(2 * BlockBytes); }
  ~TOutput() { Send(); }

  QByteArray &Data() { return FData; }
  void SendWhenFull()
  {
    if (FData.size() >= BlockBytes)
      Send();
  }
  void Send()
  {
    if (FData.isEmpty())
      return;
    FOut.write(FData);
    FData.resize(0);
    if (auto *f = qobject_cast<QFileDevice *>(&FOut))
      f->flush();
  }

private:
  QIODevice &FOut;
  QByteArray FData;
};

class TPipe {
public:
  TPipe(TSpellPipeSession &Session, QIODevice &Out, int Suggestions)
      : FSession(Session), FOut(Out), FSuggestions(Suggestions)
  {
  }

  void Run(QIODevice &In)
  {
    FOut.Data() += SpellPipeVersionLine;
    FOut.Data() += '\n';
    FOut.Send();
    TLineReader reader(In);
    QByteArrayView piece;
    bool start = false, end = false;
    while (reader.Next(piece, start, end)) {
      if (start)
        BeginLine(piece);
      else
        Continue(piece);
      if (end)
        EndLine();
    }
  }

private:
  enum TLineKind { lkCheck, lkCommand, lkSkip };

  void BeginLine(QByteArrayView Piece)
  {
    const char c = Piece.isEmpty() ? '\0' : Piece[0];
    FKind = lkSkip;
    switch (c) {
    case '^':
      FKind = lkCheck;
      FChars = 1;
      Check(Piece.sliced(1), true);
      return;
    case '*':
    case '&':
    case '@':
      FKind = lkCommand;
      FCommand = c;
      FArgument = Piece.sliced(1).toByteArray();
      return;
    case '#':
      FSession.SavePersonal();
      return;
    case '!':
      FTerse = true;
      return;
    case '%':
      FTerse = false;
      return;
    case '+': // formatter modes (TeX on and off, by file type): the word breaker is the same
    case '-':
    case '~':
      return;
    case '$':
      if (Piece.startsWith("$$"))
        return; // another checker's extension commands
      break;
    default:
      break;
    }
    FKind = lkCheck;
    FChars = 0;
    Check(Piece, true);
  }

  void Continue(QByteArrayView Piece)
  {
    if (FKind == lkCheck)
      Check(Piece, false);
    else if (FKind == lkCommand && FArgument.size() < MaxPieceBytes)
      FArgument += Piece.first(std::min(Piece.size(), MaxPieceBytes - FArgument.size()));
  }

  void EndLine()
  {
    if (FKind == lkCheck) {
      FOut.Data() += '\n';
      FOut.Send();
    } else if (FKind == lkCommand) {
      const QString word = QString::fromUtf8(FArgument);
      if (FCommand == '*')
        FSession.AddPersonal(word);
      else if (FCommand == '&')
        FSession.AddPersonal(word.toLower());
      else
        FSession.AcceptForSession(word);
      FArgument.clear();
    }
  }

  void Check(QByteArrayView Bytes, bool LineStart)
  {
    DecodeInto(FText, Bytes);
    const QString &text = FText;
    if (LineStart)
      FIgnored = FSession.RunLineIgnore(text);
    if (FIgnored)
      return;
    QByteArray &out = FOut.Data();
    qsizetype unit = 0;
    for (const auto &w : FSession.Words(text)) {
      if (FSession.Acceptable(w.Word)) {
        if (!FTerse)
          out += "*\n";
        continue;
      }
      FChars += CodePoints(text, unit, w.Start);
      unit = w.Start;
      QStringList s = FSession.SuggestionsFor(w.Word);
      if (s.size() > FSuggestions)
        s.resize(FSuggestions);
      if (s.isEmpty()) {
        out += "# ";
        out += w.Word.toUtf8();
        out += ' ';
        out += QByteArray::number(FChars);
      } else {
        out += "& ";
        out += w.Word.toUtf8();
        out += ' ';
        out += QByteArray::number(s.size());
        out += ' ';
        out += QByteArray::number(FChars);
        out += ": ";
        out += s.join(QStringLiteral(", ")).toUtf8();
      }
      out += '\n';
      FOut.SendWhenFull();
    }
    FChars += CodePoints(text, unit, text.size());
  }

  TSpellPipeSession &FSession;
  TOutput FOut;
  const int FSuggestions;
  bool FTerse = false;
  // The line being read: what it is, whether its line rule ignores it, the characters before
  // the current piece, a command's argument.
  TLineKind FKind = lkSkip;
  bool FIgnored = false;
  qsizetype FChars = 0;
  char FCommand = 0;
  QByteArray FArgument;
  QString FText;
};

void ListMisspelled(TSpellPipeSession &Session, QIODevice &In, QIODevice &Out)
{
  TOutput output(Out);
  TLineReader reader(In);
  QByteArrayView piece;
  bool start = false, end = false, ignored = false;
  QString text;
  while (reader.Next(piece, start, end)) {
    DecodeInto(text, piece);
    if (start)
      ignored = Session.RunLineIgnore(text);
    if (ignored)
      continue;
    QByteArray &out = output.Data();
    for (const auto &w : Session.Words(text))
      if (!Session.Acceptable(w.Word)) {
        out += w.Word.toUtf8();
        out += '\n';
      }
    output.SendWhenFull();
  }
}

} // namespace

namespace {

// A file that could not be read or written: one line on stderr each, and the session goes on.
// Those met while the session opens wait for its outcome: a session that cannot start says only
// why it cannot (Held is then dropped).
void TellFileProblems(TSpellPipeSession &Session, QIODevice &Err, std::optional<QStringList> &Held)
{
  Session.OnFileProblem = [&Err, &Held](QObject *, const TWrightSpellBase::TFileProblem &Problem) {
    const QString line = ProgramName + QStringLiteral(": ") + Problem.Text() + QLatin1Char('\n');
    if (Held)
      Held->append(line);
    else
      Write(Err, line);
  };
}

} // namespace

int RunSpellCommand(const QStringList &Args, QIODevice &In, QIODevice &Out, QIODevice &Err)
{
  TOptions options;
  const QString error = ParseArguments(Args, options);
  if (options.Mode == TOptions::mVersion && error.isEmpty()) {
    Write(Out, QString::fromLatin1(SpellPipeVersionLine) + QLatin1Char('\n'));
    return 0;
  }
  if (!error.isEmpty()) {
    Write(Err, ProgramName + QStringLiteral(": ") + error + QLatin1Char('\n'));
    return 2;
  }
  TSpellPipeSession session(options.Config);
  std::optional<QStringList> held(std::in_place);
  TellFileProblems(session, Err, held);
  const QString openError = session.Open(options.Main, options.Personal);
  if (!openError.isEmpty()) {
    Write(Err, ProgramName + QStringLiteral(": ") + openError + QLatin1Char('\n'));
    return 2;
  }
  for (const QString &line : *held)
    Write(Err, line);
  held.reset();
  if (options.Mode == TOptions::mList)
    ListMisspelled(session, In, Out);
  else
    TPipe(session, Out, options.Suggestions).Run(In);
  return 0;
}
