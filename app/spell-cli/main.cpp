// linewright-spell: the spell checker for editors (see SpellPipe.h).
#include "SpellPipe.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("linewright-spell"));
  QFile in, out, err;
  in.open(stdin, QIODevice::ReadOnly);
  out.open(stdout, QIODevice::WriteOnly);
  err.open(stderr, QIODevice::WriteOnly);
  const int code = RunSpellCommand(app.arguments().mid(1), in, out, err);
  out.flush();
  err.flush();
  return code;
}
