#include <gtest/gtest.h>

#include <filesystem>

#include "platform/host_path.h"
#include "support/work_dir.h"

using platform::HostPath;

TEST(HostPath, SeparatorsBecomeSingleSlashes) {
    ScopedWorkDir dir;
    EXPECT_EQ(HostPath("data\\brasswick.rec"), "data/brasswick.rec");
    EXPECT_EQ(HostPath("Graphic_resource//Main//Winplan.tga"), "Graphic_resource/Main/Winplan.tga");
    EXPECT_EQ(HostPath("a\\\\b///c"), "a/b/c");
    EXPECT_EQ(HostPath(""), "");
}

TEST(HostPath, ExistingPathIsKeptAsItIs) {
    ScopedWorkDir dir;
    std::filesystem::create_directories("sounds");
    WriteFileText("sounds/Background2.mp3", "x");
    EXPECT_EQ(HostPath("sounds//Background2.mp3"), "sounds/Background2.mp3");
}

TEST(HostPath, ComponentsDifferingInCaseAreFound) {
    ScopedWorkDir dir;
    std::filesystem::create_directories("graphic_resource/menu");
    WriteFileText("graphic_resource/menu/back.bmp", "x");
    EXPECT_EQ(HostPath("Graphic_resource\\Menu\\Back.BMP"), "graphic_resource/menu/back.bmp");
}

TEST(HostPath, MissingComponentsStayAsWrittenSoFilesCanBeCreated) {
    ScopedWorkDir dir;
    std::filesystem::create_directories("Data");
    EXPECT_EQ(HostPath("data\\brasswick.rec"), "Data/brasswick.rec");
    EXPECT_EQ(HostPath("nowhere\\File.TXT"), "nowhere/File.TXT");
}

TEST(HostPath, AbsolutePathsStayAbsolute) {
    ScopedWorkDir dir;
    std::filesystem::create_directories("Inner");
    std::string absolute = dir.path() + "/inner/x.txt";
    EXPECT_EQ(HostPath(absolute), dir.path() + "/Inner/x.txt");
}
