#pragma once
// Programming errors (a call that breaks a precondition) raise EAssertionFailed; its message
// names the unit that detected the fault, e.g. "Assertion failed (wrUtil)".

#include <QString>
#include <stdexcept>
#include <string>

class EAssertionFailed : public std::logic_error {
public:
  EAssertionFailed(const char *unit, const char *detail = nullptr);
  // The unit named in the message ("wrUtil", "wrSpellBase", ...).
  const std::string &Unit() const { return FUnit; }
  QString Message() const { return QString::fromUtf8(what()); }

private:
  std::string FUnit;
};

// Throws EAssertionFailed naming `unit` unless `condition` holds.
inline void rtAssert(bool condition, const char *unit, const char *detail = nullptr)
{
  if (!condition)
    throw EAssertionFailed(unit, detail);
}
