#include "toolSupport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

bool WriteOutputFile(const QString &Name, const QByteArray &Bytes, QString &Error)
{
  const QFileInfo info(Name);
  if (info.exists() && !info.isFile() && !info.isDir()) {
    QFile direct(Name);
    if (direct.open(QIODevice::WriteOnly) && direct.write(Bytes) == Bytes.size() && direct.flush())
      return true;
    Error = QStringLiteral("cannot write %1: %2").arg(Name, direct.errorString());
    return false;
  }
  QSaveFile out(Name);
  // The last bytes sit in QSaveFile's buffer until commit, which renames even when writing them
  // fails (a full disk replaced a good file with an empty one): flush them first, and check.
  bool ok = out.open(QIODevice::WriteOnly) && out.write(Bytes) == Bytes.size() && out.flush();
  if (ok && out.commit())
    return true;
  Error = QStringLiteral("cannot write %1: %2").arg(Name, out.errorString());
  out.cancelWriting();
  return false;
}

TToolParse ParseToolArguments(QCommandLineParser &Parser, const QStringList &Arguments,
                              int UsageExitCode, int &ExitCode)
{
  if (QCoreApplication::applicationVersion().isEmpty())
    QCoreApplication::setApplicationVersion(QStringLiteral(LW_VERSION));
  const QCommandLineOption help = Parser.addHelpOption();
  const QCommandLineOption version = Parser.addVersionOption();
  bool ok = Parser.parse(Arguments);
  if (ok && Parser.isSet(help)) {
    std::fputs(qPrintable(Parser.helpText()), stdout);
    ExitCode = 0;
    return tpExit;
  }
  if (ok && Parser.isSet(version)) {
    std::printf("%s %s\n", qPrintable(QCoreApplication::applicationName()),
                qPrintable(QCoreApplication::applicationVersion()));
    ExitCode = 0;
    return tpExit;
  }
  if (ok && !Parser.positionalArguments().isEmpty()) {
    ok = false;
    std::fprintf(stderr, "%s: unexpected argument '%s'\n",
                 qPrintable(QCoreApplication::applicationName()),
                 qPrintable(Parser.positionalArguments().constFirst()));
  } else if (!ok) {
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 qPrintable(Parser.errorText()));
  }
  if (!ok) {
    std::fputs(qPrintable(Parser.helpText()), stderr);
    ExitCode = UsageExitCode;
    return tpExit;
  }
  return tpRun;
}
