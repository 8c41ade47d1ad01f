#include "base/log.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <ctime>

#include "platform/platform.h"

// The version is set once, in the project (CMakeLists.txt).
const char* const kVersionText = VANTOR_VERSION_TEXT;

namespace {

FILE* logStream = nullptr;
constexpr size_t kMessageBufferSize = 1000;

int MakeDirectory(const char* path) {
    if (mkdir(path, 0775) == 0 || errno == EEXIST) return 0;
    return -1;
}

}  // namespace

int MakeWorkDirs() {
    int result = 0;
    for (const char* dir : {"~system", "~system/logs", "~system/upload"}) {
        if (MakeDirectory(dir) != 0) result = -1;
    }
    return result;
}

int LogOpen() {
    if (logStream) fclose(logStream);
    logStream = fopen("~system/logs/Vantor.txt", "w");
    if (!logStream) return -1;
    LogPrint("Vantor %s - Start of Log\n\n", kVersionText);
    return 0;
}

int LogPrint(const char* format, ...) {
    if (!format || !logStream) return 0;

    time_t now = static_cast<time_t>(platform::CalendarSeconds());
    struct tm local;
    localtime_r(&now, &local);
    char prefix[kMessageBufferSize];
    snprintf(prefix, sizeof prefix, "%02d/%02d/%02d %02d:%02d:%02d - ", local.tm_mday,
             local.tm_mon + 1, local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);

    // Messages longer than the buffer are cut to fit.
    char message[kMessageBufferSize];
    va_list args;
    va_start(args, format);
    vsnprintf(message, sizeof message, format, args);
    va_end(args);

    fputs(prefix, logStream);
    fputs(message, logStream);
    fflush(logStream);
    platform::DebugOutput(message);
    return 0;
}

int LogClose() {
    if (!logStream) return -1;
    fclose(logStream);
    logStream = nullptr;
    return 0;
}

int Trace(const char*, ...) {
    return 0;
}
