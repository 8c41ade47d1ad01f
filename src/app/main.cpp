// vantor: the game program of the cabinet. A thin entry over the game library.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/vantor.h"
#include "base/log.h"
#include "platform/platform.h"

namespace {

void PrintUsage() {
    puts(
        "usage: vantor [--windowed | --fullscreen] [--headless] [--virtual-clock]\n"
        "              [--clock-start MS] [--touches FILE] [--capture-dir DIR] [--trace FILE]\n"
        "              [--frame-times FILE] [--credit-port N]\n"
        "              [--autoplay games=G,stake=50|100,right=P,take=K,seed=S,answers=RWL...,\n"
        "                          pick=touch|blue|wait]\n"
        "       vantor --version\n"
        "Runs in the current directory, which holds the content set.");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "-h") == 0)) {
        PrintUsage();
        return 0;
    }
    if (argc > 1 && strcmp(argv[1], "--version") == 0) {
        printf("vantor %s\n", kVersionText);
        return 0;
    }
    platform::Options options;
    std::string error;
    if (!platform::ParseOptions(argc, argv, options, error) || !platform::Start(options, error)) {
        fprintf(stderr, "vantor: %s\n", error.c_str());
        PrintUsage();
        return 64;
    }
    int status = ExitStatus(RunVantor(options));
    platform::TraceExit(status);
    platform::Stop();
    return status;
}
