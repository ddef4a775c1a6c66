#include "rtLog.h"

Q_LOGGING_CATEGORY(lcRuntime, "lw.runtime", QtWarningMsg)
