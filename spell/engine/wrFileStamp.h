#pragma once
// File stamps: whether a file changed since it was last read, without reading it.

#include <QString>
#include <QtGlobal>

// Identity of a file's last write: modification and inode-change times (ns), size and inode. A
// rename over the file changes the inode, a rewrite within the clock's resolution the size or the
// change time. A file that cannot be read answers {-1, -1, -1, 0}.
struct TFileStamp {
  qint64 time = 0;
  qint64 changeTime = 0; // inode change (permissions, links, renames)
  qint64 size = 0;
  quint64 inode = 0;
  bool operator==(const TFileStamp &) const = default;
};
TFileStamp ReadFileStamp(const QString &Path);
TFileStamp ReadFileStamp(int Fd); // an open descriptor; -1 answers as a file that cannot be read
