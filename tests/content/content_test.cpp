// The content set made by make-assets: every file the game opens is there, in exactly the form
// its reader takes, with the frame count the game loads it with and the size its screen draws
// it at; the fonts measure as the game measures them; and every run writes the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "content_names.h"
#include "file_formats.h"
#include "support/run_program.h"
#include "support/work_dir.h"

namespace {

std::string ContentPath(const std::string& name) {
    return std::string(CONTENT_DIR) + "/" + name;
}

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Any of the content set's pictures, read by its extension; PNGs give their size only.
Picture ReadAnyPicture(const std::string& name) {
    const std::vector<uint8_t> bytes = ReadBytes(ContentPath(name));
    if (EndsWith(name, ".tga")) return ReadTga(bytes);
    if (EndsWith(name, ".PCX")) return ReadPcx(bytes);
    if (EndsWith(name, ".png")) {
        const PngHeader png = ReadPngHeader(bytes);
        Picture size;
        size.error = png.error;
        size.width = png.width;
        size.height = png.height;
        return size;
    }
    return ReadBmp(bytes, EndsWith(name, ".BMP"));
}

// Where the screens draw a picture decides its size: (width, height of one frame, frames).
struct DrawnSize {
    const char* path;
    int width, frameHeight, frames;
};

const DrawnSize kDrawnSizes[] = {
    // Full-screen backgrounds, drawn at (0, 0).
    {"Graphic_resource/Loading/LoadingScreen.BMP", 800, 600, 1},
    {"Graphic_resource/Menu/OptionBackgroundBLank.BMP", 800, 600, 1},
    {"Graphic_resource/Menu/InfoScreen.BMP", 800, 600, 1},
    {"Graphic_resource/Questions/QBackground.BMP", 800, 600, 1},
    {"Graphic_resource/Main/MainScreen.BMP", 800, 600, 1},
    {"Graphic_resource/Stake/StakeScreen.bmp", 800, 600, 1},
    {"Graphic_resource/Main/IntroScreen.bmp", 800, 600, 1},
    // Attract buttons at y 469 down to the bottom; answer buttons at (0, 469) and (535, 469).
    {"Graphic_resource/Menu/MenuBlank.BMP", 264, 131, 2},
    {"Graphic_resource/Menu/OptionBlank.BMP", 264, 131, 2},
    {"Graphic_resource/Menu/PlayBlank.BMP", 264, 131, 2},
    {"Graphic_resource/Menu/InsertCoins.BMP", 264, 131, 2},
    {"Graphic_resource/Questions/TrueButton.BMP", 264, 131, 3},
    {"Graphic_resource/Questions/FalseButton.BMP", 264, 131, 3},
    // Money panels at (0, 0) and (600, 0); Back at (265, 481).
    {"Graphic_resource/Menu/CreditBlank.BMP", 200, 92, 1},
    {"Graphic_resource/Menu/BankBlank.BMP", 200, 92, 1},
    {"Graphic_resource/Menu/Back.BMP", 268, 118, 2},
    // Question screen panels.
    {"Graphic_resource/Questions/QuestionBox.BMP", 616, 188, 1},
    {"Graphic_resource/Main/Congrats.bmp", 616, 188, 1},
    {"Graphic_resource/Questions/TryAgainTitle.BMP", 180, 100, 1},
    {"Graphic_resource/Questions/Seconds.BMP", 188, 88, 1},
    {"Graphic_resource/Questions/Correct.tga", 194, 48, 7},  // above the text box at y 265
    // Ball game: balls, cups and values, win plan, prompts, the player's and the offer ball.
    {"Graphic_resource/Main/RedBall.tga", 73, 110, 11},
    {"Graphic_resource/Main/BlueBall.tga", 73, 110, 11},
    {"Graphic_resource/Main/EmptyRedCup.tga", 73, 110, 1},
    {"Graphic_resource/Main/Val150.tga", 61, 34, 10},
    {"Graphic_resource/Main/ValEmpty.tga", 61, 34, 10},
    {"Graphic_resource/Main/Winplan.tga", 140, 27, 24},
    {"Graphic_resource/Main/WinplanBright.tga", 140, 27, 24},
    {"Graphic_resource/Main/PickPrizeBall.tga", 200, 60, 1},
    {"Graphic_resource/Main/Vantorover.tga", 202, 44, 1},
    {"Graphic_resource/Main/Your_ball_Left.tga", 60, 115, 1},
    {"Graphic_resource/Main/Your_ball_Right.tga", 60, 115, 1},
    {"Graphic_resource/Main/Middle.BMP", 152, 96, 1},
    {"Graphic_resource/Main/Open_Ball_Left.tga", 100, 200, 1},
    {"Graphic_resource/Main/Open_Ball_Right.tga", 100, 200, 1},
    {"Graphic_resource/Main/OfferBase.BMP", 296, 172, 1},
    {"Graphic_resource/Main/VornaOff.bmp", 140, 50, 2},
    {"Graphic_resource/Main/VornaPressed.bmp", 140, 50, 2},
    {"Graphic_resource/Main/CongratsBase.BMP", 292, 172, 1},
    {"Graphic_resource/Main/GameOverBase.BMP", 292, 172, 1},
    {"Graphic_resource/Menu/HiLite.tga", 64, 64, 1},
    {"Graphic_resource/Menu/HiLite2.tga", 33, 33, 1},
    // Stake screen: doors over the play buttons, and the spinning stakes.
    {"Graphic_resource/Stake/AnimPound.bmp", 250, 298, 11},
    {"Graphic_resource/Stake/Anim50p.bmp", 250, 298, 11},
    {"Graphic_resource/Stake/PoundPlay.png", 264, 113, 2},
    {"Graphic_resource/Stake/50pPlay.png", 264, 113, 2},
    {"Graphic_resource/Stake/Stake11.tga", 194, 194, 1},
    {"Graphic_resource/Stake/Stake50p10.tga", 194, 194, 1},
};

// The game's measure of a font: for each glyph the rightmost column, from the cell's last down
// to column 1, that is not magenta in any row, plus extra; the space is half a cell wide.
std::vector<int> MeasuredWidths(const Picture& font, int extra) {
    const int cell = font.height / 96;
    std::vector<int> widths(96);
    for (int g = 0; g < 96; ++g) {
        int rightmost = 0;
        for (int y = g * cell; y < (g + 1) * cell; ++y)
            for (int x = font.width - 1; x >= 1; --x)
                if (!font.IsMagenta(x, y)) {
                    rightmost = std::max(rightmost, x);
                    break;
                }
        widths[g] = rightmost + extra;
    }
    widths[0] = font.width / 2;
    return widths;
}

// Width of a one-line text; "\xA3" is the pound sign (glyph 95).
int TextWidth(const std::vector<int>& widths, const std::string& text) {
    int width = 0;
    for (unsigned char c : text)
        width += widths[c == 0xA3 ? 95 : c - 32];
    return width;
}

struct FontFile {
    const char* path;
    int extra;  // what the game adds to a measured width
};

const FontFile kFonts[] = {
    {"Graphic_resource/Menu/BankCreditFont.BMP", 2},    {"Graphic_resource/font1a.PCX", 1},
    {"Graphic_resource/Questions/QuestionFont.BMP", 1}, {"Graphic_resource/Main/PotFont.BMP", 1},
    {"Graphic_resource/Main/EndFont.BMP", 1},           {"Graphic_resource/Main/WinFont.BMP", 1},
};

}  // namespace

