#pragma once
// An exclusive lock between programs that read a file, change it and write it back: each holds
// a `flock` on "<file>.lock" beside it from the read to the rename of the new file, so that
// their saves take turns and none loses another's change. Readers take no lock: a save renames
// a whole new file into place. The kernel drops the lock of a program that dies.
//
// LockFileBeside blocks until the lock is held and answers its descriptor, or -1 when the lock
// file can neither be opened nor created (a folder that does not allow new files), is a
// symbolic link or anything but a regular file (never followed, never created elsewhere), or
// the lock cannot be taken. A holder may remove the lock file on release: a waiter that then gets
// the lock on the removed file notices and locks the current one instead.

#include <QString>

int LockFileBeside(const QString &Path);
enum RemoveLockFile : bool { KeepLockFile = false, RemoveTheLockFile = true };
void UnlockFileBeside(int Fd, const QString &Path, RemoveLockFile Remove);

// Removes what saves of Path killed before their rename left beside it: QSaveFile's
// "<name>.XXXXXX" (six letters or digits; written where an unnamed temporary file cannot be),
// once it is a minute old. Call it under the lock, which every save holds while its temporary
// file exists; the age covers a writer that reached the same file through another name (a link),
// and so another lock.
void RemoveStaleSaveFiles(const QString &Path);

// Holds the lock for its lifetime (when it could be taken) and removes the lock file on release.
class TFileLock {
public:
  explicit TFileLock(const QString &Path) : FPath(Path), FFd(LockFileBeside(Path)) {}
  ~TFileLock() { UnlockFileBeside(FFd, FPath, RemoveTheLockFile); }
  TFileLock(const TFileLock &) = delete;
  TFileLock &operator=(const TFileLock &) = delete;
  bool Locked() const { return FFd >= 0; }

private:
  QString FPath;
  int FFd;
};
