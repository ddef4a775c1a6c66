#include "LineCommands.h"

#include "rtCodePage.h"
#include "rtEditWindow.h"
#include "rtText.h"

#include <utility>
#include <vector>

namespace {

const QString CrLf = QStringLiteral("\r\n");

inline bool IsWhite(QChar c) { return c.unicode() <= 0x20; }

// White space is every code unit from U+0000 to U+0020.
QString TrimWhite(const QString &s)
{
  qsizetype b = 0, e = s.size();
  while (b < e && IsWhite(s[b]))
    ++b;
  while (e > b && IsWhite(s[e - 1]))
    --e;
  return (b == 0 && e == s.size()) ? s : s.mid(b, e - b);
}

QString TrimWhiteRight(const QString &s)
{
  qsizetype e = s.size();
  while (e > 0 && IsWhite(s[e - 1]))
    --e;
  return e == s.size() ? s : s.left(e);
}

// The line list of a text: Count entries, the empty line after a final break not counted
// (an empty text has none). Only CR and LF count: GetText gives every break as CR LF.
QStringList Lines(const QString &text) { return SplitLines(text, lbCrLfOnly); }

// CR LF, a lone CR and a lone LF each become CR LF.
QString BreaksToCrLf(const QString &text) { return ReplaceLineBreaks(text, CrLf, lbCrLfOnly); }

// What every command that changes the text runs inside: one undo step for everything the
// command does, also when it is abandoned by an error. The editor's edit block also keeps a long
// rebuilt text from being laid out synchronously (see the rich-text adapter).
class TCommandEdit {
public:
  explicit TCommandEdit(TEditWindow &editor) : FEditor(editor) { FEditor.BeginEditBlock(); }
  ~TCommandEdit() { FEditor.EndEditBlock(); }
  TCommandEdit(const TCommandEdit &) = delete;
  TCommandEdit &operator=(const TCommandEdit &) = delete;

private:
  TEditWindow &FEditor;
};

// Replaces the whole text as one undoable edit.
void ReplaceWholeText(TEditWindow &editor, const QString &text)
{
  TCommandEdit edit(editor);
  editor.SetTextEx(text, true);
}

// Upper case that maps each character to one character of the same length (the simple case
// mapping), so that positions found in the upper-cased copy are positions in the original.
QString SameLengthUpper(const QString &s)
{
  QString r = s;
  QChar *d = r.data();
  const qsizetype n = r.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = d[i];
    if (c.unicode() < 0x80) {
      d[i] = AsciiUpper(c);
    } else if (c.isHighSurrogate() && i + 1 < n && d[i + 1].isLowSurrogate()) {
      const char32_t up = QChar::toUpper(QChar::surrogateToUcs4(c, d[i + 1]));
      if (QChar::requiresSurrogates(up)) {
        d[i] = QChar(QChar::highSurrogate(up));
        d[i + 1] = QChar(QChar::lowSurrogate(up));
      }
      ++i;
    } else if (!c.isSurrogate()) {
      const char32_t up = QChar::toUpper(char32_t(c.unicode()));
      if (!QChar::requiresSurrogates(up))
        d[i] = QChar(char16_t(up));
    }
  }
  return r;
}

// Every occurrence of `what`, matched without regard to letter case, replaced by `by`.
QString ReplaceIgnoringCase(const QString &text, const QString &what, const QString &by)
{
  if (what.isEmpty())
    return text;
  const QString upperText = SameLengthUpper(text);
  const QString upperWhat = SameLengthUpper(what);
  QString r;
  r.reserve(text.size() + qMax<qsizetype>(0, by.size() - what.size()) * 16);
  qsizetype from = 0;
  for (;;) {
    const qsizetype at = upperText.indexOf(upperWhat, from);
    if (at < 0)
      break;
    r.append(QStringView(text).mid(from, at - from));
    r += by;
    from = at + what.size();
  }
  r.append(QStringView(text).mid(from));
  return r;
}

// Room for the lines each followed by CR LF, and one CR LF more.
qsizetype JoinedSize(const QStringList &lines)
{
  qsizetype size = 2;
  for (const QString &l : lines)
    size += l.size() + 2;
  return size;
}

