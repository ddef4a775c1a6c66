#include "rtFonts.h"

#include <QStringList>

QFont ClassicSansFont(int PointSize)
{
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"),
                    QStringLiteral("Liberation Sans")});
  font.setPointSize(PointSize);
  font.setStyleHint(QFont::SansSerif);
  return font;
}
