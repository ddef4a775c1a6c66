// The 8-bit code pages: Windows-1252's best fit, the user's ANSI code page from the locale, and
// the other Windows ANSI code pages through iconv.
#include "env_guard.h"
#include "print_qstring.h"
#include "rtCodePage.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

#include <optional>

TEST(CodePage, Windows1252BestFit)
{
  const struct {
    QString text;
    QByteArray expected;
  } cases[] = {
      {QStringLiteral("\u20AC\u2014\u0178"), "\x80\x97\x9F"}, // in the code page
      {QStringLiteral("\u0101"), "a"},                        // accent the code page lacks
      {QStringLiteral("\u1EA6"), "\xC2"},                     // keeps what accent it can
      {QStringLiteral("e\u0301"), "\xE9"},                    // composed first
      {QStringLiteral("\u2010\u2003"), "- "},
      {QStringLiteral("a\u200Bb\u0301"), "ab"},   // invisible and stray marks dropped
      {QStringLiteral("\uFF21\U0001D400"), "AA"}, // compatibility forms
      {QStringLiteral("\u65E5\uFB01"), "??"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(EncodeCodePage(CP_ACP, c.text), c.expected) << c.text.toStdString();
  EXPECT_EQ(DecodeCodePage(CP_ACP, "\x81\x8D\x8F\x90\x9D"),
            QStringLiteral("\u0081\u008D\u008F\u0090\u009D"));
}

TEST(CodePage, UserCodePageFollowsTheLocale)
{
  const struct {
    const char *locale;
    quint32 codePage;
  } cases[] = {
      {"C", 1252},           {"POSIX", 1252},       {"en_US.UTF-8", 1252},    {"de_DE@euro", 1252},
      {"ru_RU.UTF-8", 1251}, {"uk_UA", 1251},       {"sr_RS", 1251},          {"sr_RS@latin", 1250},
      {"pl_PL.UTF-8", 1250}, {"el_GR.UTF-8", 1253}, {"tr_TR", 1254},          {"he_IL.UTF-8", 1255},
      {"ar_EG.UTF-8", 1256}, {"fa_IR", 1256},       {"lt_LT", 1257},          {"vi_VN", 1258},
      {"th_TH.UTF-8", 874},  {"ja_JP.UTF-8", 932},  {"zh_CN.UTF-8", 936},     {"zh_TW.UTF-8", 950},
      {"zh_HK", 950},        {"ko_KR.EUC-KR", 949}, {"uz_UZ@cyrillic", 1251}, {"", 1252},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.locale);
    EXPECT_EQ(AnsiCodePageOfLocale(QString::fromLatin1(c.locale)), c.codePage);
  }
  // LC_ALL before LC_CTYPE before LANG.
  TEnvGuard all("LC_ALL", std::nullopt), ctype("LC_CTYPE", QByteArray("el_GR.UTF-8")),
      lang("LANG", QByteArray("ru_RU.UTF-8"));
  EXPECT_EQ(UserAnsiCodePage(), 1253u);
  TEnvGuard all2("LC_ALL", QByteArray("C"));
  EXPECT_EQ(UserAnsiCodePage(), 1252u);
}

TEST(CodePage, WindowsAnsiCodePagesRoundTripTheirScripts)
{
  const struct {
    quint32 codePage;
    QString text;     // all in the code page
    QByteArray bytes; // its first characters' bytes
  } cases[] = {
      {1250, QStringLiteral("\u0141\u00F3d\u017A \u0151"),
       "\xA3\xF3"
       "d"},
      {1251, QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442 \u0451\u0416"), "\xCF\xF0\xE8"},
      {1253, QStringLiteral("\u039A\u03B1\u03BB\u03B7\u03BC\u03AD\u03C1\u03B1"), "\xCA\xE1\xEB"},
      {1254, QStringLiteral("\u0130stanbul \u011F\u015F"), "\xDDst"},
      {1255, QStringLiteral("\u05E9\u05DC\u05D5\u05DD"), "\xF9\xEC\xE5"},
      {1256, QStringLiteral("\u0645\u0631\u062D\u0628\u0627"), "\xE3\xD1\xCD"},
      {1257, QStringLiteral("\u0100\u010D\u012B \u0161"), "\xC2\xE8\xEE"},
      {874, QStringLiteral("\u0E2A\u0E27\u0E31"), "\xCA\xC7\xD1"},
      {932, QStringLiteral("\u65E5\u672C\u3042"), "\x93\xFA\x96\x7B"},
      {936, QStringLiteral("\u4E2D\u6587"), "\xD6\xD0"},
      {949, QStringLiteral("\uD55C\uAD6D"), "\xC7\xD1"},
      {950, QStringLiteral("\u4E2D\u6587"), "\xA4\xA4"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.codePage);
    const QByteArray bytes = EncodeAnsiCodePage(c.codePage, c.text);
    EXPECT_TRUE(bytes.startsWith(c.bytes)) << bytes.toHex().toStdString();
    EXPECT_EQ(DecodeAnsiCodePage(c.codePage, bytes), c.text);
  }
}

TEST(CodePage, WindowsAnsiCodePagesSubstituteWhatTheyLack)
{
  const struct {
    quint32 codePage;
    QString text;
    QString roundTrip;
  } cases[] = {
      {1251, QStringLiteral("caf\u00E9 \u2014 \u03B1"),
       QStringLiteral("cafe \u2014 ?")}, // accent dropped, dash in 1251
      {1251, QStringLiteral("\u0435\u0308"), QStringLiteral("\u0451")},   // composed first
      {1253, QStringLiteral("\u0416\u200B\u00E9"), QStringLiteral("?e")}, // invisible dropped
      {1255, QStringLiteral("\u2003x\u65E5"), QStringLiteral(" x?")},
      {936, QStringLiteral("\u0416\U0001F600"), QStringLiteral("\u0416?")}, // Cyrillic in GBK
      {1251, QStringLiteral("\xD83D"), QStringLiteral("?")},                // unpaired surrogate
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.text.toStdString());
    EXPECT_EQ(DecodeAnsiCodePage(c.codePage, EncodeAnsiCodePage(c.codePage, c.text)), c.roundTrip);
  }
  // A byte the code page leaves undefined reads as the control of the same value.
  EXPECT_EQ(DecodeAnsiCodePage(1251, "\x98"), QStringLiteral("\u0098"));
  EXPECT_EQ(EncodeAnsiCodePage(1252, QStringLiteral("\u0101\u0416")), QByteArray("a?"));
  // Stored text (the dictionaries) keeps Windows-1252 whatever the locale.
  TEnvGuard all("LC_ALL", QByteArray("ru_RU.UTF-8"));
  EXPECT_EQ(EncodeCodePage(CP_ACP, QStringLiteral("\u0416")), QByteArray("?"));
  EXPECT_FALSE(IsCodePageSupported(1251));
}
