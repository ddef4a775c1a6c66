// The Enchant provider: Enchant's broker loads enchant_linewright.so from its module folder and
// calls init_enchant_provider. Every call from the host is serialised by one mutex, checks its
// arguments, and catches everything: a host program never sees an exception, and bad input or a
// missing dictionary gives Enchant an empty answer or its error.
#include "EnchantSession.h"
#include "wrUtil.h"

#include <enchant-provider.h>

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <dlfcn.h>

#include <exception>
#include <memory>
#include <mutex>

namespace {

// Words longer than this many bytes are not words of any dictionary; refused before decoding.
constexpr size_t MaxWordBytes = 1024;

constexpr const char *SaveFailed =
    "the word could not be saved in the Linewright custom dictionary";

std::mutex &Lock()
{
  static std::mutex lock;
  return lock;
}

// Where this program's files are, judged from the module's own path: beside it (a build tree,
// a scratch folder with its own Dictionaries) or the installation it belongs to
// (<prefix>/lib/.../enchant-2 -> <prefix>/bin, whose ../share/linewright holds the files).
QString ProviderAppDir()
{
  Dl_info info{};
  if (!dladdr(reinterpret_cast<void *>(&ProviderAppDir), &info) || !info.dli_fname)
    return QString();
  const QFileInfo module(QString::fromLocal8Bit(info.dli_fname));
  // As loaded, then with links resolved: a module folder may link to an installation elsewhere.
  const QString dirs[] = {module.absolutePath(),
                          QFileInfo(module.canonicalFilePath()).absolutePath()};
  for (const QString &dir : dirs)
    if (!dir.isEmpty() && QFileInfo(dir + QStringLiteral("/Dictionaries")).isDir())
      return dir;
  for (const QString &dir : dirs) {
    const QString bin = QDir::cleanPath(dir + QStringLiteral("/" LW_BIN_FROM_ENCHANT_MODULE));
    if (!dir.isEmpty() && QFileInfo(TDataLayout::InstalledShippedFolder(bin)).isDir())
      return bin;
  }
  return QDir::cleanPath(dirs[0] + QStringLiteral("/" LW_BIN_FROM_ENCHANT_MODULE));
}

void EnsureAppDir()
{
  static std::once_flag once;
  std::call_once(once, [] {
    const QString dir = ProviderAppDir();
    if (!dir.isEmpty())
      SetAppDirOverride(dir);
  });
}

bool Decode(const char *Word, size_t Length, QString &Out)
{
  if (!Word || Length == 0 || Length > MaxWordBytes)
    return false;
  Out = QString::fromUtf8(Word, qsizetype(Length));
  return !Out.contains(QChar::ReplacementCharacter);
}

char **StringList(const QStringList &List, size_t *Count)
{
  char **out = g_new0(char *, size_t(List.size()) + 1);
  for (qsizetype i = 0; i < List.size(); ++i)
    out[i] = g_strdup(List[i].toUtf8().constData());
  if (Count)
    *Count = size_t(List.size());
  return out;
}

// Enchant's error slot exists only on dictionaries its broker handed out.
void SetDictError(EnchantDict *Dict, const char *Message)
{
  if (Dict && Dict->enchant_private_data)
    enchant_dict_set_error(Dict, Message);
}

TEnchantSession *SessionOf(EnchantDict *Dict)
{
  return Dict ? static_cast<TEnchantSession *>(Dict->user_data) : nullptr;
}

// Runs Work under the lock; anything thrown ends as Fallback.
template <class R, class F>
R Guarded(R Fallback, F &&Work)
{
  try {
    std::lock_guard<std::mutex> guard(Lock());
    return Work();
  } catch (...) {
    return Fallback;
  }
}

template <class F>
void GuardedVoid(F &&Work)
{
  Guarded(0, [&] {
    Work();
    return 0;
  });
}

// --- The dictionary ------------------------------------------------------------------------

int DictCheck(EnchantDict *me, const char *const word, size_t len)
{
  return Guarded(-1, [&] {
    TEnchantSession *s = SessionOf(me);
    QString w;
    if (!s || !Decode(word, len, w))
      return -1;
    return s->Check(w) ? 0 : 1;
  });
}

char **DictSuggest(EnchantDict *me, const char *const word, size_t len, size_t *out_n_suggs)
{
  if (out_n_suggs)
    *out_n_suggs = 0;
  return Guarded<char **>(nullptr, [&]() -> char ** {
    TEnchantSession *s = SessionOf(me);
    QString w;
    if (!s || !Decode(word, len, w))
      return nullptr;
    const QStringList words = s->Suggestions(w);
    if (words.isEmpty())
      return nullptr;
    return StringList(words, out_n_suggs);
  });
}

void DictAddToPersonal(EnchantDict *me, const char *const word, size_t len)
{
  GuardedVoid([&] {
    TEnchantSession *s = SessionOf(me);
    QString w;
    if (s && Decode(word, len, w) && !s->AddPersonal(w))
      SetDictError(me, SaveFailed);
  });
}

void DictAddToSession(EnchantDict *me, const char *const word, size_t len)
{
  GuardedVoid([&] {
    TEnchantSession *s = SessionOf(me);
    QString w;
    if (s && Decode(word, len, w))
      s->AddSession(w);
  });
}

void DictStoreReplacement(EnchantDict *me, const char *const mis, size_t mis_len,
                          const char *const cor, size_t cor_len)
{
  GuardedVoid([&] {
    TEnchantSession *s = SessionOf(me);
    QString m, c;
    if (s && Decode(mis, mis_len, m) && Decode(cor, cor_len, c))
      s->StoreReplacement(m, c);
  });
}

void DictAddToExclude(EnchantDict *me, const char *const word, size_t len)
{
  GuardedVoid([&] {
    TEnchantSession *s = SessionOf(me);
    QString w;
    if (s && Decode(word, len, w) && !s->Exclude(w))
      SetDictError(me, SaveFailed);
  });
}

// --- The provider --------------------------------------------------------------------------

EnchantDict *ProviderRequestDict(EnchantProvider *me, const char *const tag)
{
  return Guarded<EnchantDict *>(nullptr, [&]() -> EnchantDict * {
    if (!tag)
      return nullptr;
    EnsureAppDir();
    auto session = std::make_unique<TEnchantSession>();
    const QString file = session->DictionaryFor(QString::fromUtf8(tag));
    if (file.isEmpty())
      return nullptr;
    if (!session->Open(file)) {
      if (me && me->owner)
        enchant_provider_set_error(me, "the Linewright main dictionary could not be opened");
      return nullptr;
    }
    EnchantDict *dict = g_new0(EnchantDict, 1);
    dict->user_data = session.release();
    dict->check = DictCheck;
    dict->suggest = DictSuggest;
    dict->add_to_personal = DictAddToPersonal;
    dict->add_to_session = DictAddToSession;
    dict->store_replacement = DictStoreReplacement;
    dict->add_to_exclude = DictAddToExclude;
    return dict;
  });
}

void ProviderDisposeDict(EnchantProvider *, EnchantDict *dict)
{
  GuardedVoid([&] {
    if (!dict)
      return;
    delete SessionOf(dict);
    g_free(dict);
  });
}

int ProviderDictionaryExists(EnchantProvider *, const char *const tag)
{
  return Guarded(0, [&] {
    if (!tag)
      return 0;
    EnsureAppDir();
    TEnchantSession session;
    return session.DictionaryFor(QString::fromUtf8(tag)).isEmpty() ? 0 : 1;
  });
}

char **ProviderListDicts(EnchantProvider *, size_t *out_n_dicts)
{
  if (out_n_dicts)
    *out_n_dicts = 0;
  return Guarded<char **>(nullptr, [&]() -> char ** {
    EnsureAppDir();
    TEnchantSession session;
    QStringList tags;
    for (const TEnchantDictionaryFile &f : session.Dictionaries())
      tags << f.Tag;
    if (tags.isEmpty())
      return nullptr;
    return StringList(tags, out_n_dicts);
  });
}

const char *ProviderIdentify(EnchantProvider *) { return "linewright"; }

const char *ProviderDescribe(EnchantProvider *) { return "Linewright Provider"; }

void ProviderDispose(EnchantProvider *me) { g_free(me); }

} // namespace

extern "C" __attribute__((visibility("default"))) EnchantProvider *init_enchant_provider(void)
{
  try {
    EnchantProvider *provider = g_new0(EnchantProvider, 1);
    provider->dispose = ProviderDispose;
    provider->request_dict = ProviderRequestDict;
    provider->dispose_dict = ProviderDisposeDict;
    provider->dictionary_exists = ProviderDictionaryExists;
    provider->identify = ProviderIdentify;
    provider->describe = ProviderDescribe;
    provider->list_dicts = ProviderListDicts;
    return provider;
  } catch (...) {
    return nullptr;
  }
}
