#include "rtShell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {

QString homeDir() { return QDir::homePath(); }

QStringList envDirs(const char *name, const QString &fallback)
{
  QString value = qEnvironmentVariable(name);
  if (value.isEmpty())
    value = fallback;
  QStringList result;
  for (const QString &d : value.split(QLatin1Char(':'), Qt::SkipEmptyParts))
    result << d;
  return result;
}

QString dataHome()
{
  const QString v = qEnvironmentVariable("XDG_DATA_HOME");
  return v.isEmpty() ? homeDir() + QLatin1String("/.local/share") : v;
}

QString configHome()
{
  const QString v = qEnvironmentVariable("XDG_CONFIG_HOME");
  return v.isEmpty() ? homeDir() + QLatin1String("/.config") : v;
}

QStringList dataDirs()
{
  return envDirs("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
}

// Reads one group of a desktop-style key file: key -> value (unlocalised keys only).
QHash<QString, QString> readGroup(const QString &path, const QString &group)
{
  QHash<QString, QString> result;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
    return result;
  QTextStream in(&f);
  bool inGroup = false;
  while (!in.atEnd()) {
    const QString line = in.readLine().trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
      continue;
    if (line.startsWith(QLatin1Char('['))) {
      inGroup = line == QLatin1Char('[') + group + QLatin1Char(']');
      continue;
    }
    if (!inGroup)
      continue;
    const int eq = line.indexOf(QLatin1Char('='));
    if (eq <= 0)
      continue;
    const QString key = line.left(eq).trimmed();
    if (!result.contains(key))
      result.insert(key, line.mid(eq + 1).trimmed());
  }
  return result;
}

// Unescapes a desktop-entry string value (\s \n \t \r \\).
QString unescapeValue(const QString &v)
{
  QString r;
  for (int i = 0; i < v.size(); ++i) {
    if (v[i] == QLatin1Char('\\') && i + 1 < v.size()) {
      const QChar n = v[++i];
      if (n == QLatin1Char('s'))
        r += QLatin1Char(' ');
      else if (n == QLatin1Char('n'))
        r += QLatin1Char('\n');
      else if (n == QLatin1Char('t'))
        r += QLatin1Char('\t');
      else if (n == QLatin1Char('r'))
        r += QLatin1Char('\r');
      else
        r += n;
    } else
      r += v[i];
  }
  return r;
}

bool programExists(const QString &program)
{
  if (program.isEmpty())
    return false;
  if (program.contains(QLatin1Char('/'))) {
    const QFileInfo fi(program);
    return fi.isFile() && fi.isExecutable();
  }
  return !QStandardPaths::findExecutable(program).isEmpty();
}

TShellLauncher &launcher()
{
  static TShellLauncher l;
  return l;
}

TShellExecuteHandler &executeHandler()
{
  static TShellExecuteHandler h;
  return h;
}

bool defaultLaunch(const TShellLaunch &launch)
{
  return QProcess::startDetached(launch.Program, launch.Arguments, launch.WorkingDirectory);
}

// An entry's command line, wrapped in a terminal when the entry asks for one.
bool entryLaunch(const TDesktopEntry &entry, TShellLaunch &launch)
{
  if (!entry.Usable || entry.Exec.isEmpty())
    return false;
  QStringList cmd = entry.Exec;
  if (entry.Terminal) {
    const QString term = QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
    if (term.isEmpty())
      return false;
    cmd.prepend(QStringLiteral("-e"));
    cmd.prepend(term);
  }
  launch.Program = cmd.takeFirst();
  launch.Arguments = cmd;
  return true;
}

bool textEditorLaunch(TShellLaunch &launch)
{
  for (const QString &id : XdgDefaultApplications(QStringLiteral("text/plain"))) {
    if (entryLaunch(FindDesktopEntry(id), launch))
      return true;
  }
  static const char *const editors[] = {"gnome-text-editor", "gedit", "kate", "kwrite",
                                        "mousepad",          "pluma", "xed",  "featherpad",
                                        "leafpad",           "geany", "xedit"};
  for (const char *e : editors) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(e));
    if (!path.isEmpty()) {
      launch.Program = path;
      launch.Arguments.clear();
      return true;
    }
  }
  return false;
}