TEST(ContentSet, EverySpriteFileReadsAsTheSpriteEngineTakesIt) {
    ASSERT_EQ(SpriteFileNames().size(), 56u);
    for (const SpriteFileName& row : SpriteFileNames()) {
        SCOPED_TRACE(row.path);
        const std::vector<uint8_t> bytes = ReadBytes(ContentPath(row.path));
        ASSERT_FALSE(bytes.empty()) << "missing";
        const Picture picture = row.kind == 2 ? ReadPcx(bytes) : ReadBmp(bytes, true);
        ASSERT_EQ(picture.error, "");
        EXPECT_EQ(picture.height % row.frames, 0) << "frames of unequal height";
    }
}

TEST(ContentSet, EveryImageReadsInItsFormatWithRealAlphaInTheTgas) {
    ASSERT_EQ(ImageFileNames().size(), 75u);
    std::set<int> tgaTypes;
    for (const ImageFileName& image : ImageFileNames()) {
        SCOPED_TRACE(image.path);
        const std::vector<uint8_t> bytes = ReadBytes(ContentPath(image.path));
        ASSERT_FALSE(bytes.empty()) << "missing";
        int height = 0;
        if (EndsWith(image.path, ".tga")) {
            const TgaPicture tga = ReadTga(bytes);
            ASSERT_EQ(tga.error, "");
            tgaTypes.insert(tga.imageType);
            height = tga.height;
        } else if (EndsWith(image.path, ".png")) {
            const PngHeader png = ReadPngHeader(bytes);
            ASSERT_EQ(png.error, "");
            EXPECT_EQ(png.bitDepth, 8);
            EXPECT_EQ(png.colourType, 6) << "not RGBA";
            height = png.height;
        } else {
            ASSERT_TRUE(EndsWith(image.path, ".bmp"));
            const Picture bmp = ReadBmp(bytes, false);
            ASSERT_EQ(bmp.error, "");
            height = bmp.height;
        }
        EXPECT_EQ(height % image.frames, 0) << "frames of unequal height";
    }
    EXPECT_EQ(tgaTypes, (std::set<int>{2, 10})) << "both TGA kinds should be in use";

    // Pictures drawn over others carry a real alpha channel: clear, solid and smoothed edges.
    for (const char* name :
         {"Graphic_resource/Main/RedBall.tga", "Graphic_resource/Menu/HiLite.tga",
          "Graphic_resource/Stake/Stake13.tga"}) {
        SCOPED_TRACE(name);
        const TgaPicture tga = ReadTga(ReadBytes(ContentPath(name)));
        std::set<int> alphas;
        for (size_t i = 3; i < tga.bgra.size(); i += 4)
            alphas.insert(tga.bgra[i]);
        EXPECT_TRUE(alphas.count(0) && alphas.count(255));
        EXPECT_GT(alphas.size(), 20u);
    }
}

