// The player's ball and the title plate drawn over a frame of the swoop, pixel for pixel, with
// opaque stand-in pictures of known colours.
#include <gtest/gtest.h>

#include "engines/graphics/assets.h"
#include "engines/graphics/display.h"
#include "engines/graphics/registry.h"
#include "engines/graphics/sprites.h"
#include "screens/end_sequences.h"
#include "support/screen_run.h"

namespace {

constexpr uint32_t kLeftHalf = 0x00A01010, kRightHalf = 0x0010A010, kTitle = 0x001010A0;
constexpr uint32_t kVideoFrame = 0x00404040;

Surface* OpaquePicture(const char* name, int width, int height, uint32_t colour) {
    Surface* picture = CreateImageSurface(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture->SetPixel(x, y, 0xFF000000u | colour);
    AddImageEntry(name, width, height, 1);
    return picture;
}

class BallOverVideo : public testing::Test {
  protected:
    void SetUp() override {
        ResetDisplayForTests();
        ASSERT_TRUE(StartDisplay());
        yourBallLeftImage =
            OpaquePicture("Graphic_resource//Main//Your_ball_Left.tga", 60, 115, kLeftHalf);
        yourBallRightImage =
            OpaquePicture("Graphic_resource//Main//Your_ball_Right.tga", 60, 115, kRightHalf);
        vantorOverImage = OpaquePicture("Graphic_resource//Main//Vantorover.tga", 202, 44, kTitle);
        FillBackBufferRect(0, 0, 800, 600, kVideoFrame);
    }
    void TearDown() override {
        yourBallLeftImage = yourBallRightImage = vantorOverImage = nullptr;
        ResetDisplayForTests();
    }
};

TEST_F(BallOverVideo, HalvesAtTheTopWithTheTitlePlateOverThem) {
    DrawBallOverVideo();
    // Left half at (340, 33), right half at (400, 33), each 60 x 115.
    EXPECT_EQ(ScreenColour(340, 33), kLeftHalf);
    EXPECT_EQ(ScreenColour(399, 57), kLeftHalf);
    EXPECT_EQ(ScreenColour(400, 33), kRightHalf);
    EXPECT_EQ(ScreenColour(459, 147), kRightHalf);
    // The title plate at (300, 58), 202 x 44, drawn last: over both halves.
    EXPECT_EQ(ScreenColour(300, 58), kTitle);
    EXPECT_EQ(ScreenColour(350, 80), kTitle);
    EXPECT_EQ(ScreenColour(420, 101), kTitle);
    EXPECT_EQ(ScreenColour(501, 101), kTitle);
    // Below the plate the halves show again; everything else is the video frame.
    EXPECT_EQ(ScreenColour(350, 102), kLeftHalf);
    EXPECT_EQ(ScreenColour(339, 40), kVideoFrame);
    EXPECT_EQ(ScreenColour(460, 40), kVideoFrame);
    EXPECT_EQ(ScreenColour(400, 32), kVideoFrame);
    EXPECT_EQ(ScreenColour(400, 148), kVideoFrame);
    EXPECT_EQ(ScreenColour(299, 60), kVideoFrame);
    EXPECT_EQ(ScreenColour(502, 60), kVideoFrame);
}

}  // namespace
