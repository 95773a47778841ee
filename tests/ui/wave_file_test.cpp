// Which file a sound name stands for: bare names are the host program's own.
#include "ui/wave_file.h"

#include <gtest/gtest.h>

namespace {

TEST(WaveFile, BareNamesAreLookedUpNextToTheProgram) {
    const struct { const char* name; const char* program; const char* file; } cases[] = {
        {"ding.wav", "C:\\Apps\\Cut\\cut.exe", "C:\\Apps\\Cut\\ding.wav"},
        {"ding.wav", "C:\\cut.exe", "C:\\ding.wav"},
        {"sub\\ding.wav", "C:\\Apps\\cut.exe", "sub\\ding.wav"},
        {"D:\\Sounds\\ding.wav", "C:\\Apps\\cut.exe", "D:\\Sounds\\ding.wav"},
        {"ding.wav", "cut.exe", "ding.wav"},          // a program path without a folder
        {"ding.wav", nullptr, "ding.wav"},            // no program path
        {"C:/Sounds/ding.wav", "C:\\Apps\\cut.exe", "C:\\Apps\\C:/Sounds/ding.wav"},   // only backslashes count
        {"", "C:\\Apps\\cut.exe", "C:\\Apps\\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(zed::ui::ResolveWaveFile(c.name, c.program), c.file) << c.name;
    }
}

}  // namespace
