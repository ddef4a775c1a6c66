// The provider module as Enchant loads it: dlopen, init_enchant_provider, then the callbacks
// with good and hostile arguments. The broker's own part (its word lists, error slots) is
// exercised by the client test with Enchant's programs.
#include <enchant-provider.h>

#include "print_qstring.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Strings(char **list, size_t n)
{
  std::vector<std::string> out;
  for (size_t i = 0; i < n; ++i)
    out.emplace_back(list[i]);
  g_strfreev(list);
  return out;
}

// A copy of the module in a scratch folder with its own Dictionaries: the module finds its
// files beside itself, and what it writes stays there.
class EnchantProviderTest : public ::testing::Test {
protected:
  void SetUp() override
  {
    ASSERT_TRUE(Dir.isValid());
    ASSERT_TRUE(QDir(Dir.path()).mkpath(QStringLiteral("Dictionaries")));
    Module = Dir.path() + QStringLiteral("/enchant_linewright.so");
    ASSERT_TRUE(QFile::copy(QStringLiteral(LW_ENCHANT_MODULE), Module));
  }
  void TearDown() override
  {
    if (Provider)
      Provider->dispose(Provider);
    if (Handle)
      dlclose(Handle);
  }

  QString Folder() const { return Dir.path() + QStringLiteral("/Dictionaries"); }
  void Ship(const char *name)
  {
    ASSERT_TRUE(QFile::copy(QStringLiteral(LW_SHIPPED_DIR "/") + QLatin1String(name),
                            Folder() + QLatin1Char('/') + QLatin1String(name)));
  }
  void Load()
  {
    // RTLD_LOCAL: each test's copy is a module of its own, as a fresh host would load it.
    Handle = dlopen(Module.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(Handle, nullptr) << dlerror();
    auto init = reinterpret_cast<EnchantProvider *(*)()>(dlsym(Handle, "init_enchant_provider"));
    ASSERT_NE(init, nullptr);
    Provider = init();
    ASSERT_NE(Provider, nullptr);
  }

  QTemporaryDir Dir;
  QString Module;
  void *Handle = nullptr;
  EnchantProvider *Provider = nullptr;
};

TEST_F(EnchantProviderTest, ServesTheShippedDictionary)
{
  for (const char *f : {"aussie.wdm", "aussie.wdp", "aussie.wdf", "Autocorrect.wdu"})
    Ship(f);
  Load();
  EXPECT_STREQ(Provider->identify(Provider), "linewright");
  size_t n = 0;
  char **tags = Provider->list_dicts(Provider, &n);
  EXPECT_EQ(Strings(tags, n), std::vector<std::string>{"en_AU"});
  EXPECT_EQ(Provider->dictionary_exists(Provider, "en_AU"), 1);
  EXPECT_EQ(Provider->dictionary_exists(Provider, "fr_FR"), 0);
  EXPECT_EQ(Provider->dictionary_exists(Provider, nullptr), 0);
  EXPECT_EQ(Provider->request_dict(Provider, "fr_FR"), nullptr);
  EXPECT_EQ(Provider->request_dict(Provider, nullptr), nullptr);

  EnchantDict *d = Provider->request_dict(Provider, "en_AU");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->check(d, "colour", 6), 0);
  EXPECT_EQ(d->check(d, "brwn", 4), 1);
  // UTF-8 both ways: an accented misspelling and its plain suggestion.
  EXPECT_EQ(d->check(d, "na\xc3\xafve", 6), 1);
  size_t k = 0;
  char **naive = d->suggest(d, "na\xc3\xafve", 6, &k);
  ASSERT_NE(naive, nullptr);
  EXPECT_EQ(Strings(naive, k).front(), "naive");
  char **sugg = d->suggest(d, "brwn", 4, &k);
  ASSERT_NE(sugg, nullptr);
  const std::vector<std::string> words = Strings(sugg, k);
  ASSERT_FALSE(words.empty());
  EXPECT_EQ(words.front(), "brown");
  EXPECT_LE(words.size(), 15u);

  // Hostile arguments: an answer of "error" or nothing, never a crash.
  const std::string huge(1 << 20, 'a');
  struct Bad {
    const char *what;
    const char *word;
    size_t len;
  };
  const Bad bad[] = {{"null", nullptr, 4},
                     {"empty", "", 0},
                     {"invalid UTF-8", "\xff\xfe\xfd", 3},
                     {"cut in a character", "caf\xc3", 4},
                     {"huge", huge.data(), huge.size()}};
  for (const Bad &b : bad) {
    SCOPED_TRACE(b.what);
    EXPECT_EQ(d->check(d, b.word, b.len), -1);
    size_t m = 7;
    EXPECT_EQ(d->suggest(d, b.word, b.len, &m), nullptr);
    EXPECT_EQ(m, 0u);
    d->add_to_personal(d, b.word, b.len);
    d->add_to_session(d, b.word, b.len);
    d->add_to_exclude(d, b.word, b.len);
    d->store_replacement(d, b.word, b.len, "x", 1);
  }

  d->add_to_personal(d, "zorblax", 7);
  EXPECT_EQ(d->check(d, "zorblax", 7), 0);
  Provider->dispose_dict(Provider, d);
  // Saved into the scratch folder's custom dictionary, where the next host finds it.
  EnchantDict *again = Provider->request_dict(Provider, "en_AU");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->check(again, "zorblax", 7), 0);
  Provider->dispose_dict(Provider, again);
}

TEST_F(EnchantProviderTest, DamagedOrMissingDictionariesGiveNothing)
{
  struct Case {
    const char *what;
    QByteArray bytes; // empty: no file at all
  };
  QFile shipped(QStringLiteral(LW_SHIPPED_DIR "/aussie.wdm"));
  ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
  const QByteArray whole = shipped.readAll();
  const Case cases[] = {{"missing", QByteArray()},
                        {"cut in half", whole.left(whole.size() / 2)},
                        {"header only", whole.left(1024)},
                        {"random bytes", QByteArray(4096, '\x5a')}};
  for (const Case &c : cases) {
    SCOPED_TRACE(c.what);
    QFile::remove(Folder() + QStringLiteral("/aussie.wdm"));
    if (!c.bytes.isEmpty()) {
      QFile f(Folder() + QStringLiteral("/aussie.wdm"));
      ASSERT_TRUE(f.open(QIODevice::WriteOnly));
      f.write(c.bytes);
    }
    if (!Provider)
      Load();
    size_t n = 9;
    char **tags = Provider->list_dicts(Provider, &n);
    if (tags)
      g_strfreev(tags);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(Provider->request_dict(Provider, "en_AU"), nullptr);
  }
}

} // namespace