// Lines joined by CR LF, with a final CR LF when finalBreak.
QString JoinLines(const QStringList &lines, bool finalBreak)
{
  QString r;
  r.reserve(JoinedSize(lines));
  for (qsizetype i = 0; i < lines.size(); ++i) {
    if (i > 0)
      r += CrLf;
    r += lines[i];
  }
  if (finalBreak && !lines.isEmpty())
    r += CrLf;
  return r;
}

bool EndsWithBreak(const QString &text)
{
  return !text.isEmpty() && IsLineBreak(text.back(), lbCrLfOnly);
}

// Trim: every line trimmed at both ends and followed by CR LF, then one more CR LF.
QString TrimmedText(const QStringList &lines)
{
  QString r;
  r.reserve(JoinedSize(lines));
  for (const QString &l : lines) {
    r += TrimWhite(l);
    r += CrLf;
  }
  r += CrLf;
  return r;
}

// Remove blank lines: non-blank lines trimmed right and followed by CR LF, then one more CR LF.
QString BlankLinesRemovedText(const QStringList &lines)
{
  QString r;
  r.reserve(JoinedSize(lines));
  for (const QString &l : lines) {
    const QString t = TrimWhiteRight(l);
    if (!t.isEmpty()) {
      r += t;
      r += CrLf;
    }
  }
  r += CrLf;
  return r;
}

QString DashIndented(const QString &line)
{
  return (line.startsWith(u'(') ? QStringLiteral("   ") : QStringLiteral(" - ")) + line;
}

// Rewrites lines 1 to Count - 1 that `change` alters, one write-back per changed line, all in
// one edit. The text is read once, so the command stays linear in the text's length.
template <class Change>
void RewriteLinesAfterFirst(TEditWindow &editor, Change change)
{
  if (editor.LinesCount() < 2)
    return;
  const QStringList lines = Lines(editor.GetText());
  std::vector<std::pair<int, QString>> changed;
  QString out;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    if (change(lines[i], out))
      changed.emplace_back(int(i), std::move(out));
  }
  if (changed.empty())
    return;
  TCommandEdit edit(editor);
  for (const auto &[line, text] : changed)
    editor.SetLineText(line, text);
}

// Lines 1 to Count - 1 that start with `prefix` lose it.
void RemovePrefixAfterFirst(TEditWindow &editor, const QString &prefix)
{
  RewriteLinesAfterFirst(editor, [&prefix](const QString &line, QString &out) {
    if (!line.startsWith(prefix))
      return false;
    out = line.mid(prefix.size());
    return true;
  });
}

void ReplaceInText(TEditWindow &editor, const QString &what, const QString &by)
{
  if (editor.LinesCount() == 0)
    return;
  QString text = editor.GetText();
  text.replace(what, by);
  ReplaceWholeText(editor, text);
}

// Steps 1 to 4 of Convert to Plaintext with the converted text already at hand; called inside
// the command's edit block.
void PutPlainText(TEditWindow &editor, const QString &text)
{
  const QString arial = QStringLiteral("Arial");
  // The new font is set while the editor is empty: setting it on the old text would lay that
  // text out again (seconds on a long text) only for it to be replaced.
  editor.SetTextEx(QString(), true);
  TCharAttributes def = editor.GetDefAttributes();
  def.Name = arial;
  def.Size = 8;
  editor.SetDefAttributes(def);
  // A whole-text set drops every character format, so each character already has the default
  // attributes just set. Only a default that keeps a style needs the pass over the whole text
  // (on 5 MB of prose 13 % of the command).
  editor.SetTextEx(text, true);
  editor.SelectAll();
  if (!def.Style.IsEmpty()) {
    TCharAttributes sel = editor.GetSelAttributes();
    sel.Name = arial;
    sel.Size = 8;
    sel.Style = {};
    editor.SetSelAttributes(sel);
  }
  editor.SetSelLength(0);
  editor.Repaint();
}

