#pragma once
// Expansion of a Hunspell dictionary (.dic + .aff) into the full list of word forms it accepts
// without compounding, for wdmc's --hunspell mode.
//
// Understood: SET (any encoding ICU knows: UTF-8, ISO8859-x, KOI8-R, microsoft-cp125x...;
// ISO8859-1 when absent), FLAG (single characters, long, num, UTF-8), AF flag aliases, IGNORE,
// FULLSTRIP, PFX/SFX tables with their conditions, cross products (both affixes marked Y), a
// second suffix named in a suffix's continuation flags, prefixes and suffixes enabled by each
// other's continuation flags, NEEDAFFIX (PSEUDOROOT), CIRCUMFIX, FORBIDDENWORD and
// ONLYINCOMPOUND. Compound rules are not expanded (compound words are accepted only when the
// .dic lists them), and case, ICONV, BREAK and suggestion directives do not change the list.
// Entries holding white space are dropped (the checker never looks up such a word), and so are
// entries whose flags cannot be read, as Hunspell does.
//
// Failure (false, `error` one line): an unreadable file, an unknown encoding, text that is not
// valid in the declared encoding, a malformed affix table, COMPLEXPREFIXES (right-to-left affix
// order), and an expansion of more than `maxWords` distinct forms.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

struct THunspellExpansion {
  QStringList words;     // distinct forms, in no particular order
  QString encoding;      // the SET of the affix file (or its default)
  qsizetype stems = 0;   // entries of the .dic
  qsizetype dropped = 0; // entries or forms left out (white space, forbidden, compound-only)
};

inline constexpr qsizetype HunspellDefaultMaxWords = 0xFFFFE; // one trie node at least per word

bool ExpandHunspell(const QByteArray &dic, const QByteArray &aff, THunspellExpansion &result,
                    QString &error, qsizetype maxWords = HunspellDefaultMaxWords);
bool ExpandHunspellFiles(const QString &dicFile, const QString &affFile, THunspellExpansion &result,
                         QString &error, qsizetype maxWords = HunspellDefaultMaxWords);
