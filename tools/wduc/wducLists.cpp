#include "wducLists.h"

#include "rtCodePage.h"
#include "wrCustomDictionary.h"

#include <QFile>
#include <QList>

namespace {

QString ReasonRefused(TCustomDictionary &D, const TWducEntry &E)
{
  if (E.Word.isEmpty())
    return QStringLiteral("empty word");
  if (E.Word.contains(QChar(0)) || E.Correction.contains(QChar(0)))
    return QStringLiteral("the entry contains a zero character");
  if (E.Word.size() + E.Correction.size() > TCustomDictionary::MaxEntryUnits)
    return QStringLiteral("word and correction are longer than %1 characters")
        .arg(TCustomDictionary::MaxEntryUnits);
  QString correction;
  if (D.IgnoreExists(E.Word) || D.ExcludeExists(E.Word) || D.AutoCorrectExists(E.Word, correction))
    return QStringLiteral("\"%1\" is already in a list").arg(E.Word);
  return QStringLiteral("the entry does not fit an entry of the file");
}

} // namespace

QString ParseWducList(const QByteArray &Bytes, const QString &Name, char Kind,
                      std::vector<TWducEntry> &Entries)
{
  const QList<QByteArray> lines = Bytes.split('\n');
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString where = QStringLiteral("%1:%2").arg(Name).arg(i + 1);
    QString line = QString::fromUtf8(lines[i]).trimmed();
    if (i == 0 && line.startsWith(QChar(0xFEFF))) // byte-order mark of some editors
      line = line.mid(1).trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
      continue;
    TWducEntry e{Kind, line, QString(), where};
    if (Kind == TCustomDictionary::KindAutoCorrect) {
      const qsizetype arrow = line.indexOf(QLatin1String("->"));
      if (arrow < 0)
        return where + QStringLiteral(": expected \"misspelling -> correction\"");
      e.Word = line.left(arrow).trimmed();
      e.Correction = line.mid(arrow + 2).trimmed();
      if (e.Correction.isEmpty())
        return where + QStringLiteral(": empty correction");
    }
    if (e.Word.contains(QLatin1Char(' ')))
      return where + QStringLiteral(": \"%1\" is not a single word").arg(e.Word);
    Entries.push_back(e);
  }
  return QString();
}

QString ReadWducList(const QString &Path, char Kind, std::vector<TWducEntry> &Entries)
{
  QFile f(Path);
  if (!f.open(QIODevice::ReadOnly))
    return QStringLiteral("cannot read %1").arg(Path);
  return ParseWducList(f.readAll(), Path, Kind, Entries);
}

QByteArray EmptyWducFile(quint32 CodePage)
{
  QByteArray empty = TCustomDictionary::Banner(CodePage);
  empty.append('\0').append('\x1A').append(QByteArray(24, '\0'));
  return empty;
}

QString AddWducEntry(TCustomDictionary &D, const TWducEntry &E, quint32 CodePage)
{
  if (CodePage == CP_ACP) {
    // A 4.0 file stores a best-fit substitute for what Windows-1252 lacks; such a word would
    // not be found under its own spelling.
    for (const QString &text : {E.Word, E.Correction})
      if (DecodeWindows1252(EncodeWindows1252(text)) != text)
        return E.Where +
               QStringLiteral(": \"%1\" cannot be stored in a version 4.0 (Windows-1252) file")
                   .arg(text);
  }
  bool added = false;
  switch (E.Kind) {
  case TCustomDictionary::KindIgnore:
    added = D.AddIgnore(E.Word);
    break;
  case TCustomDictionary::KindExclude:
    added = D.AddExclude(E.Word);
    break;
  default:
    added = D.AddAutoCorrect(E.Word, E.Correction);
    break;
  }
  return added ? QString() : E.Where + QStringLiteral(": ") + ReasonRefused(D, E);
}

bool WducEntryReadsBack(TCustomDictionary &D, const TWducEntry &E)
{
  QString correction;
  switch (E.Kind) {
  case TCustomDictionary::KindIgnore:
    return D.IgnoreExists(E.Word);
  case TCustomDictionary::KindExclude:
    return D.ExcludeExists(E.Word);
  default:
    return D.AutoCorrectExists(E.Word, correction) && correction == E.Correction;
  }
}
