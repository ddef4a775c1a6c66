// The live menu of the check session: built through overridable steps so that the widget
// layer supplies a real menu and this layer stays QtCore-only.
#include "wrSpellBase.h"

#include "wrCustomDictionary.h"

#include <QVariant>
#include <memory>

namespace {

// Frees the default menu and clears the showing mark however ShowPopupMenu ends.
class TPopupGuard {
public:
  TPopupGuard(bool &Showing, QObject *&Menu) : FShowing(Showing), FMenu(Menu) { FShowing = true; }
  ~TPopupGuard()
  {
    delete FMenu;
    FMenu = nullptr;
    FShowing = false;
  }
  TPopupGuard(const TPopupGuard &) = delete;
  TPopupGuard &operator=(const TPopupGuard &) = delete;

private:
  bool &FShowing;
  QObject *&FMenu;
};

} // namespace

TSpellPopupOption TWrightSpellBase::ShowPopupMenu(QObject *Sender, TSpellPopupOptions Options,
                                                  qint32 XPos, qint32 YPos, QString &Text)
{
  if (Text.isEmpty() || FPopupShowing)
    return spCancel;
  QObject *menu = nullptr;
  TPopupGuard guard(FPopupShowing, menu);
  EnsureConfigurationLoaded();
  const QString misspelled = Text;
  TCustomDictionary *active = FActiveCustom.get();

  // The menu lives for this call only, a handler's menu too.
  menu = PopupCreateMenu(Sender);
  QObject *theMenu = menu;

  TStringList suggestions;
  if (Options.Contains(spReplace)) {
    BuildSuggestions(misspelled, 5, suggestions);
    for (int i = 0; i < suggestions.Count(); ++i)
      PopupAddMenuItem(theMenu, nullptr, suggestions.Strings(i), true, false, spReplace);
    if (suggestions.Count() == 0)
      PopupAddMenuItem(theMenu, nullptr, GetString(TSpellLanguageString::lsMnNoSuggestions), false,
                       false, 0);
    PopupAddMenuItem(theMenu, nullptr, QStringLiteral("-"), true, false, 0);
  }
  if (Options.Contains(spIgnore))
    PopupAddMenuItem(theMenu, nullptr, GetString(TSpellLanguageString::lsMnIgnore), true, false,
                     spIgnore);
  if (Options.Contains(spIgnoreAll))
    PopupAddMenuItem(theMenu, nullptr, GetString(TSpellLanguageString::lsMnIgnoreAll), true, false,
                     spIgnoreAll);
  if (Options.Contains(spAdd))
    PopupAddMenuItem(theMenu, nullptr, GetString(TSpellLanguageString::lsMnAdd), active != nullptr,
                     false, spAdd);
  PopupAddMenuItem(theMenu, nullptr, QStringLiteral("-"), true, false, 0);
  const auto addSubmenu = [&](TSpellLanguageString caption, TSpellPopupOption tag) {
    QObject *header = PopupAddMenuItem(theMenu, nullptr, GetString(caption), true, true, 0);
    for (int i = 0; i < suggestions.Count(); ++i)
      PopupAddMenuItem(theMenu, header, suggestions.Strings(i), true, false, tag);
  };
  if (Options.Contains(spChangeAll) && suggestions.Count() > 0)
    addSubmenu(TSpellLanguageString::lsMnChangeAll, spChangeAll);
  if (Options.Contains(spAutoCorrect) && suggestions.Count() > 0 && active)
    addSubmenu(TSpellLanguageString::lsMnAutoCorrect, spAutoCorrect);
  if (Options.Contains(spDialog))
    PopupAddMenuItem(theMenu, nullptr, GetString(TSpellLanguageString::lsMnSpelling), true, false,
                     spDialog);

  BeginWork();
  FPopupAction = 0;
  FPopupWord.clear();
  {
    qint32 action = 0;
    QString word;
    PopupDoMenu(theMenu, XPos, YPos, action, word);
    if (action != 0 || !word.isEmpty()) {
      FPopupAction = action;
      FPopupWord = word;
    }
  }
  EndWork();

  // The dictionary may have been closed while the menu was up (a check ended meanwhile).
  active = FActiveCustom.get();
  TSpellPopupOption outcome = spCancel;
  switch (FPopupAction) {
  case spDialog:
    outcome = spDialog;
    break;
  case spAutoCorrect:
    if (active) {
      active->AddAutoCorrect(misspelled, FPopupWord);
      LearnSuggestion(misspelled, FPopupWord);
      outcome = spAutoCorrect;
      Text = FPopupWord;
    }
    break;
  case spChangeAll:
    outcome = spChangeAll;
    Text = FPopupWord;
    break;
  case spAdd:
    if (active)
      outcome = spAdd;
    break;
  case spIgnoreAll:
    outcome = spIgnoreAll;
    break;
  case spIgnore:
    outcome = spIgnore;
    break;
  case spReplace:
    outcome = spReplace;
    Text = FPopupWord;
    break;
  default:
    break;
  }

  if (OnPopupResult)
    OnPopupResult(this, misspelled, Text, outcome);

  active = FActiveCustom.get();
  switch (outcome) {
  case spAutoCorrect:
    if (active) {
      active->AddAutoCorrect(misspelled, Text);
      LearnSuggestion(misspelled, Text);
    } else {
      outcome = spCancel; // a handler chose it without a dictionary to hold it
    }
    break;
  case spChangeAll:
    if (FInternalCustom)
      FInternalCustom->AddAutoCorrect(misspelled, Text);
    LearnSuggestion(misspelled, Text);
    break;
  case spAdd:
    if (active)
      active->AddIgnore(Text);
    else
      outcome = spCancel;
    break;
  case spIgnoreAll:
    if (FInternalCustom)
      FInternalCustom->AddIgnore(Text);
    break;
  case spReplace:
    LearnSuggestion(misspelled, Text);
    break;
  default:
    break;
  }

  FOnPopupResultList.PopupResult = outcome;
  FOnPopupResultList.Notify(this);
  return outcome;
}

