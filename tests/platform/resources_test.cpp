// Resources: the search order, the current-module switch and formatting.
#include <gtest/gtest.h>

#include "platform/resources.h"
#include "platform/sync.h"

namespace plat {
namespace {

TEST(Resources, TheCurrentModuleIsSearchedFirstAndRestoredOnReturn) {
  static ResourceModule library("library");
  static ResourceModule chained("chained");
  library.AddString(1, "library one");
  AppResources().AddString(1, "app one");
  AppResources().AddString(2, "app two");
  chained.AddString(3, "chained three");
  AddToResourceChain(&chained);
  EXPECT_EQ(LoadString(1), "app one");
  {
    ResourceScope scope(library);
    EXPECT_EQ(LoadString(1), "library one");
    EXPECT_EQ(LoadString(2), "app two");
    EXPECT_EQ(LoadString(3), "chained three");
    std::string missing = "untouched";
    EXPECT_FALSE(LoadString(4, missing));
    EXPECT_EQ(missing, "");
    // The switch is per thread: another thread still sees the application's.
    std::string other;
    WorkerThread worker([&] {
      other = LoadString(1);
      return 0;
    });
    worker.Join();
    EXPECT_EQ(other, "app one");
  }
  EXPECT_EQ(LoadString(1), "app one");
  RemoveFromResourceChain(&chained);
  EXPECT_EQ(LoadString(3), "");
}

TEST(Format, PlaceholdersAreReplacedOnlyWhenAnArgumentExists) {
  EXPECT_EQ(FormatMessage("Error checking in '%1'.", {"a b.txt"}), "Error checking in 'a b.txt'.");
  EXPECT_EQ(FormatMessage("%2 before %1, 100%% and %3", {"x", "y"}), "y before x, 100% and %3");
  EXPECT_EQ(FormatMessage("%1%1", {"%1"}), "%1%1") << "arguments are not formatted again";
}

TEST(Format, PrintfStyleNeverTrustsTheFormat) {
  EXPECT_EQ(FormatPrintf("%-*s %s (%s)", {5, "ab", "1.0", "today"}), "ab    1.0 (today)");
  EXPECT_EQ(FormatPrintf("%d files, %u left, %x", {3, 4u, 255}), "3 files, 4 left, ff");
  EXPECT_EQ(FormatPrintf("%s and %d", {}), " and 0") << "missing arguments";
  EXPECT_EQ(FormatPrintf("%d", {"text"}), "0") << "text where a number was expected";
  EXPECT_EQ(FormatPrintf("%s", {42}), "42");
  EXPECT_EQ(FormatPrintf("%n %p %", {1}), "%n %p %") << "unknown conversions stay text";
  EXPECT_EQ(FormatPrintf("%99999999d", {1}).size(), 9999u) << "widths are bounded";
  EXPECT_EQ(FormatPrintf("Syntax error on line %d, near column %d,", {3, 14}),
            "Syntax error on line 3, near column 14,");
}

}  // namespace
}  // namespace plat
