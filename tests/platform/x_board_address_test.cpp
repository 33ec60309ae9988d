// The board's address on X: one board per display, no leftover from one that
// ended, messages of any shape from any client, and a flood of them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/backend/gtk/board_address.h"
#include "platform/backend/gtk/x_desktop.h"
#include "tests/platform/x_test_server.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace plumet::backend::gtk {
namespace {

constexpr std::uint32_t kBoardCommand = 1025;

class BoardSelection : public testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(contract::StartTestXServer(error)) << error;
    sender_ = XOpenDisplay(nullptr);
    ASSERT_NE(sender_, nullptr);
    desktop_ = XDesktop::Open(error);
    ASSERT_NE(desktop_, nullptr) << error;
  }
  void TearDown() override {
    desktop_.reset();
    if (sender_ != nullptr) XCloseDisplay(sender_);
  }

  // What the backend reported of the messages sent so far.
  std::vector<PostedMessage> Received() {
    XSync(sender_, False);
    std::vector<PostedMessage> messages;
    while (std::optional<Event> event = desktop_->WaitEvent(150)) {
      if (event->kind == EventKind::MessageFromOutside) messages.push_back(event->posted);
    }
    return messages;
  }

  void SendRaw(XEvent event) {
    event.xany.window = RunningBoard(sender_);
    ASSERT_NE(event.xany.window, static_cast<Window>(None));
    XSendEvent(sender_, event.xany.window, False, NoEventMask, &event);
  }

  Display* sender_ = nullptr;
  std::unique_ptr<XDesktop> desktop_;
};

TEST_F(BoardSelection, OneBoardPerDisplayAndNothingLeftOnceItEnds) {
  std::string error;
  EXPECT_EQ(XDesktop::Open(error), nullptr) << "a second board on the same display";
  EXPECT_NE(error.find("already runs"), std::string::npos) << error;
  EXPECT_NE(RunningBoard(sender_), static_cast<Window>(None));

  // The server drops the selection with the connection, however the program ended.
  desktop_.reset();
  for (int tries = 0; tries < 100 && RunningBoard(sender_) != None; ++tries) XSync(sender_, False);
  EXPECT_EQ(RunningBoard(sender_), static_cast<Window>(None));
  desktop_ = XDesktop::Open(error);
  EXPECT_NE(desktop_, nullptr) << error;
}

int errorsSeen = 0;
int CountError(Display*, XErrorEvent*) { return ++errorsSeen, 0; }

TEST_F(BoardSelection, ErrorsOnOtherConnectionsReachTheirHandlerAfterTheBoardIsOpenedAgain) {
  desktop_.reset();
  const XErrorHandler before = XSetErrorHandler(CountError);
  std::string error;
  for (int opening = 0; opening < 2; ++opening) {
    desktop_.reset();
    desktop_ = XDesktop::Open(error);
    ASSERT_NE(desktop_, nullptr) << error;
  }
  errorsSeen = 0;
  XDestroyWindow(sender_, 1);  // no such window: BadWindow on the sender's connection
  XSync(sender_, False);
  EXPECT_EQ(errorsSeen, 1);
  desktop_.reset();
  XSetErrorHandler(before);
}

TEST_F(BoardSelection, MessagesOfAnyShapeFromAnyClientAreDroppedUnlessWellFormed) {
  const Atom ours = XInternAtom(sender_, "PLUMET_POST_MESSAGE", False);
  for (const int format : {8, 16, 32, 0, 77}) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.message_type = format == 32 ? XInternAtom(sender_, "WM_PROTOCOLS", False) : ours;
    event.xclient.format = format;
    for (long& word : event.xclient.data.l) word = -1;
    SendRaw(event);
  }
  for (const int type : {KeyPress, ButtonPress, MotionNotify, PropertyNotify, SelectionClear, SelectionNotify,
                         ConfigureNotify, MapNotify, Expose}) {
    XEvent event{};
    event.type = type;
    SendRaw(event);
  }
  // A client asking the board for its selection's contents gets a refusal, not a wait.
  const Window requestor = XCreateSimpleWindow(sender_, DefaultRootWindow(sender_), 0, 0, 1, 1, 0, 0, 0);
  XConvertSelection(sender_, XInternAtom(sender_, "PLUMET_BOARD_S0", False), XA_STRING, ours, requestor, CurrentTime);
  ASSERT_TRUE(PostToBoard(sender_, RunningBoard(sender_), {kBoardCommand, 0xFFFFFFFFu, INT32_MIN}));

  const std::vector<PostedMessage> received = Received();
  ASSERT_EQ(received.size(), 1u) << "only the well-formed message";
  EXPECT_EQ(received[0].message, kBoardCommand);
  EXPECT_EQ(received[0].wParam, 0xFFFFFFFFu);
  EXPECT_EQ(received[0].lParam, INT32_MIN);
  XEvent answer{};
  XSync(sender_, False);
  ASSERT_TRUE(XCheckTypedWindowEvent(sender_, requestor, SelectionNotify, &answer));
  EXPECT_EQ(answer.xselection.property, static_cast<Atom>(None));
}

TEST_F(BoardSelection, AFloodArrivesWholeAndInOrderAndTheBoardStillAnswers) {
  constexpr std::int32_t kFlood = 100000;
  const Window board = RunningBoard(sender_);
  for (std::int32_t i = 0; i < kFlood; ++i) ASSERT_TRUE(PostToBoard(sender_, board, {kBoardCommand, 3, i}));
  const std::vector<PostedMessage> flood = Received();
  ASSERT_EQ(flood.size(), static_cast<std::size_t>(kFlood));
  for (std::int32_t i = 0; i < kFlood; ++i) ASSERT_EQ(flood[static_cast<std::size_t>(i)].lParam, i) << "in order";

  ASSERT_TRUE(PostToBoard(sender_, board, {kBoardCommand, 1, 0}));
  const std::vector<PostedMessage> after = Received();
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].wParam, 1u);
}

}  // namespace
}  // namespace plumet::backend::gtk
