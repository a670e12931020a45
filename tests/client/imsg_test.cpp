// Message routing: default output, formatting, style marks, prefixes,
// tracing, and layers of installed procedures across threads.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "imsg.h"
#include "platform/sync.h"
#include "tbs.h"

namespace {

using Message = std::pair<int, std::string>;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

imsg_redirect_procs_t InForce() {
  imsg_redirect_procs_t procs;
  EXPECT_EQ(imsg_get_redirect_procs(&procs), 0);
  return procs;
}

// Installs its own procedures for all kinds, as a capturing status does,
// and restores what it found. Counts calls that arrive after its restore
// returned: none may.
class Capture {
 public:
  Capture() : found_(InForce()) {
    imsg_redirect_procs_t mine;
    for (auto& proc : mine.procs) proc = &Capture::Receive;
    mine.context = this;
    EXPECT_EQ(imsg_set_redirect_procs(&mine), 0);
  }
  ~Capture() { Restore(); }
  Capture(const Capture&) = delete;
  Capture& operator=(const Capture&) = delete;

  void Restore() {
    if (restored_.load()) return;
    EXPECT_EQ(imsg_set_redirect_procs(&found_), 0);
    restored_.store(true);
  }
  std::vector<Message> Messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
  }
  int LateCalls() const { return late_calls_.load(); }
  const imsg_redirect_procs_t& Found() const { return found_; }

  // Runs inside the procedure, before the message is kept.
  std::function<void(int kind, const std::string& text)> on_message;

 private:
  static void Receive(void* context, int kind, const char* text) {
    auto* self = static_cast<Capture*>(context);
    if (self->restored_.load()) self->late_calls_.fetch_add(1);
    if (self->on_message) self->on_message(kind, text);
    std::lock_guard lock(self->mutex_);
    self->messages_.emplace_back(kind, text);
  }

  const imsg_redirect_procs_t found_;
  std::atomic<bool> restored_{false};
  std::atomic<int> late_calls_{0};
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
};

// The default procedures write into a temporary file for the test's life.
class DefaultOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = std::tmpfile();
    ASSERT_NE(file_, nullptr);
    previous_stream_ = imsg_redirect_output(file_);
    previous_prefix_ = imsg_suppress_prefix(0);
  }
  void TearDown() override {
    imsg_suppress_prefix(previous_prefix_);
    EXPECT_EQ(imsg_redirect_output(previous_stream_), file_);
    std::fclose(file_);
  }
  // What was written since the last call.
  std::string Written() {
    std::fflush(file_);
    std::rewind(file_);
    std::string text;
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    std::fseek(file_, 0, SEEK_END);
    std::string fresh = text.substr(consumed_);
    consumed_ = text.size();
    return fresh;
  }
  std::size_t consumed_ = 0;

  std::FILE* file_ = nullptr;
  std::FILE* previous_stream_ = nullptr;
  int previous_prefix_ = 0;
};

struct PrefixCase {
  int kind;
  const char* prefix;
};

TEST_F(DefaultOutput, EachKindHasItsPrefixUnlessSuppressed) {
  const PrefixCase cases[] = {
      {IMSG_NOTICE, ""},   {IMSG_NOTICE_CONT, ""},    {IMSG_VERBOSE, ""},        {IMSG_TRACE, "Trace: "},
      {IMSG_WARNING, "Warning: "}, {IMSG_WARNING_CONT, ""}, {IMSG_ERROR, "Error: "}, {IMSG_ERROR_CONT, ""},
      {IMSG_DEBUG, "Debug: "},     {IMSG_OUTPUT, ""},       {IMSG_INTERNAL_ERROR, "Internal error: "},
  };
  for (const PrefixCase& c : cases) {
    ASSERT_EQ(imsg_print_text(c.kind, "message\n"), 0);
    EXPECT_EQ(Written(), std::string(c.prefix) + "message\n") << "kind " << c.kind;

    EXPECT_EQ(imsg_suppress_prefix(1), 0);
    ASSERT_EQ(imsg_print_text(c.kind, "message\n"), 0);
    EXPECT_EQ(Written(), "message\n") << "kind " << c.kind;
    EXPECT_EQ(imsg_suppress_prefix(0), 1);
  }
}

