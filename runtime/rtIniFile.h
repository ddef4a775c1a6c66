#pragma once
// INI profile files with the semantics of the Windows profile functions the program relies on,
// plus two guarantees those functions lack.
//
// Semantics: "[Section]" lines open sections, "Key=Value" lines hold values; section and key
// names compare without regard to letter case (the first match wins); names and values are
// trimmed of surrounding blanks; a read returns at most 2,047 characters; a write replaces the
// key's line or adds it at the end of its section (a missing section is appended), leaving all
// other lines as they were. A file name may use "\" or "/" as separator.
//
// Guarantees: a write never leaves a half-written file (the new contents go through a QSaveFile
// beside it, synced and then renamed over it, keeping the file's mode bits and a symbolic link
// as a link; temporary files that a killed writer left behind are removed by the next write),
// and writers in different processes never lose each other's changes (each write reads the file
// afresh and rewrites it while holding an exclusive lock on "<file>.lock", removed afterwards). A
// write changes only the bytes of the line it is about: the file keeps its encoding (UTF-8 with or
// without byte-order mark, UTF-16 either way round with whatever it holds, or the 8-bit code page
// of older programs) and every other line its bytes and line end. A file that cannot be written
// back so (bytes that do not decode to text and back, or a value that the 8-bit code page cannot
// hold) is not written: the write fails.
//
// Reads cost the same whatever the size of the file: it is parsed and indexed once per read of
// the file.
//
// BeginUpdate/EndUpdate bracket many writes into one locked read-modify-write: the file is read
// under the lock at BeginUpdate and written once at EndUpdate. Destroying the object during an
// update discards it.

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <memory>

class TIniFile {
public:
  static constexpr int MaxValueLength = 2047;

  explicit TIniFile(const QString &FileName);
  ~TIniFile();
  TIniFile(const TIniFile &) = delete;
  TIniFile &operator=(const TIniFile &) = delete;

  const QString &FileName() const { return FFileName; }

  // The value, or Default when the section or key is missing. Outside an update the file is
  // read on first use and that snapshot serves later reads (Refresh reads it again).
  QString ReadString(const QString &Section, const QString &Key, const QString &Default);
  // False when the file cannot be written (read-only file or folder, invalid name, disk
  // error); the file then stays as it was. Line breaks inside a value become spaces, so a value
  // can never start a line of its own. Keys may not contain "=" nor start with "[" or ";"
  // (they would read as a section or a comment), sections may not contain "]"; neither may be
  // empty or hold a line break.
  bool WriteString(const QString &Section, const QString &Key, const QString &Value);
  // Whether Key can be written (see WriteString).
  static bool IsValidKey(const QString &Key);

  QStringList ReadSections();
  // The section's keys and values in file order (first occurrence of each key).
  QList<QPair<QString, QString>> ReadSection(const QString &Section);
  bool SectionExists(const QString &Section);
  void Refresh();

  // Locks the file and reads it; false (and every write until EndUpdate fails) when the file
  // cannot be written. Nesting is not supported.
  bool BeginUpdate();
  // Writes the changes made since BeginUpdate and releases the lock; false when they could not
  // be written (the file then stays as it was).
  bool EndUpdate();
  // Releases the lock without writing.
  void CancelUpdate();
  bool Updating() const { return FUpdating; }

private:
  struct TContent;
  bool EnsureRead();
  bool ReadFile(TContent &content) const;
  bool WriteFile(const TContent &content) const;
  bool Writable() const;
  bool LockFile();
  void UnlockFile();
  static bool ApplyWrite(TContent &content, const QString &Section, const QString &Key,
                         const QString &Value);

  QString FFileName; // as given
  QString FPath;     // with "/" separators
  std::unique_ptr<TContent> FContent;
  int FLockFd = -1;
  bool FUpdating = false;
  bool FUpdateFailed = false;
  bool FDirty = false;
};
