#include "wdmcHunspell.h"

#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

using TFlag = quint32;
using TFlags = std::vector<TFlag>; // sorted

bool hasFlag(const TFlags &flags, std::optional<TFlag> flag)
{
  return flag && std::binary_search(flags.begin(), flags.end(), *flag);
}

enum class TFlagMode { fmChar, fmLong, fmNum, fmUtf8 };

// One position of an affix condition: any character, or a (negated) set.
struct TCondition {
  bool any = true;
  bool negated = false;
  QString chars;
  bool Accepts(QChar c) const { return any || (chars.contains(c) != negated); }
};

struct TAffix {
  TFlag flag = 0;
  bool prefix = false;
  bool cross = false;
  QString strip, append;
  TFlags cont;
  std::vector<TCondition> condition;
};

QString affixText(const QString &s) { return s == QLatin1String("0") ? QString() : s; }

// Hunspell's names for some code pages differ from ICU's.
QByteArray codecName(const QString &set)
{
  QString name = set.trimmed();
  if (name.startsWith(QLatin1String("microsoft-cp"), Qt::CaseInsensitive))
    name = QStringLiteral("windows-") + name.mid(12);
  return name.toLatin1();
}

class TExpander {
public:
  bool Run(const QByteArray &dic, const QByteArray &aff, THunspellExpansion &result, QString &error,
           qsizetype maxWords);

private:
  bool decode(const QByteArray &bytes, const char *what, QString &text, QString &error) const;
  bool parseAffixFile(const QString &text, QString &error);
  bool parseFlags(const QString &s, TFlags &flags, bool aliases = true) const;
  std::optional<TFlag> singleFlag(const QString &s) const;
  bool parseCondition(const QString &s, std::vector<TCondition> &condition) const;
  QString removeIgnored(QString s) const;

  bool applies(const TAffix &a, const QString &word) const;
  bool tested(const TAffix &a, const QString &word); // applies, counted against the budget
  QString apply(const TAffix &a, const QString &word) const;
  bool excluded(const TAffix &a) const
  {
    return hasFlag(a.cont, FOnlyInCompound) || hasFlag(a.cont, FForbidden);
  }
  bool circumfix(const TAffix &a) const { return hasFlag(a.cont, FCircumfix); }
  bool needsAffix(const TAffix &a) const { return hasFlag(a.cont, FNeedAffix); }
  void expandStem(const QString &stem, const TFlags &flags);
  void addForm(const QString &form);

  QString FEncoding = QStringLiteral("ISO8859-1");
  TFlagMode FFlagMode = TFlagMode::fmChar;
  std::vector<TFlags> FAliases; // AF
  QString FIgnore;
  bool FFullStrip = false;
  std::optional<TFlag> FNeedAffix, FCircumfix, FForbidden, FOnlyInCompound;
  std::vector<TAffix> FAffixes;
  QHash<TFlag, std::vector<int>> FPrefixes, FSuffixes; // flag -> affix indexes

  QSet<QString> FWords;
  QSet<QString> FForbiddenWords;
  qsizetype FDropped = 0;
  qsizetype FMaxWords = 0;
  qsizetype FAttempts = 0; // forms generated, repeats included
  qsizetype FTests = 0;    // affix rules tested, whether or not they gave a form
  bool FTooMany = false;
};

bool TExpander::decode(const QByteArray &bytes, const char *what, QString &text,
                       QString &error) const
{
  QStringDecoder decoder(codecName(FEncoding).constData());
  if (!decoder.isValid()) {
    error = QStringLiteral("the affix file names an unknown encoding \"%1\" (SET)").arg(FEncoding);
    return false;
  }
  QByteArrayView view(bytes);
  if (view.startsWith("\xEF\xBB\xBF"))
    view = view.sliced(3);
  text = decoder(view);
  if (decoder.hasError()) {
    error = QStringLiteral("the %1 file is not valid %2 text (check SET in the affix file)")
                .arg(QLatin1String(what), FEncoding);
    return false;
  }
  return true;
}

