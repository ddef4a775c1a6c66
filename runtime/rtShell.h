#pragma once
// The desktop shell's "open" verb (ShellExecute) on this desktop, and the XDG desktop entries
// it and the class registry (rtRegistry.h) rely on.
//
// ShellExecute(owner, "open", file, ...) resolves `file` (white space trimmed at both ends):
//   "Notepad.exe" / "Notepad"  the desktop's text editor: the default application for
//                              text/plain, else the first known graphical editor on PATH;
//   "<id>.desktop"             the desktop entry with that id (what the class registry answers
//                              for a file type's open command);
//   a URL ("scheme:...")       handed to xdg-open;
//   an existing executable     started directly; any other existing file: xdg-open;
//   a bare name on PATH        started directly.
// Anything else launches nothing. Programs start detached; failures are not reported beyond
// the false result, which callers may ignore.

#include <QString>
#include <QStringList>
#include <functional>

class QObject;

// --- Desktop entries --------------------------------------------------------------------------
struct TDesktopEntry {
  QString Id; // "org.gnome.gedit.desktop"
  QString FilePath;
  QString Name;
  QStringList Exec; // program and arguments, field codes removed
  bool Terminal = false;
  bool Usable = false; // found, an application, not hidden, and its program exists
};

// $XDG_DATA_HOME/applications, then each $XDG_DATA_DIRS/applications.
QStringList XdgApplicationDirs();
// The mimeapps.list files, most important first.
QStringList XdgMimeAppsListFiles();
// Finds and reads a desktop entry by id ("a-b.desktop" also finds "a/b.desktop").
TDesktopEntry FindDesktopEntry(const QString &id);
// Splits an Exec value into arguments (quoting rules of the desktop entry specification) and
// drops the field codes (%f, %U, ...); "%%" becomes "%".
QStringList SplitDesktopExec(const QString &exec);
// Desktop ids registered as default for a MIME type, most preferred first: [Default
// Applications] of the mimeapps.list files, then [MIME Cache] of each mimeinfo.cache.
QStringList XdgDefaultApplications(const QString &mimeType);

// --- Launching --------------------------------------------------------------------------------
struct TShellLaunch {
  QString Program;
  QStringList Arguments;
  QString WorkingDirectory;
};

// Starts a program detached; answers whether it started. The default runs QProcess::startDetached.
using TShellLauncher = std::function<bool(const TShellLaunch &)>;
// Replaces the launcher (tests observe launches without starting programs); returns the old one.
// An empty launcher restores the default.
TShellLauncher SetShellLauncher(TShellLauncher launcher);

enum { SW_HIDE = 0, SW_SHOWNORMAL = 1 };

// Resolves what "open" on `file` would start; false when nothing can open it.
bool ResolveShellOpen(const QString &file, const QString &parameters, const QString &directory,
                      TShellLaunch &launch);
// The shell's "open" (other verbs launch nothing). `owner` and `show` are accepted for the
// callers' sake; windows of started programs are shown normally.
bool ShellExecute(QObject *owner, const QString &verb, const QString &file,
                  const QString &parameters, const QString &directory, int show);

// Replaces ShellExecute as a whole (tests see the exact request, before any resolution);
// returns the previous handler. An empty handler restores the built-in one.
using TShellExecuteHandler =
    std::function<bool(QObject *owner, const QString &verb, const QString &file,
                       const QString &parameters, const QString &directory, int show)>;
TShellExecuteHandler SetShellExecuteHandler(TShellExecuteHandler handler);
