#pragma once
// linewright-spell: the check session driven through the ispell pipe protocol, the way editors
// (Emacs ispell/flyspell, Vim and others) run a spell checker as a child process.
//
// RunSpellCommand parses ispell-style arguments and runs one of three modes over the given
// streams: -v/-vv print the version line; -a answers the pipe protocol line by line (each
// answer is written as soon as its line is checked, so an editor waiting on the pipe sees it
// at once); -l lists the misspelled words of the input, one per line. Input and output are
// UTF-8; invalid input bytes read as U+FFFD. Offsets are in characters (code points) of the
// input line, counting a leading "^". At most DefaultSuggestionCount suggestions are answered
// for a word unless --suggestions says otherwise.
//
// Memory stays bounded whatever the input: a line longer than MaxPieceBytes is checked in
// pieces cut after a space or tab (a line with neither is cut between characters), and answers
// are written as they are made.
//
// Failures: an unknown option, a main dictionary that cannot be opened or a personal dictionary
// that is refused (unreadable, not a custom dictionary) give one line on the error stream and
// exit code 2. Nothing is written to disk unless the input asks for it ("#" saves the personal
// dictionary); the configuration is read, never saved.
//
// QtCore only: the program runs without a display.

#include "wrSpellBase.h"

#include <QByteArray>
#include <QHash>
#include <QIODevice>
#include <QString>
#include <QStringList>

#include <vector>

// The name editors find after the ispell version they parse.
inline constexpr const char *SpellPipeVersionLine =
    "@(#) International Ispell Version 3.1.20 (but really Linewright 0.1)";

// Suggestions answered for a misspelled word by default. Emacs labels each with one key and
// lays them out above the text: 15 fill two or three lines there; the peers answer 15 to 45.
inline constexpr int DefaultSuggestionCount = 15;

// Longest piece of a line checked at once (bytes of UTF-8).
inline constexpr qsizetype MaxPieceBytes = 1 << 20;

// The check session as the pipe uses it: the program's settings (ApplyProgramSpellSettings),
// the user's configuration, an optional main dictionary and personal dictionary chosen on the
// command line.
class TSpellPipeSession : public TWrightSpellBase {
public:
  // ConfigFile empty: the program's own Spell.cfg.
  explicit TSpellPipeSession(const QString &ConfigFile = QString());
  // Forgets unsaved changes, so that leaving the pipe writes nothing.
  ~TSpellPipeSession() override;

  // Loads the configuration and dictionaries; MainName and Personal override the configured
  // main dictionary and active custom dictionary. Answers an error text, empty on success.
  QString Open(const QString &MainName, const QString &Personal);

  // Words of Text in order, with their start (UTF-16 index into Text), as the check loop
  // breaks them; line-ignore rules are the caller's (RunLineIgnore). The list is reused by the
  // next call.
  struct TWordAt {
    QString Word;
    qsizetype Start;
  };
  const std::vector<TWordAt> &Words(const QString &Text);
  // WordAcceptable, remembered per word until the session's words change.
  bool Acceptable(const QString &Word);
  // Suggestions in Suggest order, none for words too long to be a misspelling of a word.
  QStringList SuggestionsFor(const QString &Word);

  // Protocol commands.
  void AcceptForSession(const QString &Word);
  void AddPersonal(const QString &Word);
  bool SavePersonal();

protected:
  // Dictionaries replaced while the session is set up go without saving: a new, empty
  // dictionary would otherwise create its file as it is freed.
  void LoadDictionaries() override;

private:
  void ForgetAnswers();

  std::vector<TWordAt> FWords;
  QString FBuffer;
  QHash<QString, bool> FAcceptable;
  QHash<QString, QStringList> FSuggestCache;
};

// A file descriptor as a sequential device: a read answers what one read(2) gives (so a pipe
// answers as soon as a line is there), a write writes everything. No seeks, no buffer of its
// own. The descriptor is not closed.
class TDescriptorDevice : public QIODevice {
public:
  explicit TDescriptorDevice(int Descriptor) : FDescriptor(Descriptor) {}
  bool isSequential() const override { return true; }

protected:
  qint64 readData(char *Data, qint64 MaxSize) override;
  qint64 writeData(const char *Data, qint64 Size) override;

private:
  int FDescriptor;
};

// Runs the program with Args (without the program name). Answers the exit code.
int RunSpellCommand(const QStringList &Args, QIODevice &In, QIODevice &Out, QIODevice &Err);
