// Bad input: megabyte lines, thousands of misspellings, characters outside the BMP and every
// kind of line break. Nothing hangs, the text only changes where a word was changed, and
// undoing every action restores exactly the text that was there.
#include "loop_fixture.h"

#include "rtWidgetWindow.h"
#include "wrRichEdit.h"

namespace {

// Answers every word with Change to a word of another length and, at the last misspelling,
// undoes everything and cancels.
void ChangeThenUndoAll(TDialogScript &Script, int Misspellings)
{
  for (int i = 0; i < Misspellings - 1; ++i)
    Script.Actions.push_back(Change(i % 2 ? QStringLiteral("dog") : QStringLiteral("words")));
  // At the last one: undo until nothing is left (each undo stops at the restored word again).
  Script.Actions.push_back([](TWrightSpellBase &s) {
    if (s.CanUndo())
      s.Check_Undo();
    else
      s.Check_Cancel();
  });
}

} // namespace

TEST_F(LoopTest, MegabyteLineWithThousandsOfMisspellings)
{
  auto s = NewLoopSession();
  s->SetRecheckReplacedWords(false);
  Script->Immediate = true;
  // One line of about 1.2 M code units, with surrogate pairs next to words and inside gaps.
  QString text;
  const QString emoji = QString::fromUcs4(U"\U0001F600");
  const int n = 3000;
  for (int i = 0; i < n; ++i) {
    text += QStringLiteral("zzq ");
    text += emoji;
    text += QStringLiteral(" the cat sat on the mat ");
    text += QString(350, QLatin1Char('-'));
    text += QLatin1Char(' ');
  }
  const QString original = text;
  ChangeThenUndoAll(*Script, n);
  // The last action repeats: undo until empty, then cancel.
  int undos = 0;
  std::function<void(TWrightSpellBase &)> last = [&](TWrightSpellBase &x) {
    if (x.CanUndo()) {
      ++undos;
      Script->Actions.push_back(last);
      x.Check_Undo();
    } else {
      x.Check_Cancel();
    }
  };
  Script->Actions.back() = last;
  s->CheckString(text);
  EXPECT_FALSE(s->Checking());
  EXPECT_EQ(undos, n - 1);
  EXPECT_EQ(text.size(), original.size());
  EXPECT_TRUE(text == original);
}

TEST_F(LoopTest, EveryLineBreakAndNonBmpTextInTheEditor)
{
  InstallEditWindowFactory();
  TWrightRichEdit editor;
  HWND window = TEditWindow::FromControl(&editor);
  auto s = NewLoopSession();
  const QString breaks[] = {QStringLiteral("\r\n"), QStringLiteral("\r"),  QStringLiteral("\n"),
                            QStringLiteral("\v"),   QStringLiteral("\f"),  QString(QChar(0x85)),
                            QString(QChar(0x2028)), QString(QChar(0x2029))};
  QString text;
  const QString deseret = QString::fromUcs4(U"\U00010437\U00010438");
  int misspellings = 0;
  for (int round = 0; round < 40; ++round)
    for (const QString &br : breaks) {
      text += QStringLiteral("the zzq ") + deseret + QStringLiteral(" cat") + br;
      ++misspellings;
    }
  window->SetText(text);
  const QString original = window->GetText();
  int undos = 0;
  std::function<void(TWrightSpellBase &)> last = [&](TWrightSpellBase &x) {
    if (x.CanUndo()) {
      ++undos;
      Script->Actions.push_back(last);
      x.Check_Undo();
    } else {
      x.Check_Cancel();
    }
  };
  // Change every zzq; the Deseret letters pass between words.
  for (int i = 0; i < misspellings; ++i)
    Script->Actions.push_back(Change(QStringLiteral("words")));
  s->SetRecheckReplacedWords(false);
  s->SetEndMessage(emNever);
  s->CheckWinControl(&editor, ctAll);
  QString changed = original;
  changed.replace(QStringLiteral("zzq"), QStringLiteral("words"));
  EXPECT_EQ(window->GetText(), changed);
  EXPECT_EQ(int(Script->Prompts.size()), misspellings);

  // Again, then take every action back at the last word.
  Script = std::make_shared<TDialogScript>();
  auto t = NewLoopSession();
  t->SetRecheckReplacedWords(false);
  window->SetText(text);
  for (int i = 0; i < misspellings; ++i)
    Script->Actions.push_back(i % 2 ? Change(QStringLiteral("dog")) : Ignore());
  Script->Actions.back() = last;
  t->CheckWinControl(&editor, ctAll);
  EXPECT_EQ(undos, misspellings - 1);
  EXPECT_TRUE(window->GetText() == original);
}