std::optional<TFlag> TExpander::singleFlag(const QString &s) const
{
  // Affix tables and special flags name one flag, never an alias.
  TFlags flags;
  if (!parseFlags(s, flags, false) || flags.size() != 1)
    return std::nullopt;
  return flags.front();
}

bool TExpander::parseFlags(const QString &s, TFlags &flags, bool aliases) const
{
  flags.clear();
  if (aliases && !FAliases.empty() && !s.isEmpty() &&
      std::all_of(s.begin(), s.end(), [](QChar c) { return c.isDigit(); })) {
    const qsizetype n = s.toLongLong();
    if (n < 1 || n > qsizetype(FAliases.size()))
      return false;
    flags = FAliases[size_t(n - 1)];
    return true;
  }
  switch (FFlagMode) {
  case TFlagMode::fmChar:
    for (QChar c : s)
      flags.push_back(c.unicode());
    break;
  case TFlagMode::fmLong:
    if (s.size() % 2 != 0)
      return false;
    for (qsizetype i = 0; i < s.size(); i += 2)
      flags.push_back(TFlag(s[i].unicode()) << 16 | s[i + 1].unicode());
    break;
  case TFlagMode::fmNum:
    for (const QString &part : s.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
      bool ok = false;
      const uint v = part.toUInt(&ok);
      if (!ok)
        return false;
      flags.push_back(v);
    }
    break;
  case TFlagMode::fmUtf8:
    for (char32_t c : s.toUcs4())
      flags.push_back(c);
    break;
  }
  std::sort(flags.begin(), flags.end());
  flags.erase(std::unique(flags.begin(), flags.end()), flags.end());
  return true;
}

bool TExpander::parseCondition(const QString &s, std::vector<TCondition> &condition) const
{
  condition.clear();
  if (s == QLatin1String("."))
    return true;
  for (qsizetype i = 0; i < s.size(); ++i) {
    TCondition c;
    if (s[i] == QLatin1Char('[')) {
      const qsizetype close = s.indexOf(QLatin1Char(']'), i + 1);
      if (close < 0)
        return false;
      c.any = false;
      qsizetype from = i + 1;
      if (from < close && s[from] == QLatin1Char('^')) {
        c.negated = true;
        ++from;
      }
      c.chars = s.mid(from, close - from);
      i = close;
    } else if (s[i] != QLatin1Char('.')) {
      c.any = false;
      c.chars = s[i];
    }
    condition.push_back(c);
  }
  return true;
}

QString TExpander::removeIgnored(QString s) const
{
  for (QChar c : FIgnore)
    s.remove(c);
  return s;
}

