// Helpers shared by the units of TWrightSpellBase (wrSpellBase*.cpp); not for other callers.
#pragma once

#include "wrUtil.h"

#include <QString>

namespace wrSpellBasePrivate {

// Rule choices look at the low byte of a Windows language identifier; 9 is English.
inline bool IsEnglish(quint32 Language) { return (Language & 0xFF) == 9; }

// A dictionary name inside a stored folder, with the stored names' separator.
inline QString JoinFolder(const QString &Folder, const QString &Name)
{
  return ExcludeTrailingPathDelimiter(Folder) + QLatin1Char('\\') + Name;
}

} // namespace wrSpellBasePrivate
