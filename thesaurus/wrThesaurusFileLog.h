#pragma once
// The logging category of the thesaurus file reader, "lw.thesaurus.file". Silent by default: with
// QT_LOGGING_RULES="lw.*=true" it tells at info level why a file was refused or a save given up.
// Nothing here reaches the user.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcThesaurusFile)
