#include "wrThesaurusFileLog.h"

Q_LOGGING_CATEGORY(lcThesaurusFile, "lw.thesaurus.file", QtWarningMsg)
