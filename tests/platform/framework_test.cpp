// The window framework on the in-memory desktop, without the program: the
// message queue, timers, pointer routing, modal loops, focus and stacking.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/backend/headless/headless_desktop.h"
#include "platform/framework/dc.h"
#include "platform/framework/dialog.h"
#include "resources/resource_ids.h"

namespace {

using plumet::backend::headless::HeadlessDesktop;

constexpr UINT WM_PROBE = WM_USER + 1;
constexpr int kWindowButton = 1000;  // a push button of the palette template

struct Seen {
  UINT message;
  WPARAM wParam;
  int x, y;
  friend bool operator==(const Seen&, const Seen&) = default;
};

std::vector<Seen> Watched(const std::vector<Seen>& all, UINT message) {
  std::vector<Seen> result;
  for (const Seen& s : all)
    if (s.message == message) result.push_back(s);
  return result;
}

bool IsWatched(UINT message) {
  return message >= WM_USER || message == WM_TIMER || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
         message == WM_LBUTTONDBLCLK || message == WM_MOUSEMOVE || message == WM_MOUSELEAVE;
}

// Notes the messages tests look at, and runs a hook on each.
struct Recorder {
  std::vector<Seen> seen;
  std::function<void(UINT, WPARAM)> onMessage;
  void Note(UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsWatched(message)) seen.push_back({message, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (onMessage) onMessage(message, wParam);
  }
};

class Probe : public CWnd, public Recorder {
 public:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    Note(message, wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
  }
};

// A dialog of a built-in template, shown at a chosen place once made.
class ProbeDialog : public CDialog, public Recorder {
 public:
  ProbeDialog(UINT templateId, RECT place, CWnd* owner = nullptr) : CDialog(templateId, owner), place_(place) {}
  Probe button;  // the palette template's "Window" button, where there is one

  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    button.SubclassDlgItem(kWindowButton, this);
    MoveWindow(place_.left, place_.top, place_.right - place_.left, place_.bottom - place_.top);
    ShowWindow(SW_SHOW);
    return TRUE;
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    Note(message, wParam, lParam);
    return CDialog::WindowProc(message, wParam, lParam);
  }

 private:
  RECT place_;
};

class Framework : public ::testing::Test {
 protected:
  void SetUp() override { AfxSetBackend(&desktop_); }
  void TearDown() override { AfxSetBackend(nullptr); }

  void Then(std::function<void()> step) { desktop_.AddCallback(std::move(step)); }
  static POINT CentreOf(HWND hwnd) {
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
  }

