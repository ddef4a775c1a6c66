#include "rtCodePage.h"

#include <QChar>
#include <QList>
#include <array>
#include <cerrno>
#include <iconv.h>

namespace {

// Bytes 0x80..0x9F of Windows-1252; the undefined ones keep their C1 control, as Windows does.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98
};

constexpr int kDrop = -1;

// Best fits that Unicode decompositions do not give.
struct Fit {
  char32_t from;
  int to;
};
constexpr Fit kExplicitFits[] = {
    // dashes and minus signs
    {0x2010, '-'},
    {0x2011, '-'},
    {0x2012, '-'},
    {0x2015, '-'},
    {0x2043, '-'},
    {0x2212, '-'},
    {0xFE58, '-'},
    {0xFE63, '-'},
    {0xFF0D, '-'},
    // spaces
    {0x2000, ' '},
    {0x2001, ' '},
    {0x2002, ' '},
    {0x2003, ' '},
    {0x2004, ' '},
    {0x2005, ' '},
    {0x2006, ' '},
    {0x2007, ' '},
    {0x2008, ' '},
    {0x2009, ' '},
    {0x200A, ' '},
    {0x202F, ' '},
    {0x205F, ' '},
    {0x3000, ' '},
    // invisible format characters
    {0x00AD, 0xAD}, // soft hyphen is in the code page; listed so the loop below never drops it
    {0x200B, kDrop},
    {0x200C, kDrop},
    {0x200D, kDrop},
    {0x2060, kDrop},
    {0xFEFF, kDrop},
    // quotes and primes
    {0x02B9, '\''},
    {0x02BA, '"'},
    {0x02BC, '\''},
    {0x02C8, '\''},
    {0x02CB, '`'},
    {0x02CD, '_'},
    {0x201B, '\''},
    {0x201F, '"'},
    {0x2032, '\''},
    {0x2033, '"'},
    {0x2035, '`'},
    {0x2036, '"'},
    // punctuation and operators
    {0x2024, '.'},
    {0x2044, '/'},
    {0x2215, '/'},
    {0x2216, '\\'},
    {0x2217, '*'},
    {0x2219, 0xB7},
    {0x2223, '|'},
    {0x2236, ':'},
    {0x223C, '~'},
    {0x22C5, 0xB7},
    {0x2022, 0x95},
    // letters whose stroke or bar has no decomposition
    {0x0110, 'D'},
    {0x0111, 'd'},
    {0x0126, 'H'},
    {0x0127, 'h'},
    {0x0131, 'i'},
    {0x013F, 'L'},
    {0x0140, 'l'},
    {0x0141, 'L'},
    {0x0142, 'l'},
    {0x0166, 'T'},
    {0x0167, 't'},
    {0x0180, 'b'},
    {0x0189, 'D'},
    {0x0197, 'I'},
    {0x01B5, 'Z'},
    {0x01B6, 'z'},
    {0x01E4, 'G'},
    {0x01E5, 'g'},
    {0x0268, 'i'},
    {0x0289, 'u'},
};

// Encoding table: byte value, kDrop, or the flag for "not in the code page itself".
constexpr int kSubstituted = 0x200;

int directByte(char32_t cp)
{
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
    return int(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh1252[i] == cp)
      return 0x80 + i;
  return -1;
}

int explicitFit(char32_t cp, bool &found)
{
  for (const Fit &f : kExplicitFits)
    if (f.from == cp) {
      found = true;
      return f.to;
    }
  found = false;
  return 0;
}

char32_t firstCodePoint(const QString &s)
{
  if (s.isEmpty())
    return 0;
  if (s.size() >= 2 && QChar::isHighSurrogate(s[0].unicode()) &&
      QChar::isLowSurrogate(s[1].unicode()))
    return QChar::surrogateToUcs4(s[0], s[1]);
  return s[0].unicode();
}