TEST(ContentSet, PicturesHaveTheSizesOfTheirPlacesOnScreen) {
    for (const DrawnSize& expected : kDrawnSizes) {
        SCOPED_TRACE(expected.path);
        const Picture picture = ReadAnyPicture(expected.path);
        ASSERT_EQ(picture.error, "");
        EXPECT_EQ(picture.width, expected.width);
        EXPECT_EQ(picture.height, expected.frameHeight * expected.frames);
    }
}

TEST(ContentSet, TouchAreasShowTheirButtons) {
    // Each attract button is painted where its touch area is: at the area's centre the frame
    // differs from the background it is drawn over, and pressing changes the look.
    const Picture background = ReadAnyPicture("Graphic_resource/Menu/OptionBackgroundBLank.BMP");
    struct Button {
        const char* path;
        int x;       // where the sprite is drawn, at y 469
        int centre;  // centre x of its 160 x 160 touch area from y 437
    };
    for (const Button& button : {Button{"Graphic_resource/Menu/MenuBlank.BMP", 0, 121},
                                 Button{"Graphic_resource/Menu/OptionBlank.BMP", 265, 400},
                                 Button{"Graphic_resource/Menu/PlayBlank.BMP", 535, 679},
                                 Button{"Graphic_resource/Menu/InsertCoins.BMP", 535, 679}}) {
        SCOPED_TRACE(button.path);
        const Picture sprite = ReadAnyPicture(button.path);
        const int x = button.centre - button.x;
        const int y = 517 - 469;
        EXPECT_NE(0, std::memcmp(sprite.At(x, y), background.At(button.centre, 517), 3));
        const size_t frameBytes = static_cast<size_t>(sprite.width) * 131 * 4;
        EXPECT_NE(0, std::memcmp(sprite.bgra.data(), sprite.bgra.data() + frameBytes, frameBytes))
            << "pressing does not show";
    }
    // Take and Leave (cells 0 and 1, drawn keyed at (255, 310) and (405, 310)) are solid over
    // their touch areas (134 x 39 at (258, 316) and (408, 316)) and keyed at the corners.
    for (const char* name :
         {"Graphic_resource/Main/VornaOff.bmp", "Graphic_resource/Main/VornaPressed.bmp"}) {
        SCOPED_TRACE(name);
        const Picture cells = ReadAnyPicture(name);
        for (int cell = 0; cell < 2; ++cell) {
            EXPECT_FALSE(cells.IsMagenta(3 + 67, cell * 50 + 6 + 19));
            EXPECT_TRUE(cells.IsMagenta(0, cell * 50));
        }
    }
    // The keyed panels are solid where their amounts are written and see-through elsewhere.
    for (const auto& [name, box] : std::map<std::string, std::pair<int, int>>{
             {"Graphic_resource/Menu/CreditBlank.BMP", {87, 60}},
             {"Graphic_resource/Menu/BankBlank.BMP", {117, 60}},
             {"Graphic_resource/Menu/Back.BMP", {134, 59}}}) {
        SCOPED_TRACE(name);
        const Picture panel = ReadAnyPicture(name);
        EXPECT_FALSE(panel.IsMagenta(box.first, box.second));
        EXPECT_TRUE(panel.IsMagenta(0, 0));
    }
}

