#include "platform/backend/gtk/main_context_wait.h"

#include <algorithm>

namespace plumet::backend::gtk {

MainContextWait::MainContextWait() : context_(g_main_context_default()) { g_main_context_acquire(context_); }

MainContextWait::~MainContextWait() { g_main_context_release(context_); }

bool MainContextWait::AskGlib() {
  stale_ = false;
  gint priority = 0;
  g_main_context_prepare(context_, &priority);
  gint timeoutMs = -1;
  glibFds_.resize(std::max<std::size_t>(glibFds_.size(), 8));
  gint count = 0;
  while ((count = g_main_context_query(context_, priority, &timeoutMs, glibFds_.data(),
                                       static_cast<gint>(glibFds_.size()))) > static_cast<gint>(glibFds_.size())) {
    glibFds_.resize(static_cast<std::size_t>(count));
  }
  glibFds_.resize(static_cast<std::size_t>(count));
  for (GPollFD& fd : glibFds_) fd.revents = 0;
  glibDueUs_ = timeoutMs < 0 ? -1 : g_get_monotonic_time() + std::int64_t{timeoutMs} * 1000;
  // As after a poll that found none of GLib's descriptors ready.
  if (!g_main_context_check(context_, priority, glibFds_.data(), count)) return false;
  g_main_context_dispatch(context_);
  stale_ = true;
  return true;
}

void MainContextWait::Wait(std::span<GPollFD> ours, int timeoutMs) {
  if (stale_ && AskGlib()) return;
  polled_.assign(glibFds_.begin(), glibFds_.end());
  for (GPollFD fd : ours) polled_.push_back(GPollFD{fd.fd, fd.events, 0});
  int waitMs = timeoutMs;
  if (glibDueUs_ >= 0) {
    const std::int64_t leftMs = std::max<std::int64_t>((glibDueUs_ - g_get_monotonic_time() + 999) / 1000, 0);
    waitMs = waitMs < 0 ? static_cast<int>(leftMs) : static_cast<int>(std::min<std::int64_t>(waitMs, leftMs));
  }
  g_poll(polled_.data(), static_cast<guint>(polled_.size()), waitMs);
  const auto glibEnd = polled_.begin() + static_cast<std::ptrdiff_t>(glibFds_.size());
  for (std::size_t i = 0; i < ours.size(); ++i) ours[i].revents = glibEnd[static_cast<std::ptrdiff_t>(i)].revents;
  const bool glibReady = std::any_of(polled_.begin(), glibEnd, [](const GPollFD& fd) { return fd.revents != 0; }) ||
                         (glibDueUs_ >= 0 && g_get_monotonic_time() >= glibDueUs_);
  if (!glibReady) return;
  // GLib polls again for itself (without waiting): its check needs the
  // descriptors of the same iteration.
  g_main_context_iteration(context_, FALSE);
  stale_ = true;
}

}  // namespace plumet::backend::gtk
