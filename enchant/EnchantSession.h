#pragma once
// The check session behind one Enchant dictionary: this program's settings
// (ApplyProgramSpellSettings), the user's Spell.cfg and custom dictionaries, and the one main
// dictionary that serves the requested language tag.
//
// Enchant hands over UTF-8 words; the operations here take QStrings and never throw. Words
// added to the personal dictionary, replacements and removals go to the user's active custom
// dictionary and are saved at once through its locked merge, so the program and
// linewright-spell see them (a host program has no Qt event loop to wait for a later save).
// The configuration itself is never written: choosing the main dictionary for the tag changes
// only this session's copy.
//
// A word another program added to the active custom dictionary is accepted from its save on.
//
// Not thread-safe by itself: the provider serialises every call.

#include "wrSpellBase.h"

#include <QString>
#include <QStringList>

#include <vector>

// A main dictionary the session can offer: its file and the language tag it serves.
struct TEnchantDictionaryFile {
  QString Tag;      // "en_AU"
  QString Filename; // as the available list names it
};

class TEnchantSession : public TWrightSpellBase {
public:
  TEnchantSession();
  ~TEnchantSession() override;

  // The main dictionaries found in the dictionary folders (shipped and the user's own), each
  // under its tag; a file that cannot be opened is left out. Sorted by tag, one file per tag
  // (the first the folders give).
  std::vector<TEnchantDictionaryFile> Dictionaries();
  // The file serving Tag: an exact match, else (for a bare language "en") the first dictionary of
  // that language. Empty when there is none.
  QString DictionaryFor(const QString &Tag);

  // Loads the configuration and custom dictionaries with Filename as the only main dictionary.
  // False when it cannot be opened.
  bool Open(const QString &Filename);

  bool Check(const QString &Word);
  // At most SuggestionLimit suggestions, best first; none for an over-long word.
  QStringList Suggestions(const QString &Word);
  // Into the active custom dictionary, saved at once (and out of its exclusions); false when
  // there is no active dictionary or it cannot be saved.
  bool AddPersonal(const QString &Word);
  void AddSession(const QString &Word);
  // An auto-correction Misspelled -> Correction in the active custom dictionary, saved at once.
  bool StoreReplacement(const QString &Misspelled, const QString &Correction);
  // The word leaves the active custom dictionary's added words and becomes an exclusion.
  bool Exclude(const QString &Word);

  static constexpr int SuggestionLimit = 15;
  // Longer words get no suggestions: no dictionary word is near them, and the distances would
  // cost quadratic time.
  static constexpr qsizetype MaxSuggestWordLength = 64;

protected:
  void LoadDictionaries() override;

private:
  bool SaveActive();
  // Another program (the window, linewright-spell) may have saved the active custom dictionary
  // since it was read: the dictionaries are read again when its file changed. True when they were.
  bool FollowActiveDictionary();

  TFileStamp FActiveStamp;
};
