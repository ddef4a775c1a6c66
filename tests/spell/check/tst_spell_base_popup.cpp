// The live menu of the check session: its items, the outcome of each choice and the
// dictionary changes it makes, seen through the default plain-object menu and OnPopupDoMenu.

#include "session_fixture.h"

#include "wrCustomDictionary.h"

#include <QVariant>

namespace {

struct TItem {
  QString caption;
  bool enabled;
  int tag;
  QStringList children; // "caption/tag" of a submenu's items
};

std::vector<TItem> Items(QObject *menu)
{
  std::vector<TItem> items;
  for (QObject *o : menu->children()) {
    TItem item{o->property("Caption").toString(),
               o->property("Enabled").toBool(),
               o->property("Tag").toInt(),
               {}};
    for (QObject *child : o->children())
      item.children << child->property("Caption").toString() + "/" +
                           child->property("Tag").toString();
    items.push_back(item);
  }
  return items;
}

QStringList Captions(const std::vector<TItem> &items)
{
  QStringList result;
  for (const TItem &i : items)
    result << i.caption;
  return result;
}

const TSpellPopupOptions ProgramOptions = TSpellPopupOptions::Range(spDialog, spReplace);

TEST_F(SessionTest, LiveMenuWithoutSuggestionsListsTheCommands)
{
  auto s = NewSession();
  std::vector<TItem> items;
  s->OnPopupDoMenu = [&](QObject *, QObject *Menu, qint32 X, qint32 Y, qint32 &, QString &) {
    EXPECT_EQ(X, 10);
    EXPECT_EQ(Y, 20);
    items = Items(Menu);
  };
  QString text = QStringLiteral("zzqxv");
  EXPECT_EQ(s->ShowPopupMenu(nullptr, ProgramOptions, 10, 20, text), spCancel);
  EXPECT_EQ(Captions(items), QStringList({"(no suggestions)", "-", "I&gnore", "&Ignore All", "&Add",
                                          "-", "&Spelling ..."}));
  ASSERT_EQ(items.size(), 7u);
  EXPECT_FALSE(items[0].enabled);
  EXPECT_EQ(items[0].tag, 0);
  EXPECT_EQ(items[2].tag, spIgnore);
  EXPECT_EQ(items[3].tag, spIgnoreAll);
  EXPECT_EQ(items[4].tag, spAdd);
  EXPECT_TRUE(items[4].enabled) << "an active custom dictionary exists";
  EXPECT_EQ(items[6].tag, spDialog);
  EXPECT_EQ(text, QStringLiteral("zzqxv"));
}

TEST_F(SessionTest, LiveMenuWithSuggestionsOffersThemTwiceMoreInSubmenus)
{
  auto s = NewSession();
  std::vector<TItem> items;
  s->OnPopupDoMenu = [&](QObject *, QObject *Menu, qint32, qint32, qint32 &, QString &) {
    items = Items(Menu);
  };
  QString text = QStringLiteral("hosue");
  s->ShowPopupMenu(nullptr, ProgramOptions, 0, 0, text);
  ASSERT_GE(items.size(), 8u);
  EXPECT_EQ(items[0].caption, QStringLiteral("house"));
  EXPECT_EQ(items[0].tag, spReplace);
  int suggestions = 0;
  while (items[size_t(suggestions)].tag == spReplace)
    ++suggestions;
  EXPECT_LE(suggestions, 5);
  const QStringList rest = Captions(items).mid(suggestions);
  EXPECT_EQ(rest, QStringList({"-", "I&gnore", "&Ignore All", "&Add", "-", "&Change All",
                               "A&uto Correct", "&Spelling ..."}));
  const TItem &changeAll = items[size_t(suggestions) + 5];
  const TItem &autoCorrect = items[size_t(suggestions) + 6];
  ASSERT_EQ(changeAll.children.size(), suggestions);
  EXPECT_EQ(changeAll.children.front(), QStringLiteral("house/%1").arg(int(spChangeAll)));
  EXPECT_EQ(autoCorrect.children.front(), QStringLiteral("house/%1").arg(int(spAutoCorrect)));
  EXPECT_EQ(changeAll.tag, 0);

  // Only the options asked for.
  s->ShowPopupMenu(nullptr, TSpellPopupOptions{spIgnore, spCancel}, 0, 0, text);
  EXPECT_EQ(Captions(items), QStringList({"I&gnore", "-"}));
}

TEST_F(SessionTest, LiveMenuChoicesBecomeOutcomesAndDictionaryChanges)
{
  const struct {
    const char *name;
    qint32 action;
    TSpellPopupOption outcome;
    const char *text; // the replacement, or null for the word itself
  } rows[] = {
      {"nothing chosen", 0, spCancel, nullptr},
      {"dialog", spDialog, spDialog, nullptr},
      {"ignore", spIgnore, spIgnore, nullptr},
      {"ignore all", spIgnoreAll, spIgnoreAll, nullptr},
      {"add", spAdd, spAdd, nullptr},
      {"replace", spReplace, spReplace, "house"},
      {"change all", spChangeAll, spChangeAll, "house"},
      {"auto-correct", spAutoCorrect, spAutoCorrect, "house"},
  };
  char suffix = 'a';
  for (const auto &r : rows) {
    SCOPED_TRACE(r.name);
    // The dictionaries are saved between rows: each row has a word of its own.
    const QString word = QStringLiteral("hosue") + QChar(suffix++);
    auto s = NewSession();
    s->OnPopupDoMenu = [&](QObject *, QObject *, qint32, qint32, qint32 &Action, QString &Word) {
      Action = r.action;
      Word = QStringLiteral("house");
    };
    TSpellPopupOption notified = spCancel;
    int notifications = 0;
    int listener = 0;
    s->OnPopupResultList().Add(&listener, [&](QObject *) {
      ++notifications;
      notified = s->OnPopupResultList().PopupResult;
    });
    QString text = word;
    EXPECT_EQ(s->ShowPopupMenu(nullptr, ProgramOptions, 0, 0, text), r.outcome);
    EXPECT_EQ(text, r.text ? QString::fromLatin1(r.text) : word);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(notified, r.outcome);
    TCustomDictionary *active = s->ActiveCustomDictionary();
    ASSERT_NE(active, nullptr);
    QString correction;
    EXPECT_EQ(active->AutoCorrectExists(word, correction), r.outcome == spAutoCorrect);
    EXPECT_EQ(active->IgnoreExists(word), r.outcome == spAdd);
    EXPECT_EQ(s->InternalCustom()->AutoCorrectExists(word, correction), r.outcome == spChangeAll);
    EXPECT_EQ(s->InternalCustom()->IgnoreExists(word), r.outcome == spIgnoreAll);
    s->OnPopupResultList().Remove(&listener);
  }
}

TEST_F(SessionTest, LiveMenuResultEventMayChangeTheOutcome)
{
  auto s = NewSession();
  s->OnPopupDoMenu = [](QObject *, QObject *, qint32, qint32, qint32 &Action, QString &Word) {
    Action = spReplace;
    Word = QStringLiteral("house");
  };
  s->OnPopupResult = [](QObject *, const QString &Word, QString &ResultWord,
                        TSpellPopupOption &PopupResult) {
    EXPECT_EQ(Word, QStringLiteral("hosue"));
    EXPECT_EQ(ResultWord, QStringLiteral("house"));
    ResultWord = Word;
    PopupResult = spIgnoreAll;
  };
  QString text = QStringLiteral("hosue");
  EXPECT_EQ(s->ShowPopupMenu(nullptr, ProgramOptions, 0, 0, text), spIgnoreAll);
  EXPECT_TRUE(s->InternalCustom()->IgnoreExists(QStringLiteral("hosue")));
}

TEST_F(SessionTest, LiveMenuRefusesEmptyWordsASecondMenuAndChoicesWithoutADictionary)
{
  auto s = NewSession();
  int shown = 0;
  TSpellPopupOption nested = spDialog;
  s->OnPopupDoMenu = [&](QObject *, QObject *, qint32, qint32, qint32 &Action, QString &) {
    ++shown;
    QString again = QStringLiteral("hosue");
    nested = s->ShowPopupMenu(nullptr, ProgramOptions, 0, 0, again);
    Action = spIgnore;
  };
  QString empty;
  EXPECT_EQ(s->ShowPopupMenu(nullptr, ProgramOptions, 0, 0, empty), spCancel);
  EXPECT_EQ(shown, 0);
  QString text = QStringLiteral("hosue");
  EXPECT_EQ(s->ShowPopupMenu(nullptr, ProgramOptions, 0, 0, text), spIgnore);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(nested, spCancel) << "one live menu at a time";

  // No active custom dictionary: Add disabled, no auto-correct submenu, an Add choice cancelled.
  auto bare = NewSession();
  bare->SetConfigDefaultActiveCustom(QString());
  std::vector<TItem> items;
  bare->OnPopupDoMenu = [&](QObject *, QObject *Menu, qint32, qint32, qint32 &Action, QString &) {
    items = Items(Menu);
    Action = spAdd;
  };
  text = QStringLiteral("hosue");
  EXPECT_EQ(bare->ShowPopupMenu(nullptr, ProgramOptions, 0, 0, text), spCancel);
  ASSERT_EQ(bare->ActiveCustomDictionary(), nullptr);
  EXPECT_FALSE(Captions(items).contains(QStringLiteral("A&uto Correct")));
  for (const TItem &i : items) {
    if (i.caption == QStringLiteral("&Add")) {
      EXPECT_FALSE(i.enabled);
    }
  }
}

} // namespace
