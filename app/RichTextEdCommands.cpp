// The main window's text commands (line clean-up, plain text, pastes), the formatting band and
// the ruler. The text commands themselves live in LineCommands; each handler is one call, so
// each command is one undo step.

#include "CheckedComboBox.h"
#include "LineCommands.h"
#include "ReplaceDialog.h"
#include "RichTextEd.h"
#include "RichTextEdControls.h"
#include "rtErrorBox.h"
#include "rtText.h"
#include "wrRichEdit.h"
#include "wrSpell.h"
#include "wrThesaurus.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>
#include <QToolButton>
#include <stdexcept>

namespace {

// Clears a flag when the scope ends, also when an error escapes it.
class TFlagGuard {
public:
  explicit TFlagGuard(bool &flag) : FFlag(flag) { FFlag = true; }
  ~TFlagGuard() { FFlag = false; }

private:
  bool &FFlag;
};

// From this length on a text command may take half a second or more on a slow or busy machine:
// on 5 MB of prose a rebuilding command takes 0.7 to 1 s of processor time until the editor is
// idle (the edit itself about half, then the layout the editor finishes between events), a
// quarter of a million characters a twentieth of that.
constexpr qsizetype LongTextChars = 250'000;

// Pixels of p points and points of x pixels, truncated toward zero.
int PointsToPixels(int points) { return points * 4 / 3; }
int PixelsToPoints(int pixels) { return pixels * 3 / 4; }

} // namespace

// --- Busy cursor and notices of the text commands -------------------------------------------------

bool TRichTextEd::EditorLaidOut() const
{
  // The editor lays a long text out from the top between events, so the last line is laid out
  // last.
  const QTextBlock last = Editor->document()->lastBlock();
  return !Editor->isVisible() || !last.layout() || last.layout()->lineCount() > 0;
}

void TRichTextEd::BusyForLongText(TIncoming incoming)
{
  // How much a paste brings in is not asked: that would fetch the clipboard's whole data, from
  // another program, once more.
  if (FBusyTimer || (incoming == inNone && Editor->GetTextLength() < LongTextChars))
    return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  FBusyTimer = new QTimer(this);
  FBusyTimer->setInterval(50);
  connect(FBusyTimer, &QTimer::timeout, this, [this] {
    if (!EditorLaidOut())
      return;
    QApplication::restoreOverrideCursor();
    FBusyTimer->deleteLater();
    FBusyTimer = nullptr;
  });
  FBusyTimer->start();
}

void TRichTextEd::EndBusyIfShort()
{
  if (!FBusyTimer || Editor->GetTextLength() >= LongTextChars)
    return;
  QApplication::restoreOverrideCursor();
  delete FBusyTimer;
  FBusyTimer = nullptr;
}

void TRichTextEd::NoticeLostCharacters(qsizetype lost)
{
  if (lost > 0)
    ShowNotice(LostCharactersNotice(lost));
}

// --- Line clean-up -------------------------------------------------------------------------------

void TRichTextEd::DashIndentActExecute()
{
  BusyForLongText();
  DashIndentLines(*Editor);
}
void TRichTextEd::DashUnIndentActExecute()
{
  BusyForLongText();
  DashUnIndentLines(*Editor);
}
void TRichTextEd::IndentActExecute()
{
  BusyForLongText();
  IndentLines(*Editor);
}
void TRichTextEd::UnIndentActExecute()
{
  BusyForLongText();
  UnIndentLines(*Editor);
}
void TRichTextEd::ToolButton9Click()
{
  BusyForLongText();
  ConvertBarsToCrLf(*Editor);
}
void TRichTextEd::ToolButton11Click()
{
  BusyForLongText();
  ConvertCommasToCrLf(*Editor);
}
void TRichTextEd::ToolButton19Click()
{
  BusyForLongText();
  ConvertDashesToCrLf(*Editor);
}
void TRichTextEd::ToolButton22Click()
{
  BusyForLongText();
  ConvertSemicolonsToCrLf(*Editor);
}
void TRichTextEd::ToolButton23Click()
{
  BusyForLongText();
  ConvertCrLfToSemicolons(*Editor);
}
void TRichTextEd::ToolButton24Click()
{
  BusyForLongText();
  AddCrLfToPlusSigns(*Editor);
}
void TRichTextEd::ToolButton12Click()
{
  BusyForLongText();
  RemoveBlankLines(*Editor);
}
void TRichTextEd::ToolButton14Click()
{
  BusyForLongText();
  TrimLines(*Editor);
}
void TRichTextEd::ToolButton20Click()
{
  BusyForLongText();
  ProperCaseSelection(*Editor, UserSS);
}

