#pragma once
// linewright-spell: the check session driven through the ispell pipe protocol, the way editors
// (Emacs ispell/flyspell, Vim and others) run a spell checker as a child process.
//
// RunSpellCommand parses ispell-style arguments and runs one of three modes over the given
// streams: -v/-vv print the version line; -a answers the pipe protocol line by line (flushing
// after each answer, so an editor waiting on the pipe sees it at once); -l lists the misspelled
// words of the input, one per line. Input and output are UTF-8; invalid input bytes read as
// U+FFFD. Offsets are in characters (code points) of the input line, counting a leading "^".
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
#include <QString>
#include <QStringList>

#include <cstdio>

class QIODevice;

// The name editors find after the ispell version they parse.
inline constexpr const char *SpellPipeVersionLine =
    "@(#) International Ispell Version 3.1.20 (but really Linewright 0.1)";

// The check session as the pipe uses it: the shipped dictionaries, the user's configuration,
// an optional main dictionary and personal dictionary chosen on the command line.
class TSpellPipeSession : public TWrightSpellBase {
public:
  // ConfigFile empty: "%AppDir%\Dictionaries\Spell.cfg", as the editor program uses.
  explicit TSpellPipeSession(const QString &ConfigFile = QString());
  // Forgets unsaved changes, so that leaving the pipe writes nothing.
  ~TSpellPipeSession() override;

  // Loads the configuration and dictionaries; MainName and Personal override the configured
  // main dictionary and active custom dictionary. Answers an error text, empty on success.
  QString Open(const QString &MainName, const QString &Personal);

  // Words of Text in order, with their start (UTF-16 index into Text), as the check loop
  // breaks them; line-ignore rules skip the whole text.
  struct TWordAt {
    QString Word;
    qsizetype Start;
  };
  std::vector<TWordAt> Words(const QString &Text);
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
  void ForgetChanges();

  QHash<QString, QStringList> FSuggestCache;
};

// Runs the program with Args (without the program name). Answers the exit code.
int RunSpellCommand(const QStringList &Args, QIODevice &In, QIODevice &Out, QIODevice &Err);
