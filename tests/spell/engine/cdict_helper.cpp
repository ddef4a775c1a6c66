// A second process for the custom dictionary tests: another program writing the same file, or
// a save that runs into a file-size limit part way through.
//
//   cdict_helper add-ignore <file> <word>...   adds the words and unloads (saving)
//   cdict_helper add-ignore-unprivileged ...    the same, but as user "nobody" when started by
//                                               the superuser, so that folder permissions bind
//   cdict_helper limited-save <file> <bytes> <count>
//        adds <count> generated words, then saves with files limited to <bytes>
//   cdict_helper save-each <file> <prefix> <count>
//        adds "<prefix><n>" for n = 0 .. count - 1, saving after every word
#include "wrCustomDictionary.h"

#include <QCoreApplication>
#include <QString>

#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

int main(int argc, char **argv)
{
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() >= 4 && args[1] == QLatin1String("add-ignore-unprivileged")) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
      return 3;
  }
  if (args.size() >= 4 && args[1].startsWith(QLatin1String("add-ignore"))) {
    TCustomDictionary dictionary;
    dictionary.SetFilename(args[2]);
    for (qsizetype i = 3; i < args.size(); ++i)
      if (!dictionary.AddIgnore(args[i]))
        return 2;
    dictionary.SetLoaded(false);
    return 0;
  }
  if (args.size() == 5 && args[1] == QLatin1String("limited-save")) {
    TCustomDictionary dictionary;
    dictionary.SetFilename(args[2]);
    const int count = args[4].toInt();
    for (int i = 0; i < count; ++i)
      dictionary.AddIgnore(QStringLiteral("limitword%1").arg(i));
    // Past the limit a write fails with EFBIG instead of killing the process.
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit;
    limit.rlim_cur = limit.rlim_max = rlim_t(args[3].toLongLong());
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
      return 3;
    dictionary.Save();
    return dictionary.Modified() ? 4 : 0;
  }
  if (args.size() == 5 && args[1] == QLatin1String("save-each")) {
    TCustomDictionary dictionary;
    dictionary.SetFilename(args[2]);
    const int count = args[4].toInt();
    for (int i = 0; i < count; ++i) {
      if (!dictionary.AddIgnore(args[3] + QString::number(i)))
        return 2;
      dictionary.Save();
    }
    return 0;
  }
  std::fprintf(
      stderr,
      "usage: cdict_helper add-ignore <file> <word>... | limited-save <file> <bytes> <count>\n");
  return 1;
}