bool TExpander::parseAffixFile(const QString &text, QString &error)
{
  const QStringList lines = text.split(QLatin1Char('\n'));
  static const QRegularExpression space(QStringLiteral("[ \t\r]+"));
  struct TOpen {
    TFlag flag;
    bool prefix;
    bool cross;
    int left;
  };
  std::optional<TOpen> open;
  int aliasesLeft = 0;
  // Directives are read in a first pass: FLAG and AF may follow the lines that use them.
  std::vector<std::pair<int, QStringList>> tableLines;
  for (int n = 0; n < lines.size(); ++n) {
    const QStringList f = lines[n].split(space, Qt::SkipEmptyParts);
    if (f.isEmpty() || f[0].startsWith(QLatin1Char('#')))
      continue;
    const QString &key = f[0];
    if (key == QLatin1String("FLAG") && f.size() > 1) {
      const QString mode = f[1].toLower();
      if (mode == QLatin1String("long"))
        FFlagMode = TFlagMode::fmLong;
      else if (mode == QLatin1String("num"))
        FFlagMode = TFlagMode::fmNum;
      else if (mode == QLatin1String("utf-8"))
        FFlagMode = TFlagMode::fmUtf8;
      else {
        error = QStringLiteral("affix file line %1: unknown FLAG type \"%2\"").arg(n + 1).arg(f[1]);
        return false;
      }
    } else if (key == QLatin1String("COMPLEXPREFIXES")) {
      error = QStringLiteral("affix file line %1: COMPLEXPREFIXES (right-to-left affixes) is not "
                             "supported")
                  .arg(n + 1);
      return false;
    } else if (key == QLatin1String("PFX") || key == QLatin1String("SFX") ||
               key == QLatin1String("AF") || key == QLatin1String("NEEDAFFIX") ||
               key == QLatin1String("PSEUDOROOT") || key == QLatin1String("CIRCUMFIX") ||
               key == QLatin1String("FORBIDDENWORD") || key == QLatin1String("ONLYINCOMPOUND") ||
               key == QLatin1String("IGNORE") || key == QLatin1String("FULLSTRIP")) {
      tableLines.emplace_back(n + 1, f);
    }
  }

  for (const auto &[line, f] : tableLines) {
    const QString &key = f[0];
    auto bad = [&, line = line](const QString &why) {
      error = QStringLiteral("affix file line %1: %2").arg(line).arg(why);
      return false;
    };
    if (aliasesLeft > 0) {
      if (key != QLatin1String("AF") || f.size() < 2)
        return bad(QStringLiteral("%1 more AF lines expected").arg(aliasesLeft));
      TFlags flags;
      if (!parseFlags(f[1], flags, false)) // alias lines hold flags, not alias numbers
        return bad(QStringLiteral("malformed flags \"%1\"").arg(f[1]));
      FAliases.push_back(flags);
      --aliasesLeft;
      continue;
    }
    if (open && open->left > 0) {
      if (key != QLatin1String(open->prefix ? "PFX" : "SFX") || f.size() < 4)
        return bad(QStringLiteral("%1 more %2 entries expected")
                       .arg(open->left)
                       .arg(QLatin1String(open->prefix ? "PFX" : "SFX")));
      if (singleFlag(f[1]) != open->flag)
        return bad(
            QStringLiteral("entry of flag \"%1\" inside the table of another flag").arg(f[1]));
      TAffix a;
      a.flag = open->flag;
      a.prefix = open->prefix;
      a.cross = open->cross;
      a.strip = removeIgnored(affixText(f[2]));
      QString append = f[3];
      const qsizetype slash = append.indexOf(QLatin1Char('/'));
      if (slash >= 0) {
        if (!parseFlags(append.mid(slash + 1), a.cont))
          return bad(
              QStringLiteral("malformed continuation flags \"%1\"").arg(append.mid(slash + 1)));
        append.truncate(slash);
      }
      a.append = removeIgnored(affixText(append));
      // A missing condition means any word (Dutch writes "SFX CA 0 /CaCp").
      if (!parseCondition(f.value(4, QStringLiteral(".")), a.condition))
        return bad(QStringLiteral("malformed condition \"%1\"").arg(f[4]));
      (a.prefix ? FPrefixes : FSuffixes)[a.flag].push_back(int(FAffixes.size()));
      FAffixes.push_back(std::move(a));
      --open->left;
      continue;
    }
    if (key == QLatin1String("PFX") || key == QLatin1String("SFX")) {
      bool ok = false;
      const int count = f.size() >= 4 ? f[3].toInt(&ok) : 0;
      const std::optional<TFlag> flag = f.size() >= 2 ? singleFlag(f[1]) : std::nullopt;
      if (f.size() < 4 || !ok || count < 0 || !flag ||
          (f[2] != QLatin1String("Y") && f[2] != QLatin1String("N")))
        return bad(QStringLiteral("malformed %1 table header").arg(key));
      open = TOpen{*flag, key == QLatin1String("PFX"), f[2] == QLatin1String("Y"), count};
    } else if (key == QLatin1String("AF")) {
      bool ok = false;
      aliasesLeft = f.size() >= 2 ? f[1].toInt(&ok) : 0;
      if (!ok || aliasesLeft < 0)
        return bad(QStringLiteral("malformed AF header"));
    } else if (key == QLatin1String("IGNORE")) {
      if (f.size() >= 2)
        FIgnore = f[1];
    } else if (key == QLatin1String("FULLSTRIP")) {
      FFullStrip = true;
    } else if (f.size() >= 2) {
      const std::optional<TFlag> flag = singleFlag(f[1]);
      if (!flag)
        return bad(QStringLiteral("malformed %1 flag \"%2\"").arg(key, f[1]));
      if (key == QLatin1String("NEEDAFFIX") || key == QLatin1String("PSEUDOROOT"))
        FNeedAffix = flag;
      else if (key == QLatin1String("CIRCUMFIX"))
        FCircumfix = flag;
      else if (key == QLatin1String("FORBIDDENWORD"))
        FForbidden = flag;
      else
        FOnlyInCompound = flag;
    }
  }
  if (aliasesLeft > 0 || (open && open->left > 0)) {
    error = QStringLiteral("affix file ends inside a table");
    return false;
  }
  return true;
}

