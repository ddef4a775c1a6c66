#include "wrRecycleBin.h"

#include "wrUtil.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::function<bool(const QString &)> &recycleConfirmation()
{
  static std::function<bool(const QString &)> confirm;
  return confirm;
}

} // namespace

void SetRecycleBinConfirmation(std::function<bool(const QString &)> confirm)
{
  recycleConfirmation() = std::move(confirm);
}

namespace {

bool makePrivateDir(const QByteArray &dir)
{
  if (::mkdir(dir.constData(), 0700) == 0)
    return true;
  struct stat st {};
  return errno == EEXIST && ::lstat(dir.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The trash directory for a file on device `dev`, and the prefix its info paths are relative to
// (empty: absolute paths).
bool findTrash(const QString &absPath, dev_t dev, QByteArray &trash, QString &relativeTo)
{
  const QString dataHome = GetShellFolder(CSIDL_APPDATA);
  if (!dataHome.isEmpty()) {
    QDir().mkpath(dataHome);
    struct stat st {};
    if (::stat(QFile::encodeName(dataHome).constData(), &st) == 0 && st.st_dev == dev) {
      trash = QFile::encodeName(dataHome + "/Trash");
      relativeTo.clear();
      return makePrivateDir(trash);
    }
  }
  // Another file system: the trash at the top of its mount.
  QString top = QFileInfo(absPath).absolutePath();
  for (;;) {
    const QString parent = QFileInfo(top).absolutePath();
    struct stat st {};
    if (parent == top || ::stat(QFile::encodeName(parent).constData(), &st) != 0 ||
        st.st_dev != dev)
      break;
    top = parent;
  }
  const QString uid = QString::number(getuid());
  const QString topPrefix = top == QLatin1String("/") ? QString() : top;
  // $top/.Trash/$uid, only when .Trash is a real sticky directory.
  struct stat st {};
  const QByteArray shared = QFile::encodeName(topPrefix + "/.Trash");
  if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
    trash = shared + "/" + uid.toLatin1();
    if (makePrivateDir(trash)) {
      relativeTo = topPrefix;
      return true;
    }
  }
  trash = QFile::encodeName(topPrefix + "/.Trash-" + uid);
  relativeTo = topPrefix;
  return makePrivateDir(trash);
}

} // namespace

bool DeleteToRecycleBin(const QString &FileName, bool Confirm)
{
  if (FileName.isEmpty())
    return false;
  const QString absPath = QFileInfo(NativePath(FileName)).absoluteFilePath();
  const QByteArray src = QFile::encodeName(absPath);
  struct stat st {};
  if (::lstat(src.constData(), &st) != 0)
    return false;
  if (Confirm && recycleConfirmation() && !recycleConfirmation()(FileName))
    return false;

  QByteArray trash;
  QString relativeTo;
  if (!findTrash(absPath, st.st_dev, trash, relativeTo))
    return false;
  const QByteArray filesDir = trash + "/files";
  const QByteArray infoDir = trash + "/info";
  if (!makePrivateDir(filesDir) || !makePrivateDir(infoDir))
    return false;

  QString originalPath = absPath;
  if (!relativeTo.isEmpty() && originalPath.startsWith(relativeTo + "/"))
    originalPath = originalPath.mid(relativeTo.size() + 1);
  const QByteArray info =
      "[Trash Info]\nPath=" + QUrl::toPercentEncoding(originalPath, "/") + "\nDeletionDate=" +
      QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
      "\n";

  const QByteArray baseName = QFile::encodeName(QFileInfo(absPath).fileName());
  for (int n = 1; n < 10000; ++n) {
    const QByteArray name = n == 1 ? baseName : baseName + "." + QByteArray::number(n);
    const QByteArray infoPath = infoDir + "/" + name + ".trashinfo";
    const QByteArray target = filesDir + "/" + name;
    // The info file is claimed first and exclusively; it reserves the name in files/.
    const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST)
        continue;
      return false;
    }
    struct stat existing {};
    if (::lstat(target.constData(), &existing) == 0) {
      ::close(fd);
      ::unlink(infoPath.constData());
      continue;
    }
    const bool written = ::write(fd, info.constData(), size_t(info.size())) == ssize_t(info.size());
    ::close(fd);
    if (written && ::rename(src.constData(), target.constData()) == 0)
      return true;
    ::unlink(infoPath.constData());
    return false;
  }
  return false;
}
