// Sound: a WAVE file played in the background through the media control interface.
#ifndef ZEDLL_WIN32_WAVE_H
#define ZEDLL_WIN32_WAVE_H

#include "zedll/export.h"
#include "zedll/platform_types.h"

/// Starts playing `file` (a name without a folder is the host program's own) and returns at once:
/// 0 when playback has started, else the MCI error code (that of the open, or of the play
/// command). When playback ends, `notify` receives MM_MCINOTIFY with the device identifier in
/// lParam; closing the device (MCI_CLOSE) is then left to it.
ZEDLL_FUNC DWORD ZEDLL_STDCALL playWAVEFile(HWND notify, const char* file);

#endif