bool TExpander::applies(const TAffix &a, const QString &word) const
{
  const qsizetype n = word.size();
  if (n < a.strip.size() || (n == a.strip.size() && !FFullStrip))
    return false;
  const qsizetype m = qsizetype(a.condition.size());
  if (n < m)
    return false;
  if (a.prefix) {
    if (!word.startsWith(a.strip))
      return false;
    for (qsizetype i = 0; i < m; ++i)
      if (!a.condition[size_t(i)].Accepts(word[i]))
        return false;
  } else {
    if (!word.endsWith(a.strip))
      return false;
    for (qsizetype i = 0; i < m; ++i)
      if (!a.condition[size_t(i)].Accepts(word[n - m + i]))
        return false;
  }
  return true;
}

// Nested rules that never give a form cost as much as those that do: each test counts (a 30 KB
// affix file with 1,000 stems ran 118 s uncounted). The budget is 64 tests for every word a
// dictionary may hold, a few seconds at most; en_AU makes 225,000 tests for its 167,000 forms.
constexpr qsizetype TestsPerWord = 64;

bool TExpander::tested(const TAffix &a, const QString &word)
{
  if (FTooMany || ++FTests > TestsPerWord * FMaxWords) {
    FTooMany = true;
    return false;
  }
  return applies(a, word);
}

QString TExpander::apply(const TAffix &a, const QString &word) const
{
  if (a.prefix)
    return a.append + word.mid(a.strip.size());
  return word.left(word.size() - a.strip.size()) + a.append;
}

void TExpander::addForm(const QString &form)
{
  // Rules that give the same forms over and over would otherwise keep the expansion busy for
  // ever without reaching the word limit; real dictionaries repeat a form less than twice.
  if (FTooMany || ++FAttempts > 16 * FMaxWords) {
    FTooMany = true;
    return;
  }
  if (form.isEmpty() ||
      std::any_of(form.begin(), form.end(), [](QChar c) { return c.isSpace(); })) {
    ++FDropped;
    return;
  }
  FWords.insert(form);
  if (FWords.size() > FMaxWords)
    FTooMany = true;
}

