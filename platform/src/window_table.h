#pragma once
// Internal: the table of live windows and helpers shared by the framework's
// sources.
#include "platform/types.h"

namespace plat {

class UiHost;

// The thread of a live window, 0 when the handle names no window.
ThreadId WindowThread(Hwnd hwnd);
void KillWindowTimers(Hwnd hwnd, ThreadId thread);
// Makes sure the calling thread has a message queue (a window's thread must
// have one before anybody posts to it).
void EnsureThreadQueue();
// Internal message: destroy the window (sent when another thread asks).
inline constexpr std::uint32_t kDestroyRequest = 0x7F01;
// Internal message: run the std::function<void()> at lparam on the window's thread.
inline constexpr std::uint32_t kRunTask = 0x7F02;

}  // namespace plat
