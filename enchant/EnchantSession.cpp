#include "EnchantSession.h"

#include "EnchantTags.h"
#include "wrConfiguration.h"
#include "wrCustomDictionary.h"
#include "wrMainDictionary.h"
#include "wrProgramSpellSettings.h"

#include <algorithm>

TEnchantSession::TEnchantSession()
{
  ApplyProgramSpellSettings(*this);
  // Each change is saved by the operation that makes it: a host may call from any thread and
  // runs no Qt event loop to time a later save.
  SetPromptSaves(psAtUnload);
}

// The main dictionary chosen for the tag is this session's alone, and every change of a custom
// dictionary was saved as it was made: nothing is written as the session goes.
TEnchantSession::~TEnchantSession() { ForgetChanges(); }

void TEnchantSession::LoadDictionaries()
{
  ForgetChanges();
  TWrightSpellBase::LoadDictionaries();
  // A new active dictionary is made as "changed"; it gets its file with its first word.
  ForgetChanges();
}

std::vector<TEnchantDictionaryFile> TEnchantSession::Dictionaries()
{
  EnsureConfigurationLoaded();
  std::vector<TEnchantDictionaryFile> found;
  const TStringList &available = GetConfigAvailableMain();
  for (int i = 0; i < available.Count(); ++i) {
    const QString file = available.Strings(i);
    std::unique_ptr<TMainDictionary> d = GetMainDictionary(file);
    if (!d || !d->Loaded())
      continue;
    const QString tag = EnchantTagFor(file, d->Language());
    if (tag.isEmpty())
      continue;
    const bool known = std::any_of(found.begin(), found.end(),
                                   [&](const TEnchantDictionaryFile &f) { return f.Tag == tag; });
    if (!known)
      found.push_back({tag, file});
  }
  std::sort(found.begin(), found.end(),
            [](const TEnchantDictionaryFile &a, const TEnchantDictionaryFile &b) {
              return a.Tag < b.Tag;
            });
  return found;
}

QString TEnchantSession::DictionaryFor(const QString &Tag)
{
  const QString tag = NormalizeEnchantTag(Tag);
  if (tag.isEmpty())
    return QString();
  const std::vector<TEnchantDictionaryFile> all = Dictionaries();
  for (const TEnchantDictionaryFile &f : all)
    if (f.Tag == tag)
      return f.Filename;
  if (!tag.contains(u'_'))
    for (const TEnchantDictionaryFile &f : all)
      if (f.Tag.startsWith(tag + u'_'))
        return f.Filename;
  return QString();
}

bool TEnchantSession::Open(const QString &Filename)
{
  EnsureConfigurationLoaded();
  TStringList &main = FConfiguration->MainDictionaries();
  main.BeginUpdate();
  main.Clear();
  main.Add(Filename);
  main.EndUpdate();
  FConfiguration->SetModified(false);
  if (TCustomDictionary *active = ActiveCustomDictionary())
    FActiveStamp = ReadFileStamp(NativePath(active->Filename()));
  return !FMainDictionaries.empty();
}

bool TEnchantSession::FollowActiveDictionary()
{
  TCustomDictionary *active = ActiveCustomDictionary();
  if (!active || active->Modified())
    return false;
  const TFileStamp stamp = ReadFileStamp(NativePath(active->Filename()));
  if (stamp == FActiveStamp)
    return false;
  FActiveStamp = stamp;
  LoadDictionaries();
  return true;
}

bool TEnchantSession::Check(const QString &Word)
{
  if (WordAcceptable(Word))
    return true;
  // Only a word about to be reported costs a look at the file (one stat): most words pass.
  return FollowActiveDictionary() && WordAcceptable(Word);
}

QStringList TEnchantSession::Suggestions(const QString &Word)
{
  if (Word.isEmpty() || Word.size() > MaxSuggestWordLength)
    return {};
  TStringList list;
  Suggest(Word, list);
  QStringList words = list.ToQStringList();
  if (words.size() > SuggestionLimit)
    words.resize(SuggestionLimit);
  return words;
}

bool TEnchantSession::SaveActive()
{
  TCustomDictionary *active = ActiveCustomDictionary();
  if (!active)
    return false;
  active->Save();
  FActiveStamp = ReadFileStamp(NativePath(active->Filename()));
  return !active->Modified();
}

bool TEnchantSession::AddPersonal(const QString &Word)
{
  EnsureConfigurationLoaded();
  TCustomDictionary *active = ActiveCustomDictionary();
  if (!active || Word.isEmpty())
    return false;
  active->RemoveExclude(Word);
  active->AddIgnore(Word);
  return SaveActive();
}

void TEnchantSession::AddSession(const QString &Word)
{
  EnsureConfigurationLoaded();
  if (!Word.isEmpty())
    InternalCustom()->AddIgnore(Word);
}

bool TEnchantSession::StoreReplacement(const QString &Misspelled, const QString &Correction)
{
  EnsureConfigurationLoaded();
  TCustomDictionary *active = ActiveCustomDictionary();
  if (!active || Misspelled.isEmpty() || Correction.isEmpty() || Misspelled == Correction)
    return false;
  active->AddAutoCorrect(Misspelled, Correction);
  return SaveActive();
}

bool TEnchantSession::Exclude(const QString &Word)
{
  EnsureConfigurationLoaded();
  TCustomDictionary *active = ActiveCustomDictionary();
  if (!active || Word.isEmpty())
    return false;
  active->RemoveIgnore(Word);
  active->AddExclude(Word);
  return SaveActive();
}
