#pragma once
// What the dictionary and thesaurus builders share: their command lines and the writing of
// their outputs.
//
// WriteOutputFile writes Bytes to Name through a temporary file beside it that is renamed into
// place only once every byte is on disk, so a failed or interrupted build leaves the old file
// as it was (a full disk or a file size limit included: the buffered last bytes are flushed and
// checked before the rename). A device or pipe (/dev/null, /dev/stdout) is written as it is:
// renaming over it would replace it, for everyone when run as root. On failure it answers false
// with Error set to "cannot write NAME: reason".
//
// ParseToolArguments parses the tool's options (QCommandLineParser: "--name value" and
// "--name=value", and the tool's --help and --version). Help and version are printed to stdout
// and answer ToolExit with code 0; an unknown option, a missing value or a stray argument
// prints the message and the usage to stderr and answers ToolExit with UsageExitCode.

#include <QByteArray>
#include <QCommandLineParser>
#include <QString>

bool WriteOutputFile(const QString &Name, const QByteArray &Bytes, QString &Error);

enum TToolParse { tpRun, tpExit };
TToolParse ParseToolArguments(QCommandLineParser &Parser, const QStringList &Arguments,
                              int UsageExitCode, int &ExitCode);