  HeadlessDesktop desktop_;
  // The board template is shown and takes the focus; the palette template has visible buttons.
  ProbeDialog main_{IDD_PALETTE, {100, 100, 300, 500}};
};

TEST_F(Framework, PostedMessagesArriveInOrderAfterTheSentOnesHaveReturned) {
  Then([this] {
    ::PostMessage(main_.m_hWnd, WM_PROBE, 1, 0);
    ::PostMessage(main_.m_hWnd, WM_PROBE, 2, 0);
    ::SendMessage(main_.m_hWnd, WM_PROBE, 3, 0);
    EXPECT_EQ(main_.seen, (std::vector<Seen>{{WM_PROBE, 3, 0, 0}}));  // sent: handled at once
  });
  Then([this] { EXPECT_EQ(Watched(main_.seen, WM_PROBE).size(), 3u); });
  main_.DoModal();
  EXPECT_EQ(main_.seen, (std::vector<Seen>{{WM_PROBE, 3, 0, 0}, {WM_PROBE, 1, 0, 0}, {WM_PROBE, 2, 0, 0}}));
}

TEST_F(Framework, AMessageSentFromAHandlerRunsInsideIt) {
  std::vector<std::string> trace;
  main_.onMessage = [&](UINT message, WPARAM depth) {
    if (message != WM_PROBE) return;
    trace.push_back("enter " + std::to_string(depth));
    if (depth < 3) ::SendMessage(main_.m_hWnd, WM_PROBE, depth + 1, 0);
    trace.push_back("leave " + std::to_string(depth));
  };
  Then([this] { ::SendMessage(main_.m_hWnd, WM_PROBE, 1, 0); });
  main_.DoModal();
  EXPECT_EQ(trace, (std::vector<std::string>{"enter 1", "enter 2", "enter 3", "leave 3", "leave 2", "leave 1"}));
}

TEST_F(Framework, TimersFireAtTheirDueTimesOnTheDesktopClockUntilKilled) {
  std::vector<std::pair<WPARAM, std::uint64_t>> ticks;
  main_.onMessage = [&](UINT message, WPARAM id) {
    if (message != WM_TIMER) return;
    ticks.emplace_back(id, desktop_.NowMs());
    if (id == 1 && ticks.size() == 4) main_.KillTimer(1);
  };
  Then([this] {
    main_.SetTimer(1, 100, nullptr);
    main_.SetTimer(2, 250, nullptr);
  });
  desktop_.AddWait(600);
  main_.DoModal();
  EXPECT_EQ(ticks, (std::vector<std::pair<WPARAM, std::uint64_t>>{{1, 100}, {1, 200}, {2, 250}, {1, 300}, {2, 500}}));
}

TEST_F(Framework, CaptureTakesThePointerOutsideTheWindowUntilReleasedOrTheWindowGoes) {
  main_.onMessage = [this](UINT message, WPARAM) {
    if (message == WM_LBUTTONDOWN) main_.SetCapture();
    if (message == WM_LBUTTONUP) ::ReleaseCapture();
  };
  desktop_.AddPress(280, 150);
  desktop_.AddMove(600, 650);
  desktop_.AddRelease(600, 650);
  desktop_.AddMove(610, 650);
  Then([this] {
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(desktop_.GrabHolder(), 0u);
    // Held, the move and the release outside came here in client coordinates; after it, nothing did.
    EXPECT_EQ(Watched(main_.seen, WM_MOUSEMOVE).back(), (Seen{WM_MOUSEMOVE, MK_LBUTTON, 500, 550}));
    EXPECT_EQ(Watched(main_.seen, WM_LBUTTONUP), (std::vector<Seen>{{WM_LBUTTONUP, 0, 500, 550}}));
  });
  ProbeDialog other(IDD_ICON, {700, 100, 800, 200});
  other.onMessage = [&](UINT message, WPARAM) {
    if (message == WM_LBUTTONDOWN) other.SetCapture();
  };
  Then([&] { other.Create(IDD_ICON); });
  desktop_.AddPress(750, 150);
  Then([&] {
    EXPECT_EQ(::GetCapture(), other.m_hWnd);
    EXPECT_EQ(desktop_.GrabHolder(), AfxNativeWindow(other.m_hWnd));
    other.DestroyWindow();
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(desktop_.GrabHolder(), 0u);
  });
  desktop_.AddRelease(750, 150);
  desktop_.AddClick(280, 150);
  main_.DoModal();
  EXPECT_EQ(Watched(main_.seen, WM_LBUTTONDOWN).size(), 2u);
}

TEST_F(Framework, LeaveIsPostedOnceWhenThePointerLeavesATrackedWindow) {
  main_.onMessage = [this](UINT message, WPARAM) {
    if (message != WM_MOUSEMOVE) return;
    TRACKMOUSEEVENT track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = main_.m_hWnd;
    ::TrackMouseEvent(&track);
  };
  desktop_.AddMove(280, 150);
  desktop_.AddMove(285, 150);
  Then([this] { EXPECT_TRUE(Watched(main_.seen, WM_MOUSELEAVE).empty()); });
  desktop_.AddMove(900, 150);
  Then([this] { main_.onMessage = nullptr; });
  desktop_.AddMove(280, 150);
  desktop_.AddMove(900, 150);
  main_.DoModal();
  EXPECT_EQ(Watched(main_.seen, WM_MOUSELEAVE).size(), 1u);
}

TEST_F(Framework, OnlyButtonsTurnAQuickSecondPressIntoADoubleClick) {
  POINT button{};
  Then([&] { button = CentreOf(main_.button.m_hWnd); });
  desktop_.AddClick(280, 450);
  desktop_.AddClick(280, 450);
  Then([&] {
    desktop_.AddClick(button.x, button.y);
    desktop_.AddClick(button.x, button.y);
    desktop_.AddWait(600);
    desktop_.AddClick(button.x, button.y);
  });
  main_.DoModal();
  EXPECT_EQ(Watched(main_.seen, WM_LBUTTONDOWN).size(), 2u);
  EXPECT_TRUE(Watched(main_.seen, WM_LBUTTONDBLCLK).empty());
  std::vector<UINT> presses;
  for (const Seen& s : main_.button.seen)
    if (s.message == WM_LBUTTONDOWN || s.message == WM_LBUTTONDBLCLK) presses.push_back(s.message);
  EXPECT_EQ(presses, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_LBUTTONDOWN}));
}

