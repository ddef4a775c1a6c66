#include "RichTextEd.h"
#include "rtErrorBox.h"

int main(int argc, char **argv)
{
  TApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Linewright"));
  SetApplicationTitle(QStringLiteral("Linewright"));

  TRichTextEd RichTextEd;
  RichTextEd.CommandLine = QApplication::arguments().mid(1);
  RichTextEd.show();
  return app.exec();
}