TEST(ContentSet, FontsHave96GlyphsThatFitTheirTextBoxes) {
    std::map<std::string, std::vector<int>> widths;
    std::map<std::string, int> cellHeights;
    for (const FontFile& font : kFonts) {
        SCOPED_TRACE(font.path);
        const Picture strip = ReadAnyPicture(font.path);
        ASSERT_EQ(strip.error, "");
        ASSERT_EQ(strip.height % 96, 0);
        const int cell = strip.height / 96;
        for (int y = 0; y < strip.height; ++y)
            ASSERT_TRUE(strip.IsMagenta(0, y)) << "column 0 is never measured; row " << y;
        for (int y = 0; y < cell; ++y)
            for (int x = 0; x < strip.width; ++x)
                ASSERT_TRUE(strip.IsMagenta(x, y)) << "space";
        widths[font.path] = MeasuredWidths(strip, font.extra);
        cellHeights[font.path] = cell;
        for (int g = 1; g < 96; ++g)
            EXPECT_GT(widths[font.path][g], font.extra) << "glyph " << g << " has no ink";
    }
    // Font 3 writes credit and bank in 94 x 29 boxes, font 6 offers and wins in 102 x 34, and
    // font 5 three lines of question in 454 x 109.
    const std::string bank = "Graphic_resource/Menu/BankCreditFont.BMP";
    const std::string pot = "Graphic_resource/Main/PotFont.BMP";
    const std::string question = "Graphic_resource/Questions/QuestionFont.BMP";
    EXPECT_LE(TextWidth(widths[bank],
                        "\xA3"
                        "100.00"),
              94);
    EXPECT_LE(cellHeights[bank], 29);
    EXPECT_LE(TextWidth(widths[pot],
                        "\xA3"
                        "5.00"),
              102);
    EXPECT_LE(cellHeights[pot], 34);
    EXPECT_LE(3 * cellHeights[question], 109);
    // A full line of a 90-character statement (a third of it, with room for the break) fits
    // the question box's width.
    EXPECT_LE(TextWidth(widths[question], "Is the Thames the longest river"), 454);
}

TEST(ContentSet, SoundEffectsArePcmInAMixOfFormats) {
    ASSERT_EQ(SoundFileNames().size(), 46u);
    std::set<int> rates, widths, channelCounts;
    int withExtraSize = 0, withChunksBeforeData = 0;
    for (const std::string& name : SoundFileNames()) {
        SCOPED_TRACE(name);
        const WaveFile wave = ReadWave(ReadBytes(ContentPath(name)));
        ASSERT_EQ(wave.error, "");
        EXPECT_EQ(wave.formatTag, 1) << "not PCM";
        EXPECT_GT(wave.Seconds(), 0.02);
        EXPECT_LT(wave.Seconds(), 3.0) << "effects are short";
        rates.insert(wave.sampleRate);
        widths.insert(wave.bitsPerSample);
        channelCounts.insert(wave.channels);
        withExtraSize += wave.formatChunkSize == 18;
        withChunksBeforeData += !wave.chunksBeforeData.empty();
    }
    EXPECT_EQ(rates, (std::set<int>{11025, 22050, 44100}));
    EXPECT_EQ(widths, (std::set<int>{8, 16}));
    EXPECT_EQ(channelCounts, (std::set<int>{1, 2}));
    EXPECT_GT(withExtraSize, 0);
    EXPECT_GT(withChunksBeforeData, 0);
}