int computeBestFit(char32_t cp)
{
  int b = directByte(cp);
  if (b >= 0)
    return b;
  bool found = false;
  int fit = explicitFit(cp, found);
  if (found)
    return fit;
  const char32_t original = cp;
  // Follow decompositions towards the base letter; the first representable step wins, so a
  // letter keeps as much of its accent as the code page can hold (U+1EA6 gives U+00C2).
  for (int depth = 0; depth < 8; ++depth) {
    const QString d = QChar::decomposition(cp);
    if (d.isEmpty())
      break;
    const QChar::Decomposition tag = QChar::decompositionTag(cp);
    const char32_t next = firstCodePoint(d);
    const bool single = d.size() == (next > 0xFFFF ? 2 : 1);
    if (tag != QChar::Canonical && !single)
      break; // ligatures and other multi-character forms have no one-byte fit
    cp = next;
    b = directByte(cp);
    if (b >= 0)
      return b;
    fit = explicitFit(cp, found);
    if (found)
      return fit;
  }
  const QChar::Category cat = QChar::category(original);
  if (cat == QChar::Mark_NonSpacing || cat == QChar::Mark_Enclosing)
    return kDrop;
  return '?';
}

struct EncodeTable {
  std::array<qint16, 65536> entry{};
  EncodeTable()
  {
    for (char32_t c = 0; c < 0x10000; ++c) {
      if (QChar::isSurrogate(c)) {
        entry[c] = '?' | kSubstituted;
        continue;
      }
      const int direct = directByte(c);
      if (direct >= 0) {
        entry[c] = qint16(direct);
        continue;
      }
      const int fit = computeBestFit(c);
      entry[c] = qint16((fit == kDrop ? 0x100 : fit) | kSubstituted);
    }
  }
};

const EncodeTable &encodeTable()
{
  static const EncodeTable table;
  return table;
}

