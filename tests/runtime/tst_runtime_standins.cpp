// The platform pieces the main window stands on: the string list, the error box and its
// guard around commands, and the registry over a fixed store.

#include "print_qstring.h"

#include "rtErrorBox.h"
#include "rtRegistry.h"
#include "rtStringList.h"

#include <gtest/gtest.h>

#include <ostream>
#include <stdexcept>

namespace {

QStringList Items(const TStringList &l) { return l.ToQStringList(); }

// --- TStringList ---------------------------------------------------------------------------------

TEST(StringList, SortedIgnoresDuplicatesWithoutRegardToCase)
{
  TStringList l;
  l.SetSorted(true);
  EXPECT_EQ(l.Add("b"), 0);
  EXPECT_EQ(l.Add("C"), 1);
  EXPECT_EQ(l.Add("a"), 0);
  EXPECT_EQ(l.Add("B"), 1); // the existing "b"
  EXPECT_EQ(Items(l), QStringList({"a", "b", "C"}));
  int index = -1;
  EXPECT_TRUE(l.Find("c", index));
  EXPECT_EQ(index, 2);
  EXPECT_FALSE(l.Find("bb", index));
  EXPECT_EQ(index, 2); // where it would go
  EXPECT_EQ(l.IndexOf("A"), 0);
}

TEST(StringList, CaseSensitiveListKeepsBothCases)
{
  TStringList l;
  l.SetCaseSensitive(true);
  l.SetSorted(true);
  l.Add("a");
  l.Add("A");
  EXPECT_EQ(l.Count(), 2);
  EXPECT_EQ(l.IndexOf("a") != l.IndexOf("A"), true);
}

TEST(StringList, DuplicateErrorAndSortedRestrictionsThrow)
{
  TStringList l;
  l.SetSorted(true);
  l.SetDuplicates(dupError);
  l.Add("x");
  EXPECT_THROW(l.Add("X"), EStringListError);
  EXPECT_THROW(l.Insert(0, "y"), EStringListError);
  EXPECT_THROW((void)l.Strings(5), EStringListError);
  EXPECT_EQ(l.Count(), 1);
  // A bulk add that fails part-way keeps what it added and still ends its update.
  EXPECT_THROW(l.AddStrings(QStringList{"y", "X"}), EStringListError);
  EXPECT_EQ(l.Count(), 2);
  EXPECT_EQ(l.UpdateCount(), 0);
}

TEST(StringList, ObjectsTravelWithTheirItemsWhenSorting)
{
  int one = 1, two = 2, three = 3;
  TStringList l;
  l.AddObject("c", &three);
  l.AddObject("a", &one);
  l.AddObject("b", &two);
  l.SetSorted(true);
  EXPECT_EQ(Items(l), QStringList({"a", "b", "c"}));
  EXPECT_EQ(l.Objects(0), &one);
  EXPECT_EQ(l.Objects(2), &three);
  EXPECT_EQ(l.IndexOfObject(&two), 1);
}

TEST(StringList, ChangesInsideAnUpdateAreReportedOnce)
{
  TStringList l;
  int changing = 0, changed = 0;
  l.OnChanging = [&](TStringList *) { ++changing; };
  l.OnChange = [&](TStringList *) { ++changed; };
  l.Add("a");
  EXPECT_EQ(changed, 1);
  l.BeginUpdate();
  l.BeginUpdate();
  l.Add("b");
  l.Delete(0);
  l.EndUpdate();
  EXPECT_EQ(changed, 1);
  l.EndUpdate();
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
}

TEST(StringList, TextSplitsAtEveryBreakAndCommaTextQuotes)
{
  TStringList l;
  l.SetText("a\r\nb\rc\nd");
  EXPECT_EQ(Items(l), QStringList({"a", "b", "c", "d"}));
  EXPECT_EQ(l.Text(), "a\r\nb\r\nc\r\nd\r\n");
  l.Clear();
  for (const char *s : {"a b", "c", "", "d\"e"})
    l.Add(s);
  EXPECT_EQ(l.CommaText(), "\"a b\",c,\"\",\"d\"\"e\"");
  TStringList back;
  back.SetCommaText(l.CommaText());
  EXPECT_EQ(Items(back), Items(l));
  l.Clear();
  l.SetValues("key", "v");
  EXPECT_EQ(l.Values("KEY"), "v");
  l.SetValues("key", "");
  EXPECT_EQ(l.Count(), 0);
}

// --- Error box --------------------------------------------------------------------------------------

struct FullStopCase {
  QString Message, Shown;
};

class ErrorBoxFullStop : public ::testing::TestWithParam<FullStopCase> {};

TEST_P(ErrorBoxFullStop, AddsAFullStopAfterCharactersAboveIt)
{
  EXPECT_EQ(ErrorBoxText(GetParam().Message), GetParam().Shown);
}

INSTANTIATE_TEST_SUITE_P(Messages, ErrorBoxFullStop,
                         ::testing::Values(FullStopCase{"Stream read error", "Stream read error."},
                                           FullStopCase{"Done.", "Done."}, FullStopCase{"", ""},
                                           FullStopCase{"Why?", "Why?."}, FullStopCase{"a-", "a-"},
                                           FullStopCase{"x/", "x/."}));

TEST(ErrorBox, AnEscapingErrorIsShownAndTheProgramGoesOn)
{
  QString text, caption;
  unsigned flags = 0;
  int boxes = 0;
  const TMessageBoxHandler old =
      SetMessageBoxHandler([&](QWidget *, const QString &t, const QString &c, unsigned f) {
        ++boxes;
        text = t;
        caption = c;
        flags = f;
        return IDOK;
      });
  const bool finished = RunCommand([] { throw std::runtime_error("Boom"); });
  const int boomBoxes = boxes;
  const QString boomText = text;
  // Anything thrown that is no std::exception still gets its box.
  const bool finishedOther = RunCommand([] { throw 42; });
  SetMessageBoxHandler(old);
  EXPECT_FALSE(finished);
  EXPECT_EQ(boomBoxes, 1);
  EXPECT_EQ(boomText, "Boom.");
  EXPECT_FALSE(finishedOther);
  EXPECT_EQ(boxes, 2);
  EXPECT_EQ(text, "Unknown error.");
  EXPECT_EQ(caption, ApplicationTitle());
  EXPECT_EQ(flags & MB_ICONMASK, unsigned(MB_ICONERROR));
  EXPECT_TRUE(RunCommand([] {}));
}

// --- Registry ---------------------------------------------------------------------------------------

TEST(Registry, OpensExistingKeysOnlyAndReadsDefaultValues)
{
  auto store = std::make_shared<TMemoryRegistryStore>();
  store->SetValue(TRootKey::HKEY_CLASSES_ROOT, ".xls", "", "Excel.Sheet.8");
  store->SetValue(TRootKey::HKEY_CLASSES_ROOT, "Excel.Sheet.8\\shell\\open\\command", "", "cmd /e");
  TRegistry reg(store);
  reg.SetRootKey(TRootKey::HKEY_CLASSES_ROOT);
  EXPECT_FALSE(reg.OpenKey("\\.doc", false));
  ASSERT_TRUE(reg.OpenKey("\\.XLS", false)); // keys compare without regard to case
  EXPECT_EQ(reg.ReadString(""), "Excel.Sheet.8");
  EXPECT_EQ(reg.ReadString("missing"), "");
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey("\\Excel.Sheet.8", false));
  ASSERT_TRUE(reg.OpenKey("shell\\open\\command", false)); // relative to the open key
  EXPECT_EQ(reg.ReadString(""), "cmd /e");
  reg.SetRootKey(TRootKey::HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.OpenKey("\\.xls", false));

  const auto old = SetDefaultRegistryStore(store);
  EXPECT_EQ(GetAssociatedOpenCommand(".xls"), "cmd /e");
  EXPECT_EQ(GetAssociatedOpenCommand(".doc"), "");
  SetDefaultRegistryStore(old);
}

} // namespace
