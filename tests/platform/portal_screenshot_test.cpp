// The screen copy through the desktop portal, against a stand-in portal on
// the private session bus this test runs on (dbus-run-session).
#include "platform/backend/gtk/portal_screenshot.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace plumet::backend::gtk {
namespace {

using Answer = PortalScreenshot::Answer;

// The stand-in's quarters: top left, top right, bottom left, bottom right.
constexpr std::uint32_t kTopLeft = 0xFFC82828;
constexpr std::uint32_t kTopRight = 0xFF28C828;
constexpr std::uint32_t kBottomLeft = 0xFF2828C8;
constexpr std::uint32_t kBottomRight = 0xFFDCDC3C;

class PortalScreenshotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(std::getenv("DBUS_SESSION_BUS_ADDRESS"), nullptr) << "run under dbus-run-session";
    char folder[] = "/tmp/plumet-portal-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    folder_ = folder;
  }
  void TearDown() override {
    StopPortal();
    std::filesystem::remove_all(folder_);
  }

  // Starts the stand-in and waits until it owns the portal's name.
  void StartPortal(std::vector<std::string> options) {
    std::vector<std::string> words{PORTAL_STAND_IN, "--dir", folder_};
    words.insert(words.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int out = -1;
    GError* error = nullptr;
    ASSERT_TRUE(g_spawn_async_with_pipes(nullptr, argv.data(), nullptr, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr,
                                         &portal_, nullptr, &out, nullptr, &error))
        << error->message;
    char line[16] = {};
    const ssize_t got = read(out, line, sizeof line - 1);
    close(out);
    ASSERT_GT(got, 0) << "the stand-in portal did not start";
    ASSERT_EQ(std::string(line), "ready\n");
  }
  void StopPortal() {
    if (portal_ <= 0) return;
    kill(portal_, SIGTERM);
    waitpid(portal_, nullptr, 0);
    portal_ = 0;
    // The bus drops the name with the connection: let it say so.
    Pump(std::chrono::milliseconds(100));
  }

  // Runs the main context, as the backend's event wait does.
  static void Pump(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < end) {
      while (g_main_context_iteration(nullptr, FALSE)) {
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }
  // Asks until the answer is in, as the magnifier does.
  static Answer Await(PortalScreenshot& portal, const CopyGeometry& geometry, ScreenImage& out) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    Answer answer = portal.Take(geometry, out);
    while (answer == Answer::Pending && std::chrono::steady_clock::now() < end) {
      Pump(std::chrono::milliseconds(20));
      answer = portal.Take(geometry, out);
    }
    return answer;
  }
  bool FolderEmpty() const { return std::filesystem::is_empty(folder_); }

  std::string folder_;
  GPid portal_ = 0;
};

std::uint32_t At(const ScreenImage& image, int x, int y) {
  return image.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + x];
}

TEST_F(PortalScreenshotTest, TheCopyIsTheMonitorsPartAndThePictureFileIsRemoved) {
  StartPortal({"--size", "200x100"});
  PortalScreenshot portal;
  ScreenImage copy;
  // The monitor is the right half of a two-monitor X screen.
  ASSERT_EQ(Await(portal, {Rect{100, 0, 200, 100}, Size{200, 100}}, copy), Answer::Ready);
  ASSERT_EQ(copy.width, 100);
  ASSERT_EQ(copy.height, 100);
  EXPECT_EQ(At(copy, 10, 10), kTopRight);
  EXPECT_EQ(At(copy, 90, 90), kBottomRight);
  EXPECT_TRUE(FolderEmpty());
}

TEST_F(PortalScreenshotTest, APictureAtTwiceTheDensityIsScaledToTheMonitor) {
  StartPortal({"--size", "400x200"});
  PortalScreenshot portal;
  ScreenImage copy;
  ASSERT_EQ(Await(portal, {Rect{0, 0, 200, 100}, Size{200, 100}}, copy), Answer::Ready);
  ASSERT_EQ(copy.width, 200);
  ASSERT_EQ(copy.height, 100);
  EXPECT_EQ(At(copy, 50, 25), kTopLeft);
  EXPECT_EQ(At(copy, 150, 25), kTopRight);
  EXPECT_EQ(At(copy, 50, 75), kBottomLeft);
  EXPECT_EQ(At(copy, 150, 75), kBottomRight);
}

TEST_F(PortalScreenshotTest, ASlowAnswerIsPendingUntilItArrives) {
  StartPortal({"--size", "64x64", "--delay", "800"});
  PortalScreenshot portal;
  ScreenImage copy;
  const CopyGeometry geometry{Rect{0, 0, 64, 64}, Size{64, 64}};
  EXPECT_EQ(portal.Take(geometry, copy), Answer::Pending);
  Pump(std::chrono::milliseconds(300));
  // Asking again while waiting starts no second request.
  EXPECT_EQ(portal.Take(geometry, copy), Answer::Pending);
  EXPECT_EQ(Await(portal, geometry, copy), Answer::Ready);
  EXPECT_EQ(At(copy, 40, 40), kBottomRight);
  EXPECT_TRUE(FolderEmpty());
}

TEST_F(PortalScreenshotTest, ARefusalFailsAndTheNextCopyAsksAgain) {
  StartPortal({"--refuse"});
  PortalScreenshot portal;
  ScreenImage copy;
  const CopyGeometry geometry{Rect{0, 0, 64, 64}, Size{64, 64}};
  EXPECT_EQ(Await(portal, geometry, copy), Answer::Failed);
  EXPECT_TRUE(copy.pixels.empty());
  EXPECT_EQ(portal.Take(geometry, copy), Answer::Pending);
  EXPECT_EQ(Await(portal, geometry, copy), Answer::Failed);
}

TEST_F(PortalScreenshotTest, WithoutAPortalTheCopyFails) {
  PortalScreenshot portal;
  ScreenImage copy;
  EXPECT_EQ(Await(portal, {Rect{0, 0, 64, 64}, Size{64, 64}}, copy), Answer::Failed);
}

// The user gave up waiting and magnifies again much later: the answer to the
// first request shows the screen as it was then, so it is not used.
TEST_F(PortalScreenshotTest, AnAnswerNobodyCollectedInTimeIsDroppedAndAskedAgain) {
  StartPortal({"--size", "64x64"});
  PortalScreenshot portal(200);
  ScreenImage copy;
  const CopyGeometry geometry{Rect{0, 0, 64, 64}, Size{64, 64}};
  EXPECT_EQ(portal.Take(geometry, copy), Answer::Pending);
  Pump(std::chrono::milliseconds(600));
  EXPECT_EQ(portal.Take(geometry, copy), Answer::Pending);
  EXPECT_EQ(Await(portal, geometry, copy), Answer::Ready);
  EXPECT_TRUE(FolderEmpty());
}

TEST_F(PortalScreenshotTest, AnAnswerAfterTheClientIsGoneHarmsNothing) {
  StartPortal({"--size", "64x64", "--delay", "300"});
  {
    PortalScreenshot portal;
    ScreenImage copy;
    EXPECT_EQ(portal.Take({Rect{0, 0, 64, 64}, Size{64, 64}}, copy), Answer::Pending);
    Pump(std::chrono::milliseconds(100));  // the request is made; its answer is not in
  }
  Pump(std::chrono::milliseconds(600));
  // Nobody read the picture: it stays where the portal put it.
  EXPECT_FALSE(FolderEmpty());
}

}  // namespace
}  // namespace plumet::backend::gtk
