// linewright-spell: the spell checker for editors (see SpellPipe.h).
#include "SpellPipe.h"

#include <QCoreApplication>

#include <unistd.h>

int main(int argc, char *argv[])
{
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("linewright-spell"));
  // The standard streams unbuffered and unseeked: the pipe does its own reading in blocks and
  // writes each answer whole.
  TDescriptorDevice in(STDIN_FILENO), out(STDOUT_FILENO), err(STDERR_FILENO);
  in.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
  out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  err.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  return RunSpellCommand(app.arguments().mid(1), in, out, err);
}
