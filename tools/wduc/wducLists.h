#pragma once
// wduc's lists and how their entries go into a custom dictionary, shared by the tool and its
// bad-input tests.
//
// A list is UTF-8 text, one entry a line. Surrounding white space is dropped (and a byte-order
// mark on the first line); empty lines and lines starting with "#" are skipped. An ignore or
// exclude list holds one word a line; an auto-correct list holds "misspelling -> correction"
// (the correction may contain spaces, the misspelling may not).
//
// Failures are answered as message texts ("LIST:LINE: reason"), empty on success; nothing here
// writes to disk.

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <vector>

class TCustomDictionary;

struct TWducEntry {
  char Kind; // TCustomDictionary::KindIgnore, KindExclude or KindAutoCorrect
  QString Word;
  QString Correction;
  QString Where; // "LIST:LINE" for messages
};

// Appends the entries of Bytes, the contents of the list called Name, read as a list of Kind.
// A line that is no entry stops the parse (the entries before it stay appended).
QString ParseWducList(const QByteArray &Bytes, const QString &Name, char Kind,
                      std::vector<TWducEntry> &Entries);
// The same for the file Path.
QString ReadWducList(const QString &Path, char Kind, std::vector<TWducEntry> &Entries);

// The bytes of an empty custom dictionary of CodePage (CP_UTF8: version 4.1, CP_ACP: 4.0). A
// dictionary takes its version from the file it loads, so a new one starts from this.
QByteArray EmptyWducFile(quint32 CodePage);

// Adds E to D, a dictionary of CodePage. Refuses (with the reason) an entry the dictionary
// refuses and, for CP_ACP, text that Windows-1252 cannot store as itself.
QString AddWducEntry(TCustomDictionary &D, const TWducEntry &E, quint32 CodePage);

// Whether D, read back from a saved file, holds E as it was added.
bool WducEntryReadsBack(TCustomDictionary &D, const TWducEntry &E);
