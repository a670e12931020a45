// LC_ containers: the dynamic collection (ring growth, insertion at either
// end, preconditions), maps keyed by strings, stacks, and the message stack
// of a status.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "gcl_status.h"
#include "gcl_string.h"
#include "lc_collection.h"
#include "lc_map.h"
#include "lc_stack.h"

namespace {

std::vector<int> Items(const LC_TDynamicCollection<int>& collection) {
  std::vector<int> items;
  for (int item : collection) items.push_back(item);
  return items;
}

std::string LastViolation() {
  const LC_Violation v = LC_LastViolation();
  return v.name ? std::string(v.name) + "@" + v.label : "";
}

class LcTest : public ::testing::Test {
 protected:
  void SetUp() override { LC_ClearViolation(); }
};

using LcCollection = LcTest;
using LcMap = LcTest;
using LcStack = LcTest;

TEST_F(LcCollection, AppendInsertRemoveReplace) {
  LC_TDynamicCollection<int> c(4);
  for (int i = 1; i <= 5; ++i) ASSERT_TRUE(c.Append(i));
  EXPECT_EQ(Items(c), (std::vector<int>{1, 2, 3, 4, 5}));
  ASSERT_TRUE(c.Insert(0, 0));
  ASSERT_TRUE(c.Insert(9, 3));
  ASSERT_TRUE(c.Insert(7, c.Length()));
  EXPECT_EQ(Items(c), (std::vector<int>{0, 1, 2, 9, 3, 4, 5, 7}));
  ASSERT_TRUE(c.Remove(0));
  ASSERT_TRUE(c.Remove(2));
  ASSERT_TRUE(c.Remove(c.Length() - 1));
  EXPECT_EQ(Items(c), (std::vector<int>{1, 2, 3, 4, 5}));
  ASSERT_TRUE(c.Replace(4, 50));
  EXPECT_EQ(c[4], 50);
  EXPECT_EQ(c.Location(3), 2u);
  EXPECT_EQ(c.Location(99), LC_npos);
  EXPECT_EQ(LastViolation(), "");
}

TEST_F(LcCollection, RingWrapsAndGrowsByChunks) {
  LC_TDynamicCollection<int> c(4);
  for (int i = 0; i < 4; ++i) c.Append(i);
  c.Remove(0);
  c.Remove(0);
  c.Append(4);
  c.Append(5);      // wraps inside the block
  c.Insert(-1, 0);  // grows: chunks of 4
  c.Insert(-2, 0);
  EXPECT_EQ(Items(c), (std::vector<int>{-2, -1, 2, 3, 4, 5}));
  c.Insert(10, 3);
  c.Remove(1);
  EXPECT_EQ(Items(c), (std::vector<int>{-2, 2, 10, 3, 4, 5}));
  // Against a plain model over many mixed operations.
  std::vector<int> model(Items(c));
  for (int step = 0; step < 400; ++step) {
    const std::uint32_t length = c.Length();
    switch (step % 5) {
      case 0: c.Insert(step, 0); model.insert(model.begin(), step); break;
      case 1: c.Append(step); model.push_back(step); break;
      case 2: c.Insert(step, length / 2); model.insert(model.begin() + length / 2, step); break;
      case 3: c.Remove(0); model.erase(model.begin()); break;
      case 4: if (step % 3 == 0) { c.Remove(length / 3); model.erase(model.begin() + length / 3); } break;
    }
  }
  EXPECT_EQ(Items(c), model);
}

TEST_F(LcCollection, PreconditionsChangeNothing) {
  LC_TDynamicCollection<GCL_String> c;
  c.Append("a");
  EXPECT_FALSE(c.Insert("b", 5));
  EXPECT_EQ(LastViolation(), "Range_Error@LC_TDynamic::Insert");
  EXPECT_FALSE(c.Remove(1));
  EXPECT_EQ(LastViolation(), "Range_Error@LC_TDynamic::Remove");
  EXPECT_FALSE(c.Replace(1, "z"));
  EXPECT_EQ(LastViolation(), "Range_Error@LC_TDynamic::Replace");
  EXPECT_EQ(c[7], "");
  EXPECT_EQ(LastViolation(), "Range_Error@LC_TDynamic<>::operator[]");
  EXPECT_FALSE(c.SetChunkSize(8));
  EXPECT_EQ(LastViolation(), "Not_Null@LC_TDynamic<>::SetChunkSize");
  EXPECT_FALSE(c.Resize(LC_npos));
  EXPECT_EQ(LastViolation(), "Range_Error@LC_TDynamic::Resize");
  ASSERT_EQ(c.Length(), 1u);
  EXPECT_EQ(c[0], "a");
  c.MakeEmpty();
  EXPECT_TRUE(c.SetChunkSize(8));
  EXPECT_EQ(c.ChunkSize(), 8u);
}

TEST_F(LcCollection, ResizeCopyAndEquality) {
  LC_TDynamicCollection<GCL_String> c(2);
  c.Append("x");
  ASSERT_TRUE(c.Resize(3));
  EXPECT_EQ(c.Length(), 3u);
  EXPECT_EQ(c[2], "");
  c.Replace(2, "z");
  LC_TDynamicCollection<GCL_String> copy(c);
  EXPECT_TRUE(copy == c);
  copy.Replace(0, "changed");
  EXPECT_EQ(c[0], "x");
  EXPECT_TRUE(copy != c);
  ASSERT_TRUE(c.Resize(1));
  EXPECT_EQ(c.Length(), 1u);
  // A dropped item lets go of its string at once.
  const GCL_String held("held");
  c.Append(held);
  EXPECT_EQ(held.reference_count(), 2u);
  c.Resize(1);
  EXPECT_EQ(held.reference_count(), 1u);
  c.Append(held);
  c.Remove(1);
  EXPECT_EQ(held.reference_count(), 1u);
}

TEST_F(LcMap, BindRebindUnbind) {
  LC_TDynamicMap<GCL_String, int, 8> map(GCL_StringHash);
  EXPECT_TRUE(map.Bind("one", 1));
  EXPECT_TRUE(map.Bind("two", 2));
  EXPECT_FALSE(map.Bind("one", 11));
  EXPECT_EQ(LastViolation(), "Duplicate@LC_TTable::Bind");
  int value = 0;
  ASSERT_TRUE(map.ValueOf("one", value));
  EXPECT_EQ(value, 1);
  EXPECT_TRUE(map.Rebind("one", 100));
  ASSERT_TRUE(map.ValueOf("one", value));
  EXPECT_EQ(value, 100);
  EXPECT_FALSE(map.Rebind("three", 3));
  EXPECT_FALSE(map.IsBound("three"));
  EXPECT_EQ(map.Extent(), 2u);
  EXPECT_FALSE(map.Unbind("three"));  // not bound: false, nothing changes
  EXPECT_EQ(map.Extent(), 2u);
  EXPECT_TRUE(map.Unbind("one"));
  EXPECT_FALSE(map.IsBound("one"));
  value = -5;
  EXPECT_FALSE(map.ValueOf("one", value));
  EXPECT_EQ(value, -5);
  map.MakeEmpty();
  EXPECT_TRUE(map.IsEmpty());
}

TEST_F(LcMap, ManyKeysInFewBucketsAgainstAModel) {
  LC_TDynamicMap<GCL_String, GCL_String, 8> map(nullptr, 4);
  ASSERT_TRUE(map.SetHashFunction(GCL_StringHash));
  std::map<std::string, std::string> model;
  for (int i = 0; i < 500; ++i) {
    const std::string key = "key" + std::to_string(i * 7 % 311);
    const std::string value = "v" + std::to_string(i);
    if (model.count(key)) {
      map.Rebind(key.c_str(), value.c_str());
    } else {
      map.Bind(key.c_str(), value.c_str());
    }
    model[key] = value;
    if (i % 5 == 0) {
      const std::string gone = "key" + std::to_string(i % 311);
      EXPECT_EQ(map.Unbind(gone.c_str()), model.erase(gone) == 1);
    }
  }
  EXPECT_EQ(map.Extent(), model.size());
  std::map<std::string, std::string> seen;
  map.ForEach([&](const GCL_String& key, const GCL_String& value) { seen[key.c_str()] = value.c_str(); });
  EXPECT_EQ(seen, model);
  const auto copy = map;
  map.MakeEmpty();
  GCL_String value;
  EXPECT_TRUE(copy.ValueOf(model.begin()->first.c_str(), value));
  EXPECT_EQ(value, model.begin()->second.c_str());
}

TEST_F(LcMap, HashFunctionIsNeededAndSetOnce) {
  LC_TDynamicMap<GCL_String, int, 4> map;
  EXPECT_FALSE(map.Bind("a", 1));
  EXPECT_EQ(LastViolation(), "Is_Null@LC_TTable::Bind");
  EXPECT_FALSE(map.IsBound("a"));
  EXPECT_FALSE(map.SetHashFunction(nullptr));
  EXPECT_EQ(LastViolation(), "Is_Null@LC_TTable::SetHashFunction");
  ASSERT_TRUE(map.SetHashFunction(GCL_StringHash));
  ASSERT_TRUE(map.Bind("a", 1));
  auto caseless = [](const GCL_String& key) { return key.hash_caseless(); };
  EXPECT_FALSE(map.SetHashFunction(+caseless));
  EXPECT_EQ(LastViolation(), "Not_Null@LC_TTable::SetHashFunction");
  EXPECT_TRUE(map.IsBound("a"));
}

TEST_F(LcStack, PushPopTopDepth) {
  LC_TUnboundedStack<GCL_String> stack;
  EXPECT_TRUE(stack.IsEmpty());
  stack.Push("a");
  stack.Push("b");
  stack.Push("c");
  EXPECT_EQ(stack.Depth(), 3u);
  EXPECT_EQ(stack.Top(), "c");
  EXPECT_EQ(stack[2], "a");
  LC_TUnboundedStack<GCL_String> copy(stack);
  ASSERT_TRUE(stack.Pop());
  EXPECT_EQ(stack.Top(), "b");
  EXPECT_EQ(copy.Top(), "c");
  EXPECT_EQ(copy[1], "b");
  EXPECT_EQ(copy.Depth(), 3u);
  stack.MakeEmpty();
  EXPECT_FALSE(stack.Pop());
  EXPECT_EQ(LastViolation(), "Underflow@LC_TUnbounded::Remove");
  EXPECT_EQ(stack.Top(), "");
  EXPECT_EQ(LastViolation(), "Underflow@LC_TUnbounded<>::First()");
  EXPECT_EQ(copy[3], "");
  EXPECT_EQ(LastViolation(), "Range_Error@LC_TUnbounded<>::operator[]");
  copy = copy;
  EXPECT_EQ(copy.Depth(), 3u);
}

TEST_F(LcStack, EngineAppendsAtTheTailAndFindsItems) {
  LC_TUnbounded<int> list;
  list.Append(2);
  list.Insert(1);
  list.Append(3);
  EXPECT_EQ(list.First(), 1);
  EXPECT_EQ(list[2], 3);
  EXPECT_EQ(list.Location(3), 2u);
  EXPECT_EQ(list.Location(4), LC_npos);
  EXPECT_TRUE(list.Remove(1));
  EXPECT_EQ(list[1], 3);
  EXPECT_FALSE(list.Remove(5));
  EXPECT_EQ(LastViolation(), "Range_Error@LC_TUnbounded::Remove");
}

TEST_F(LcStack, ErrMsgStackJoinsInPushOrder) {
  GCL_ErrMsgStack stack;
  EXPECT_EQ(stack.joined(), "");
  stack.Push("one ");
  stack.Push("two ");
  stack.Push("three");
  EXPECT_EQ(stack.joined(), "one two three");
  EXPECT_EQ(stack.Top(), "three");
}

}  // namespace
