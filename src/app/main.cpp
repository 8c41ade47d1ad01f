// vantor: the game program of the cabinet. A thin entry over the game library.
#include <cstdio>
#include <string>

#include "app/vantor.h"
#include "base/log.h"
#include "platform/platform.h"

namespace {

// A command line the game cannot run with. Not 2: that status already means the credit
// service is not there, and a launcher must be able to tell the two apart.
constexpr int kExitBadCommandLine = 64;

const char* const kUsage =
    "usage: vantor [--windowed | --fullscreen] [--headless] [--virtual-clock]\n"
    "              [--clock-start MS] [--touches FILE] [--capture-dir DIR] [--trace FILE]\n"
    "              [--frame-times FILE] [--credit-port N]\n"
    "              [--autoplay games=G,stake=50|100,right=P,take=K,seed=S,answers=RWL...,\n"
    "                          pick=touch|blue|wait]\n"
    "       vantor --help | --version\n"
    "Plays the cabinet's game full screen (--windowed: in a window; --headless: without a\n"
    "screen or sound, on the virtual clock). Runs in the current directory, which holds the\n"
    "content set. Options take their value as --name VALUE or --name=VALUE.\n"
    "Exit status: 0 orderly end, 1 no TCP socket, 2 no credit service, 64 bad command line,\n"
    "248 no sound effects, 249 a question pack missing, 250 the display failed or a picture\n"
    "would not load, 255 no window (or a display driver that shows nothing without --headless).\n";

// Why the game stopped, for whoever started it, when the status alone does not say it
// clearly. The window failures are told by the platform, which knows the reason.
void ExplainExit(int status, const platform::Options& options) {
    switch (status) {
        case ExitStatus(kExitNoSocket):
            fputs("vantor: cannot create a TCP socket for the credit service\n", stderr);
            break;
        case ExitStatus(kExitNoCreditService):
            fprintf(stderr, "vantor: no credit service is listening on 127.0.0.1:%u\n",
                    static_cast<unsigned>(options.creditPort));
            break;
        case ExitStatus(kExitNoDisplay):
            fputs(
                "vantor: the display could not be started, or a picture would not load (the log "
                "~system/logs/Vantor.txt names it)\n",
                stderr);
            break;
        case ExitStatus(kExitNoQuestions):
            fputs(
                "vantor: the question packs Questions/trueorfalse/Data01.pck to Data48.pck could "
                "not be loaded\n",
                stderr);
            break;
        case ExitStatus(kExitNoSound):
            fputs("vantor: the sound effects could not be set up\n", stderr);
            break;
        default:
            break;
    }
}

}  // namespace

int main(int argc, char** argv) {
    platform::Options options;
    std::string error;
    if (!platform::ParseOptions(argc, argv, options, error)) {
        fprintf(stderr, "vantor: %s (vantor --help lists the options)\n", error.c_str());
        return kExitBadCommandLine;
    }
    if (options.helpAsked) {
        fputs(kUsage, stdout);
        return 0;
    }
    if (options.versionAsked) {
        printf("vantor %s\n", kVersionText);
        return 0;
    }
    if (!platform::Start(options, error)) {
        fprintf(stderr, "vantor: %s\n", error.c_str());
        return kExitBadCommandLine;
    }
    const int status = ExitStatus(RunVantor(options));
    platform::TraceExit(status);
    platform::Stop();
    ExplainExit(status, options);
    return status;
}
