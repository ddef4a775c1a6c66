#include "EnchantTags.h"

#include "wrUtil.h"

#include <QRegularExpression>

namespace {

struct TTagEntry {
  const char *Tag;
  quint32 Language;
};

// Generated from scripts/add-dictionary.sh's LANGUAGES table.
constexpr TTagEntry Tags[] = {
#include "EnchantTagTable.inc"
};

bool LooksLikeTag(const QString &Name)
{
  static const QRegularExpression tag(QStringLiteral("^[a-z]{2,3}(_[A-Z]{2,3})?$"));
  return tag.match(Name).hasMatch();
}

} // namespace

QString NormalizeEnchantTag(const QString &Tag)
{
  QString t = Tag;
  const qsizetype cut = t.indexOf(QRegularExpression(QStringLiteral("[.@]")));
  if (cut >= 0)
    t.truncate(cut);
  t.replace(u'-', u'_');
  const qsizetype sep = t.indexOf(u'_');
  if (sep < 0)
    return t.toLower();
  return t.left(sep).toLower() + u'_' + t.mid(sep + 1).toUpper();
}

QString EnchantTagFor(const QString &Filename, quint32 Language)
{
  QString name = ExtractFileName(Filename);
  if (name.endsWith(QStringLiteral(".wdm"), Qt::CaseInsensitive))
    name.chop(4);
  if (LooksLikeTag(name))
    return name;
  // Several tags share an identifier (de_BE and de_DE are both 1031): the one whose region is
  // the language's own ("de_DE") wins, then the first with a region.
  QString best;
  for (const TTagEntry &e : Tags) {
    if (e.Language != Language)
      continue;
    const QString tag = QString::fromLatin1(e.Tag);
    const qsizetype sep = tag.indexOf(u'_');
    if (sep < 0)
      continue;
    if (tag.mid(sep + 1).compare(tag.left(sep), Qt::CaseInsensitive) == 0)
      return tag;
    if (best.isEmpty())
      best = tag;
  }
  return best;
}