TEST_F(DefaultOutput, StyleMarksAreNotWrittenToTheTerminal) {
  imsg_print(IMSG_ERROR, "cannot check out \x02p%s\x02n: %s\n", "src/a.c", "Permission denied");
  EXPECT_EQ(Written(), "Error: cannot check out src/a.c: Permission denied\n");
}

TEST_F(DefaultOutput, RedirectReturnsTheStreamInForce) {
  std::FILE* other = std::tmpfile();
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(imsg_redirect_output(other), file_);
  imsg_print_text(IMSG_NOTICE, "to the other\n");
  EXPECT_EQ(imsg_redirect_output(file_), other);
  imsg_print_text(IMSG_NOTICE, "back\n");
  std::fclose(other);
  EXPECT_EQ(Written(), "back\n");
}

TEST(ImsgPrint, FormatsWithoutTrustingTheFormat) {
  Capture capture;
  imsg_print(IMSG_NOTICE, "%s has %d version%s", "a.c", 3, "s");
  // A format from outside with more placeholders than arguments, and %n.
  imsg_print(IMSG_ERROR, "%s %s %n %d", "only");
  imsg_print(IMSG_WARNING, "100%% done");
  const std::string outside = "%s%s%s%s";
  imsg_print(IMSG_OUTPUT, outside);
  auto messages = capture.Messages();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[0], Message(IMSG_NOTICE, "a.c has 3 versions"));
  EXPECT_EQ(messages[1].first, IMSG_ERROR);
  EXPECT_EQ(messages[1].second.rfind("only ", 0), 0u) << messages[1].second;
  EXPECT_EQ(messages[2], Message(IMSG_WARNING, "100% done"));
  EXPECT_EQ(messages[3], Message(IMSG_OUTPUT, ""));
}

TEST(ImsgPrint, PlainTextIsNotFormatted) {
  Capture capture;
  EXPECT_EQ(imsg_print_text(IMSG_NOTICE, "50% %s %d"), 0);
  EXPECT_THAT(capture.Messages(), ElementsAre(Message(IMSG_NOTICE, "50% %s %d")));
}

TEST(ImsgPrint, BadKindsAndNullTextAreRefusedAndPrintNothing) {
  Capture capture;
  for (int kind : {-1, 11, 12, 1000}) {
    EXPECT_EQ(imsg_print_text(kind, "x"), TBS_ST_INVALID_ARG) << kind;
    EXPECT_EQ(imsg_print(kind, "%s", "x"), TBS_ST_INVALID_ARG) << kind;
  }
  EXPECT_EQ(imsg_print_text(IMSG_NOTICE, nullptr), TBS_ST_INVALID_ARG);
  EXPECT_THAT(capture.Messages(), IsEmpty());
}

TEST(ImsgRouting, BadProceduresAreRefusedAndChangeNothing) {
  const imsg_redirect_procs_t before = InForce();
  EXPECT_EQ(imsg_get_redirect_procs(nullptr), TBS_ST_INVALID_ARG);
  EXPECT_EQ(imsg_set_redirect_procs(nullptr), TBS_ST_INVALID_ARG);
  for (int kind = 0; kind < IMSG_KIND_COUNT; ++kind) {
    imsg_redirect_procs_t holed = before;
    holed.procs[kind] = nullptr;
    EXPECT_EQ(imsg_set_redirect_procs(&holed), TBS_ST_INVALID_ARG) << kind;
  }
  EXPECT_TRUE(InForce() == before);
}

