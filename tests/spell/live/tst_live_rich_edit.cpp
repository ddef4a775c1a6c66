// The live engine through the real editor: line caches, correction while typing, ignore once,
// the live menu's outcomes, and foreign widgets attached through the subclass.

#include "live_fixture.h"

#include "rtErrorBox.h"
#include "wrCustomDictionary.h"
#include "wrRichEditSubclass.h"

#include <QAbstractEventDispatcher>
#include <QAbstractTextDocumentLayout>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QTextEdit>
#include <stdexcept>

namespace {

TEST_F(LiveTest, MisspellingsAreCachedAtTheirColumnsAndRecheckedOnlyWhenTheirLineChanges)
{
  const qint64 before = Engine->LinesChecked(); // the empty editor's first paint
  Window()->SetText(QStringLiteral("the wrold house\nword chek spelling\nhouse"));
  Grab();
  EXPECT_TRUE(Engine->WatchSpelling());
  EXPECT_EQ(Errors(0), (std::vector<std::pair<int, int>>{{4, 9}}));
  EXPECT_EQ(Errors(1), (std::vector<std::pair<int, int>>{{5, 9}}));
  EXPECT_TRUE(Errors(2).empty());
  const qint64 checked = Engine->LinesChecked();
  EXPECT_EQ(checked - before, 3);

  Grab();
  EXPECT_EQ(Engine->LinesChecked(), checked) << "an unchanged screen is served from the cache";

  Window()->SetLineText(1, QStringLiteral("chek word spelling"));
  Grab();
  EXPECT_EQ(Engine->LinesChecked(), checked + 1) << "only the edited line";
  EXPECT_EQ(Errors(1), (std::vector<std::pair<int, int>>{{0, 4}}));

  // A configuration change marks every line for a new check.
  Engine->MarkAllLinesDirty();
  Grab();
  EXPECT_EQ(Engine->LinesChecked(), checked + 4);
}

// A command that rebuilds a long text asks for a repaint before its edit ends, while the new
// text has no layout yet: only the lines then on screen are checked, not every line.
TEST_F(LiveTest, ARepaintInsideAnEditBlockChecksOnlyTheLinesOnScreen)
{
  QString text;
  for (int i = 0; i < 3000; ++i)
    text += QStringLiteral("house wrold %1\r\n").arg(i);
  Grab();
  const qint64 before = Engine->LinesChecked();
  Window()->BeginEditBlock();
  Window()->SetTextEx(text, true);
  Window()->Repaint();
  Window()->EndEditBlock();
  QApplication::processEvents();
  Grab();
  const qint64 checked = Engine->LinesChecked() - before;
  EXPECT_GT(checked, 0);
  EXPECT_LT(checked, 100) << "a screen holds about 20 lines";
  EXPECT_EQ(Errors(0), (std::vector<std::pair<int, int>>{{6, 11}}));
}

TEST_F(LiveTest, AttachingReadsNothingUntilTheFirstWordIsPainted)
{
  EXPECT_TRUE(Engine->WatchSpelling()) << "by the first-run defaults";
  EXPECT_FALSE(Spell->Configuration()->Loaded());
  Window()->SetText(QStringLiteral("house"));
  Grab();
  EXPECT_TRUE(Spell->Configuration()->Loaded());
  // The user's options, once read, decide.
  TSpellOptions options = Spell->Configuration()->SpellOptions();
  options.Exclude(soLiveSpelling);
  Spell->Configuration()->SetSpellOptions(options);
  EXPECT_FALSE(Engine->WatchSpelling());
  EXPECT_EQ(Engine->LineCache(0), nullptr) << "caches freed";
}

// The first line painted is also the first line tested, before any word has loaded the
// user's options: its line rule must see them all the same.
TEST_F(LiveTest, AQuotedLineIsLeftUnmarkedAlsoWhenItIsTheFirstLinePainted)
{
  auto quoted = NewSession({soLiveSpelling, soQuoted});
  Editor->SetWrightSpell(quoted.get());
  Spell = std::move(quoted);
  ASSERT_FALSE(Spell->Configuration()->Loaded());
  Window()->SetText(QStringLiteral("> wrold quoted\nthe wrold"));
  const QImage image = Grab();
  EXPECT_TRUE(Errors(0).empty());
  EXPECT_EQ(Errors(1), (std::vector<std::pair<int, int>>{{4, 9}}));
  const int lineTwoTop = Window()->PosFromChar(Window()->LineIndex(1)).y();
  EXPECT_TRUE(RedRows(image, 0, image.width(), 0, lineTwoTop).empty());
  EXPECT_FALSE(RedRows(image, 0, image.width(), lineTwoTop).empty());
  // And so it stays on later paints.
  Grab();
  EXPECT_TRUE(Errors(0).empty());
}

TEST_F(LiveTest, UnderlinesArePaintedUnderEachMisspellingOnly)
{
  Window()->SetText(QStringLiteral("house wrold house"));
  const QImage image = Grab();
  const int a = Window()->PosFromChar(6).x(), b = Window()->PosFromChar(11).x();
  const int top = Window()->PosFromChar(0).y();
  EXPECT_FALSE(RedRows(image, a, b).empty());
  EXPECT_TRUE(RedRows(image, 0, Window()->PosFromChar(5).x()).empty());
  for (int y : RedRows(image, a, b))
    EXPECT_GT(y, top + 3);

  // Live spelling off: no underline, caches freed.
  Editor->SetLiveSpelling(false);
  EXPECT_TRUE(RedRows(Grab(), 0, image.width()).empty());
  EXPECT_EQ(Engine->LineCache(0), nullptr);
}

TEST_F(LiveTest, SelectionsAndTheFirstPaintAfterAResizeAreNotBuffered)
{
  Window()->SetText(QStringLiteral("house wrold"));
  Grab();
  EXPECT_TRUE(Engine->CanDoubleBuffer());
  Window()->SetSel(0, 5);
  EXPECT_FALSE(Engine->CanDoubleBuffer()) << "the rendering draws no selection";
  Window()->SetSel(3, 3);
  EXPECT_TRUE(Engine->CanDoubleBuffer());
  Editor->resize(420, 260);
  EXPECT_FALSE(Engine->CanDoubleBuffer());
  Grab(1);
  EXPECT_TRUE(Engine->CanDoubleBuffer());
  Editor->SetDoubleBuffered(false);
  EXPECT_FALSE(Engine->CanDoubleBuffer());
  // Unbuffered, the underline is still drawn over the editor's own painting.
  const QImage image = Grab();
  EXPECT_FALSE(RedRows(image, Window()->PosFromChar(6).x(), Window()->PosFromChar(11).x()).empty());
}

TEST_F(LiveTest, ReadOnlyWindowIsNotUnderlinedUnlessAsked)
{
  Window()->SetText(QStringLiteral("wrold"));
  Grab();
  ASSERT_TRUE(Engine->WatchSpelling());
  Window()->SetReadOnly(true);
  EXPECT_FALSE(Engine->WatchSpelling());
  Editor->SetLiveSpellingReadOnly(true);
  EXPECT_TRUE(Engine->WatchSpelling());
}

TEST_F(LiveTest, TypedDelimiterCorrectsTheWordAsOneUndoStep)
{
  const struct {
    const char *typed;
    const char *expected;
  } rows[] = {
      {"teh ", "the "},
      {"teh,", "the,"},
      {"teh-", "teh-"}, // not a delimiter
      {"house ", "house "},
  };
  for (const auto &r : rows) {
    SCOPED_TRACE(r.typed);
    Window()->SetText(QString());
    Type(Editor.get(), QString::fromLatin1(r.typed));
    EXPECT_EQ(Window()->GetText(), QString::fromLatin1(r.expected));
    EXPECT_EQ(Window()->GetSelStart(), int(qstrlen(r.expected))) << "caret after the delimiter";
    if (QString::fromLatin1(r.typed) != QString::fromLatin1(r.expected)) {
      Window()->Undo();
      EXPECT_EQ(Window()->GetText(), QString::fromLatin1(r.typed)) << "one undo brings it back";
    }
  }
  // Live correction off: nothing changes.
  Editor->SetLiveCorrect(false);
  Window()->SetText(QString());
  Type(Editor.get(), QStringLiteral("teh "));
  EXPECT_EQ(Window()->GetText(), QStringLiteral("teh "));
}

TEST_F(LiveTest, IgnoreOnceHoldsOnlyAfterTheSamePrecedingWord)
{
  Window()->SetText(QStringLiteral("the wrold\nhouse wrold\nwrold"));
  Grab();
  ASSERT_EQ(Errors(0).size(), 1u);
  Window()->SetSel(4, 9); // "wrold" after "the"
  Engine->IgnoreWord(10);
  Grab();
  EXPECT_TRUE(Errors(0).empty());
  EXPECT_EQ(Errors(1).size(), 1u) << "after another word";
  EXPECT_EQ(Errors(2).size(), 1u) << "at a line start";
  EXPECT_TRUE(Engine->LiveWordAcceptable(QStringLiteral("wrold"), QStringLiteral("the")));
  EXPECT_FALSE(Engine->LiveWordAcceptable(QStringLiteral("wrold"), QString()));

  // Without the ignore item in the menu the memory is not consulted at all.
  Engine->SetLiveMenuOptions(TSpellPopupOptions::Range(spDialog, spIgnoreAll));
  Engine->MarkAllLinesDirty();
  Grab();
  EXPECT_EQ(Errors(0).size(), 1u);
}

TEST_F(LiveTest, WordBeingTypedIsSparedUntilTheCaretLeavesItsLineOrTheWindow)
{
  const auto focus = [this] {
    Editor->activateWindow();
    Editor->setFocus();
    QApplication::processEvents();
    return Editor->hasFocus();
  };
  if (!focus())
    GTEST_SKIP() << "the platform gives no focus";
  for (const bool leaveWindow : {false, true}) {
    SCOPED_TRACE(leaveWindow ? "focus leaves" : "caret leaves the line");
    ASSERT_TRUE(focus());
    Window()->SetText(QStringLiteral("house\nhouse"));
    Grab();
    Window()->SetSel(5, 5);
    Type(Editor.get(), QStringLiteral(" wrold"));
    Grab();
    EXPECT_TRUE(Errors(0).empty()) << "the word at the caret is being typed";
    QWidget other;
    if (leaveWindow) {
      other.show();
      other.activateWindow();
      other.setFocus();
      QApplication::processEvents();
      Engine->WMKillFocus(); // the platform may report the loss late
      ASSERT_FALSE(Editor->hasFocus());
    } else {
      Window()->SetSel(Window()->LineIndex(1), Window()->LineIndex(1));
    }
    Grab();
    EXPECT_EQ(Errors(0), (std::vector<std::pair<int, int>>{{6, 11}}));
  }
}

TEST_F(LiveTest, WordCheckEventHasTheFinalSay)
{
  Window()->SetText(QStringLiteral("house wrold"));
  QStringList seen;
  Editor->SetOnWordCheck(
      [&](QObject *Sender, const QString &Word, TWordCheckType &CheckType, QString &) {
        EXPECT_EQ(Sender, Editor.get());
        seen << Word;
        CheckType = Word == QStringLiteral("house") ? wcDenied : wcAccepted;
      });
  Grab();
  EXPECT_EQ(Errors(0), (std::vector<std::pair<int, int>>{{0, 5}}));
  EXPECT_TRUE(seen.contains(QStringLiteral("wrold")));
}

// The live menu: OnPopupDoMenu picks an item without widgets; the engine applies the outcome.
class LiveMenuTest : public LiveTest {
protected:
  // Right-clicks at the middle of characters [from, to) and answers the menu with (tag, word).
  bool RightClick(int from, int to, qint32 tag, const QString &word)
  {
    Spell->OnPopupDoMenu = [=, this](QObject *Sender, QObject *Menu, qint32, qint32, qint32 &Action,
                                     QString &Word) {
      EXPECT_EQ(Sender, Spell.get());
      Captions.clear();
      for (QObject *item : Menu->children())
        Captions << item->property("Caption").toString();
      Action = tag;
      Word = word;
    };
    const QPoint a = Window()->PosFromChar(from), b = Window()->PosFromChar(to);
    const QPoint at((a.x() + b.x()) / 2, a.y() + 3);
    return Engine->WMContextMenu(Window()->ClientToScreen(at));
  }
  QStringList Captions;
};

TEST_F(LiveMenuTest, OutcomesAreAppliedToTheText)
{
  Window()->SetText(QStringLiteral("the wrold house wrold"));
  Grab();
  // A replacement: only the clicked occurrence.
  EXPECT_FALSE(RightClick(16, 21, spReplace, QStringLiteral("word")));
  EXPECT_EQ(Window()->GetText(), QStringLiteral("the wrold house word"));
  EXPECT_TRUE(Captions.contains(QStringLiteral("I&gnore")));
  EXPECT_TRUE(Captions.contains(QStringLiteral("&Spelling ...")));

  // Change All: every occurrence, one undo step, and the pair is remembered for live correction.
  Window()->SetText(QStringLiteral("wrold the wrold house wrold"));
  Grab();
  EXPECT_FALSE(RightClick(10, 15, spChangeAll, QStringLiteral("word")));
  EXPECT_EQ(Window()->GetText(), QStringLiteral("word the word house word"));
  Window()->Undo();
  EXPECT_EQ(Window()->GetText(), QStringLiteral("wrold the wrold house wrold"));
  QString correction;
  EXPECT_TRUE(Spell->WordHasCorrection(QStringLiteral("wrold"), correction));
  EXPECT_EQ(correction, QStringLiteral("word"));
}

TEST_F(LiveMenuTest, IgnoreAndAddChangeTheUnderlining)
{
  Window()->SetText(QStringLiteral("the zzyx\nhouse zzyx"));
  Grab();
  ASSERT_EQ(Errors(0).size(), 1u);
  EXPECT_FALSE(RightClick(4, 8, spIgnore, QString()));
  Grab();
  EXPECT_TRUE(Errors(0).empty()) << "ignored where it follows \"the\"";
  EXPECT_EQ(Errors(1).size(), 1u);

  EXPECT_FALSE(
      RightClick(Window()->LineIndex(1) + 6, Window()->LineIndex(1) + 10, spAdd, QString()));
  Grab();
  EXPECT_TRUE(Errors(1).empty()) << "added: every line checked again";
  ASSERT_NE(Spell->ActiveCustomDictionary(), nullptr);
  EXPECT_TRUE(Spell->ActiveCustomDictionary()->IgnoreExists(QStringLiteral("zzyx")));
}

TEST_F(LiveMenuTest, ClicksAwayFromMisspellingsLeaveTheEditorsOwnMenu)
{
  Window()->SetText(QStringLiteral("house wrold"));
  Grab();
  bool shown = false;
  Spell->OnPopupDoMenu = [&](QObject *, QObject *, qint32, qint32, qint32 &, QString &) {
    shown = true;
  };
  const QPoint onGood = Window()->PosFromChar(2) + QPoint(0, 3);
  EXPECT_TRUE(Engine->WMContextMenu(Window()->ClientToScreen(onGood)));
  EXPECT_FALSE(shown);
  // One column after the last letter still hits the word.
  const QPoint after = Window()->PosFromChar(11) + QPoint(1, 3);
  EXPECT_FALSE(Engine->WMContextMenu(Window()->ClientToScreen(after)));
  EXPECT_TRUE(shown);
  // The keyboard's request uses the caret.
  shown = false;
  Window()->SetSel(8, 8);
  EXPECT_FALSE(Engine->WMContextMenu(QPoint(-1, -1)));
  EXPECT_TRUE(shown);
  // Live spelling off: the editor's own menu.
  Editor->SetLiveSpelling(false);
  shown = false;
  EXPECT_TRUE(Engine->WMContextMenu(Window()->ClientToScreen(after)));
  EXPECT_FALSE(shown);
}

TEST_F(LiveMenuTest, EditorRoutesContextMenuEventsToTheEngine)
{
  Window()->SetText(QStringLiteral("house wrold"));
  Grab();
  Editor->setContextMenuPolicy(Qt::CustomContextMenu);
  int ownMenus = 0;
  QObject::connect(Editor.get(), &QWidget::customContextMenuRequested, [&] { ++ownMenus; });
  bool live = false;
  Spell->OnPopupDoMenu = [&](QObject *, QObject *, qint32, qint32, qint32 &, QString &) {
    live = true;
  };
  const auto click = [&](int pos) {
    const QPoint at = Window()->PosFromChar(pos) + QPoint(1, 3);
    QContextMenuEvent e(QContextMenuEvent::Mouse, at, Editor->viewport()->mapToGlobal(at));
    QApplication::sendEvent(Editor->viewport(), &e);
  };
  click(8);
  EXPECT_TRUE(live);
  EXPECT_EQ(ownMenus, 0);
  click(1);
  EXPECT_EQ(ownMenus, 1);
}

TEST_F(LiveTest, SearchAndReplaceTakesExactWholeWordsOnly)
{
  Window()->SetText(QStringLiteral("wrold Wrold wrolds wrold"));
  Engine->SearchAndReplace(QStringLiteral("wrold"), QStringLiteral("wrold"));
  EXPECT_EQ(Window()->GetText(), QStringLiteral("wrold Wrold wrolds wrold"));
  Engine->SearchAndReplace(QStringLiteral("wrold"), QStringLiteral("word"));
  EXPECT_EQ(Window()->GetText(), QStringLiteral("word Wrold wrolds word"));
}

TEST_F(LiveTest, ForeignTextEditAttachedThroughTheSubclassGetsUnderlines)
{
  auto other = ShownForeignEdit(QStringLiteral("house wrold"));
  TWrightRichEditSubclass subclass;
  subclass.SetWrightSpell(Spell.get());
  subclass.SetWinControl(other.get());
  ASSERT_NE(subclass.SubclassHandle(), nullptr);
  EXPECT_TRUE(subclass.WatchSpelling());
  QImage image;
  for (int i = 0; i < 2; ++i)
    image = other->viewport()->grab().toImage();
  HWND w = subclass.WindowHandle();
  const int a = w->PosFromChar(6).x(), b = w->PosFromChar(11).x();
  EXPECT_FALSE(RedRows(image, a, b).empty());
  EXPECT_TRUE(RedRows(image, 0, w->PosFromChar(5).x()).empty());

  // Typing a delimiter after a known correction corrects it there too.
  other->moveCursor(QTextCursor::End);
  Type(other.get(), QStringLiteral(" teh "));
  EXPECT_EQ(other->toPlainText(), QStringLiteral("house wrold the "));

  // The widget's end lets go of it.
  other.reset();
  EXPECT_EQ(subclass.SubclassHandle(), nullptr);
  EXPECT_EQ(subclass.WindowHandle(), nullptr);
  EXPECT_FALSE(subclass.WatchSpelling());
}

TEST_F(LiveTest, AggressiveContextMenuOpensOnTheRightButtonOfAForeignWidget)
{
  auto other = ShownForeignEdit(QStringLiteral("house wrold"));
  TWrightRichEditSubclass subclass;
  subclass.SetWrightSpell(Spell.get());
  subclass.SetWinControl(other.get());
  subclass.SetAggressiveContextMenu(true);
  int menus = 0;
  Spell->OnPopupDoMenu = [&](QObject *, QObject *, qint32, qint32, qint32 &Action, QString &Word) {
    ++menus;
    Action = spReplace;
    Word = QStringLiteral("word");
  };
  int ownMenus = 0;
  other->setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(other.get(), &QWidget::customContextMenuRequested, [&] { ++ownMenus; });
  HWND w = subclass.WindowHandle();
  const QPoint at = w->PosFromChar(8) + QPoint(0, 3);
  QMouseEvent press(QEvent::MouseButtonPress, at, other->viewport()->mapToGlobal(at),
                    Qt::RightButton, Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(other->viewport(), &press);
  EXPECT_EQ(menus, 1);
  EXPECT_EQ(other->toPlainText(), QStringLiteral("house word"));
  // The request that follows the button is swallowed: the menu was already shown.
  QContextMenuEvent request(QContextMenuEvent::Mouse, at, other->viewport()->mapToGlobal(at));
  QApplication::sendEvent(other->viewport(), &request);
  EXPECT_EQ(ownMenus, 0);
  EXPECT_EQ(menus, 1);
}

TEST_F(LiveTest, ErrorInAHookOfAForeignWidgetIsReportedAndTheEventEnds)
{
  auto other = std::make_unique<QTextEdit>();
  other->resize(300, 100);
  other->setPlainText(QStringLiteral("house wrold"));
  TWrightRichEditSubclass subclass;
  subclass.SetWrightSpell(Spell.get());
  subclass.SetWinControl(other.get());
  subclass.SetOnWordCheck([](QObject *, const QString &, TWordCheckType &, QString &) {
    throw std::runtime_error("broken handler");
  });
  QStringList boxes;
  const TMessageBoxHandler old =
      SetMessageBoxHandler([&](QWidget *, const QString &Text, const QString &, unsigned) {
        boxes << Text;
        return IDOK;
      });
  other->viewport()->grab();
  SetMessageBoxHandler(old);
  ASSERT_FALSE(boxes.isEmpty());
  EXPECT_EQ(boxes.front(), QStringLiteral("broken handler."));
}

TEST_F(LiveTest, SpellComponentFreedFirstIsForgotten)
{
  Window()->SetText(QStringLiteral("wrold"));
  Grab();
  Spell.reset();
  EXPECT_EQ(Editor->WrightSpell(), nullptr);
  EXPECT_FALSE(Engine->WatchSpelling());
  Grab(); // paints as a plain editor
}

} // namespace

namespace {

// Every timer running on the editor, its children (viewport, text control, scroll bars), its
// document and the document's layout, as (object class, interval).
std::vector<std::pair<QString, int>> TimersOn(QTextEdit &edit)
{
  std::vector<QObject *> objects{&edit, edit.document(), edit.document()->documentLayout()};
  for (QObject *child : edit.findChildren<QObject *>())
    objects.push_back(child);
  std::vector<std::pair<QString, int>> timers;
  for (QObject *o : objects)
    for (const QAbstractEventDispatcher::TimerInfo &t :
         QAbstractEventDispatcher::instance()->registeredTimers(o))
      timers.emplace_back(QString::fromLatin1(o->metaObject()->className()), t.interval);
  return timers;
}

} // namespace

// Long lines on screen cost nothing once the editor has settled: no timer of the editor or the
// live engine keeps running (the caret's blink, when the platform blinks it, is the only one).
TEST_F(LiveTest, NoTimerRunsOnceLongLinesAreLaidOutAndChecked)
{
  QString line;
  while (line.size() < 108'000)
    line += QStringLiteral("house word spelling wrold ");
  Window()->SetText(line + "\r\n" + line + "\r\n" + line);
  Window()->SetSel(50'000, 50'000);
  Editor->setFocus();
  Grab();
  // Until the layout has finished its steps between events.
  for (int i = 0; i < 1000 && Editor->document()->lastBlock().layout()->lineCount() == 0; ++i)
    QApplication::processEvents();
  QApplication::processEvents();
  ASSERT_GT(Editor->document()->lastBlock().layout()->lineCount(), 0);
  ASSERT_FALSE(Errors(0).empty());
  const int blink = QApplication::cursorFlashTime() / 2;
  for (const auto &[owner, interval] : TimersOn(*Editor)) {
    SCOPED_TRACE(owner.toStdString());
    EXPECT_EQ(interval, blink) << "only the caret's blink may run";
  }
}
