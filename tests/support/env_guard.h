#pragma once
// Sets (or unsets) an environment variable for the life of the object, so a failed assertion
// cannot leave a changed environment to the tests that follow.

#include <QByteArray>
#include <QtGlobal>
#include <optional>

class TEnvGuard {
public:
  TEnvGuard(const char *name, std::optional<QByteArray> value) : FName(name)
  {
    if (qEnvironmentVariableIsSet(name))
      FOld = qgetenv(name);
    if (value)
      qputenv(name, *value);
    else
      qunsetenv(name);
  }
  ~TEnvGuard()
  {
    if (FOld)
      qputenv(FName, *FOld);
    else
      qunsetenv(FName);
  }
  TEnvGuard(const TEnvGuard &) = delete;
  TEnvGuard &operator=(const TEnvGuard &) = delete;

private:
  const char *FName;
  std::optional<QByteArray> FOld;
};