void TWrightSpellBase::PopupItemClick(QObject *Sender)
{
  if (!Sender)
    return;
  FPopupAction = Sender->property("Tag").toInt();
  FPopupWord = Sender->property("Caption").toString();
}

QObject *TWrightSpellBase::PopupCreateMenu(QObject *Owner)
{
  QObject *menu = nullptr;
  if (OnPopupCreateMenu) {
    OnPopupCreateMenu(this, Owner, menu);
    return menu;
  }
  return new QObject();
}

QObject *TWrightSpellBase::PopupAddMenuItem(QObject *Menu, QObject *SubMenu, const QString &Caption,
                                            bool Enable, bool HasChildren, qint32 Tag)
{
  QObject *item = nullptr;
  if (OnPopupAddMenuItem) {
    OnPopupAddMenuItem(this, Menu, SubMenu, Caption, Enable, HasChildren, Tag, item);
    return item;
  }
  if (OnPopupCreateMenu)
    return nullptr;
  QObject *parent = SubMenu ? SubMenu : Menu;
  if (!parent)
    return nullptr;
  item = new QObject(parent);
  item->setProperty("Caption", Caption);
  item->setProperty("Enabled", Enable);
  item->setProperty("HasChildren", HasChildren);
  item->setProperty("Tag", Tag);
  return item;
}

void TWrightSpellBase::PopupDoMenu(QObject *Menu, qint32 XPos, qint32 YPos, qint32 &PopupAction,
                                   QString &PopupWord)
{
  PopupAction = 0;
  PopupWord.clear();
  if (OnPopupDoMenu)
    OnPopupDoMenu(this, Menu, XPos, YPos, PopupAction, PopupWord);
  // Without a handler this layer has nothing to show; the widget layer pops the menu up.
}
