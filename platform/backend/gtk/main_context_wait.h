// Waiting on our own descriptors and on GLib's main context together, with
// GLib asked as little as possible: its sources (GTK's connection, signals,
// timers) get a turn only when one of its descriptors is ready or one of its
// timeouts is due. Asking GLib every time would cost a read on GTK's X
// connection and a few wakeup writes per event of ours.
#pragma once

#include <glib.h>

#include <cstdint>
#include <span>
#include <vector>

namespace plumet::backend::gtk {

class MainContextWait {
 public:
  // Holds the default main context for its lifetime, so that sources added
  // from other threads wake the wait.
  MainContextWait();
  ~MainContextWait();
  MainContextWait(const MainContextWait&) = delete;
  MainContextWait& operator=(const MainContextWait&) = delete;

  // A GLib source was added or removed outside GLib's own turns: GLib is
  // asked again before the next wait.
  void SourcesChanged() { stale_ = true; }

  // Waits until one of ours is ready (its revents are set), timeoutMs has
  // passed (negative: no limit) or GLib's sources had a turn.
  void Wait(std::span<GPollFD> ours, int timeoutMs);

 private:
  // One iteration without a poll: GLib says what it waits for next, and
  // sources that are ready already run (true).
  bool AskGlib();

  GMainContext* context_;
  std::vector<GPollFD> glibFds_;
  std::vector<GPollFD> polled_;  // GLib's then ours, reused
  std::int64_t glibDueUs_ = -1;  // monotonic; -1: no timeout
  bool stale_ = true;
};

}  // namespace plumet::backend::gtk
