#include "SpellPipe.h"

#include "wrCustomDictionary.h"
#include "wrMainDictionary.h"
#include "wrStringParser.h"

#include <QDir>
#include <QFileDevice>
#include <QFileInfo>
#include <QIODevice>

namespace {

// Longer "words" (runs of letters in binary data, URLs the rules let through) are reported
// without suggestions: no dictionary word is that far from them, and the edit distances would
// cost quadratic time.
constexpr qsizetype MaxSuggestWordLength = 64;

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

QByteArray Chomp(QByteArray Line)
{
  if (Line.endsWith('\n'))
    Line.chop(1);
  if (Line.endsWith('\r'))
    Line.chop(1);
  return Line;
}

} // namespace

// === Session
// =========================================================================================

TSpellPipeSession::TSpellPipeSession(const QString &ConfigFile)
{
  SetConfigUseMSWordCustom(false);
  // Learning writes a file of its own as it goes; the pipe writes only when asked.
  SetSuggestionsLearning(false);
  SetPromptSaves(psAtUnload); // "*word" is written by "#" alone
  SetConfigFilename(ConfigFile.isEmpty() ? QStringLiteral("%AppDir%\\Dictionaries\\Spell.cfg")
                                         : ConfigFile);
  SetConfigStorage(csFile);
  TStringList dirs;
  dirs.Add(QStringLiteral("%AppDir%\\Dictionaries"));
  SetConfigDictionaryDir(dirs);
  TStringList main;
  main.Add(QStringLiteral("aussie.wdm"));
  SetConfigDefaultMain(main);
}

TSpellPipeSession::~TSpellPipeSession() { ForgetChanges(); }

void TSpellPipeSession::LoadDictionaries()
{
  ForgetChanges();
  TWrightSpellBase::LoadDictionaries();
}

void TSpellPipeSession::ForgetChanges()
{
  FConfiguration->SetModified(false);
  for (TCustomDictionary *d : {FActiveCustom.get(), FInternalCustom.get(), FMappingCustom.get()})
    if (d)
      d->SetModified(false);
  for (auto &d : FCustomDictionaries)
    d->SetModified(false);
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

std::vector<TSpellPipeSession::TWordAt> TSpellPipeSession::Words(const QString &Text)
{
  std::vector<TWordAt> result;
  if (RunLineIgnore(Text))
    return result;
  // The check loop sees every line end in a line break, so the last word is complete.
  QString buffer = Text + QLatin1Char('\n');
  TStringParser parser;
  parser.Initialize(&buffer);
  FParser = &parser;
  FParsingEngine->Initialize(&parser, ctAll);
  for (;;) {
    const QString word = FParsingEngine->NextWord(&parser);
    if (word.isEmpty())
      break;
    int x = 0, y = 0;
    parser.GetPosition(x, y);
    result.push_back({word, qsizetype(x - 1) - word.size()});
  }
  FParser = nullptr;
  return result;
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
  FSuggestCache.insert(Word, words);
  return words;
}

void TSpellPipeSession::AcceptForSession(const QString &Word)
{
  EnsureConfigurationLoaded();
  FInternalCustom->AddIgnore(Word);
}

void TSpellPipeSession::AddPersonal(const QString &Word)
{
  EnsureConfigurationLoaded();
  if (FActiveCustom)
    FActiveCustom->AddIgnore(Word);
}

bool TSpellPipeSession::SavePersonal()
{
  if (!FActiveCustom)
    return false;
  FActiveCustom->Save();
  return !FActiveCustom->Modified();
}

// === Protocol
// ========================================================================================

namespace {

struct TOptions {
  enum TMode { mNone, mPipe, mList, mVersion } Mode = mNone;
  QString Main;
  QString Personal;
  QString Config;
};

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
      if (a == QStringLiteral("--config")) {
        if (!value(a.size(), Options.Config))
          return QStringLiteral("option --config needs a file");
      } else if (a.startsWith(QStringLiteral("--config="))) {
        Options.Config = a.mid(9);
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

class TPipe {
public:
  TPipe(TSpellPipeSession &Session, QIODevice &Out) : FSession(Session), FOut(Out) {}

  void Run(QIODevice &In)
  {
    Write(FOut, QString::fromLatin1(SpellPipeVersionLine) + QLatin1Char('\n'));
    Flush();
    // readLine waits for a whole line; only the end of the input gives nothing at all.
    for (QByteArray raw = In.readLine(); !raw.isEmpty(); raw = In.readLine()) {
      Line(QString::fromUtf8(Chomp(raw)));
      Flush();
    }
  }

private:
  void Flush()
  {
    if (auto *f = dynamic_cast<QFileDevice *>(&FOut))
      f->flush();
  }

  void Line(const QString &L)
  {
    const QChar c = L.isEmpty() ? QChar() : L[0];
    const QString rest = L.mid(1);
    switch (c.unicode()) {
    case u'^':
      Check(L, 1);
      return;
    case u'*':
      FSession.AddPersonal(rest);
      return;
    case u'&':
      FSession.AddPersonal(rest.toLower());
      return;
    case u'@':
      FSession.AcceptForSession(rest);
      return;
    case u'#':
      FSession.SavePersonal();
      return;
    case u'!':
      FTerse = true;
      return;
    case u'%':
      FTerse = false;
      return;
    case u'+': // formatter modes (TeX on and off, by file type): the word breaker is the same
    case u'-':
    case u'~':
      return;
    case u'$':
      if (L.startsWith(QStringLiteral("$$")))
        return; // another checker's extension commands
      break;
    default:
      break;
    }
    Check(L, 0);
  }

  void Check(const QString &L, qsizetype Skip)
  {
    const QString text = L.mid(Skip);
    QString answer;
    qsizetype unit = 0, chars = Skip;
    for (const auto &w : FSession.Words(text)) {
      if (FSession.WordAcceptable(w.Word)) {
        if (!FTerse)
          answer += QStringLiteral("*\n");
        continue;
      }
      chars += CodePoints(text, unit, w.Start);
      unit = w.Start;
      const QStringList s = FSession.SuggestionsFor(w.Word);
      // One-pass arg: a "%1" inside a word or suggestion stays text.
      if (s.isEmpty())
        answer += QStringLiteral("# %1 %2\n").arg(w.Word, QString::number(chars));
      else
        answer += QStringLiteral("& %1 %2 %3: %4\n")
                      .arg(w.Word, QString::number(s.size()), QString::number(chars),
                           s.join(QStringLiteral(", ")));
    }
    answer += QLatin1Char('\n');
    Write(FOut, answer);
  }

  TSpellPipeSession &FSession;
  QIODevice &FOut;
  bool FTerse = false;
};

void ListMisspelled(TSpellPipeSession &Session, QIODevice &In, QIODevice &Out)
{
  for (QByteArray raw = In.readLine(); !raw.isEmpty(); raw = In.readLine()) {
    const QString text = QString::fromUtf8(Chomp(raw));
    QString answer;
    for (const auto &w : Session.Words(text))
      if (!Session.WordAcceptable(w.Word))
        answer += w.Word + QLatin1Char('\n');
    Write(Out, answer);
  }
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
  const QString openError = session.Open(options.Main, options.Personal);
  if (!openError.isEmpty()) {
    Write(Err, ProgramName + QStringLiteral(": ") + openError + QLatin1Char('\n'));
    return 2;
  }
  if (options.Mode == TOptions::mList)
    ListMisspelled(session, In, Out);
  else
    TPipe(session, Out).Run(In);
  return 0;
}
