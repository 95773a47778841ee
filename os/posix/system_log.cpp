// The system-log destination on POSIX: syslog(3).
#include <syslog.h>

#include "os/system_log.h"

namespace zed::os {

void WriteSystemLog(int facility, LogPriority priority, const char* line) {
    syslog(facility | static_cast<int>(priority), "%s", line);
}

}  // namespace zed::os