qsizetype AllInOnePaste(TEditWindow &editor, const QString &keepText, bool dashIndent)
{
  TCommandEdit edit(editor);
  editor.PasteFromClipboard();
  qsizetype lost = 0;
  QString text = ConvertToPlainText(editor.GetText(), keepText, &lost);
  // Trim, remove blank lines and indent on the text the editor would hold after each step,
  // then put the result in once: each step would replace the whole text anyway.
  if (!text.isEmpty()) {
    text = TrimmedText(Lines(text));
    text = BlankLinesRemovedText(Lines(text));
    if (dashIndent) {
      QStringList lines = Lines(text);
      if (lines.size() >= 3) {
        // Lines 1 to Count - 2; the last one is the empty line the previous step appended.
        for (qsizetype i = 1; i + 1 < lines.size(); ++i)
          lines[i] = DashIndented(lines[i]);
        text = JoinLines(lines, EndsWithBreak(text));
      }
    }
  }
  PutPlainText(editor, text);
  return lost;
}

// A word of proper case: when its characters without white space at its ends number 3 or
// more, the first becomes upper case and the others lower case. White space at the word's
// ends (tabs, line breaks) stays where it is.
void AppendProperWord(QString &r, QStringView word)
{
  qsizetype b = 0, e = word.size();
  while (b < e && IsWhite(word[b]))
    ++b;
  while (e > b && IsWhite(word[e - 1]))
    --e;
  if (e - b < 3) {
    r.append(word);
    return;
  }
  r.append(word.left(b));
  r += AsciiUpper(word[b]);
  for (qsizetype i = b + 1; i < e; ++i)
    r += AsciiLower(word[i]);
  r.append(word.mid(e));
}

} // namespace

QString ToProperCase(const QString &s)
{
  const qsizetype n = s.size();
  QString r;
  r.reserve(n + 1);
  qsizetype wordStart = 0;
  for (qsizetype i = 0; i < n; ++i) {
    if (s[i] != u' ')
      continue;
    r += u' ';
    AppendProperWord(r, QStringView(s).mid(wordStart, i - wordStart));
    wordStart = i + 1;
  }
  // The last word is capitalised whatever its length.
  r += u' ';
  if (wordStart < n) {
    r += AsciiUpper(s[wordStart]);
    for (qsizetype i = wordStart + 1; i < n; ++i)
      r += AsciiLower(s[i]);
  }
  return TrimWhite(r);
}

// --- Plain-text conversion --------------------------------------------------------------------------

QString StripUnkeptCharacters(const QString &text, const QString &keepText)
{
  const auto kept = [&keepText](const char *name) {
    return keepText.contains(QLatin1StringView(name));
  };
  QString t = text;
  t.replace(QChar(0x201D), QChar(u'"'));
  if (!kept("Tabs"))
    t.remove(QChar(u'\t'));
  if (!kept("Registered"))
    t.remove(QChar(0x00AE));
  if (!kept("Copyright"))
    t.remove(QChar(0x00A9));
  if (!kept("Trademark"))
    t.remove(QChar(0x2122));
  if (!kept("Apostrophes"))
    t.remove(QChar(u'\''));
  if (!kept("Quotemarks"))
    t.remove(QChar(u'"'));
  if (!kept("Commas"))
    t.remove(QChar(u','));
  return t;
}

QString ConvertToPlainText(const QString &text, const QString &keepText, qsizetype *lost)
{
  // Space pairs first, in one pass: a run of n spaces becomes ceil(n/2).
  QString t = text;
  t.replace(QStringLiteral("  "), QStringLiteral(" "));
  // Through the user's 8-bit code page, as a plain-text buffer holds it, every break read as
  // CR LF. A character the code page cannot hold in any form becomes "?", so the new question
  // marks are the characters lost.
  const quint32 codePage = UserAnsiCodePage();
  const qsizetype marksBefore = lost ? t.count(u'?') : 0;
  t = BreaksToCrLf(DecodeAnsiCodePage(codePage, EncodeAnsiCodePage(codePage, t)));
  if (lost)
    *lost = qMax<qsizetype>(0, t.count(u'?') - marksBefore);
  t = StripUnkeptCharacters(t, keepText);
  return BreaksToCrLf(t);
}

