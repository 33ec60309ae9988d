// Waiting on our descriptors beside GLib's main context: ours wake the wait
// without GLib being asked each time, and GLib's timers and the sources other
// threads add still get their turn.
#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <chrono>
#include <thread>

#include "platform/backend/gtk/main_context_wait.h"

namespace plumet::backend::gtk {
namespace {

// A source that counts how often GLib asks it whether it is ready.
struct CountingSource {
  GSource base;
  int questions;
};

gboolean CountQuestion(GSource* source, gint* timeout) {
  ++reinterpret_cast<CountingSource*>(source)->questions;
  *timeout = -1;
  return FALSE;
}

gboolean NeverRuns(GSource*, GSourceFunc, gpointer) { return G_SOURCE_CONTINUE; }

GSourceFuncs countingFuncs{CountQuestion, nullptr, NeverRuns, nullptr, nullptr, nullptr};

gboolean SetFlag(gpointer flag) {
  *static_cast<bool*>(flag) = true;
  return G_SOURCE_REMOVE;
}

class MainContextWaitTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(pipe(pipe_.data()), 0); }
  void TearDown() override {
    close(pipe_[0]);
    close(pipe_[1]);
  }
  // Waits once on our pipe; true if it was readable.
  bool WaitOnce(int timeoutMs) {
    GPollFD ours{pipe_[0], G_IO_IN, 0};
    wait_.Wait({&ours, 1}, timeoutMs);
    return (ours.revents & G_IO_IN) != 0;
  }

  std::array<int, 2> pipe_{};
  MainContextWait wait_;
};

TEST_F(MainContextWaitTest, OurDescriptorWakesItWithoutAskingGlibEveryTime) {
  GSource* source = g_source_new(&countingFuncs, sizeof(CountingSource));
  auto* counting = reinterpret_cast<CountingSource*>(source);
  counting->questions = 0;
  g_source_attach(source, nullptr);
  wait_.SourcesChanged();
  constexpr int kEvents = 200;
  for (int i = 0; i < kEvents; ++i) {
    ASSERT_EQ(write(pipe_[1], "x", 1), 1);
    ASSERT_TRUE(WaitOnce(5000)) << i;
    char byte = 0;
    ASSERT_EQ(read(pipe_[0], &byte, 1), 1);
  }
  EXPECT_FALSE(WaitOnce(0)) << "nothing more to read";
  EXPECT_LE(counting->questions, 2) << "GLib is asked again only when something of its changed";
  g_source_destroy(source);
  g_source_unref(source);
}

TEST_F(MainContextWaitTest, GlibTimersAndSourcesAddedByOtherThreadsGetTheirTurn) {
  constexpr int kLongMs = 10000;
  bool fired = false;
  g_timeout_add(20, SetFlag, &fired);
  wait_.SourcesChanged();
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(WaitOnce(kLongMs));
  EXPECT_TRUE(fired) << "the wait ends for GLib's timer, which runs";

  bool ran = false;
  std::thread other([&ran] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    g_idle_add(SetFlag, &ran);
  });
  EXPECT_FALSE(WaitOnce(kLongMs));
  other.join();
  EXPECT_TRUE(ran) << "a source another thread adds wakes the wait";
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(kLongMs));
}

}  // namespace
}  // namespace plumet::backend::gtk
