#include <gtest/gtest.h>

#include "base/random.h"
#include "engines/graphics/display.h"
#include "engines/graphics/surface.h"
#include "graphics_display/display_test_env.h"

namespace {

void ExpectDisplaySurfaces(int bytesPerPixel, uint32_t key) {
    for (Surface* surface : {PrimarySurface, BackBuffer, Layer[0], Layer[1], Layer[2]}) {
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ(surface->width, 800);
        EXPECT_EQ(surface->height, 600);
        EXPECT_EQ(surface->bytesPerPixel, bytesPerPixel);
        EXPECT_EQ(surface->pitch, 800 * bytesPerPixel);
    }
    EXPECT_EQ(PrimarySurface->colourKey, key);
    EXPECT_EQ(DisplayColourKey(), key);
    EXPECT_NE(Layer[0], Layer[1]);
    EXPECT_NE(Layer[1], Layer[2]);
}

void ExpectNoDisplaySurfaces() {
    EXPECT_EQ(PrimarySurface, nullptr);
    EXPECT_EQ(BackBuffer, nullptr);
    for (Surface* layer : Layer)
        EXPECT_EQ(layer, nullptr);
}

}  // namespace

using Display = DisplayTest;

TEST_F(Display, OpensAt32BitsAndDescribesItself) {
    std::string before = Logged();
    ASSERT_TRUE(StartDisplay());
    EXPECT_EQ(DisplayBitsPerPixel(), 32);
    ExpectDisplaySurfaces(4, 0x00FF00FF);
    EXPECT_EQ(LoggedSince(before), "Width=800,Height=600,BPP=32,DD=7\nStartupStatus=0\n");
    EXPECT_EQ(TheDisplayContext.interfaceVersion, 7);
    EXPECT_EQ(TheDisplayContext.colourKeyLow, 0x00FF00FFu);
    EXPECT_EQ(TheDisplayContext.colourKeyHigh, 0x00FF00FFu);
}

TEST_F(Display, FallsBackFrom32To24To16Bits) {
    platform::RefuseDisplayDepth(32, true);
    ASSERT_TRUE(StartDisplay());
    EXPECT_EQ(DisplayBitsPerPixel(), 24);
    ExpectDisplaySurfaces(3, 0x00FF00FF);
    EXPECT_NE(Logged().find("Width=800,Height=600,BPP=24,DD=7\n"), std::string::npos);

    StopDisplay(0);
    platform::RefuseDisplayDepth(24, true);
    ASSERT_TRUE(StartDisplay());
    EXPECT_EQ(DisplayBitsPerPixel(), 16);
    ExpectDisplaySurfaces(2, 0xF81F);
    EXPECT_NE(Logged().find("Width=800,Height=600,BPP=16,DD=7\n"), std::string::npos);
    // The image path's key stays magenta at every depth.
    EXPECT_EQ(TheDisplayContext.colourKeyLow, 0x00FF00FFu);
}

TEST_F(Display, NoDepthAcceptedFailsQuietlyWithNothingLeft) {
    for (int depth : {32, 24, 16})
        platform::RefuseDisplayDepth(depth, true);
    std::string before = Logged();
    EXPECT_FALSE(StartDisplay());
    ExpectNoDisplaySurfaces();
    EXPECT_EQ(DisplayBitsPerPixel(), 0);
    EXPECT_EQ(LoggedSince(before), "");
    EXPECT_EQ(CreateImageSurface(4, 4), nullptr);
}

TEST_F(Display, StopReleasesEverythingAndIsHarmlessTwice) {
    ASSERT_TRUE(StartDisplay());
    EXPECT_FALSE(StopDisplay(7));
    ExpectNoDisplaySurfaces();
    EXPECT_FALSE(StopDisplay(33));
    ExpectNoDisplaySurfaces();
    // A display can be opened again after a stop.
    EXPECT_TRUE(StartDisplay());
    ExpectDisplaySurfaces(4, 0x00FF00FF);
}

