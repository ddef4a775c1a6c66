#pragma once
// Conversions between UTF-16 and the 8-bit code pages the program stores text in.
//
// Stored files use a fixed 8-bit ("ANSI") code page: CP_ACP is Windows-1252 on every machine,
// so that files written on one machine read the same on another. Text the user works with (the
// plain-text conversion) goes through the user's own code page instead, the Windows ANSI code
// page of the user's locale (UserAnsiCodePage), so that the user's script survives it.
//
// Windows-1252: Encoding to 1252 never fails: a character the code
// page cannot hold becomes its best-fit substitute (a letter with a diacritic its base letter,
// typographic dashes and spaces their ASCII forms, compatibility forms such as full-width or
// superscript letters their plain letter), invisible format characters and stray combining
// marks are dropped, and anything else becomes "?". Decoding maps every byte, the five bytes
// 1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) to the C1 control of the same value.
//
// UTF-8 encoding writes an unpaired surrogate as U+FFFD; decoding replaces malformed sequences
// with U+FFFD.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>

inline constexpr quint32 CP_ACP = 0; // the system's 8-bit code page (Windows-1252 here)
inline constexpr quint32 CP_WINDOWS_1252 = 1252;
inline constexpr quint32 CP_UTF8 = 65001;

// --- Windows-1252 ---------------------------------------------------------------------------
// True when the code unit has a byte of its own in Windows-1252 (no substitution needed).
bool IsWindows1252Char(char16_t c);
// The byte a single code point is written as: its own byte, its best fit or '?'; -1 when the
// character is dropped (invisible format characters, combining marks).
int Windows1252BestFit(char32_t codePoint);
QByteArray EncodeWindows1252(QStringView text);
QString DecodeWindows1252(QByteArrayView bytes);
char16_t Windows1252ToUnicode(unsigned char byte);

// --- UTF-8 -----------------------------------------------------------------------------------
QByteArray EncodeUtf8(QStringView text);
QString DecodeUtf8(QByteArrayView bytes);

// --- The user's code page ------------------------------------------------------------------------
// The Windows ANSI code page of a POSIX locale name (language[_territory][.codeset][@modifier]):
// Central European 1250, Cyrillic 1251 (also "sr", and "az"/"uz" with "@cyrillic"), Greek 1253,
// Turkish 1254, Hebrew 1255, Arabic script 1256, Baltic 1257, Vietnamese 1258, Thai 874,
// Japanese 932, simplified Chinese 936, Korean 949, traditional Chinese (TW, HK, MO) 950;
// C, POSIX, English and everything else Windows-1252.
quint32 AnsiCodePageOfLocale(QStringView localeName);
// The code page of the user's locale: LC_ALL, else LC_CTYPE, else LANG; Windows-1252 when none
// is set. Read on every call.
quint32 UserAnsiCodePage();
// Conversions through a Windows ANSI code page: 874, 932, 936, 949, 950 and 1250 to 1258 go
// through the C library's iconv, anything else is Windows-1252. Encoding never fails: a
// character the code page lacks becomes its Windows-1252 best fit where that is ASCII or in the
// code page, else its base letter, else "?" (invisible format characters and stray combining
// marks are dropped). Decoding maps a byte a single-byte page leaves undefined to the control
// character of the same value, a broken double-byte sequence to "?".
QByteArray EncodeAnsiCodePage(quint32 codePage, QStringView text);
QString DecodeAnsiCodePage(quint32 codePage, QByteArrayView bytes);

// --- Stored text: any supported code page --------------------------------------------------------
// 0 and 1252 are Windows-1252, 65001 is UTF-8; other code pages are not available here and the
// conversion fails (ok = false, empty result).
bool IsCodePageSupported(quint32 codePage);
QByteArray EncodeCodePage(quint32 codePage, QStringView text, bool *ok = nullptr);
QString DecodeCodePage(quint32 codePage, QByteArrayView bytes, bool *ok = nullptr);