bool hasUrlScheme(const QString &s)
{
  const int colon = s.indexOf(QLatin1Char(':'));
  if (colon < 2) // "C:" style drive letters and empty schemes are not URLs
    return false;
  for (int i = 0; i < colon; ++i) {
    const QChar c = s[i];
    if (!(c.isLetterOrNumber() || c == QLatin1Char('+') || c == QLatin1Char('-') ||
          c == QLatin1Char('.')) ||
        c.unicode() > 0x7F)
      return false;
  }
  return s[0].isLetter();
}

} // namespace

QStringList XdgApplicationDirs()
{
  QStringList result{dataHome() + QLatin1String("/applications")};
  for (const QString &d : dataDirs())
    result << d + QLatin1String("/applications");
  return result;
}

QStringList XdgMimeAppsListFiles()
{
  QStringList desktops;
  for (const QString &d :
       qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
    desktops << d.toLower();
  QStringList dirs{configHome()};
  dirs << envDirs("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
  dirs << XdgApplicationDirs();
  QStringList result;
  for (const QString &dir : dirs) {
    for (const QString &desk : desktops)
      result << dir + QLatin1Char('/') + desk + QLatin1String("-mimeapps.list");
    result << dir + QLatin1String("/mimeapps.list");
  }
  return result;
}

QStringList SplitDesktopExec(const QString &exec)
{
  QStringList args;
  QString cur;
  bool inQuotes = false, have = false;
  for (int i = 0; i < exec.size(); ++i) {
    const QChar c = exec[i];
    if (inQuotes) {
      if (c == QLatin1Char('"'))
        inQuotes = false;
      else if (c == QLatin1Char('\\') && i + 1 < exec.size())
        cur += exec[++i];
      else
        cur += c;
    } else if (c == QLatin1Char('"')) {
      inQuotes = have = true;
    } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
      if (have)
        args << cur;
      cur.clear();
      have = false;
    } else {
      cur += c;
      have = true;
    }
  }
  if (have)
    args << cur;

  // Field codes: a lone code argument disappears, codes inside an argument are removed.
  QStringList result;
  for (const QString &a : args) {
    QString out;
    bool hadCode = false;
    for (int i = 0; i < a.size(); ++i) {
      if (a[i] == QLatin1Char('%') && i + 1 < a.size()) {
        ++i;
        if (a[i] == QLatin1Char('%'))
          out += QLatin1Char('%');
        else
          hadCode = true;
      } else
        out += a[i];
    }
    if (!(hadCode && out.isEmpty()))
      result << out;
  }
  return result;
}

TDesktopEntry FindDesktopEntry(const QString &id)
{
  TDesktopEntry entry;
  entry.Id = id;
  if (id.isEmpty() || id.contains(QLatin1Char('/')))
    return entry;
  for (const QString &dir : XdgApplicationDirs()) {
    QString path = dir + QLatin1Char('/') + id;
    if (!QFileInfo::exists(path)) {
      // "vendor-app.desktop" may live in "vendor/app.desktop".
      bool found = false;
      for (int i = id.indexOf(QLatin1Char('-')); i > 0 && !found;
           i = id.indexOf(QLatin1Char('-'), i + 1)) {
        QString candidate = id;
        candidate[i] = QLatin1Char('/');
        if (QFileInfo::exists(dir + QLatin1Char('/') + candidate)) {
          path = dir + QLatin1Char('/') + candidate;
          found = true;
        }
      }
      if (!found)
        continue;
    }
    const QHash<QString, QString> g = readGroup(path, QStringLiteral("Desktop Entry"));
    entry.FilePath = path;
    entry.Name = g.value(QStringLiteral("Name"));
    entry.Exec = SplitDesktopExec(unescapeValue(g.value(QStringLiteral("Exec"))));
    entry.Terminal =
        g.value(QStringLiteral("Terminal")).compare(QLatin1String("true"), Qt::CaseInsensitive) ==
        0;
    const bool hidden =
        g.value(QStringLiteral("Hidden")).compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    const QString type = g.value(QStringLiteral("Type"), QStringLiteral("Application"));
    const QString tryExec = unescapeValue(g.value(QStringLiteral("TryExec")));
    entry.Usable = !hidden && type == QLatin1String("Application") && !entry.Exec.isEmpty() &&
                   programExists(entry.Exec.first()) &&
                   (tryExec.isEmpty() || programExists(tryExec));
    return entry; // the first directory that has the id wins, usable or not
  }
  return entry;
}

QStringList XdgDefaultApplications(const QString &mimeType)
{
  QStringList result;
  auto addList = [&](const QString &value) {
    for (QString id : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
      id = id.trimmed();
      if (!id.isEmpty() && !result.contains(id))
        result << id;
    }
  };
  for (const QString &file : XdgMimeAppsListFiles())
    addList(readGroup(file, QStringLiteral("Default Applications")).value(mimeType));
  for (const QString &dir : XdgApplicationDirs())
    addList(readGroup(dir + QLatin1String("/mimeinfo.cache"), QStringLiteral("MIME Cache"))
                .value(mimeType));
  return result;
}

TShellLauncher SetShellLauncher(TShellLauncher l)
{
  TShellLauncher old = launcher();
  launcher() = std::move(l);
  return old;
}

bool ResolveShellOpen(const QString &fileIn, const QString &parameters, const QString &directory,
                      TShellLaunch &launch)
{
  launch = TShellLaunch();
  launch.WorkingDirectory = directory;
  const QString file = fileIn.trimmed();
  if (file.isEmpty())
    return false;
  const QStringList params =
      parameters.isEmpty() ? QStringList() : QProcess::splitCommand(parameters);

  if (file.compare(QLatin1String("notepad.exe"), Qt::CaseInsensitive) == 0 ||
      file.compare(QLatin1String("notepad"), Qt::CaseInsensitive) == 0) {
    if (!textEditorLaunch(launch))
      return false;
    launch.Arguments << params;
    return true;
  }
  if (!file.contains(QLatin1Char('/')) &&
      file.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive)) {
    if (!entryLaunch(FindDesktopEntry(file), launch))
      return false;
    launch.Arguments << params;
    return true;
  }
  const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (hasUrlScheme(file)) {
    if (xdgOpen.isEmpty())
      return false;
    launch.Program = xdgOpen;
    launch.Arguments = QStringList{file};
    return true;
  }
  const QFileInfo fi(QDir(directory.isEmpty() ? QDir::currentPath() : directory), file);
  if (file.contains(QLatin1Char('/')) && fi.exists()) {
    if (fi.isFile() && fi.isExecutable()) {
      launch.Program = fi.absoluteFilePath();
      launch.Arguments = params;
      return true;
    }
    if (xdgOpen.isEmpty())
      return false;
    launch.Program = xdgOpen;
    launch.Arguments = QStringList{fi.absoluteFilePath()};
    return true;
  }
  if (!file.contains(QLatin1Char('/'))) {
    const QString path = QStandardPaths::findExecutable(file);
    if (!path.isEmpty()) {
      launch.Program = path;
      launch.Arguments = params;
      return true;
    }
    if (fi.exists() && fi.isFile() && !xdgOpen.isEmpty()) {
      launch.Program = xdgOpen;
      launch.Arguments = QStringList{fi.absoluteFilePath()};
      return true;
    }
  }
  return false;
}

TShellExecuteHandler SetShellExecuteHandler(TShellExecuteHandler handler)
{
  TShellExecuteHandler old = executeHandler();
  executeHandler() = std::move(handler);
  return old;
}

bool ShellExecute(QObject *owner, const QString &verb, const QString &file,
                  const QString &parameters, const QString &directory, int show)
{
  if (const TShellExecuteHandler &h = executeHandler())
    return h(owner, verb, file, parameters, directory, show);
  if (!verb.isEmpty() && verb.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
    return false;
  TShellLaunch launch;
  if (!ResolveShellOpen(file, parameters, directory, launch))
    return false;
  const TShellLauncher &l = launcher();
  return l ? l(launch) : defaultLaunch(launch);
}