TEST(ImsgRouting, EveryKindReachesTheProcedureInForceWithItsKind) {
  Capture capture;
  for (int kind = 0; kind < IMSG_KIND_COUNT; ++kind) imsg_print(kind, "k%d", kind);
  auto messages = capture.Messages();
  ASSERT_EQ(messages.size(), static_cast<std::size_t>(IMSG_KIND_COUNT));
  for (int kind = 0; kind < IMSG_KIND_COUNT; ++kind)
    EXPECT_EQ(messages[static_cast<std::size_t>(kind)], Message(kind, "k" + std::to_string(kind)));
}

TEST(ImsgRouting, NestedInstallersRestoreLastInFirstOut) {
  const imsg_redirect_procs_t initial = InForce();
  {
    Capture outer;
    imsg_print_text(IMSG_NOTICE, "one");
    {
      Capture inner;
      EXPECT_FALSE(inner.Found() == InForce());
      imsg_print_text(IMSG_NOTICE, "two");
      inner.Restore();
      EXPECT_THAT(inner.Messages(), ElementsAre(Message(IMSG_NOTICE, "two")));
    }
    imsg_print_text(IMSG_NOTICE, "three");
    EXPECT_THAT(outer.Messages(), ElementsAre(Message(IMSG_NOTICE, "one"), Message(IMSG_NOTICE, "three")));
  }
  EXPECT_TRUE(InForce() == initial);
}

// Procedures without a context, installed by two threads: the second finds
// them in force and installs them again. That is a layer too, so that the
// first thread's restore leaves them in force for the second.
std::atomic<int> g_context_free_calls{0};
void ContextFree(void*, int, const char*) { g_context_free_calls.fetch_add(1); }

TEST(ImsgRouting, InstallingTheProceduresInForceIsALayerToo) {
  const imsg_redirect_procs_t initial = InForce();
  imsg_redirect_procs_t context_free;
  for (auto& proc : context_free.procs) proc = &ContextFree;
  plat::Event first_installed, second_installed, first_restored;
  std::thread first([&] {
    const imsg_redirect_procs_t found = InForce();
    EXPECT_EQ(imsg_set_redirect_procs(&context_free), 0);
    first_installed.Set();
    second_installed.Wait();
    EXPECT_EQ(imsg_set_redirect_procs(&found), 0);
    first_restored.Set();
  });
  first_installed.Wait();
  const imsg_redirect_procs_t found = InForce();
  EXPECT_TRUE(found == context_free);
  EXPECT_EQ(imsg_set_redirect_procs(&context_free), 0);
  second_installed.Set();
  first_restored.Wait();
  first.join();
  EXPECT_TRUE(InForce() == context_free);
  const int before = g_context_free_calls.load();
  imsg_print_text(IMSG_NOTICE, "still routed");
  EXPECT_EQ(g_context_free_calls.load(), before + 1);
  EXPECT_EQ(imsg_set_redirect_procs(&found), 0);
  EXPECT_TRUE(InForce() == initial);
}

// Thread A installs, thread B installs on top, A ends first: B's procedures
// stay in force, A's are never called again, and when B ends the routing is
// back to where it started.
TEST(ImsgRouting, AnInstallerEndingOutOfOrderOnAnotherThreadLeavesTheTopInForce) {
  const imsg_redirect_procs_t initial = InForce();
  plat::Event a_installed, b_installed, a_restored, b_may_restore;
  std::unique_ptr<Capture> a, b;
  std::thread thread_a([&] {
    a = std::make_unique<Capture>();
    a_installed.Set();
    b_installed.Wait();
    a->Restore();
    a_restored.Set();
  });
  std::thread thread_b([&] {
    a_installed.Wait();
    b = std::make_unique<Capture>();
    b_installed.Set();
    b_may_restore.Wait();
    b->Restore();
  });
  a_restored.Wait();
  imsg_print_text(IMSG_ERROR, "after A ended");
  EXPECT_TRUE(InForce() != initial);
  b_may_restore.Set();
  thread_a.join();
  thread_b.join();
  EXPECT_TRUE(InForce() == initial);
  EXPECT_THAT(a->Messages(), IsEmpty());
  EXPECT_THAT(b->Messages(), ElementsAre(Message(IMSG_ERROR, "after A ended")));
  EXPECT_EQ(a->LateCalls(), 0);
}

