// The progress window: when it shows, what the worker's posts do, Cancel,
// and the caller's window kept disabled while it exists.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>

#include "fileops/progress_dlg.h"
#include "platform/clock.h"
#include "platform/controls.h"
#include "platform/hosts.h"
#include "platform/message.h"
#include "platform/render.h"
#include "platform/resources.h"
#include "platform/sync.h"
#include "res/resource_ids.h"

namespace {

using namespace rvcmndlg::res;

// Records what a person would see of modeless windows: shows, hides, and
// every change of a visible one.
class WatchingHost : public plat::ScriptedHost {
 public:
  void WindowShown(plat::Window& window, bool modal) override {
    if (!modal && window.TemplateId() == IDD_PROGRESS) shows.fetch_add(1);
    plat::ScriptedHost::WindowShown(window, modal);
  }
  void WindowUpdated(plat::Window& window) override {
    std::lock_guard lock(mutex);
    // Each new first line, as a person would read it.
    auto* line = window.FindChild(IDC_PROGRESS_LINE1);
    if (!line || line->Text().empty()) return;
    if (lines.empty() || lines.back() != line->Text()) lines.push_back(line->Text());
  }
  std::atomic<int> shows{0};
  std::mutex mutex;
  std::vector<std::string> lines;
};

class ProgressDlgTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clock = plat::UseManualClock();
    host = std::make_shared<WatchingHost>();
    plat::SetUiHost(host);
    plat::DialogTemplate t;
    t.id = 900;
    t.caption = "Explorer";
    plat::AppResources().AddDialog(t);
    ASSERT_TRUE(owner.Create());
  }
  void TearDown() override {
    EXPECT_TRUE(host->Failures().empty()) << host->TranscriptText();
    plat::SetUiHost(nullptr);
    plat::SetClock(nullptr);
  }
  // One second of manual time, and what it brings handled.
  void Tick() {
    clock->Advance(1000);
    plat::PumpPendingMessages();
  }
  std::shared_ptr<plat::ManualClock> clock;
  std::shared_ptr<WatchingHost> host;
  plat::Dialog owner{900};
};

TEST_F(ProgressDlgTest, AFastRunNeverShowsButKeepsTheCallerDisabled) {
  {
    CProgressDlg progress(IDS_CHECKING_IN, IDR_AVI_CHECKIN, 1);
    ASSERT_TRUE(progress.Create(&owner));
    EXPECT_FALSE(owner.IsEnabled());
    plat::WorkerThread worker([&] {
      progress.SetRange(0, 3);
      progress.AllowShowing();
      for (int i = 0; i < 3; ++i) {
        progress.SetLine1("file " + std::to_string(i));
        progress.StepIt();
      }
      progress.StopRunning();
      return 0;
    });
    progress.RunModalLoop();
    worker.Join();
    progress.DrainModalLoop();  // what the loop left when the worker stopped it
    EXPECT_FALSE(progress.IsVisible());
    EXPECT_EQ(progress.Text(), "Checking in...");
    EXPECT_EQ(progress.Item<plat::ProgressBar>(IDC_PROGRESS_BAR)->GetPos(), 3);
    EXPECT_EQ(progress.Item<plat::Animation>(IDC_PROGRESS_ANIMATION)->ResourceId(), IDR_AVI_CHECKIN);
  }
  EXPECT_EQ(host->shows.load(), 0);
  EXPECT_TRUE(owner.IsEnabled()) << "the caller's window comes back";
}

TEST_F(ProgressDlgTest, ShowsAtTheFirstTickAfterShowingIsAllowedNeverAtOnce) {
  CProgressDlg progress(IDS_UNDOING_CHECKOUT, IDR_AVI_OTHER, 1);
  ASSERT_TRUE(progress.Create(&owner));
  Tick();
  EXPECT_FALSE(progress.IsVisible()) << "showing was not allowed yet";
  for (int file = 0; file < 3; ++file) progress.AllowShowing();
  EXPECT_EQ(plat::PendingMessageCount(plat::CurrentThreadId()), 1u) << "allowed again, nothing more is posted";
  plat::PumpPendingMessages();
  EXPECT_FALSE(progress.IsVisible()) << "allowing is not showing";
  Tick();
  EXPECT_TRUE(progress.IsVisible());
  EXPECT_EQ(host->shows.load(), 1);
  progress.AllowShowing(false);
  plat::PumpPendingMessages();
  EXPECT_FALSE(progress.IsVisible());
  progress.AllowShowing();
  Tick();
  Tick();
  EXPECT_TRUE(progress.IsVisible()) << "allowed again after it was hidden";
}

