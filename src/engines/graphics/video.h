// The end-of-game animation, "Graphic_resource/avis/Swoop.avi": frames of its first video stream
// drawn on the back buffer, advancing by at most one step per frame interval of the clock,
// whatever the file's own frame rate. The screen draws its own pictures over it. No sound is
// played.
#pragma once

#include <cstdint>

// The playback state.
constexpr int kVideoPlaying = 0;
constexpr int kVideoEnded = 1;
constexpr int kVideoClosed = 2;

// Opens the file and resets playback to frame 0, playing, advancing at most every `intervalMs`.
// 0, or -1 when the file cannot be opened or has no video stream (drawing then ends the video at
// once). The flag is not used.
int OpenVideo(const char* fileName, uint32_t intervalMs, int unusedFlag);
// Steps the position by `step` frames if the interval has passed since the last step, then draws
// the current frame at (x, y) of the back buffer. A negative step restarts from frame 0. Past the
// last frame the video ends and the last frame stays. Always 0.
int DrawVideoFrame(int step, int x, int y);
int VideoState();
// Closes the file and sets the state to closed. Always 0.
int CloseVideo();
// Keeps the file ready to play: it is opened and its first two frames decoded on a worker thread,
// so that OpenVideo of it starts at once, and after each CloseVideo it is made ready again the
// same way. While a video plays, the frame after the one shown is decoded on a worker as well.
void KeepVideoReady(const char* fileName);
// Closes the file and puts the playback back as it is at start-up, before any video was opened
// or kept ready.
void ForgetVideo();
