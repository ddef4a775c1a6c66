#pragma once
// Readable failures: GoogleTest prints a QString as UTF-8 in quotes, with CR, LF and tab escaped.

#include <QString>

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os)
{
  QString v = s;
  v.replace("\r", "\\r").replace("\n", "\\n").replace("\t", "\\t");
  *os << '"' << v.toStdString() << '"';
}
