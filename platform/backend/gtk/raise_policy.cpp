#include "platform/backend/gtk/raise_policy.h"

namespace plumet::backend::gtk {

RaisePolicy::Answer RaisePolicy::Covered(const std::vector<WindowRef>& coverers, std::uint64_t nowMs) {
  bool answered = false;
  for (WindowRef window : coverers) answered = answered || !GivenInTo(window, nowMs);
  if (!answered) return Answer::Stay;
  if (WaitMs(nowMs) > 0) return Answer::Later;
  answered = false;
  for (WindowRef window : coverers) {
    if (GivenInTo(window, nowMs)) continue;
    givenInTo_.erase(window);  // a give-in that has run out
    Answers& record = answers_[window];
    if (nowMs - record.since >= kAnswerSpanMs || record.count == 0) record = Answers{nowMs, 0};
    if (record.count >= kMaxAnswers) {
      givenInTo_[window] = nowMs + kGiveInMs;
      answers_.erase(window);
      continue;
    }
    ++record.count;
    answered = true;
  }
  if (!answered) return Answer::Stay;
  lastRaiseMs_ = nowMs;
  raisedOnce_ = true;
  return Answer::Raise;
}

bool RaisePolicy::GivenInTo(WindowRef window, std::uint64_t nowMs) const {
  const auto it = givenInTo_.find(window);
  return it != givenInTo_.end() && nowMs < it->second;
}

std::uint64_t RaisePolicy::WaitMs(std::uint64_t nowMs) const {
  if (!raisedOnce_ || nowMs - lastRaiseMs_ >= kMinRaiseGapMs) return 0;
  return kMinRaiseGapMs - (nowMs - lastRaiseMs_);
}

void RaisePolicy::Forget(WindowRef window) {
  answers_.erase(window);
  givenInTo_.erase(window);
}

}  // namespace plumet::backend::gtk