// Every form of one stem. A prefix and a suffix combine when both tables allow cross products
// and each affix is named either by the stem or by the other affix's continuation flags; a
// second suffix is named by the first suffix's continuation flags.
void TExpander::expandStem(const QString &stem, const TFlags &flags)
{
  if (hasFlag(flags, FForbidden)) {
    FForbiddenWords.insert(stem);
    return;
  }
  if (hasFlag(flags, FOnlyInCompound)) {
    ++FDropped;
    return;
  }
  if (!hasFlag(flags, FNeedAffix))
    addForm(stem);

  auto entries = [](const QHash<TFlag, std::vector<int>> &table, const TFlags &named,
                    std::vector<int> &out) {
    for (TFlag f : named) {
      const auto it = table.constFind(f);
      if (it != table.constEnd())
        out.insert(out.end(), it->begin(), it->end());
    }
  };

  // Prefixes alone, and the suffixes their continuation flags name.
  std::vector<int> prefixes;
  entries(FPrefixes, flags, prefixes);
  TFlags prefixConts;
  for (int pi : prefixes) {
    const TAffix &p = FAffixes[size_t(pi)];
    prefixConts.insert(prefixConts.end(), p.cont.begin(), p.cont.end());
    if (!excluded(p) && !circumfix(p) && !needsAffix(p) && tested(p, stem))
      addForm(apply(p, stem));
  }
  std::sort(prefixConts.begin(), prefixConts.end());
  prefixConts.erase(std::unique(prefixConts.begin(), prefixConts.end()), prefixConts.end());
  TFlags suffixFlags = flags;
  suffixFlags.insert(suffixFlags.end(), prefixConts.begin(), prefixConts.end());
  std::sort(suffixFlags.begin(), suffixFlags.end());
  suffixFlags.erase(std::unique(suffixFlags.begin(), suffixFlags.end()), suffixFlags.end());

  std::vector<int> suffixes;
  entries(FSuffixes, suffixFlags, suffixes);
  for (int si : suffixes) {
    if (FTooMany)
      return;
    const TAffix &s1 = FAffixes[size_t(si)];
    if (excluded(s1) || !tested(s1, stem))
      continue;
    const bool named = hasFlag(flags, s1.flag);
    const QString f1 = apply(s1, stem);
    if (named && !circumfix(s1) && !needsAffix(s1))
      addForm(f1);

    // With a prefix: one the stem or either suffix names; the suffix named by the stem or by
    // the prefix.
    auto suffixAllowedWith = [&](const TAffix &p) { return named || hasFlag(p.cont, s1.flag); };
    auto prefixesFor = [&](const QString &form, bool circ, const TFlags &extraConts) {
      if (!s1.cross)
        return;
      TFlags namedPrefixes = flags;
      namedPrefixes.insert(namedPrefixes.end(), s1.cont.begin(), s1.cont.end());
      namedPrefixes.insert(namedPrefixes.end(), extraConts.begin(), extraConts.end());
      std::sort(namedPrefixes.begin(), namedPrefixes.end());
      namedPrefixes.erase(std::unique(namedPrefixes.begin(), namedPrefixes.end()),
                          namedPrefixes.end());
      std::vector<int> candidates;
      entries(FPrefixes, namedPrefixes, candidates);
      for (int pi : candidates) {
        if (FTooMany)
          return;
        const TAffix &p = FAffixes[size_t(pi)];
        if (p.cross && !excluded(p) && circumfix(p) == circ && suffixAllowedWith(p) &&
            tested(p, form))
          addForm(apply(p, form));
      }
    };
    prefixesFor(f1, circumfix(s1), {});

    // A second suffix.
    std::vector<int> outer;
    entries(FSuffixes, s1.cont, outer);
    for (int oi : outer) {
      if (FTooMany)
        return;
      const TAffix &s2 = FAffixes[size_t(oi)];
      if (excluded(s2) || !tested(s2, f1))
        continue;
      const QString f2 = apply(s2, f1);
      const bool circ = circumfix(s1) || circumfix(s2);
      if (named && !circ && !needsAffix(s2))
        addForm(f2);
      if (s2.cross)
        prefixesFor(f2, circ, s2.cont);
    }
  }
}

