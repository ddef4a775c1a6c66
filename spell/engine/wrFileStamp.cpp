#include "wrFileStamp.h"

#include "wrUtil.h"

#include <QFile>

#include <sys/stat.h>

namespace {

TFileStamp StampOf(const struct stat &st)
{
  return {qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec,
          qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec, qint64(st.st_size),
          quint64(st.st_ino)};
}

} // namespace

TFileStamp ReadFileStamp(const QString &Path)
{
  struct stat st;
  if (::stat(QFile::encodeName(NativePath(Path)).constData(), &st) != 0)
    return TFileStamp{-1, -1, -1, 0};
  return StampOf(st);
}

TFileStamp ReadFileStamp(int Fd)
{
  struct stat st;
  if (Fd < 0 || ::fstat(Fd, &st) != 0)
    return TFileStamp{-1, -1, -1, 0};
  return StampOf(st);
}