TEST_F(Display, SeedsTheGeneratorWithTheCalendarTime) {
    int64_t first = platform::CalendarSeconds();
    ASSERT_TRUE(StartDisplay());
    unsigned draws[3] = {RandomDraw(), RandomDraw(), RandomDraw()};
    int64_t last = platform::CalendarSeconds();

    bool matched = false;
    for (int64_t seconds = first; seconds <= last && !matched; ++seconds) {
        SeedRandom(static_cast<uint32_t>(seconds));
        unsigned a = RandomDraw(), b = RandomDraw(), c = RandomDraw();
        matched = a == draws[0] && b == draws[1] && c == draws[2];
    }
    EXPECT_TRUE(matched);
}

TEST_F(Display, ImageSurfacesAre32BitMagentaKeyedAndZeroFilled) {
    EXPECT_EQ(CreateImageSurface(10, 10), nullptr);  // no display yet: no surface, no message
    platform::RefuseDisplayDepth(32, true);
    platform::RefuseDisplayDepth(24, true);
    ASSERT_TRUE(StartDisplay());
    std::string before = Logged();

    Surface* image = CreateImageSurface(3, 2);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bytesPerPixel, 4);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->colourKey, 0x00FF00FFu);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(image->PixelAt(x, y), 0u);
    EXPECT_EQ(LoggedSince(before), "");

    EXPECT_EQ(CreateImageSurface(0, 5), nullptr);
    EXPECT_EQ(LoggedSince(before), "Failed to create DDv7 surface ( -2147024809,80070057 )\n");
}

TEST_F(Display, ReleasingTheContextEmptiesTheRegistry) {
    ASSERT_TRUE(StartDisplay());
    static const char* const kName = "Graphic_resource//Main//Winplan.tga";
    AddImageEntry(kName, 10, 20, 2);
    AddImageEntry(kName, 10, 20, 4);
    ASSERT_NE(CreateImageSurface(2, 2), nullptr);
    ReleaseDisplayContext();
    EXPECT_TRUE(TheDisplayContext.registry.empty());
    EXPECT_TRUE(TheDisplayContext.imageSurfaces.empty());
    EXPECT_EQ(FindImageFrame(kName, 0), nullptr);
}

TEST(Surface, PixelsKeepTheirByteOrderAtEveryDepth) {
    auto wide = CreateSurface(3, 2, 32);
    wide->SetPixel(2, 1, 0x11223344);
    EXPECT_EQ(wide->PixelAt(2, 1), 0x11223344u);
    const uint8_t* bytes = wide->Row(1) + 8;
    EXPECT_EQ(bytes[0], 0x44);  // blue first
    EXPECT_EQ(bytes[3], 0x11);

    auto packed = CreateSurface(3, 2, 24);
    EXPECT_EQ(packed->pitch, 12);  // 9 bytes padded to whole words
    packed->SetPixel(2, 1, 0x00AABBCC);
    EXPECT_EQ(packed->PixelAt(2, 1), 0x00AABBCCu);
    EXPECT_EQ(packed->Row(1)[6], 0xCC);
    EXPECT_EQ(packed->Row(1)[8], 0xAA);
    EXPECT_EQ(packed->PixelAt(1, 1), 0u);

    auto high = CreateSurface(3, 2, 16);
    EXPECT_EQ(high->pitch, 8);
    EXPECT_EQ(high->colourKey, 0xF81Fu);
    high->SetPixel(1, 0, 0xF81F);
    EXPECT_EQ(high->PixelAt(1, 0), 0xF81Fu);
    EXPECT_EQ(high->Row(0)[2], 0x1F);
    EXPECT_EQ(high->PixelAt(2, 0), 0u);
}

TEST(Surface, UnusableSizesAndDepthsGiveNone) {
    EXPECT_EQ(CreateSurface(0, 10, 32), nullptr);
    EXPECT_EQ(CreateSurface(10, -1, 32), nullptr);
    EXPECT_EQ(CreateSurface(10, 10, 8), nullptr);
    EXPECT_NE(CreateSurface(1, 1, 16), nullptr);
}
