// When our windows answer a window of another program that covers them.
// Programs that keep themselves on top (overlays, floating video windows, a
// second board) answer every restack with one of their own; raising at each
// of their moves makes a war that floods the X server. So: raise only when
// really covered, at most twice a second, and give in for a while to a
// window that has covered us again and again.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

namespace plumet::backend::gtk {

class RaisePolicy {
 public:
  using WindowRef = std::uint64_t;  // a window of another program

  static constexpr std::uint64_t kMinRaiseGapMs = 500;
  // A window that made us raise this often within kAnswerSpanMs is given in
  // to for kGiveInMs: not for ever, as it may be a program the user brought
  // forward by hand again and again.
  static constexpr int kMaxAnswers = 4;
  static constexpr std::uint64_t kAnswerSpanMs = 10000;
  static constexpr std::uint64_t kGiveInMs = 30000;

  enum class Answer {
    Stay,   // nothing covers us that we still answer
    Raise,  // raise our windows now
    Later,  // ask again in WaitMs
  };

  // These windows (not ours) cover one of ours at nowMs.
  Answer Covered(const std::vector<WindowRef>& coverers, std::uint64_t nowMs);
  std::uint64_t WaitMs(std::uint64_t nowMs) const;
  bool GivenInTo(WindowRef window, std::uint64_t nowMs) const;
  // The window is destroyed: its id may come back as another window.
  void Forget(WindowRef window);

 private:
  struct Answers {
    std::uint64_t since = 0;  // start of the current span
    int count = 0;
  };
  std::uint64_t lastRaiseMs_ = 0;
  bool raisedOnce_ = false;
  std::map<WindowRef, Answers> answers_;
  std::map<WindowRef, std::uint64_t> givenInTo_;  // until when
};

}  // namespace plumet::backend::gtk
