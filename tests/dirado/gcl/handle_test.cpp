// Handles and bodies: reference counts, self-assignment, the last release,
// equality by body and by class.
#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <thread>
#include <vector>

#include "gcl_handle.h"

namespace {

std::atomic<int> g_destroyed{0};

class CounterRep : public GCL_Body {
 public:
  explicit CounterRep(int value) : value_(value) {}
  ~CounterRep() override { g_destroyed.fetch_add(1); }
  bool is_null() const override { return value_ == 0; }
  bool equals(const GCL_Body& other) const override { return value_ == static_cast<const CounterRep&>(other).value_; }
  int value() const { return value_; }

 private:
  int value_;
};

class OtherRep : public GCL_Body {
 public:
  explicit OtherRep(int value) : value_(value) {}
  bool equals(const GCL_Body& other) const override { return value_ == static_cast<const OtherRep&>(other).value_; }

 private:
  int value_;
};

class Counter : public GCL_Handle<CounterRep> {
 public:
  Counter() = default;
  explicit Counter(int value) : GCL_Handle(new CounterRep(value)) {}
  void reset(int value) { set_rep(new CounterRep(value)); }
  int value() const { return rep() ? rep()->value() : -1; }
};

class Other : public GCL_Handle<OtherRep> {
 public:
  explicit Other(int value) : GCL_Handle(new OtherRep(value)) {}
};

class GclHandle : public ::testing::Test {
 protected:
  void SetUp() override { g_destroyed = 0; }
};

TEST_F(GclHandle, CountsCopiesAndReleasesTheLast) {
  {
    Counter a(7);
    EXPECT_EQ(a.reference_count(), 1u);  // a new handle reports 1
    {
      Counter b(a);
      Counter c;
      c = b;
      EXPECT_EQ(a.reference_count(), 3u);
      EXPECT_EQ(c.body(), a.body());
    }
    EXPECT_EQ(a.reference_count(), 1u);
    EXPECT_EQ(g_destroyed.load(), 0);
  }
  EXPECT_EQ(g_destroyed.load(), 1);
}

TEST_F(GclHandle, SelfAssignmentKeepsTheCount) {
  Counter a(1);
  Counter& same = a;
  a = same;
  EXPECT_EQ(a.reference_count(), 1u);
  EXPECT_EQ(a.value(), 1);
  EXPECT_EQ(g_destroyed.load(), 0);
}

TEST_F(GclHandle, AssigningReleasesTheOldBody) {
  Counter a(1), b(2);
  a = b;
  EXPECT_EQ(g_destroyed.load(), 1);
  EXPECT_EQ(a.value(), 2);
  a.reset(3);  // takes over a fresh body
  EXPECT_EQ(a.reference_count(), 1u);
  EXPECT_EQ(b.reference_count(), 1u);
  EXPECT_EQ(g_destroyed.load(), 1);
}

TEST_F(GclHandle, MoveLeavesANullHandle) {
  Counter a(5);
  Counter b(std::move(a));
  EXPECT_FALSE(a.has_body());
  EXPECT_EQ(b.reference_count(), 1u);
  Counter c(6);
  c = std::move(b);
  EXPECT_EQ(g_destroyed.load(), 1);
  EXPECT_EQ(c.value(), 5);
}

TEST_F(GclHandle, Equality) {
  const Counter a(1), b(1), c(2), none, none2;
  EXPECT_TRUE(a == Counter(a));  // same body
  EXPECT_TRUE(a == b);          // equal contents
  EXPECT_FALSE(a == c);
  EXPECT_FALSE(a == none);
  EXPECT_FALSE(none == a);
  EXPECT_TRUE(none == none2);
  // Bodies of different classes are never equal, whatever their contents.
  EXPECT_FALSE(static_cast<const GCL_HandleBase&>(a) == Other(1));
}

TEST_F(GclHandle, PlainBodyPrintsItsCount) {
  GCL_HandleBase handle(new OtherRep(1));
  GCL_HandleBase copy(handle);
  std::ostringstream out;
  handle.body()->GCL_Body::print(out);
  EXPECT_EQ(out.str(), "Reference Count: 2\n");
  GCL_Body plain_check;
  EXPECT_TRUE(plain_check.is_null());
}

TEST_F(GclHandle, CopiesOnManyThreads) {
  {
    const Counter shared(9);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t)
      threads.emplace_back([&] {
        for (int i = 0; i < 2000; ++i) {
          Counter copy(shared);
          Counter other;
          other = copy;
        }
      });
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(shared.reference_count(), 1u);
  }
  EXPECT_EQ(g_destroyed.load(), 1);
}

}  // namespace
