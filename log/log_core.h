// Internals of the log core that the tests reach: the facility table, the session stamp and a
// way back to the state before the first log_init.
#ifndef ZEDLL_LOG_LOG_CORE_H
#define ZEDLL_LOG_LOG_CORE_H

#include <ctime>
#include <string>

#include "os/system_log.h"

namespace zed::log_core {

/// The system-log facility value of an accepted facility code 1..11, else -1.
int FacilityValue(unsigned code);
/// "[MM-DD hh:mm:ss]" from a local time.
std::string SessionStamp(const std::tm& local);

/// The destination code: 0 disabled, 1 file, 2 system log, 3 standard error.
int Destination();

}  // namespace zed::log_core

/// Test hooks: where the system-log destination writes (null: the platform's system log), and the
/// state before the first log_init (file closed without a marker, clean-up list emptied).
namespace zed::log_testing {
using SystemLogSink = void (*)(int facility, os::LogPriority priority, const char* line);
void SetSystemLogSink(SystemLogSink sink);
void Reset();
}  // namespace zed::log_testing

#endif
