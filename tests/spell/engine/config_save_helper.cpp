// Helper process of the concurrent-save test: loads and saves its own section of one file
// again and again, and fails when a load does not find what its previous save wrote.
//
//   engine_util_save_helper <file> <section> <rounds>

#include "config_owner.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char **argv)
{
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 4)
    return 2;
  TTestConfigOwner owner;
  owner.Filename = args[1];
  owner.ID = args[2];
  const int rounds = args[3].toInt();
  for (int round = 1; round <= rounds; ++round) {
    TWrightConfig config;
    config.SetWrightSpell(&owner);
    const QString seen = config.GetConfigurationData(QStringLiteral("round"));
    const QString expected = round == 1 ? QString() : QString::number(round - 1);
    if (round > 1 && seen != expected) {
      std::fprintf(stderr, "%s: round %d found \"%s\", expected \"%s\"\n", qPrintable(owner.ID),
                   round, qPrintable(seen), qPrintable(expected));
      return 1;
    }
    config.SetConfigurationData(QStringLiteral("round"), QString::number(round));
    config.MainDictionaries().Add(owner.ID + QString::number(round) + QStringLiteral(".wdm"));
    config.SaveConfiguration();
  }
  return 0;
}