void appendUtf8(QByteArray &out, char32_t cp)
{
  if (cp < 0x80) {
    out.append(char(cp));
  } else if (cp < 0x800) {
    out.append(char(0xC0 | (cp >> 6)));
    out.append(char(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.append(char(0xE0 | (cp >> 12)));
    out.append(char(0x80 | ((cp >> 6) & 0x3F)));
    out.append(char(0x80 | (cp & 0x3F)));
  } else {
    out.append(char(0xF0 | (cp >> 18)));
    out.append(char(0x80 | ((cp >> 12) & 0x3F)));
    out.append(char(0x80 | ((cp >> 6) & 0x3F)));
    out.append(char(0x80 | (cp & 0x3F)));
  }
}

// The code point at text[i] (U+FFFD for an unpaired surrogate) and the units it takes.
char32_t codePointAt(QStringView text, qsizetype i, int &units)
{
  const char16_t c = text[i].unicode();
  units = 1;
  if (QChar::isHighSurrogate(c)) {
    if (i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
      units = 2;
      return QChar::surrogateToUcs4(c, text[i + 1].unicode());
    }
    return 0xFFFD;
  }
  if (QChar::isLowSurrogate(c))
    return 0xFFFD;
  return c;
}

} // namespace

bool IsWindows1252Char(char16_t c) { return (encodeTable().entry[c] & kSubstituted) == 0; }

int Windows1252BestFit(char32_t codePoint)
{
  if (codePoint < 0x10000) {
    const int e = encodeTable().entry[codePoint] & 0x1FF;
    return e == 0x100 ? -1 : e;
  }
  if (codePoint > 0x10FFFF)
    return '?';
  return computeBestFit(codePoint);
}

char16_t Windows1252ToUnicode(unsigned char byte)
{
  return (byte >= 0x80 && byte < 0xA0) ? kHigh1252[byte - 0x80] : char16_t(byte);
}

QByteArray EncodeWindows1252(QStringView text)
{
  const EncodeTable &table = encodeTable();
  bool needsFit = false;
  for (QChar ch : text)
    if (table.entry[ch.unicode()] & kSubstituted) {
      needsFit = true;
      break;
    }
  QByteArray out;
  if (!needsFit) {
    out.resize(text.size());
    char *p = out.data();
    for (QChar ch : text)
      *p++ = char(table.entry[ch.unicode()]);
    return out;
  }
  // Compose first so that a letter followed by a combining accent finds its precomposed byte.
  const QString composed = text.toString().normalized(QString::NormalizationForm_C);
  out.reserve(composed.size());
  for (qsizetype i = 0; i < composed.size();) {
    const char16_t c = composed[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < composed.size() &&
        QChar::isLowSurrogate(composed[i + 1].unicode())) {
      const int fit = Windows1252BestFit(QChar::surrogateToUcs4(c, composed[i + 1].unicode()));
      if (fit >= 0)
        out.append(char(fit));
      i += 2;
      continue;
    }
    const int e = table.entry[c] & 0x1FF;
    if (e != 0x100)
      out.append(char(e));
    ++i;
  }
  return out;
}

QString DecodeWindows1252(QByteArrayView bytes)
{
  QString out(bytes.size(), Qt::Uninitialized);
  char16_t *p = reinterpret_cast<char16_t *>(out.data());
  for (char b : bytes)
    *p++ = Windows1252ToUnicode(static_cast<unsigned char>(b));
  return out;
}

QByteArray EncodeUtf8(QStringView text)
{
  QByteArray out;
  out.reserve(text.size() + text.size() / 2);
  for (qsizetype i = 0; i < text.size();) {
    int units = 1;
    appendUtf8(out, codePointAt(text, i, units));
    i += units;
  }
  return out;
}

QString DecodeUtf8(QByteArrayView bytes) { return QString::fromUtf8(bytes); }

// --- The user's code page --------------------------------------------------------------------------

namespace {

struct LocaleCodePage {
  const char *language;
  quint32 codePage;
};

// The ANSI code page Windows gives each language's default locale.
constexpr LocaleCodePage kLanguageCodePages[] = {
    // Central European
    {"cs", 1250},
    {"sk", 1250},
    {"pl", 1250},
    {"hu", 1250},
    {"sl", 1250},
    {"hr", 1250},
    {"bs", 1250},
    {"ro", 1250},
    {"sq", 1250},
    {"hsb", 1250},
    {"dsb", 1250},
    {"tk", 1250},
    // Cyrillic
    {"ru", 1251},
    {"uk", 1251},
    {"be", 1251},
    {"bg", 1251},
    {"mk", 1251},
    {"sr", 1251},
    {"kk", 1251},
    {"ky", 1251},
    {"tt", 1251},
    {"ba", 1251},
    {"mn", 1251},
    {"sah", 1251},
    {"tg", 1251},
    {"cv", 1251},
    {"os", 1251},
    // Greek, Turkish, Hebrew, Arabic, Baltic, Vietnamese, Thai
    {"el", 1253},
    {"tr", 1254},
    {"az", 1254},
    {"uz", 1254},
    {"he", 1255},
    {"iw", 1255},
    {"yi", 1255},
    {"ar", 1256},
    {"fa", 1256},
    {"ur", 1256},
    {"ps", 1256},
    {"ckb", 1256},
    {"et", 1257},
    {"lv", 1257},
    {"lt", 1257},
    {"vi", 1258},
    {"th", 874},
    // double-byte
    {"ja", 932},
    {"ko", 949},
};

bool IsSingleByteAnsi(quint32 codePage)
{
  return codePage == 874 || (codePage >= 1250 && codePage <= 1258);
}

bool IsIconvCodePage(quint32 codePage)
{
  return IsSingleByteAnsi(codePage) || codePage == 932 || codePage == 936 || codePage == 949 ||
         codePage == 950;
}

QByteArray IconvName(quint32 codePage) { return "CP" + QByteArray::number(codePage); }

// An iconv conversion held for one call.
class TIconv {
public:
  TIconv(const QByteArray &to, const QByteArray &from)
      : FCd(iconv_open(to.constData(), from.constData()))
  {
  }
  ~TIconv()
  {
    if (Valid())
      iconv_close(FCd);
  }
  TIconv(const TIconv &) = delete;
  TIconv &operator=(const TIconv &) = delete;
  bool Valid() const { return FCd != iconv_t(-1); }
  // Converts in[pos..] and appends to out; stops at the first sequence it cannot convert and
  // answers false there (pos points at it). The shift state is reset first.
  bool Convert(const QByteArray &in, qsizetype &pos, QByteArray &out)
  {
    iconv(FCd, nullptr, nullptr, nullptr, nullptr);
    char buffer[4096];
    char *src = const_cast<char *>(in.constData()) + pos;
    size_t srcLeft = size_t(in.size() - pos);
    bool ok = true;
    while (srcLeft > 0) {
      char *dst = buffer;
      size_t dstLeft = sizeof buffer;
      const size_t r = iconv(FCd, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, qsizetype(dst - buffer));
      if (r == size_t(-1) && errno != E2BIG) {
        ok = false;
        break;
      }
    }
    if (ok) { // flush a final shift sequence
      char *dst = buffer;
      size_t dstLeft = sizeof buffer;
      iconv(FCd, nullptr, nullptr, &dst, &dstLeft);
      out.append(buffer, qsizetype(dst - buffer));
    }
    pos = qsizetype(src - in.constData());
    return ok;
  }

private:
  iconv_t FCd;
};

int Utf8SequenceLength(unsigned char lead)
{
  return lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// The bytes of a character the code page lacks: the Windows-1252 best fit when that is ASCII or
// in the code page, else the base letter of its decomposition, else "?"; empty when the
// character is dropped.
QByteArray Substitute(TIconv &cd, char32_t cp)
{
  const int fit = Windows1252BestFit(cp);
  if (fit < 0)
    return QByteArray();
  if (fit < 0x80)
    return QByteArray(1, char(fit));
  auto tryEncode = [&cd](const QString &s, QByteArray &out) {
    const QByteArray utf8 = s.toUtf8();
    qsizetype pos = 0;
    return cd.Convert(utf8, pos, out);
  };
  QByteArray out;
  if (tryEncode(QString(QChar(Windows1252ToUnicode(uchar(fit)))), out))
    return out;
  const QString decomposed = QString::fromUcs4(&cp, 1).normalized(QString::NormalizationForm_D);
  if (!decomposed.isEmpty() && decomposed.at(0).unicode() != cp) {
    out.clear();
    if (tryEncode(decomposed.left(1), out))
      return out;
  }
  return QByteArrayLiteral("?");
}

QByteArray EncodeIconv(quint32 codePage, QStringView text)
{
  TIconv cd(IconvName(codePage), "UTF-8");
  if (!cd.Valid())
    return EncodeWindows1252(text);
  // Composed first, so a letter followed by a combining accent finds its precomposed byte;
  // unpaired surrogates become U+FFFD and then "?".
  const QByteArray in = text.toString().normalized(QString::NormalizationForm_C).toUtf8();
  QByteArray out;
  out.reserve(in.size());
  qsizetype pos = 0;
  while (!cd.Convert(in, pos, out)) {
    const int len = qMin<qsizetype>(Utf8SequenceLength(uchar(in[pos])), in.size() - pos);
    const QString ch = QString::fromUtf8(in.constData() + pos, len);
    const char32_t cp = ch.isEmpty() ? U'?' : ch.toUcs4().value(0, U'?');
    out.append(Substitute(cd, cp));
    pos += len;
  }
  return out;
}

QString DecodeIconv(quint32 codePage, QByteArrayView bytes)
{
  TIconv cd("UTF-8", IconvName(codePage));
  if (!cd.Valid())
    return DecodeWindows1252(bytes);
  const QByteArray in = bytes.toByteArray();
  QByteArray out;
  out.reserve(in.size() * 2);
  qsizetype pos = 0;
  // A byte the code page leaves undefined reads as the control character of the same value
  // (single-byte pages) or "?" (a broken double-byte sequence).
  while (!cd.Convert(in, pos, out)) {
    const uchar b = uchar(in[pos]);
    out.append(IsSingleByteAnsi(codePage) ? QString(QChar(b)).toUtf8() : QByteArrayLiteral("?"));
    ++pos;
  }
  return QString::fromUtf8(out);
}

} // namespace

quint32 AnsiCodePageOfLocale(QStringView localeName)
{
  // language[_territory][.codeset][@modifier]
  QStringView name = localeName;
  QStringView modifier;
  if (const qsizetype at = name.indexOf(u'@'); at >= 0) {
    modifier = name.mid(at + 1);
    name = name.left(at);
  }
  if (const qsizetype dot = name.indexOf(u'.'); dot >= 0)
    name = name.left(dot);
  QStringView territory;
  if (const qsizetype bar = name.indexOf(u'_'); bar >= 0) {
    territory = name.mid(bar + 1);
    name = name.left(bar);
  }
  const QString language = name.toString().toLower();
  if (language == u"zh") {
    // Traditional script where it is the custom, simplified elsewhere.
    const bool traditional = territory.compare(u"TW", Qt::CaseInsensitive) == 0 ||
                             territory.compare(u"HK", Qt::CaseInsensitive) == 0 ||
                             territory.compare(u"MO", Qt::CaseInsensitive) == 0;
    return traditional ? 950 : 936;
  }
  // Serbian, Azeri and Uzbek come in both scripts; the modifier names the other one.
  if (modifier.compare(u"latin", Qt::CaseInsensitive) == 0 && language == u"sr")
    return 1250;
  if (modifier.compare(u"cyrillic", Qt::CaseInsensitive) == 0 &&
      (language == u"az" || language == u"uz"))
    return 1251;
  for (const LocaleCodePage &entry : kLanguageCodePages)
    if (language == QLatin1String(entry.language))
      return entry.codePage;
  return CP_WINDOWS_1252; // C, POSIX, English and the other Western European languages
}

quint32 UserAnsiCodePage()
{
  // The locale of the character type, as the C library takes it from the environment.
  for (const char *variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty())
      return AnsiCodePageOfLocale(value);
  }
  return CP_WINDOWS_1252;
}

QByteArray EncodeAnsiCodePage(quint32 codePage, QStringView text)
{
  return IsIconvCodePage(codePage) ? EncodeIconv(codePage, text) : EncodeWindows1252(text);
}

QString DecodeAnsiCodePage(quint32 codePage, QByteArrayView bytes)
{
  return IsIconvCodePage(codePage) ? DecodeIconv(codePage, bytes) : DecodeWindows1252(bytes);
}

bool IsCodePageSupported(quint32 codePage)
{
  return codePage == CP_ACP || codePage == CP_WINDOWS_1252 || codePage == CP_UTF8;
}

QByteArray EncodeCodePage(quint32 codePage, QStringView text, bool *ok)
{
  if (ok)
    *ok = IsCodePageSupported(codePage);
  if (codePage == CP_UTF8)
    return EncodeUtf8(text);
  if (codePage == CP_ACP || codePage == CP_WINDOWS_1252)
    return EncodeWindows1252(text);
  return QByteArray();
}

QString DecodeCodePage(quint32 codePage, QByteArrayView bytes, bool *ok)
{
  if (ok)
    *ok = IsCodePageSupported(codePage);
  if (codePage == CP_UTF8)
    return DecodeUtf8(bytes);
  if (codePage == CP_ACP || codePage == CP_WINDOWS_1252)
    return DecodeWindows1252(bytes);
  return QString();
}
