#include "wrEngineLog.h"

Q_LOGGING_CATEGORY(lcSpellEngine, "lw.spell.engine", QtWarningMsg)
