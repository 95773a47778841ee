// playWAVEFile through the media control interface: a missing file's error at once, a real file
// by full path and by bare name (the host program's folder), never a hang.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "zedll/win32/wave.h"

namespace {

struct Call {
    std::string file;
    DWORD error = 0;
};

DWORD WINAPI PlayOnThread(void* p) {
    auto* c = static_cast<Call*>(p);
    c->error = playWAVEFile(nullptr, c->file.c_str());
    // The device belongs to the thread that opened it: closed here, before the thread ends
    // (Wine's close from another thread waits for the gone one).
    ::mciSendStringA("close all", nullptr, 0, nullptr);
    return 0;
}

// Runs playWAVEFile on a thread of its own, so that a hang fails the test within `limit_ms`.
struct Played {
    bool returned;
    DWORD error;
};
Played PlayWithin(const std::string& file, DWORD limit_ms = 5000) {
    Call call{file};
    HANDLE thread = ::CreateThread(nullptr, 0, PlayOnThread, &call, 0, nullptr);
    const bool returned = ::WaitForSingleObject(thread, limit_ms) == WAIT_OBJECT_0;
    if (!returned) ::TerminateThread(thread, 1);
    ::CloseHandle(thread);
    return Played{returned, call.error};
}

// A short 8-bit mono WAVE file of silence.
void WriteWave(const std::string& path) {
    const uint32_t rate = 8000, samples = 800;
    std::vector<uint8_t> data(samples, 0x80);
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + samples);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate);
    u16(1);
    u16(8);
    out.write("data", 4);
    u32(samples);
    out.write(reinterpret_cast<const char*>(data.data()), samples);
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.rfind('\\') + 1);
}

TEST(Wave, AMissingFileGivesItsErrorAtOnce) {
    const Played p = PlayWithin(ProgramFolder() + "no such sound.wav");
    ASSERT_TRUE(p.returned);
    EXPECT_NE(p.error, 0u);
    char text[256] = {};
    EXPECT_TRUE(::mciGetErrorStringA(p.error, text, sizeof text)) << p.error;
    EXPECT_EQ(playWAVEFile(nullptr, nullptr), static_cast<DWORD>(MCIERR_MISSING_PARAMETER));
}

TEST(Wave, ABareNameIsTheProgramsOwnFile) {
    const std::string name = "zedll wave test.wav";
    const std::string full = ProgramFolder() + name;
    WriteWave(full);
    // Without a sound device (Wine on a bare machine) the open or the play fails with an MCI
    // error; with one, playback starts (0). Either way the bare name finds the same file as the
    // full path, and neither is "file not found".
    const Played by_path = PlayWithin(full);
    const Played by_name = PlayWithin(name);
    ASSERT_TRUE(by_path.returned);
    ASSERT_TRUE(by_name.returned);
    EXPECT_EQ(by_name.error, by_path.error);
    const Played missing = PlayWithin("zedll no such wave.wav");
    ASSERT_TRUE(missing.returned);
    EXPECT_NE(missing.error, 0u);
    if (by_path.error != 0) {
        EXPECT_NE(by_path.error, missing.error) << "the file was not found";
    }
    ::DeleteFileA(full.c_str());
}

}  // namespace