TEST(ContentSet, MusicOutlastsTheAttractLoop) {
    const Mp3Stream music = ReadMp3(ReadBytes(ContentPath(kMusicFile)));
    ASSERT_EQ(music.error, "");
    EXPECT_EQ(music.sampleRate, 44100);
    // The attract screen plays from 42 ms to 60,072 ms.
    EXPECT_GE(music.Seconds(), 61.0);
    EXPECT_LT(music.Seconds(), 120.0);
}

TEST(ContentSet, SwoopVideoFillsTheScreen) {
    const AviFile video = ReadAvi(ReadBytes(ContentPath(kVideoFile)));
    ASSERT_EQ(video.error, "");
    EXPECT_EQ(video.width, 800);
    EXPECT_EQ(video.height, 600);
    EXPECT_GE(video.totalFrames, 35);
    EXPECT_LE(video.totalFrames, 45);
    EXPECT_EQ(video.streamType, "vids");
    EXPECT_EQ(video.handler, "MJPG");
}

TEST(MakeAssets, WritesTheSameBytesOnEveryRun) {
    ScopedWorkDir work;
    // One maker at a time or several: the same bytes.
    for (const auto& args : {std::vector<std::string>{"--jobs=1", work.path() + "/first"},
                             std::vector<std::string>{"--jobs", "2", work.path() + "/second"}}) {
        const ProgramResult run = RunProgram("make-assets", args);
        ASSERT_EQ(run.exitStatus, 0) << run.output;
    }
    std::map<std::string, std::string> first;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(work.path() + "/first"))
        if (entry.is_regular_file())
            first[std::filesystem::relative(entry.path(), work.path() + "/first")] =
                ReadFileText(entry.path());
    size_t compared = 0;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(work.path() + "/second")) {
        if (!entry.is_regular_file()) continue;
        const std::string name = std::filesystem::relative(entry.path(), work.path() + "/second");
        ASSERT_TRUE(first.count(name)) << name << " only in the second run";
        EXPECT_TRUE(first[name] == ReadFileText(entry.path())) << name << " differs";
        ++compared;
    }
    EXPECT_EQ(compared, first.size());
    // Sprite files, images, sounds, music and video: nothing else.
    EXPECT_EQ(compared, 56u + 75u + 46u + 2u);
}

TEST(MakeAssets, ACommandLineItCannotUseIsOneLineNeverATraceback) {
    ScopedWorkDir work;
    for (const auto& args : {std::vector<std::string>{}, std::vector<std::string>{"--jobs=0", "x"},
                             std::vector<std::string>{"--bogus", "x"}}) {
        const ProgramResult run = RunProgram("make-assets", args);
        EXPECT_EQ(run.exitStatus, 2) << run.output;
        EXPECT_EQ(run.standardOutput, "");
        EXPECT_EQ(std::count(run.standardError.begin(), run.standardError.end(), '\n'), 1)
            << run.standardError;
    }
    std::ofstream("a-file") << "not a folder";
    const ProgramResult notAFolder = RunProgram("make-assets", {"a-file"});
    EXPECT_EQ(notAFolder.exitStatus, 1);
    EXPECT_EQ(notAFolder.standardError, "make-assets: cannot write into a-file: not a directory\n");

    const ProgramResult help = RunProgram("make-assets", {"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_EQ(help.standardOutput.rfind("usage: make-assets", 0), 0u);
    EXPECT_EQ(RunProgram("make-assets", {"--version"}).standardOutput,
              "make-assets " VANTOR_VERSION_TEXT "\n");
}
