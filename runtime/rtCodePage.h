#pragma once
// Conversions between UTF-16 and the 8-bit code pages the program stores text in.
//
// The system's 8-bit ("ANSI") code page is Windows-1252 on every machine, so that files written
// on one machine read the same on another. Encoding to 1252 never fails: a character the code
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

inline constexpr quint32 CP_ACP = 0;      // the system's 8-bit code page (Windows-1252 here)
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

// --- Any supported code page ------------------------------------------------------------------
// 0 and 1252 are Windows-1252, 65001 is UTF-8; other code pages are not available here and the
// conversion fails (ok = false, empty result).
bool IsCodePageSupported(quint32 codePage);
QByteArray EncodeCodePage(quint32 codePage, QStringView text, bool *ok = nullptr);
QString DecodeCodePage(quint32 codePage, QByteArrayView bytes, bool *ok = nullptr);