// --- Plain text and the all-in-one pastes ---------------------------------------------------------

void TRichTextEd::ToolButton16Click()
{
  BusyForLongText();
  NoticeLostCharacters(ConvertToPlaintextCommand(*Editor, KeepText()));
}

void TRichTextEd::ToolButton18Click()
{
  const bool buttonDown = ToolButton18->isChecked();
  CoolBar2->setVisible(buttonDown);
  TogglePlaintextRichtext(*Editor, buttonDown, PlaintextOn);
  setWindowTitle(PlainTextCaption(PlaintextOn));
}

void TRichTextEd::SpecialPasteBtn1Click()
{
  BusyForLongText(inClipboard);
  NoticeLostCharacters(AllInOneDashIndentPaste(*Editor, KeepText()));
  EndBusyIfShort();
}

void TRichTextEd::SpecialPasteBtn2Click()
{
  BusyForLongText(inClipboard);
  NoticeLostCharacters(AllInOneNoIndentPaste(*Editor, KeepText()));
  EndBusyIfShort();
}

// --- Spelling, thesaurus, find and replace ---------------------------------------------------------

void TRichTextEd::ToolButton3Click() { WrightAutoLiveSpell1->Setup(); }

void TRichTextEd::EditorSpellcheck1Click()
{
  if (!FormattingAllowed())
    return;
  WrightAutoLiveSpell1->CheckWinControl(Editor, ctAll);
}

void TRichTextEd::Lookupword1Click()
{
  if (!FormattingAllowed())
    return;
  Thesaurus31->LookupWinControl(Editor);
}

void TRichTextEd::ToolButton15Click() { ReplaceDialog1->Execute(); }

namespace {

// The first or every occurrence of `what` replaced, left to right without overlaps.
QString ReplaceOccurrences(QString s, const QString &what, const QString &by, bool all,
                           Qt::CaseSensitivity cs)
{
  if (what.isEmpty())
    return s;
  if (all)
    return s.replace(what, by, cs);
  const qsizetype at = s.indexOf(what, 0, cs);
  if (at >= 0)
    s.replace(at, what.size(), by);
  return s;
}

} // namespace

void TRichTextEd::ReplaceDialog1Find()
{
  // The first search remembers the text's length as a bound; matches are looked for up to the
  // end of the current text, so text added later is still found.
  if (UserSS + UserSL == 0)
    UserSL = Editor->GetTextLength();
  const QString what = ReplaceDialog1->FindText();
  const QString upperWhat = AsciiUpper(what);
  const QString text = AsciiUpper(Editor->GetText());
  // From the character after the selection start, so that repeated searches move on.
  const int from = Editor->GetSelStart() + 1;
  const qsizetype at =
      upperWhat.isEmpty() || from > text.size() ? -1 : text.indexOf(upperWhat, from);
  if (at < 0) {
    MessageBox(this, QStringLiteral("Sorry, \"%1\" not found...").arg(what), ApplicationTitle(),
               MB_OK);
    return;
  }
  Editor->SetFocus();
  Editor->SetSel(int(at), int(at + what.size()));
}

void TRichTextEd::ReplaceDialog1Replace()
{
  const bool all = ReplaceDialog1->ReplaceAll();
  const Qt::CaseSensitivity cs =
      ReplaceDialog1->MatchCase() ? Qt::CaseSensitive : Qt::CaseInsensitive;
  const QString what = ReplaceDialog1->FindText();
  const QString by = ReplaceDialog1->ReplaceText();
  if (Editor->GetSelLength() > 0) {
    const int start = Editor->GetSelStart();
    const QString result = ReplaceOccurrences(Editor->GetSelText(), what, by, all, cs);
    Editor->ReplaceSel(result, true);
    Editor->SetSel(start, start + int(result.size()));
  } else {
    Editor->SetTextEx(ReplaceOccurrences(Editor->GetText(), what, by, all, cs), true);
  }
  if (all)
    ReplaceDialog1->close();
}