// --- Commands on the editor -------------------------------------------------------------------------

void ConvertBarsToCrLf(TEditWindow &editor) { ReplaceInText(editor, QStringLiteral("|"), CrLf); }
void ConvertCommasToCrLf(TEditWindow &editor) { ReplaceInText(editor, QStringLiteral(","), CrLf); }
void ConvertDashesToCrLf(TEditWindow &editor) { ReplaceInText(editor, QStringLiteral("-"), CrLf); }
void ConvertSemicolonsToCrLf(TEditWindow &editor)
{
  ReplaceInText(editor, QStringLiteral(";"), CrLf);
}
void ConvertCrLfToSemicolons(TEditWindow &editor)
{
  ReplaceInText(editor, CrLf, QStringLiteral(";"));
}
// A lone LF, which the editor takes as a line break.
void AddCrLfToPlusSigns(TEditWindow &editor)
{
  ReplaceInText(editor, QStringLiteral("+"), QStringLiteral("+\n"));
}

void RemoveBlankLines(TEditWindow &editor)
{
  if (editor.LinesCount() == 0)
    return;
  ReplaceWholeText(editor, BlankLinesRemovedText(Lines(editor.GetText())));
}

void TrimLines(TEditWindow &editor)
{
  if (editor.LinesCount() == 0)
    return;
  ReplaceWholeText(editor, TrimmedText(Lines(editor.GetText())));
}

void IndentLines(TEditWindow &editor)
{
  RewriteLinesAfterFirst(editor, [](const QString &line, QString &out) {
    out = QStringLiteral("   ") + line;
    return true;
  });
}

void UnIndentLines(TEditWindow &editor) { RemovePrefixAfterFirst(editor, QStringLiteral("   ")); }

void DashIndentLines(TEditWindow &editor)
{
  RewriteLinesAfterFirst(editor, [](const QString &line, QString &out) {
    out = DashIndented(line);
    return true;
  });
}

void DashUnIndentLines(TEditWindow &editor)
{
  RemovePrefixAfterFirst(editor, QStringLiteral(" - "));
}

void ProperCaseSelection(TEditWindow &editor, int &userSS)
{
  int start = 0, end = 0;
  editor.GetSel(start, end);
  if (editor.GetSelLength() == 0)
    return;
  userSS = editor.GetSelStart();
  const QString s = TrimWhite(editor.GetSelText());
  if (s.isEmpty())
    return;
  const QString p = ToProperCase(s);
  ReplaceWholeText(editor, ReplaceIgnoringCase(editor.GetText(), s, p));
  // Proper case keeps every length, so the selection still covers the same words.
  editor.SetSel(start, end);
}

qsizetype ConvertToPlaintextCommand(TEditWindow &editor, const QString &keepText)
{
  TCommandEdit edit(editor);
  qsizetype lost = 0;
  PutPlainText(editor, ConvertToPlainText(editor.GetText(), keepText, &lost));
  return lost;
}

QString LostCharactersNotice(qsizetype lost)
{
  if (lost <= 0)
    return QString();
  return (lost == 1 ? QStringLiteral("1 character") : QStringLiteral("%1 characters").arg(lost)) +
         QStringLiteral(" could not be kept in plain text and became \"?\" (Ctrl+Z brings them "
                        "back).");
}

QString PlainTextCaption(bool plaintextOn)
{
  return plaintextOn ? QStringLiteral("Linewright (Plain text)")
                     : QStringLiteral("Linewright (Rich text)");
}

void TogglePlaintextRichtext(TEditWindow &editor, bool buttonDown, bool &plaintextOn)
{
  plaintextOn = !buttonDown;
  editor.SetPlainText(plaintextOn);
  editor.Repaint();
}

qsizetype AllInOneDashIndentPaste(TEditWindow &editor, const QString &keepText)
{
  return AllInOnePaste(editor, keepText, true);
}

qsizetype AllInOneNoIndentPaste(TEditWindow &editor, const QString &keepText)
{
  return AllInOnePaste(editor, keepText, false);
}
