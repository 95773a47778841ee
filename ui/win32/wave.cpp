// playWAVEFile: the file opened as a "waveaudio" device and played with notification.
#include <windows.h>
#include <mmsystem.h>

#include "ui/wave_file.h"
#include "zedll/win32/wave.h"

extern "C" DWORD ZEDLL_STDCALL playWAVEFile(HWND notify, const char* file) {
    if (file == nullptr) return MCIERR_MISSING_PARAMETER;
    char program[zed::ui::kProgramPathChars] = {};
    const DWORD n = ::GetModuleFileNameA(nullptr, program, zed::ui::kProgramPathChars);
    // A path cut short by the buffer would name the wrong folder: the name then stands alone.
    const bool known = n > 0 && n < static_cast<DWORD>(zed::ui::kProgramPathChars);
    const std::string path = zed::ui::ResolveWaveFile(file, known ? program : nullptr);

    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "waveaudio";
    open.lpstrElementName = path.c_str();
    MCIERROR error = ::mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open));
    if (error != 0) return error;
    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(notify);
    error = ::mciSendCommandA(open.wDeviceID, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&play));
    if (error != 0) {
        ::mciSendCommandA(open.wDeviceID, MCI_CLOSE, 0, 0);
        return error;
    }
    return 0;
}