// --- Formatting band -------------------------------------------------------------------------------

void TRichTextEd::SelectionChange()
{
  if (!FormattingAllowed())
    return;
  TFlagGuard updating(FUpdating);
  const TParaAttributes p = Editor->GetParagraph();
  const TCharAttributes a = Editor->GetSelAttributes();
  FirstInd->move(PointsToPixels(p.FirstIndent) + 2, FirstInd->y());
  LeftInd->move(PointsToPixels(p.LeftIndent + p.FirstIndent) + 2, LeftInd->y());
  RightInd->move(Ruler->width() - PointsToPixels(p.RightIndent + 6) - 6, RightInd->y());
  BoldButton->setChecked(a.Style.Contains(TFontStyle::fsBold));
  ItalicButton->setChecked(a.Style.Contains(TFontStyle::fsItalic));
  UnderlineButton->setChecked(a.Style.Contains(TFontStyle::fsUnderline));
  BulletsButton->setChecked(p.Numbering == 1);
  BulletNumAct1->setChecked(p.Numbering == 2);
  FontSize->setText(QString::number(a.Size));
  FontName->setEditText(a.Name);
  switch (p.Alignment) {
  case 0:
    AlignLeftAct->setChecked(true);
    break;
  case 1:
    AlignRightAct->setChecked(true);
    break;
  case 2:
    AlignCenterAct->setChecked(true);
    break;
  default:
    break;
  }
}

void TRichTextEd::EditorMouseDown() { SelectionChange(); }

void TRichTextEd::ApplyStyle(int styleBit, bool on)
{
  if (!FormattingAllowed() || Editor->GetSelLength() == 0)
    return;
  // Only the one style changes; the other attributes of the selected characters stay.
  QTextCharFormat fmt;
  if (styleBit == int(TFontStyle::fsBold))
    fmt.setFontWeight(on ? QFont::Bold : QFont::Normal);
  else if (styleBit == int(TFontStyle::fsItalic))
    fmt.setFontItalic(on);
  else
    fmt.setFontUnderline(on);
  Editor->mergeCurrentCharFormat(fmt);
}

void TRichTextEd::BoldButtonClick()
{
  ApplyStyle(int(TFontStyle::fsBold), BoldButton->isChecked());
}
void TRichTextEd::ItalicButtonClick()
{
  ApplyStyle(int(TFontStyle::fsItalic), ItalicButton->isChecked());
}
void TRichTextEd::UnderlineButtonClick()
{
  ApplyStyle(int(TFontStyle::fsUnderline), UnderlineButton->isChecked());
}

void TRichTextEd::FontSizeChange()
{
  if (!FormattingAllowed() || Editor->GetSelLength() == 0)
    return;
  bool ok = false;
  const int size = FontSize->text().toInt(&ok);
  if (!ok)
    throw std::runtime_error(
        QStringLiteral("'%1' is not a valid integer value").arg(FontSize->text()).toStdString());
  if (size <= 0)
    return; // a size of 0 leaves the characters as they are
  QTextCharFormat fmt;
  fmt.setFontPointSize(size);
  Editor->mergeCurrentCharFormat(fmt);
}

void TRichTextEd::FontNameChange()
{
  if (!FormattingAllowed() || Editor->GetSelLength() == 0)
    return;
  const int index = FontName->findText(FontName->currentText(), Qt::MatchExactly);
  // A typed name that is no entry of the list leaves the selection as it is.
  if (index < 0)
    return;
  QTextCharFormat fmt;
  fmt.setFontFamilies(QStringList{FontName->itemText(index)});
  Editor->mergeCurrentCharFormat(fmt);
}