TEST_F(ProgressDlgTest, AfterAPauseOnlyTheSecondTickShowsTheWindow) {
  CProgressDlg progress(IDS_CHECKING_OUT, IDR_AVI_CHECKOUT, 1);
  ASSERT_TRUE(progress.Create(&owner));
  progress.AllowShowing();
  progress.Pause();
  progress.Resume();
  Tick();
  EXPECT_FALSE(progress.IsVisible()) << "the first tick after resuming";
  EXPECT_TRUE(progress.Item<plat::Animation>(IDC_PROGRESS_ANIMATION)->IsPlaying());
  Tick();
  EXPECT_TRUE(progress.IsVisible());
}

TEST_F(ProgressDlgTest, NothingShowsWhilePausedForAPrompt) {
  CProgressDlg progress(IDS_CHECKING_OUT, IDR_AVI_CHECKOUT, 1);
  ASSERT_TRUE(progress.Create(&owner));
  progress.AllowShowing();
  progress.Pause();
  Tick();
  Tick();
  EXPECT_FALSE(progress.IsVisible());
  EXPECT_FALSE(progress.Item<plat::Animation>(IDC_PROGRESS_ANIMATION)->IsPlaying());
  progress.Resume();
  Tick();
  EXPECT_TRUE(progress.IsVisible()) << "ticks during the pause kept showing pending";
}

TEST_F(ProgressDlgTest, CancelCountsOnlyOnceShowingIsAllowed) {
  CProgressDlg progress(IDS_RESERVING, IDR_AVI_OTHER, 1);
  ASSERT_TRUE(progress.Create(&owner));
  const plat::Action cancel{plat::Action::Kind::Click, "Cancel", {}};
  EXPECT_EQ(plat::ApplyAction(progress, cancel), "");
  EXPECT_FALSE(progress.IsCancelled());
  progress.AllowShowing();
  plat::PumpPendingMessages();
  EXPECT_EQ(plat::ApplyAction(progress, plat::Action{plat::Action::Kind::Default, {}, {}}), "");
  EXPECT_FALSE(progress.IsCancelled()) << "Enter does nothing";
  EXPECT_EQ(plat::ApplyAction(progress, cancel), "");
  EXPECT_TRUE(progress.IsCancelled());
  EXPECT_TRUE(progress.IsWindow()) << "Cancel never closes the window";
}

TEST_F(ProgressDlgTest, WithoutProgressNothingIsPostedAndNothingShows) {
  {
    CProgressDlg progress(IDS_ADDING_TO_SOURCE, IDR_AVI_OTHER, 0);
    ASSERT_TRUE(progress.Create(&owner));
    EXPECT_FALSE(owner.IsEnabled());
    progress.SetLine1("a.c");
    progress.SetLine2("Checking out");
    progress.SetRange(0, 1);
    progress.StepIt();
    progress.Pause();
    progress.Resume();
    EXPECT_EQ(plat::PendingMessageCount(plat::CurrentThreadId()), 0u);
    EXPECT_EQ(progress.Line1(), "a.c") << "the texts are still kept";
    progress.AllowShowing();
    EXPECT_EQ(plat::PendingMessageCount(plat::CurrentThreadId()), 1u) << "only stop-showing is posted";
    Tick();
    Tick();
    EXPECT_FALSE(progress.IsVisible());
    EXPECT_EQ(progress.Text(), "") << "the title is not even loaded";
  }
  EXPECT_TRUE(owner.IsEnabled());
  EXPECT_EQ(host->shows.load(), 0);
}

