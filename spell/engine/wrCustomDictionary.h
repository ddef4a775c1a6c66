#pragma once
// A custom dictionary (".wdu", ".wdl"): ignore, exclude and auto-correct entries in an
// open-addressing hash table of references into an append-only entry area, written out as is.
//
// Every operation loads the dictionary on demand; words compare exactly (case-sensitive).
//
// A file is refused whole, and stays unloaded and untouched, when its banner is not one of the
// two versions, when its counts, table size or area size do not fit the file, when a counted
// kind differs from the table, or when a table slot does not reference a whole entry of the area
// (entries are at most 512 bytes). An existing file that cannot be read is refused too, rather
// than taken for a new one.
//
// A save writes a temporary file beside the target (synced) and renames it into place, so an
// interrupted or failing save (full disk, crash) leaves the previous file as it was; a folder
// that does not allow new files therefore cannot be saved into. The merge at save compares the
// file's identity (modification and change times in nanoseconds, size, inode) with the one read
// at load: an unchanged file compares equal, a file renamed into place by another writer never
// does. A save holds an exclusive lock on "<file>.lock" (removed afterwards) from that check to
// the rename, so programs saving one file at the same time take turns and lose no word.
//
// A word or correction holding U+0000 is refused (the stored text would end there). A table more
// than half full of live entries is refused (this system keeps it at most a quarter full; a
// fuller one makes every missing word probe most of it); one crowded with deleted marks is
// rebuilt at load for the same reason.

#include "rtCodePage.h"
#include "wrUtil.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdint>
#include <memory>
#include <vector>

class QFile;

class TCustomDictionary {
public:
  TCustomDictionary();
  virtual ~TCustomDictionary();
  TCustomDictionary(const TCustomDictionary &) = delete;
  TCustomDictionary &operator=(const TCustomDictionary &) = delete;

  static constexpr char KindIgnore = 'I';
  static constexpr char KindExclude = 'E';
  static constexpr char KindAutoCorrect = 'A';
  static constexpr char KindAny = '*';
  static constexpr int AreaStep = 65535;
  // Longest word plus correction an entry takes, in UTF-16 code units.
  static constexpr int MaxEntryUnits = 500;
  // The banner of a file whose words are in CodePage (0: version 4.0, otherwise 4.1).
  static QByteArray Banner(quint32 CodePage);
  // Header size H: the banner, a zero byte and 0x1A.
  static int HeaderSize(quint32 CodePage) { return CodePage == 0 ? 121 : 141; }

  QString Filename() const { return FFilename; }
  virtual void SetFilename(const QString &F);
  bool Loaded() const { return FLoaded; }
  virtual void SetLoaded(bool V);
  bool Modified() const { return FModified; }
  void SetModified(bool V) { FModified = V; }
  virtual int IgnoreCount();
  virtual int ExcludeCount();
  virtual int AutoCorrectCount();
  quint32 CodePage() const { return FCodePage; }
  // Live entries, table size T and bytes used U, as stored in the file.
  int WordCount() const { return FWordCount; }
  int UpperBound() const { return FUpperBound; }
  int Used() const { return FUsed; }

  virtual void Save();
  virtual void SaveAs(const QString &NewFilename);
  // A dictionary read from a file it must not write (a shipped one) saves its changes to this
  // file instead; after that save the copy is its file. Empty: saves go to Filename.
  QString SaveFilename() const { return FSaveFilename; }
  void SetSaveFilename(const QString &F) { FSaveFilename = F; }
  virtual QString GetIgnoreWord(unsigned Index);
  virtual QString GetExcludeWord(unsigned Index);
  virtual QString GetAutoCorrectWord(unsigned Index, QString &Correction);
  virtual bool IgnoreExists(const QString &Word);
  // How many leading characters (UTF-16 units) of Word some ignore word starts with.
  int IgnorePrefixLength(const QString &Word);
  virtual bool ExcludeExists(const QString &Word);
  virtual bool AutoCorrectExists(const QString &Word, QString &Correction);
  virtual bool AddIgnore(const QString &Word);
  virtual bool AddExclude(const QString &Word);
  virtual bool AddAutoCorrect(const QString &Misspelled, const QString &Correction);
  virtual bool RemoveIgnore(const QString &Word);
  virtual bool RemoveExclude(const QString &Word);
  virtual bool RemoveAutoCorrect(const QString &Misspelled);
  virtual void RemoveAll();

protected:
  // Checks the banner of Name; with KeepOpen the file is left open after the 0x1A byte.
  // A missing file is accepted when it can be created (or Name is empty); `file` stays empty.
  virtual bool OpenDictionaryFile(const QString &Name, bool KeepOpen, std::unique_ptr<QFile> &file,
                                  quint32 &codePage);
  virtual bool ReadBody(QFile &file);
  virtual void WriteToFile(const QString &Name);
  virtual void AddToIndexList(char Kind, int32_t Reference);
  virtual void BuildIndexLists();
  virtual int32_t NextString(int32_t Reference) const;
  virtual QString DecodeString(int32_t Reference) const;
  virtual bool FindEntry(char Kind, const QString &Word, int32_t &Reference, int &Slot);
  virtual void AppendBytes(const char *Bytes, int Length);
  virtual void PutInTable(std::vector<int32_t> &Table, const QString &Word, int32_t Reference);
  virtual void InsertHashed(const QString &Word, int32_t Reference);
  virtual bool AddEntry(char Kind, const QString &Word, const QString &Correction);
  virtual bool RemoveEntry(char Kind, const QString &Word);
  virtual std::unique_ptr<TCustomDictionary> CreateSibling();

private:
  bool EnsureLoaded();
  void Load();
  void Unload();
  void Clear();
  // Empties counts, table, area, index lists and change log; the file's state stays.
  void ClearStore();
  void ClearChangeLog();
  void RebuildTable(int32_t size);
  // Bookkeeping of a successful add or remove: the change log kept for a merging save, the
  // modified state and the kind's count.
  void NoteChange(int &KindCount, int Delta, QStringList &Log, const QString &Word);

  QString FFilename;
  QString FSaveFilename;
  bool FLoaded = false;
  bool FModified = false;
  int FIgnoreCount = 0;
  int FExcludeCount = 0;
  int FAutoCorrectCount = 0;
  int FWordCount = 0;
  // The file's stamp when it was loaded; all zero for a file that did not exist.
  TFileStamp FFileTime;
  // The last load of FFilename was refused; the file's stamp then.
  bool FRefused = false;
  TFileStamp FRefusedStamp;
  std::vector<char> FWords;
  int FUsed = 0;
  int FAllocated = 0;
  quint32 FCodePage = CP_UTF8;
  int32_t FUpperBound = 0;
  std::vector<int32_t> FHashTable;
  bool FIndexLists = false;
  std::vector<int32_t> FIgnoreList, FExcludeList, FAutoCorrectList;
  // The ignore words sorted, for IgnorePrefixLength; built on demand, dropped by any change.
  bool FIgnoreSortedValid = false;
  std::vector<QString> FIgnoreSorted;
  bool FTrackOps = false;
  // A merging save's sibling: its owner holds the file's save lock.
  bool FSaveLocked = false;
  QStringList FAddedIgnore, FAddedExclude, FAddedAutoCorrect, FAddedAutoCorrectReplace;
  QStringList FRemovedIgnore, FRemovedExclude, FRemovedAutoCorrect;
};