TEST_F(Framework, AModalLoopEndsWithItsDialogAndAQuitEndsEveryLoop) {
  ProbeDialog inner(IDD_ICON, {400, 100, 500, 200}, &main_);
  std::vector<INT_PTR> results;
  Then([&] {
    inner.onMessage = [&](UINT message, WPARAM) {
      if (message == WM_PROBE) inner.EndDialog(IDOK);
    };
    Then([&] { ::PostMessage(inner.m_hWnd, WM_PROBE, 0, 0); });
    results.push_back(inner.DoModal());
    EXPECT_EQ(inner.m_hWnd, nullptr);
    inner.onMessage = nullptr;
    Then([] { ::PostQuitMessage(0); });
    results.push_back(inner.DoModal());
  });
  results.push_back(main_.DoModal());
  EXPECT_EQ(results, (std::vector<INT_PTR>{IDOK, -1, -1}));
}

TEST_F(Framework, OnlyTheWindowWithoutAnOwnerTakesTheFocusAndOwnedOnesStayAboveIt) {
  ProbeDialog owned(IDD_ICON, {400, 100, 500, 200}, &main_);
  ProbeDialog stranger(IDD_ICON, {350, 150, 450, 250});
  Then([&] {
    owned.Create(IDD_ICON);
    stranger.Create(IDD_ICON);
  });
  desktop_.AddClick(280, 150);
  Then([&] { EXPECT_EQ(desktop_.FocusedWindow(), AfxNativeWindow(main_.m_hWnd)); });
  desktop_.AddClick(450, 120);
  Then([&] {
    EXPECT_EQ(Watched(owned.seen, WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(desktop_.FocusedWindow(), AfxNativeWindow(main_.m_hWnd));
    main_.ShowWindow(SW_SHOW);  // raises the owner, and what it owns with it
    const auto& order = desktop_.StackingOrder();
    EXPECT_EQ(std::vector<plumet::backend::WindowId>(order.end() - 3, order.end()),
              (std::vector<plumet::backend::WindowId>{AfxNativeWindow(stranger.m_hWnd), AfxNativeWindow(main_.m_hWnd),
                                                      AfxNativeWindow(owned.m_hWnd)}));
  });
  main_.DoModal();
}

TEST_F(Framework, DcStandInsKeepTheirHandlesHoweverManyAreInUse) {
  std::array<CDC, 9> dcs;
  std::vector<CDC*> standIns;
  for (CDC& dc : dcs) {
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    standIns.push_back(CDC::FromHandle(dc.GetSafeHdc()));
  }
  for (std::size_t i = 0; i < dcs.size(); ++i) {
    EXPECT_EQ(standIns[i]->GetSafeHdc(), dcs[i].GetSafeHdc());
    EXPECT_EQ(CDC::FromHandle(dcs[i].GetSafeHdc()), standIns[i]);
  }
}

TEST_F(Framework, AWindowsFontObjectKeepsItsFontWhenAskedAgain) {
  Then([this] {
    CFont* font = main_.GetFont();
    const HGDIOBJ handle = font->GetSafeHandle();
    ASSERT_NE(handle, nullptr);
    CWnd none;
    EXPECT_EQ(none.GetFont()->GetSafeHandle(), nullptr);
    EXPECT_EQ(font->GetSafeHandle(), handle);
  });
  main_.DoModal();
}

}  // namespace