TEST_F(ProgressDlgTest, WhileHiddenChangesAreKeptAndTheWindowShowsTheLatest) {
  CProgressDlg progress(IDS_CHECKING_OUT, IDR_AVI_CHECKOUT, 1);
  ASSERT_TRUE(progress.Create(&owner));
  progress.AllowShowing();
  progress.SetRange(0, 500);
  progress.SetStep(2);
  for (int i = 0; i < 100; ++i) {
    progress.SetLine1("file " + std::to_string(i));
    progress.SetLine2("");
    progress.StepIt();
  }
  progress.DeltaPos(5);
  progress.DeltaPos(-3);
  progress.SetLine2("checking out");
  EXPECT_EQ(plat::PendingMessageCount(plat::CurrentThreadId()), 1u)
      << "a hidden window is not woken per file: only the allowing is posted";
  plat::PumpPendingMessages();
  auto* bar = progress.Item<plat::ProgressBar>(IDC_PROGRESS_BAR);
  EXPECT_EQ(bar->GetPos(), 0) << "nothing reached the hidden window yet";
  Tick();
  ASSERT_TRUE(progress.IsVisible());
  EXPECT_EQ(progress.GetDlgItemText(IDC_PROGRESS_LINE1), "file 99");
  EXPECT_EQ(progress.GetDlgItemText(IDC_PROGRESS_LINE2), "checking out");
  int low = 0, high = 0;
  bar->GetRange(low, high);
  EXPECT_EQ(high, 500);
  EXPECT_EQ(bar->GetPos(), 202) << "100 steps of 2, then +5 and -3, in order";
  for (int i = 100; i < 150; ++i) {
    progress.SetLine1("file " + std::to_string(i));
    progress.SetLine2("checking out");
    progress.StepIt();
  }
  EXPECT_EQ(plat::PendingMessageCount(plat::CurrentThreadId()), 1u)
      << "a visible window is woken once for however many texts and moves came meanwhile";
  plat::PumpPendingMessages();
  {
    std::lock_guard lock(host->mutex);
    ASSERT_GE(host->lines.size(), 50u);
    for (int i = 100; i < 150; ++i)
      EXPECT_EQ(host->lines[host->lines.size() - 150 + static_cast<std::size_t>(i)], "file " + std::to_string(i))
          << "every new text is shown, in order";
  }
  EXPECT_EQ(bar->GetPos(), 302);
  EXPECT_EQ(progress.GetDlgItemText(IDC_PROGRESS_LINE1), "file 149");
  EXPECT_EQ(progress.GetDlgItemText(IDC_PROGRESS_LINE2), "checking out");
  progress.StepIt();
  EXPECT_EQ(plat::PendingMessageCount(plat::CurrentThreadId()), 1u) << "a move after the last hand-over is posted";
  plat::PumpPendingMessages();
  EXPECT_EQ(bar->GetPos(), 304);
}

TEST_F(ProgressDlgTest, TheBarStopsAtItsEndsWhateverWasKept) {
  CProgressDlg progress(IDS_CHECKING_OUT, IDR_AVI_CHECKOUT, 1);
  ASSERT_TRUE(progress.Create(&owner));
  progress.SetRange(0, 10);
  for (int i = 0; i < 40; ++i) progress.StepIt();
  progress.DeltaPos(-4);
  progress.SetPos(3);  // replaces the moves before it
  progress.DeltaPos(-100);
  progress.DeltaPos(1);
  // Alternating moves cannot be merged: past a short list they are handed
  // over rather than piling up.
  for (int i = 0; i < 200; ++i) i % 2 ? progress.StepIt() : progress.DeltaPos(-1);
  EXPECT_LE(plat::PendingMessageCount(plat::CurrentThreadId()), 4u);
  progress.StopRunning();
  progress.DrainModalLoop();
  EXPECT_EQ(progress.Item<plat::ProgressBar>(IDC_PROGRESS_BAR)->GetPos(), 1)
      << "3, stopped at 0 by -100, then +1, then 100 pairs of -1 and +1 (the first -1 stopped at 0)";
}

TEST_F(ProgressDlgTest, AFastWorkerNeverOverwritesALineTheWindowHasNotShown) {
  CProgressDlg progress(IDS_CHECKING_IN, IDR_AVI_CHECKIN, 1);
  ASSERT_TRUE(progress.Create(&owner));
  progress.AllowShowing();
  Tick();
  ASSERT_TRUE(progress.IsVisible());
  constexpr int kCount = 2000;
  plat::WorkerThread worker([&] {
    progress.SetRange(0, 1);
    for (int i = 0; i < kCount; ++i) progress.SetLine1("file-" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 50), '.'));
    progress.StopRunning();
    return 0;
  });
  progress.RunModalLoop();
  worker.Join();
  progress.DrainModalLoop();
  std::lock_guard lock(host->mutex);
  ASSERT_EQ(host->lines.size(), static_cast<std::size_t>(kCount)) << "every line was shown once";
  for (int i = 0; i < kCount; ++i) {
    // Exactly the text posted for file i: no line lost, none torn.
    EXPECT_EQ(host->lines[static_cast<std::size_t>(i)], "file-" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 50), '.'));
  }
  int low = 0, high = 0;
  progress.Item<plat::ProgressBar>(IDC_PROGRESS_BAR)->GetRange(low, high);
  EXPECT_EQ(high, 1) << "a run of one file has the range 0..1";
}

}  // namespace
