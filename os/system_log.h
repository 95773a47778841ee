// Platform interface of the log's system-log destination.
#ifndef ZEDLL_OS_SYSTEM_LOG_H
#define ZEDLL_OS_SYSTEM_LOG_H

namespace zed::os {

/// Message priorities, as the system log ranks them.
enum class LogPriority { Critical = 2, Error = 3, Warning = 4, Notice = 5, Info = 6, Debug = 7 };

/// Writes one line (without its line feed) to the system log under `facility`, one of the
/// system-log facility values 8 (user), 24 (daemon), 32 (authorisation), 128..184 (local0..7).
void WriteSystemLog(int facility, LogPriority priority, const char* line);

}  // namespace zed::os

#endif