bool TExpander::Run(const QByteArray &dic, const QByteArray &aff, THunspellExpansion &result,
                    QString &error, qsizetype maxWords)
{
  result = THunspellExpansion();
  FMaxWords = maxWords;
  // SET decides how both files are read; the line itself is ASCII in every encoding used.
  static const QRegularExpression setLine(QStringLiteral("(?:^|\n)SET[ \t]+([^ \t\r\n]+)"));
  const QRegularExpressionMatch m =
      setLine.match(QString::fromLatin1(aff.startsWith("\xEF\xBB\xBF") ? aff.mid(3) : aff));
  if (m.hasMatch())
    FEncoding = m.captured(1);
  QString affText, dicText;
  if (!decode(aff, "affix", affText, error) || !parseAffixFile(affText, error) ||
      !decode(dic, "dictionary", dicText, error))
    return false;

  QStringList lines = dicText.split(QLatin1Char('\n'));
  bool ok = false;
  // The count may be followed by a comment ("160502 # Produced by ...").
  if (lines.isEmpty() ||
      (lines.front().section(QLatin1Char(' '), 0, 0).trimmed().toLongLong(&ok), !ok)) {
    error = QStringLiteral("the dictionary file does not start with its word count");
    return false;
  }
  static const QRegularExpression morphology(QStringLiteral("[ \t][^ \t:]{2}:"));
  for (qsizetype n = 1; n < lines.size(); ++n) {
    QString entry = lines[n];
    if (entry.startsWith(QLatin1Char('\t')) || entry.startsWith(QLatin1Char('#')))
      continue; // comment lines
    const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
    if (tab >= 0)
      entry.truncate(tab);
    const QRegularExpressionMatch fields = morphology.match(entry);
    if (fields.hasMatch())
      entry.truncate(fields.capturedStart());
    entry = entry.trimmed();
    if (entry.isEmpty())
      continue;
    ++result.stems;
    // The flags follow the first "/" that is neither escaped nor the first character.
    QString stem, flagText;
    for (qsizetype i = 0; i < entry.size(); ++i) {
      if (entry[i] == QLatin1Char('\\') && i + 1 < entry.size() &&
          entry[i + 1] == QLatin1Char('/')) {
        stem += QLatin1Char('/');
        ++i;
      } else if (entry[i] == QLatin1Char('/') && i > 0) {
        flagText = entry.mid(i + 1);
        break;
      } else {
        stem += entry[i];
      }
    }
    TFlags flags;
    if (!parseFlags(flagText, flags)) {
      // Hunspell skips such an entry too (da_DK writes "A/S" unescaped under FLAG num).
      ++FDropped;
      continue;
    }
    expandStem(removeIgnored(stem), flags);
    if (FTooMany) {
      error = FWords.size() > FMaxWords
                  ? QStringLiteral("the dictionary expands to more than %1 words; a main "
                                   "dictionary holds at most that many (node references have "
                                   "20 bits)")
                        .arg(FMaxWords)
              : FTests > TestsPerWord * FMaxWords
                  ? QStringLiteral("the affix rules need more than %1 tests, mostly without a "
                                   "form")
                        .arg(TestsPerWord * FMaxWords)
                  : QStringLiteral("the affix rules give more than %1 forms, mostly repeats")
                        .arg(16 * FMaxWords);
      return false;
    }
  }
  for (const QString &w : std::as_const(FForbiddenWords))
    if (FWords.remove(w))
      ++FDropped;
  result.encoding = FEncoding;
  result.dropped = FDropped;
  result.words = QStringList(FWords.cbegin(), FWords.cend());
  return true;
}

bool readFile(const QString &name, QByteArray &data, QString &error)
{
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) {
    error = QStringLiteral("cannot read %1: %2").arg(name, file.errorString());
    return false;
  }
  data = file.readAll();
  return true;
}

} // namespace

bool ExpandHunspell(const QByteArray &dic, const QByteArray &aff, THunspellExpansion &result,
                    QString &error, qsizetype maxWords)
{
  TExpander expander;
  return expander.Run(dic, aff, result, error, maxWords);
}

bool ExpandHunspellFiles(const QString &dicFile, const QString &affFile, THunspellExpansion &result,
                         QString &error, qsizetype maxWords)
{
  QByteArray dic, aff;
  if (!readFile(dicFile, dic, error) || !readFile(affFile, aff, error))
    return false;
  if (!ExpandHunspell(dic, aff, result, error, maxWords)) {
    error = QStringLiteral("%1: %2").arg(dicFile, error);
    return false;
  }
  return true;
}