// Thread B installed on top of A's capture and so found A's procedures. A
// ends and a new capture of A's lives at the same address: installing it
// sets the very procedures B found, which must not end B's layer.
TEST(ImsgRouting, AnInstallerAtAnEndedOnesAddressOnAnotherThreadIsNotARestore) {
  const imsg_redirect_procs_t initial = InForce();
  plat::Event b_installed, a_renewed, b_done;
  std::optional<Capture> a;
  std::unique_ptr<Capture> b;
  a.emplace();
  const Capture* address = &*a;
  std::thread thread_b([&] {
    b = std::make_unique<Capture>();
    b_installed.Set();
    a_renewed.Wait();
    imsg_print_text(IMSG_NOTICE, "to the top");
    b->Restore();
    b_done.Set();
  });
  b_installed.Wait();
  a.reset();
  a.emplace();
  ASSERT_EQ(&*a, address);
  a_renewed.Set();
  b_done.Wait();
  thread_b.join();
  EXPECT_THAT(a->Messages(), ElementsAre(Message(IMSG_NOTICE, "to the top")));
  EXPECT_THAT(b->Messages(), IsEmpty());
  a.reset();
  EXPECT_TRUE(InForce() == initial);
}

// Many threads nest captures, print and restore at once, in every order the
// scheduler makes. No procedure of a restored capture is called, and in the
// end the routing is what it was.
TEST(ImsgRouting, ConcurrentNestingEndsWhereItBegan) {
  const imsg_redirect_procs_t initial = InForce();
  std::atomic<int> late{0};
  std::atomic<int> delivered{0};
  constexpr int kThreads = 6;
  constexpr int kRounds = 150;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        Capture outer;
        imsg_print(IMSG_NOTICE, "t%d r%d", t, round);
        {
          Capture inner;
          imsg_print(IMSG_WARNING, "t%d r%d inner", t, round);
          inner.Restore();
          late += inner.LateCalls();
          delivered += static_cast<int>(inner.Messages().size());
        }
        outer.Restore();
        late += outer.LateCalls();
        delivered += static_cast<int>(outer.Messages().size());
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(late.load(), 0);
  // Every message went to some capture that was in force (none to the
  // default output, since a capture of its own thread was always installed).
  EXPECT_EQ(delivered.load(), kThreads * kRounds * 2);
  EXPECT_TRUE(InForce() == initial);
}

// A restore waits for a call of its procedures still running on another
// thread, so the installer may be destroyed as soon as it returns.
TEST(ImsgRouting, RestoreWaitsForCallsRunningOnOtherThreads) {
  auto capture = std::make_unique<Capture>();
  plat::Event inside, release;
  std::atomic<bool> call_finished{false};
  capture->on_message = [&](int, const std::string&) {
    inside.Set();
    release.Wait();
    call_finished.store(true);
  };
  std::thread printer([] { imsg_print_text(IMSG_NOTICE, "slow"); });
  inside.Wait();
  std::thread releaser([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    release.Set();
  });
  capture->Restore();
  EXPECT_TRUE(call_finished.load()) << "restore returned while its procedure still ran";
  capture.reset();
  printer.join();
  releaser.join();
}

