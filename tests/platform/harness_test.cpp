// The harness: options, the touch script, captures and the trace.
#include <gtest/gtest.h>

#include <csignal>

#include <sstream>

#include <filesystem>
#include <vector>

#include "platform/harness/autoplay_settings.h"
#include "platform/harness/touch_script.h"
#include "platform/platform.h"
#include "support/work_dir.h"

namespace {

bool Parse(std::vector<const char*> args, platform::Options& options, std::string& error) {
    args.insert(args.begin(), "vantor");
    return platform::ParseOptions(static_cast<int>(args.size()), args.data(), options, error);
}

void Present(uint32_t colour) {
    std::vector<uint32_t> frame(800 * 600, colour);
    platform::PresentFrame(reinterpret_cast<const uint8_t*>(frame.data()), 800 * 4);
}

void AdvanceTo(uint32_t ms) {
    while (platform::Milliseconds() < ms)
        platform::Yield();
}

}  // namespace

TEST(Options, EveryHarnessOption) {
    platform::Options options;
    std::string error;
    ASSERT_TRUE(
        Parse({"--headless", "--touches", "t.txt", "--capture-dir=shots", "--trace", "trace.txt",
               "--credit-port=7001", "--autoplay", "games=3,take=2", "--clock-start", "4294967000"},
              options, error))
        << error;
    EXPECT_TRUE(options.headless);
    EXPECT_TRUE(options.virtualClock) << "headless implies the virtual clock";
    EXPECT_EQ(options.touchesFile, "t.txt");
    EXPECT_EQ(options.captureDir, "shots");
    EXPECT_EQ(options.traceFile, "trace.txt");
    EXPECT_EQ(options.creditPort, 7001);
    EXPECT_EQ(options.autoplay, "games=3,take=2");
    EXPECT_EQ(options.clockStart, 4294967000u);

    platform::Options cabinet;
    ASSERT_TRUE(Parse({}, cabinet, error));
    EXPECT_FALSE(cabinet.windowed);
    EXPECT_FALSE(cabinet.virtualClock);
    EXPECT_EQ(cabinet.creditPort, 6667);
    EXPECT_EQ(cabinet.captureDir, "captures");
}

