#include "xvfb_server.h"

#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>

#include "engines/graphics/image_codecs.h"
#include "support/work_dir.h"

namespace {

constexpr const char* kXvfb = "/usr/bin/Xvfb";
// The screen helper runs on the system's Python, which has Pillow.
constexpr const char* kPython = "/usr/bin/python3";
constexpr const char* kScreenHelper = CABINET_TEST_DIR "/x_screen.py";

bool RunScreenHelper(const std::vector<std::string>& args, const std::string& logFile) {
    std::vector<std::string> all{kScreenHelper};
    all.insert(all.end(), args.begin(), args.end());
    ChildProcess helper(kPython, all, {}, logFile);
    return helper.Wait(std::chrono::seconds(30)) == 0;
}

// Reads the display number Xvfb writes on its -displayfd descriptor once it accepts clients.
std::string ReadDisplayNumber(int fd) {
    std::string number;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < giveUp) {
        pollfd watched{fd, POLLIN, 0};
        if (poll(&watched, 1, 200) <= 0) continue;
        char c;
        if (read(fd, &c, 1) != 1) break;
        if (c == '\n') return number;
        number += c;
    }
    return "";
}

}  // namespace

XvfbServer::XvfbServer(int width, int height, const std::string& logFile) {
    int fds[2];
    if (pipe(fds) != 0) return;
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    server_ = std::make_unique<ChildProcess>(
        kXvfb,
        std::vector<std::string>{"-displayfd", "3", "-screen", "0", screen, "-nolisten", "tcp"},
        std::vector<std::string>{}, logFile, fds[1]);
    close(fds[1]);
    const std::string number = server_->Started() ? ReadDisplayNumber(fds[0]) : "";
    close(fds[0]);
    if (!number.empty()) display_ = ":" + number;
}

XvfbServer::~XvfbServer() {
    if (server_) server_->Stop(SIGTERM);
}

bool XvfbServer::Screenshot(const std::string& pngFile) const {
    return RunScreenHelper({"grab", display_, pngFile}, pngFile + ".log");
}

bool XvfbServer::Press(int x, int y) const {
    return RunScreenHelper({"press", display_, std::to_string(x), std::to_string(y)}, "/dev/null");
}

DecodedImage ReadPng(const std::string& path) {
    const std::string text = ReadFileText(path);
    DecodedImage image;
    const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(text.data()),
                                         text.size());
    if (DecodePng(bytes, image) != kCodecOk) return DecodedImage{};
    return image;
}
