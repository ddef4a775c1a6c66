#include "rtAssert.h"

namespace {
std::string assertionText(const char *unit, const char *detail)
{
  std::string text = "Assertion failed";
  if (detail && *detail)
    text += std::string(": ") + detail;
  text += std::string(" (") + (unit ? unit : "") + ")";
  return text;
}
} // namespace

EAssertionFailed::EAssertionFailed(const char *unit, const char *detail)
    : std::logic_error(assertionText(unit, detail)), FUnit(unit ? unit : "")
{
}