TEST(Options, BadOptionsAreRefusedWithAMessage) {
    for (std::vector<const char*> bad : {std::vector<const char*>{"--credit-port", "0"},
                                         {"--credit-port", "70000"},
                                         {"--credit-port"},
                                         {"--clock-start", "4294967296"},
                                         {"--clock-start", "-1"},
                                         {"--clock-start", "soon"},
                                         {"--trace"},
                                         {"--autoplay", "stake=75"},
                                         {"--autoplay", "colour=red"},
                                         {"--bogus"},
                                         {"--headless=yes"},
                                         {"cabinet"}}) {
        platform::Options options;
        std::string error;
        EXPECT_FALSE(Parse(bad, options, error)) << bad[0];
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

TEST(Options, AutoplaySettings) {
    platform::AutoplaySettings settings;
    std::string error;
    ASSERT_TRUE(platform::ParseAutoplaySettings("games=3,stake=100,right=75,take=2,seed=9",
                                                settings, error));
    EXPECT_TRUE(settings.enabled);
    EXPECT_EQ(settings.games, 3);
    EXPECT_EQ(settings.stake, 100);
    EXPECT_EQ(settings.rightPercent, 75);
    EXPECT_EQ(settings.takeOffer, 2);
    EXPECT_EQ(settings.seed, 9u);
    ASSERT_TRUE(platform::ParseAutoplaySettings("", settings, error));
    EXPECT_EQ(settings.games, 1);
    EXPECT_EQ(settings.rightPercent, 100);
    EXPECT_EQ(settings.takeOffer, 0);
    EXPECT_FALSE(platform::ParseAutoplaySettings("right=101", settings, error));
    EXPECT_FALSE(platform::ParseAutoplaySettings("games=two", settings, error));
}

TEST(TouchScript, StepsInTimeOrderWithCommentsAndCaptures) {
    platform::TouchScript script;
    std::string error;
    ASSERT_TRUE(
        script.Parse("# attract\n2000 400 300  # start\n\n1000 capture attract\n"
                     "2000 -1 5\n3000 close\n",
                     error))
        << error;
    platform::ScriptStep step;
    EXPECT_FALSE(script.NextDue(999, step));
    ASSERT_TRUE(script.NextDue(1000, step));
    EXPECT_EQ(step.kind, platform::ScriptStep::Kind::Capture);
    EXPECT_EQ(step.captureName, "attract");
    ASSERT_TRUE(script.NextDue(5000, step));
    EXPECT_EQ(step.x, 400);
    ASSERT_TRUE(script.NextDue(5000, step));
    EXPECT_EQ(step.x, -1) << "steps at the same time keep the script's order";
    ASSERT_TRUE(script.NextDue(5000, step));
    EXPECT_EQ(step.kind, platform::ScriptStep::Kind::Close);
    EXPECT_TRUE(script.Empty());
}

TEST(TouchScript, MalformedLinesNameTheLine) {
    for (const char* bad : {"100 200\n", "x 1 2\n", "100 1 2 3\n", "100 capture\n",
                            "100 capture ../escape\n", "-5 1 2\n", "100 99999 2\n"}) {
        platform::TouchScript script;
        std::string error;
        EXPECT_FALSE(script.Parse(bad, error)) << bad;
        EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    }
}

class Harness : public ::testing::Test {
  protected:
    ScopedWorkDir dir;

    void StartHeadless(const std::string& script) {
        WriteFileText("touches.txt", script);
        platform::Options options;
        options.headless = true;
        options.touchesFile = "touches.txt";
        options.traceFile = "trace.txt";
        options.captureDir = "shots";
        std::string error;
        ASSERT_TRUE(platform::Start(options, error)) << error;
    }
    void TearDown() override { platform::Stop(); }
};

TEST_F(Harness, ScriptedTouchesArriveWhenTheClockReachesThem) {
    StartHeadless("5 10 20\n5 30 40\n");
    platform::Event event;
    AdvanceTo(4);
    EXPECT_FALSE(platform::NextEvent(event));
    AdvanceTo(5);
    ASSERT_TRUE(platform::NextEvent(event));
    EXPECT_EQ(event.x, 10);
    EXPECT_EQ(event.y, 20);
    platform::DiscardEvents();
    EXPECT_FALSE(platform::NextEvent(event));
}

// A service stop, a shut-down or Ctrl-C is caught and becomes one Quit event, traced; once the
// platform stops, the signals are handled as before it started.
TEST_F(Harness, StopSignalsBecomeOneQuitEventEach) {
    StartHeadless("");
    platform::Event event;
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        ASSERT_EQ(raise(signal), 0);
        ASSERT_TRUE(platform::NextEvent(event));
        EXPECT_EQ(event.kind, platform::EventKind::Quit);
        EXPECT_FALSE(platform::NextEvent(event));
    }
    ASSERT_EQ(raise(SIGTERM), 0);
    platform::DiscardEvents();
    ASSERT_TRUE(platform::NextEvent(event)) << "a stop is never thrown away with the touches";
    EXPECT_EQ(event.kind, platform::EventKind::Quit);
    platform::Stop();
    EXPECT_NE(ReadFileText("trace.txt").find("0 signal 15\n0 signal 2\n0 signal 1\n"),
              std::string::npos);
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST_F(Harness, CaptureSavesTheNextPresentedFrame) {
    StartHeadless("10 capture red\n");
    ASSERT_EQ(platform::OpenDisplay(800, 600, 32), platform::ModeResult::Ok);
    Present(0x000000FF);  // before the capture is due: blue
    AdvanceTo(10);
    Present(0x00FF0000);  // red
    Present(0x0000FF00);
    ASSERT_TRUE(std::filesystem::exists("shots/red.png"));
    std::string png = ReadFileText("shots/red.png");
    EXPECT_EQ(png.substr(1, 3), "PNG");
}

TEST_F(Harness, CapturesDueAtTheEndAreWrittenFromTheLastFrame) {
    StartHeadless("10 capture last\n");
    AdvanceTo(10);
    platform::Stop();
    EXPECT_TRUE(std::filesystem::exists("shots/last.png"));
}

TEST_F(Harness, TraceRecordsTouchesSoundsMusicPresentsAndExit) {
    StartHeadless("3 100 200\n");
    ASSERT_EQ(platform::OpenDisplay(800, 600, 32), platform::ModeResult::Ok);
    AdvanceTo(3);
    platform::TraceSound(25);
    platform::TraceMusic(true);
    for (int i = 0; i < 200; ++i)
        Present(0);
    platform::TraceMusic(false);
    platform::TraceExit(0);
    platform::Stop();
    EXPECT_EQ(ReadFileText("trace.txt"),
              "3 touch 100 200\n3 sound 25\n3 music play\n3 present 100\n3 present 200\n"
              "3 music stop\n3 exit 0\n");
}

TEST(FrameTimes, OneLinePerFrameAfterTheFirstWithTheWorkBetweenPresents) {
    ScopedWorkDir dir;
    platform::Options options;
    options.headless = true;
    options.frameTimesFile = "frames.txt";
    std::string error;
    ASSERT_TRUE(platform::Start(options, error)) << error;
    ASSERT_EQ(platform::OpenDisplay(800, 600, 32), platform::ModeResult::Ok);
    Present(0);
    for (int frame = 0; frame < 3; ++frame) {
        AdvanceTo(platform::Milliseconds() + 15);  // the pacing: yields, not work
        Present(0);
    }
    platform::Stop();
    std::istringstream lines(ReadFileText("frames.txt"));
    std::vector<uint32_t> times;
    uint32_t ms;
    long long micros, cpuMicros;
    while (lines >> ms >> micros >> cpuMicros) {
        times.push_back(ms);
        EXPECT_GE(micros, 0);
        EXPECT_LT(micros, 1000000) << "yields are not counted as work";
        EXPECT_GE(cpuMicros, 0);
        EXPECT_LT(cpuMicros, 1000000);
    }
    EXPECT_EQ(times, (std::vector<uint32_t>{15, 30, 45}));
}

TEST_F(Harness, HeadlessDisplayCanRefuseDepths) {
    StartHeadless("");
    platform::RefuseDisplayDepth(32, true);
    EXPECT_EQ(platform::OpenDisplay(800, 600, 32), platform::ModeResult::InvalidMode);
    EXPECT_EQ(platform::OpenDisplay(800, 600, 24), platform::ModeResult::Ok);
    platform::RefuseDisplayDepth(32, false);
    EXPECT_EQ(platform::OpenDisplay(800, 600, 32), platform::ModeResult::Ok);
}

TEST_F(Harness, SixteenBitFramesAreWidenedForCaptures) {
    StartHeadless("0 capture white\n");
    ASSERT_EQ(platform::OpenDisplay(800, 600, 16), platform::ModeResult::Ok);
    platform::Yield();
    std::vector<uint16_t> frame(800 * 600, 0xFFFF);
    platform::PresentFrame(reinterpret_cast<const uint8_t*>(frame.data()), 800 * 2);
    EXPECT_TRUE(std::filesystem::exists("shots/white.png"));
}