TEST(ImsgRouting, AProcedureMayPrintAndRestoreItself) {
  const imsg_redirect_procs_t initial = InForce();
  Capture outer;
  {
    auto inner = std::make_unique<Capture>();
    Capture* self = inner.get();
    inner->on_message = [self](int kind, const std::string& text) {
      if (kind != IMSG_ERROR) return;
      self->Restore();  // from inside its own procedure: must not wait for itself
      imsg_print(IMSG_NOTICE, "after %s", text);
    };
    imsg_print_text(IMSG_ERROR, "boom");
    EXPECT_THAT(inner->Messages(), ElementsAre(Message(IMSG_ERROR, "boom")));
  }
  EXPECT_THAT(outer.Messages(), ElementsAre(Message(IMSG_NOTICE, "after boom")));
  outer.Restore();
  EXPECT_TRUE(InForce() == initial);
}

struct StripCase {
  std::string in;
  std::string out;
};

TEST(ImsgStripStyleChars, RemovesEveryMarkWithItsLetter) {
  const StripCase cases[] = {
      {"plain text", "plain text"},
      {"", ""},
      {"\x02" "bBold\x02n plain", "Bold plain"},
      {"path \x02p\"a.c\"\x02n done", "path \"a.c\" done"},
      {"\x02" "e\x02" "b", ""},
      {"ends with a mark\x02", "ends with a mark"},
      {"unknown letter \x02zkept", "unknown letter kept"},
      {"\x02\x02" "x", "x"},  // the second mark is the first one's letter
  };
  for (const StripCase& c : cases) {
    std::string text = c.in;
    EXPECT_EQ(imsg_strip_style_chars(text.data()), text.data());
    EXPECT_STREQ(text.c_str(), c.out.c_str()) << "from \"" << c.in << "\"";
  }
  EXPECT_EQ(imsg_strip_style_chars(nullptr), nullptr);
}

TEST(ImsgSuppressPrefix, AnswersThePreviousSetting) {
  const int original = imsg_suppress_prefix(1);
  EXPECT_EQ(imsg_suppress_prefix(7), 1);  // any non-zero suppresses
  EXPECT_EQ(imsg_suppress_prefix(0), 1);
  EXPECT_EQ(imsg_suppress_prefix(0), 0);
  imsg_suppress_prefix(original);
}

TEST(ImsgShouldTrace, LevelsPerFacility) {
  ASSERT_EQ(imsg_set_trace_level("mntrpc", 2), 0);
  EXPECT_EQ(imsg_should_trace("mntrpc", 1), 1);
  EXPECT_EQ(imsg_should_trace("mntrpc", 2), 1);
  EXPECT_EQ(imsg_should_trace("mntrpc", 3), 0);
  EXPECT_EQ(imsg_should_trace("other", 1), 0);
  EXPECT_EQ(imsg_should_trace("MNTRPC", 1), 0);
  ASSERT_EQ(imsg_set_trace_level("mntrpc", 0), 0);
  EXPECT_EQ(imsg_should_trace("mntrpc", 1), 0);

  EXPECT_EQ(imsg_should_trace(nullptr, 1), 0);
  EXPECT_EQ(imsg_should_trace("", 0), 0);
  EXPECT_EQ(imsg_set_trace_level(nullptr, 1), TBS_ST_INVALID_ARG);
  EXPECT_EQ(imsg_set_trace_level("", 1), TBS_ST_INVALID_ARG);
  EXPECT_EQ(imsg_set_trace_level("mntrpc", -1), TBS_ST_INVALID_ARG);
  EXPECT_EQ(imsg_should_trace("mntrpc", 0), 0);
}

// The environment is read once, on the first question, so this runs in a
// fresh process.
TEST(ImsgShouldTraceDeathTest, ReadsTheEnvironmentOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("RVDLG_TRACE", "mntrpc=2, stg ,bad=x,=3", 1);
        const bool ok = imsg_should_trace("mntrpc", 2) && !imsg_should_trace("mntrpc", 3) &&
                        imsg_should_trace("stg", 1) && !imsg_should_trace("stg", 2) &&
                        !imsg_should_trace("bad", 1);
        setenv("RVDLG_TRACE", "later=1", 1);
        std::exit(ok && !imsg_should_trace("later", 1) ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
