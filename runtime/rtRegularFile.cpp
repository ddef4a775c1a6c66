#include "rtRegularFile.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

int OpenRegularFile(const QString &Path, qint64 *Size)
{
  if (Path.isEmpty())
    return -1;
  const QByteArray path = QFile::encodeName(Path);
  // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer; fstat then refuses it.
  int fd;
  do
    fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  while (fd < 0 && errno == EINTR);
  if (fd < 0)
    return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  // Later reads of a regular file never block anyway; clear the flag for those who expect it.
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0)
    ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  if (Size)
    *Size = qint64(st.st_size);
  return fd;
}

bool OpenRegularFile(QFile &File)
{
  File.close();
  const int fd = OpenRegularFile(File.fileName());
  if (fd < 0)
    return false;
  if (!File.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    return false;
  }
  return true;
}

bool ReadRegularFile(const QString &Path, qint64 Limit, QByteArray &Bytes)
{
  Bytes.clear();
  qint64 size = 0;
  const int fd = OpenRegularFile(Path, &size);
  if (fd < 0)
    return false;
  bool ok = size <= Limit;
  if (ok) {
    // Read up to the size stat gave: a file that grows meanwhile is cut there, one that
    // shrinks ends early.
    Bytes.resize(size);
    qint64 done = 0;
    while (done < size) {
      const ssize_t n = ::read(fd, Bytes.data() + done, size_t(size - done));
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        break;
      done += n;
    }
    Bytes.truncate(done);
  }
  ::close(fd);
  if (!ok)
    Bytes.clear();
  return ok;
}

bool TMappedFile::Open(const QString &Path, qint64 Limit)
{
  Close();
  qint64 size = 0;
  const int fd = OpenRegularFile(Path, &size);
  if (fd < 0)
    return false;
  bool ok = size <= Limit;
  if (ok && size > 0) {
    void *at = ::mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE, fd, 0);
    ok = at != MAP_FAILED;
    if (ok) {
      FData = static_cast<const uchar *>(at);
      FSize = size;
    }
  }
  ::close(fd);
  return ok;
}

void TMappedFile::Close()
{
  if (FData)
    ::munmap(const_cast<uchar *>(FData), size_t(FSize));
  FData = nullptr;
  FSize = 0;
}
