// The framework's message traffic: what a worker pays to post progress to
// its dialog, and a send's round trip to another thread.
#include <benchmark/benchmark.h>

#include <atomic>

#include "platform/dialog.h"
#include "platform/message.h"
#include "platform/render.h"
#include "platform/sync.h"
#include "platform/window.h"

namespace {

class Counter : public plat::Window {
 public:
  plat::LResult WndProc(std::uint32_t message, plat::WParam wparam, plat::LParam lparam,
                        const std::string* text) override {
    if (message == plat::msg::User + 1) {
      ++count;
      return 1;
    }
    return plat::Window::WndProc(message, wparam, lparam, text);
  }
  long count = 0;
};

// Post with a text and dispatch on the same thread, in batches.
void BM_PostAndDispatch(benchmark::State& state) {
  Counter window;
  window.CreateWindowObject(nullptr, 0, "counter", 0);
  const std::string line = "C:\\views\\tag\\vob\\dir\\file.txt";
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) plat::PostMessage(window.GetHwnd(), plat::msg::User + 1, 0, 0, line);
    plat::PumpPendingMessages();
  }
  state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_PostAndDispatch);

// A send from a worker to a window whose thread pumps its loop.
void BM_SendAcrossThreads(benchmark::State& state) {
  std::atomic<Counter*> target{nullptr};
  plat::WorkerThread loop([&] {
    Counter window;
    window.CreateWindowObject(nullptr, 0, "target", 0);
    target = &window;
    plat::Message m;
    while (plat::GetMessage(m)) plat::DispatchMessage(m);
    return 0;
  });
  while (!target.load()) {
  }
  for (auto _ : state) benchmark::DoNotOptimize(plat::SendMessage(target.load()->GetHwnd(), plat::msg::User + 1));
  plat::RunOnWindowThread(*target.load(), [] { plat::PostQuitMessage(0); });
  loop.Join();
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendAcrossThreads);

}  // namespace
