#include "ProgramEnd.h"
#include "RichTextEd.h"
#include "rtErrorBox.h"

#include <QIcon>

// The desktop entry's and icon's name, set by the install rules.
#ifndef LW_APP_ID
#define LW_APP_ID "org.linewright.Linewright"
#endif

int main(int argc, char **argv)
{
  TApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Linewright"));
  SetApplicationTitle(QStringLiteral("Linewright"));
  // Installed, the desktop ties the window to its entry and finds the icon in the icon theme.
  QGuiApplication::setDesktopFileName(QStringLiteral(LW_APP_ID));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(LW_APP_ID)));

  TRichTextEd RichTextEd;
  RichTextEd.CommandLine = QApplication::arguments().mid(1);
  // A logout, a shutdown or a closed terminal ends the program as its close button does.
  new TProgramEnd(RichTextEd);
  RichTextEd.show();
  return app.exec();
}
