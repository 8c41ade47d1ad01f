// The offer's screen for the tests: runs on the ball-board test screen with stand-in pictures for
// the offer ball's halves, the offer plate, the Take and Leave buttons and the amount's font, a
// board after its first round, and the question packs for the refusal question.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "ballgame_board/board_screen.h"

// Colours of the offer's stand-in pictures (0x00RRGGBB).
inline constexpr int kOfferLeftHalfPicture = 60, kOfferRightHalfPicture = 61;
inline constexpr int kLitButtonsPicture = 62, kPressedButtonsPicture = 63;
// The magenta pixel in each button cell (x, y within the cell), keyed out when drawn.
inline constexpr std::pair<int, int> kButtonHole{70, 25};
inline constexpr uint32_t kPlateColour = 0x0A6E1E;
inline constexpr uint32_t kFontColour = 0xF0E614;
// Each glyph of the stand-in font is a solid block this wide and high.
inline constexpr int kGlyphWidth = 6, kGlyphHeight = 16;

class OfferScreen : public BoardRun {
  protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();

    // A touch on the centre of the Take (0) or Leave (1) button, `ms` after the run starts.
    struct ButtonTouch {
        uint32_t ms;
        int button;
    };
    // Starts a run with these touches scripted, the board after its first round, and puts up
    // the screen.
    void StartRun(const std::vector<ButtonTouch>& touches = {});

    // Seeds the game's generator and answers the offer the board will be made with that seed.
    float SeedAndPredictOffer(uint32_t seed) const;
};

// The number of pixels of this colour in the rectangle.
int CountColour(uint32_t colour, int left, int top, int right, int bottom);