void TRichTextEd::SelectFont()
{
  const TCharAttributes a = Editor->GetSelAttributes();
  QFont initial(a.Name);
  if (a.Size > 0)
    initial.setPointSize(a.Size);
  initial.setBold(a.Style.Contains(TFontStyle::fsBold));
  initial.setItalic(a.Style.Contains(TFontStyle::fsItalic));
  initial.setUnderline(a.Style.Contains(TFontStyle::fsUnderline));
  initial.setFixedPitch(a.Pitch == 1);
  ReFontDialog->SetFont(initial);
  ReFontDialog->SetColor(a.Color);
  const QString shownFace = ReFontDialog->Font().family();
  if (ReFontDialog->Execute() && Editor->GetSelLength() != 0) {
    const QFont chosen = ReFontDialog->Font();
    // Character set and pitch stay as the selection has them; the dialog does not choose them.
    TCharAttributes n = a;
    // The face that stood in for a missing one, confirmed unchanged, keeps the selection's name.
    n.Name = chosen.family() == shownFace ? a.Name : chosen.family();
    if (chosen.pointSize() > 0)
      n.Size = chosen.pointSize();
    n.Style = {};
    n.Style.Set(TFontStyle::fsBold, chosen.bold());
    n.Style.Set(TFontStyle::fsItalic, chosen.italic());
    n.Style.Set(TFontStyle::fsUnderline, chosen.underline());
    n.Color = ReFontDialog->Color();
    Editor->SetSelAttributes(n);
  }
  Editor->SetFocus();
}

// Each paragraph command writes its own attribute only, to every paragraph of the selection.
void TRichTextEd::SetParagraphAttribute(TParaAttribute which, const TParaAttributes &p)
{
  Editor->SetParagraphAttributes(p, ParaAttributeBit(which));
}

void TRichTextEd::AlignButtonClick(QObject *Sender)
{
  if (!FormattingAllowed() || !Sender)
    return;
  TParaAttributes p;
  p.Alignment = Sender->property("Tag").toInt();
  SetParagraphAttribute(TParaAttribute::paAlignment, p);
}

void TRichTextEd::BulletsButtonClick()
{
  if (!FormattingAllowed())
    return;
  TParaAttributes p;
  p.Numbering = BulletsButton->isChecked() ? 1 : 0;
  SetParagraphAttribute(TParaAttribute::paNumbering, p);
}

void TRichTextEd::BulletNumAct1Execute()
{
  if (!FormattingAllowed())
    return;
  TParaAttributes p;
  p.Numbering = BulletNumAct1->isChecked() ? 2 : 0;
  SetParagraphAttribute(TParaAttribute::paNumbering, p);
}

// --- Ruler -----------------------------------------------------------------------------------------

void TRichTextEd::RulerResize()
{
  RulerLine->resize(Ruler->width() - 2 * RulerLine->x(), RulerLine->height());
}

void TRichTextEd::RulerItemMouseDown(QLabel *marker, int x)
{
  FDragOfs = marker->width() / 2;
  marker->move(marker->x() + x - FDragOfs, marker->y());
  FDragging = true;
}

void TRichTextEd::RulerItemMouseMove(QLabel *marker, int x)
{
  if (FDragging)
    marker->move(marker->x() + x - FDragOfs, marker->y());
}

void TRichTextEd::FirstIndMouseUp()
{
  FDragging = false;
  TParaAttributes p;
  p.FirstIndent = PixelsToPoints(FirstInd->x() + FDragOfs - 6);
  SetParagraphAttribute(TParaAttribute::paFirstIndent, p);
  LeftIndMouseUp();
}

void TRichTextEd::LeftIndMouseUp()
{
  FDragging = false;
  TParaAttributes p;
  p.LeftIndent = PixelsToPoints(LeftInd->x() + FDragOfs - 6) - Editor->GetParagraph().FirstIndent;
  SetParagraphAttribute(TParaAttribute::paLeftIndent, p);
  SelectionChange();
}

void TRichTextEd::RightIndMouseUp()
{
  FDragging = false;
  TParaAttributes p;
  p.RightIndent = PixelsToPoints(Ruler->width() - RightInd->x() + FDragOfs - 2) - 12;
  SetParagraphAttribute(TParaAttribute::paRightIndent, p);
  SelectionChange();
}
