// Frames of the first video stream of a file (an AVI, or any container libav reads), decoded by
// frame number and converted to the display's pixel format.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A decoded frame in the display's format: rows of `pitch` bytes, top row first.
struct VideoPicture {
    int width = 0;
    int height = 0;
    int bytesPerPixel = 0;
    int pitch = 0;
    std::vector<uint8_t> pixels;
};

class VideoReader {
  public:
    enum class OpenResult { Opened, CannotOpen, NoVideo };

    VideoReader();
    ~VideoReader();
    VideoReader(const VideoReader&) = delete;
    VideoReader& operator=(const VideoReader&) = delete;

    // Opens the file and a decoder for its first video stream; any previous file is closed. A
    // file that cannot be read, or has only other streams, leaves the reader closed. A stream
    // without a usable decoder opens, but gives no frames.
    OpenResult Open(const std::string& path);
    void Close();
    bool IsOpen() const;

    // Makes frame `number` (0 is the first) the current picture, converted to `bytesPerPixel`
    // (4: bytes blue, green, red, 255; 3: blue, green, red; 2: 5-6-5). False when there is no
    // such frame (past the end) or it cannot be decoded; the current picture then stays.
    bool Fetch(int64_t number, int bytesPerPixel);
    const VideoPicture& Current() const;

  private:
    struct Decoder;
    std::unique_ptr<Decoder> decoder_;
};
