#pragma once
// The line clean-up commands, the plain-text conversion and the all-in-one pastes of the main
// window, written against the edit-window contract alone (no widgets: the unit is QtCore only and
// works on any TEditWindow) so that each main-window handler is one call.
//
// Every command that changes the text does so inside one edit block, so one Ctrl+Z brings back
// the text as it was before the command. Commands that rebuild the text replace it as a whole
// (undoable), the indent commands write back the lines they change; either way each command
// reads the text once and stays linear in its length, whatever the length of a line.

#include <QString>

class TEditWindow;

// --- Text helpers ---------------------------------------------------------------------------------
// Proper case for words separated by U+0020; only ASCII letters change case.
QString ToProperCase(const QString &s);

// --- Plain-text conversion --------------------------------------------------------------------------
// `keepText` is the text of the keep-option list (the checked item names joined by ","); an
// option is kept when its name occurs in it.
inline const QString DefaultKeepText = QStringLiteral("Apostrophes,Quotemarks,Commas");
QString StripUnkeptCharacters(const QString &text, const QString &keepText);
// `lost`, when given, receives how many characters the user's code page could not hold (each
// became "?"; characters it holds in another form, such as an accented letter's base letter,
// are not counted).
QString ConvertToPlainText(const QString &text, const QString &keepText, qsizetype *lost = nullptr);

// --- Commands on the editor -------------------------------------------------------------------------
void ConvertBarsToCrLf(TEditWindow &editor);       // "|" -> line break
void ConvertCommasToCrLf(TEditWindow &editor);     // "," -> line break
void ConvertDashesToCrLf(TEditWindow &editor);     // "-" -> line break
void ConvertSemicolonsToCrLf(TEditWindow &editor); // ";" -> line break
void ConvertCrLfToSemicolons(TEditWindow &editor); // line break -> ";"
void AddCrLfToPlusSigns(TEditWindow &editor);      // "+" -> "+" and a line break
void RemoveBlankLines(TEditWindow &editor);
void TrimLines(TEditWindow &editor);
void IndentLines(TEditWindow &editor); // lines 2+: "   "
void UnIndentLines(TEditWindow &editor);
void DashIndentLines(TEditWindow &editor); // lines 2+: " - ", or "   " before "("
void DashUnIndentLines(TEditWindow &editor);
// Proper case of the selected words throughout the text; stores the selection start in userSS.
void ProperCaseSelection(TEditWindow &editor, int &userSS);

// Convert to Plaintext: Arial 8 everywhere, the text through ConvertToPlainText, caret at 0.
// Answers how many characters could not be kept (see ConvertToPlainText).
qsizetype ConvertToPlaintextCommand(TEditWindow &editor, const QString &keepText);
// The plain/rich toggle of the editor: buttonDown is the toggle's state after the click. The
// window shows the formatting band and PlainTextCaption itself.
void TogglePlaintextRichtext(TEditWindow &editor, bool buttonDown, bool &plaintextOn);
QString PlainTextCaption(bool plaintextOn);
// Paste, convert, trim, drop blank lines and (the first one) dash-indent, as one undo step.
// Answer how many characters the conversion could not keep.
qsizetype AllInOneDashIndentPaste(TEditWindow &editor, const QString &keepText);
qsizetype AllInOneNoIndentPaste(TEditWindow &editor, const QString &keepText);
// What the window tells the user after a conversion that lost `lost` characters (empty for 0).
QString LostCharactersNotice(qsizetype lost);
