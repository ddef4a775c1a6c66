#pragma once
// Reading files that a user's folder may hold in any form. Only a regular file is opened: a FIFO
// never blocks the reader (it is opened without waiting for a writer, then refused), a device
// such as /dev/zero is never read, and a link is followed to what it names and judged by that.
// What is read is bounded by the file's real size at the time it is opened.
//
// Failures: a missing, unreadable or non-regular file, or one larger than the caller's limit,
// opens nothing (-1, false, an empty mapping); nothing here blocks or reads without bound.

#include <QByteArray>
#include <QString>

class QFile;

// A read-only, close-on-exec descriptor of the regular file Path, or -1. Size (when given)
// gets its size.
int OpenRegularFile(const QString &Path, qint64 *Size = nullptr);

// Opens File (its name set) for reading in the same way; false, with File closed, otherwise.
bool OpenRegularFile(QFile &File);

// The whole of a regular file of at most Limit bytes; false (Bytes empty) otherwise.
bool ReadRegularFile(const QString &Path, qint64 Limit, QByteArray &Bytes);

// A read-only mapping of a whole regular file of at most Limit bytes, for readers that take
// their table straight from the file. A file another program replaces meanwhile keeps the
// mapped bytes: writers rename a new file into place rather than write over the old one.
class TMappedFile {
public:
  TMappedFile() = default;
  ~TMappedFile() { Close(); }
  TMappedFile(const TMappedFile &) = delete;
  TMappedFile &operator=(const TMappedFile &) = delete;

  bool Open(const QString &Path, qint64 Limit);
  void Close();
  const uchar *Data() const { return FData; }
  qint64 Size() const { return FSize; }

private:
  const uchar *FData = nullptr;
  qint64 FSize = 0;
};
