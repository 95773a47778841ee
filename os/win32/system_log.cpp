// The system-log destination on Windows: the debugger output, where a debugger or a viewer of
// debug output shows it. The facility and priority lead the line, as a system log would file it.
#include <windows.h>

#include <cstdio>

#include "os/system_log.h"

namespace zed::os {

void WriteSystemLog(int facility, LogPriority priority, const char* line) {
    char text[1200];
    std::snprintf(text, sizeof text, "<%d>ZEDLL: %s\n", facility | static_cast<int>(priority), line);
    ::OutputDebugStringA(text);
}

}  // namespace zed::os
