#include "rtFileLock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray lockPath(const QString &Path)
{
  return QFile::encodeName(Path + QStringLiteral(".lock"));
}

} // namespace

int LockFileBeside(const QString &Path)
{
  const QByteArray path = lockPath(Path);
  for (;;) {
    // Never through a link, and only a regular file: a link planted there made a save create a
    // file wherever it pointed, and a FIFO would block the open.
    const int fd = ::open(path.constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0)
      return -1;
    struct stat opened;
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
      ::close(fd);
      return -1;
    }
    int r;
    do
      r = ::flock(fd, LOCK_EX);
    while (r != 0 && errno == EINTR);
    if (r != 0) {
      ::close(fd);
      return -1;
    }
    // The previous holder may have removed the file while this one waited for it.
    struct stat held, current;
    if (::fstat(fd, &held) == 0 && ::stat(path.constData(), &current) == 0 &&
        held.st_dev == current.st_dev && held.st_ino == current.st_ino)
      return fd;
    ::close(fd);
  }
}

void UnlockFileBeside(int Fd, const QString &Path, RemoveLockFile Remove)
{
  if (Fd < 0)
    return;
  // Removed while still held, so that no program locks the removed file unnoticed.
  if (Remove)
    ::unlink(lockPath(Path).constData());
  ::flock(Fd, LOCK_UN);
  ::close(Fd);
}

void RemoveStaleSaveFiles(const QString &Path)
{
  const QFileInfo target(Path);
  const QString prefix = target.fileName() + QLatin1Char('.');
  const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-60);
  const QDir folder = target.dir();
  for (const QFileInfo &f :
       folder.entryInfoList({prefix + QStringLiteral("??????")}, QDir::Files | QDir::Hidden)) {
    const QString tail = f.fileName().mid(prefix.size());
    const bool alphanumeric = std::all_of(tail.begin(), tail.end(), [](QChar c) {
      return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
    });
    if (alphanumeric && !f.isSymLink() && f.lastModified().toUTC() < before)
      QFile::remove(f.filePath());
  }
}
