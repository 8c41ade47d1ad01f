#include "engines/graphics/registry.h"

#include <gtest/gtest.h>

#include "engines/graphics/display.h"

namespace {

class Registry : public ::testing::Test {
  protected:
    void SetUp() override { ResetDisplayForTests(); }
    void TearDown() override { ResetDisplayForTests(); }
};

void ExpectRect(const ImageRect* rect, int left, int top, int right, int bottom) {
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->left, left);
    EXPECT_EQ(rect->top, top);
    EXPECT_EQ(rect->right, right);
    EXPECT_EQ(rect->bottom, bottom);
}

const char* const kPlate = "Graphic_resource//Main//Winplan.tga";

TEST_F(Registry, FramesAreEqualBandsOfTheStrip) {
    AddImageEntry(kPlate, 40, 120, 2);
    ExpectRect(FindImageFrame(kPlate, 0), 0, 0, 40, 60);
    ExpectRect(FindImageFrame(kPlate, 1), 0, 60, 40, 120);
    EXPECT_EQ(FindImageFrame(kPlate, 2), nullptr);
}

TEST_F(Registry, LeftoverRowsBelongToNoFrame) {
    AddImageEntry(kPlate, 40, 100, 3);
    ExpectRect(FindImageFrame(kPlate, 2), 0, 66, 40, 99);
    EXPECT_EQ(FindImageFrame(kPlate, 3), nullptr);
}

TEST_F(Registry, ALaterEntryAnswersFramesTheFirstLacks) {
    AddImageEntry(kPlate, 40, 120, 2);
    AddImageEntry(kPlate, 30, 240, 4);
    ExpectRect(FindImageFrame(kPlate, 1), 0, 60, 40, 120);  // the first entry answers
    ExpectRect(FindImageFrame(kPlate, 3), 0, 180, 30, 240);
    EXPECT_EQ(FindImageFrame(kPlate, 4), nullptr);
}

TEST_F(Registry, NamesMatchWithoutRegardToLetterCase) {
    AddImageEntry(kPlate, 40, 120, 2);
    ExpectRect(FindImageFrame("graphic_resource//main//winplan.TGA", 1), 0, 60, 40, 120);
    EXPECT_EQ(FindImageFrame("Graphic_resource\\\\Main\\\\Winplan.tga", 0), nullptr);
}

TEST_F(Registry, TheQueryMustBeginWithTheWholeEntryName) {
    AddImageEntry("Graphic_resource//Main//Val5.tga", 10, 100, 10);
    EXPECT_EQ(FindImageFrame("Graphic_resource//Main//Val50.tga", 0), nullptr);
    EXPECT_EQ(FindImageFrame("Graphic_resource//Main//Val5.tg", 0), nullptr);
    EXPECT_NE(FindImageFrame("Graphic_resource//Main//Val5.tga and more", 0), nullptr);
    EXPECT_EQ(FindImageFrame(nullptr, 0), nullptr);
    EXPECT_EQ(FindImageFrame("Graphic_resource//Main//Val10.tga", 0), nullptr);
}

TEST_F(Registry, EveryAnswerOverwritesTheLast) {
    AddImageEntry(kPlate, 40, 120, 2);
    const ImageRect* first = FindImageFrame(kPlate, 0);
    const ImageRect* second = FindImageFrame(kPlate, 1);
    EXPECT_EQ(first, second);
    EXPECT_EQ(first->top, 60);
    EXPECT_EQ(FindImageFrame("missing", 0), nullptr);
    EXPECT_EQ(second->top, 60);  // a failed search leaves the last answer alone
}

TEST_F(Registry, OddEntriesAndFramesDoNotBreakTheSearch) {
    AddImageEntry(nullptr, 10, 10, 1);
    AddImageEntry(kPlate, 40, 120, 0);  // no frames: passed over
    AddImageEntry(kPlate, 40, 120, 4);
    ExpectRect(FindImageFrame(kPlate, 0), 0, 0, 40, 30);
    // A negative frame lies above the picture; it is not refused here.
    ExpectRect(FindImageFrame(kPlate, -1), 0, -30, 40, 0);
    EXPECT_NE(FindImageFrame(kPlate, INT32_MIN), nullptr);
}

}  // namespace
