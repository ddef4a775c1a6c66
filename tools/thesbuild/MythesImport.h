#pragma once
// Turns a MyThes-format thesaurus (".dat": "word|senses" followed by one "(pos)|word|word
// (similar term)|..." line per sense) into the content of a thesaurus file.
//
// One context per sense, stored once whichever member brings it: its master word is the
// sense's first plain synonym as its most important member headword lists it (that headword
// itself when it has none), its words (master, the other synonyms, then similar and related
// terms) go in the list of its kind: 1 noun, 2 verb, 3 adjective, 4 adverb. Antonyms and
// generic terms are left out.
//
// The file format addresses 65,536 nodes and 13,107 linkable contexts, far fewer than the
// source holds, so senses are taken in order of importance until either budget is spent.
// Importance comes from the source itself: headwords are single lower-case words, ranked by
// twice their number of senses plus how often other headwords' senses name them (both follow
// everyday frequency closely); a headword's k-th sense counts 1/k of that, so the first senses
// of many words come before the rare senses of a few.

#include "ThesaurusWriter.h"

#include <QByteArray>
#include <QString>
#include <vector>

struct TMythesSense {
  int kind = 0;
  std::vector<QByteArray> synonyms; // plain synonyms (the sense's members besides the headword)
  std::vector<QByteArray> related;  // similar and related terms
  std::vector<QByteArray> other; // antonyms and generic terms: not offered, but counted for ranking
};

struct TMythesEntry {
  QByteArray word;
  std::vector<TMythesSense> senses;
};

// Reads the ".dat" file (ISO 8859-1); false with error set when it cannot be read or parsed.
bool ReadMythes(const QString &fileName, std::vector<TMythesEntry> &entries, QString &error);
// Parses the text of a ".dat" file.
bool ParseMythes(const QByteArray &text, std::vector<TMythesEntry> &entries, QString &error);

struct TThesaurusSelection {
  int maxNodes = TThesaurusWriter::MaxNodes;
  int maxContexts = TThesaurusWriter::MaxLinkValue / 5; // contexts 0..13106 link with any kind
  // Senses come most frequent first; the rare tail of a very polysemous word would crowd out
  // whole common words.
  int maxSenses = 8;
  // Similar and related terms kept per sense: a few senses list dozens, which would spend the
  // node budget on rare words.
  int maxRelated = 16;
  // Figures of the result.
  int headwords = 0;
  int contexts = 0;
  int words = 0;
  int nodes = 0;
  int candidates = 0;
};

// Chooses the headwords that fit and fills the writer. False with error set when not even
// the first headword fits.
bool SelectMythes(const std::vector<TMythesEntry> &entries, TThesaurusSelection &selection,
                  TThesaurusWriter &writer, QString &error);
