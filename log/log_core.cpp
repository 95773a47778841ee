// The log core: destinations, line formats, sessions, the clean-up list and the fatal path.
#include "log/log_core.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "os/time_zone.h"
#include "platform/language.h"
#include "zedll/log.h"

namespace zed::log_core {
namespace {

enum class Destination : signed char { Disabled = 0, File = 1, SystemLog = 2, Stderr = 3 };

struct CleanupEntry {
    CleanupEntry* next;
    LOG_CLEANUP_FUNC function;
    void* argument;
};

// Process-wide and unsynchronised: the log serves one thread at a time.
Destination g_destination = Destination::Disabled;
std::FILE* g_file = nullptr;
int g_to_stderr = 0;
int g_debug = 0;
int g_quiet = 0;
int g_facility = 0;
CleanupEntry* g_cleanups = nullptr;
int g_cleanups_run = 0;
log_testing::SystemLogSink g_sink = nullptr;

constexpr std::size_t kMessageBytes = 1024;  // longer messages are cut to 1023 characters

// The system-log facility values of the codes 1..11.
constexpr int kFacilities[] = {24, 8, 32, 128, 136, 144, 152, 160, 168, 176, 184};

const char* Text(TextId id) {
    const char* text = LangGetString(id);
    return text != nullptr ? text : "";
}

[[noreturn]] void EndProcess() { std::exit(1); }

// Writes one formatted line to the destination. `file_line` is the line for the file, `plain`
// the line for standard error and the system log (both without the line feed).
void Emit(const char* file_line, const char* plain, os::LogPriority priority) {
    if (g_destination == Destination::Disabled) return;
    if (g_to_stderr) {
        std::fprintf(stderr, "%s\n", plain);
    } else if (g_destination == Destination::File && g_file != nullptr) {
        std::fprintf(g_file, "%s\n", file_line);
        std::fflush(g_file);
    } else if (g_destination == Destination::SystemLog) {
        const int facility = FacilityValue(static_cast<unsigned>(g_facility));
        if (g_sink != nullptr) {
            g_sink(facility, priority, plain);
        } else {
            os::WriteSystemLog(facility, priority, plain);
        }
    }
}

void Format(char* buffer, const char* format, va_list arguments) {
    if (format == nullptr) {
        buffer[0] = 0;
        return;
    }
    std::vsnprintf(buffer, kMessageBytes, format, arguments);
}

// "<prefix>: <text>" into `line`, the prefix possibly carrying a severity name.
void Line(char* line, std::size_t capacity, const char* prefix, const char* text) {
    std::snprintf(line, capacity, "%s: %s", prefix, text);
}

constexpr std::size_t kLineBytes = kMessageBytes + 64;

void WritePlain(const char* prefix, const char* text, os::LogPriority priority) {
    char line[kLineBytes];
    Line(line, sizeof line, prefix, text);
    Emit(line, line, priority);
}

os::LogPriority SeverityPriority(int severity) {
    static constexpr os::LogPriority kPriorities[] = {
        os::LogPriority::Debug,   os::LogPriority::Info,  os::LogPriority::Notice,
        os::LogPriority::Warning, os::LogPriority::Error, os::LogPriority::Critical};
    return severity >= 0 && severity <= 5 ? kPriorities[severity] : os::LogPriority::Critical;
}

// The severity's name for a file line; a code outside 0..5 is fatal there.
const char* SeverityName(int severity) {
    if (severity < 0 || severity > 5) log_fatal(Text(TextId::BadSeverity), severity);
    return Text(static_cast<TextId>(static_cast<UINT>(TextId::SeverityDebug) + severity));
}

void WriteSeverity(const char* tag, const char* plain_prefix, int severity, const char* text,
                   os::LogPriority priority) {
    char plain[kLineBytes];
    Line(plain, sizeof plain, plain_prefix, text);
    if (g_destination == Destination::File && !g_to_stderr) {
        char prefix[300];
        std::snprintf(prefix, sizeof prefix, "%s/%s", tag, SeverityName(severity));
        char line[kLineBytes + 300];
        Line(line, sizeof line, prefix, text);
        Emit(line, plain, priority);
    } else {
        Emit(plain, plain, priority);
    }
}

void Marker(const char* what) {
    os::CivilTime now;
    os::LocalNow(&now);
    std::tm local{};
    local.tm_year = now.year - 1900;
    local.tm_mon = now.month - 1;
    local.tm_mday = now.day;
    local.tm_hour = now.hour;
    local.tm_min = now.minute;
    local.tm_sec = now.second;
    log_debug("%s -> %s Session*****************************************", SessionStamp(local).c_str(), what);
}

void RunCleanups() {
    if (g_cleanups_run) return;
    g_cleanups_run = 1;  // before the first entry, so a fatal error inside one ends here
    for (CleanupEntry* entry = g_cleanups; entry != nullptr; entry = entry->next) {
        log_debug("Calling cleanup 0x%lx(0x%lx)",
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(entry->function)),
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(entry->argument)));
        entry->function(entry->argument);
    }
}

[[noreturn]] void Fatal(const char* file_line_tag, int severity, bool tagged, const char* format,
                        va_list arguments) {
    if (g_quiet) EndProcess();
    char text[kMessageBytes];
    Format(text, format, arguments);
    if (tagged) {
        WriteSeverity(file_line_tag, "fatal", severity, text, os::LogPriority::Critical);
    } else {
        WritePlain("fatal", text, os::LogPriority::Critical);
    }
    RunCleanups();
    log_close();
    EndProcess();
}

}  // namespace

int FacilityValue(unsigned code) { return code >= 1 && code <= 11 ? kFacilities[code - 1] : -1; }

std::string SessionStamp(const std::tm& local) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "[%02d-%02d %02d:%02d:%02d]", local.tm_mon + 1, local.tm_mday,
                  local.tm_hour, local.tm_min, local.tm_sec);
    return stamp;
}

int Destination() { return static_cast<int>(g_destination); }

void Init(int use_system_log, const char* file_name, int to_stderr, int debug, int quiet, int facility) {
    if (g_file != nullptr) {
        std::fclose(g_file);
        g_file = nullptr;
    }
    g_debug = debug;
    g_quiet = quiet;
    g_to_stderr = 0;
    if (file_name != nullptr) {
        g_file = std::fopen(file_name, "r+");
        if (g_file == nullptr) {
            std::FILE* created = std::fopen(file_name, "w+");
            if (created != nullptr) {
                std::fclose(created);
                g_file = std::fopen(file_name, "r+");
            }
        }
        if (g_file == nullptr) {
            std::fprintf(stderr, Text(TextId::LogCannotOpen), file_name);
            EndProcess();
        }
        // A new session goes after the old ones.
        std::fseek(g_file, 0, SEEK_END);
        g_destination = Destination::File;
    } else if (use_system_log) {
        g_destination = Destination::SystemLog;
        if (facility == 0) {
            g_destination = Destination::Disabled;
        } else if (FacilityValue(static_cast<unsigned>(facility)) < 0) {
            std::fprintf(stderr, Text(TextId::LogBadFacility), facility);
            EndProcess();
        }
        g_facility = facility;
    } else if (to_stderr) {
        g_to_stderr = to_stderr;
        g_destination = Destination::Stderr;
    } else {
        g_destination = Destination::Disabled;
    }
    if (g_destination != Destination::Disabled) Marker("Start");
}

void Close() {
    if (g_destination != Destination::Disabled) Marker("Close");
    if (g_file != nullptr) std::fclose(g_file);
    g_file = nullptr;
    g_destination = Destination::Disabled;
    g_to_stderr = 0;
}

void Message(const char* prefix, os::LogPriority priority, const char* format, va_list arguments) {
    if (g_quiet) return;
    char text[kMessageBytes];
    Format(text, format, arguments);
    WritePlain(prefix, text, priority);
}

void Severity(int severity, const char* format, va_list arguments) {
    if (g_quiet) return;
    char text[kMessageBytes];
    Format(text, format, arguments);
    if (g_destination == Destination::Disabled) return;
    WriteSeverity("log", "log", severity, text, SeverityPriority(severity));
}

bool DebugOn() { return g_debug != 0; }

[[noreturn]] void FatalPlain(const char* format, va_list arguments) { Fatal("fatal", 0, false, format, arguments); }
[[noreturn]] void FatalSeverity(int severity, const char* format, va_list arguments) {
    Fatal("fatal", severity, true, format, arguments);
}

void AddCleanup(LOG_CLEANUP_FUNC function, void* argument) {
    auto* entry = static_cast<CleanupEntry*>(std::malloc(sizeof(CleanupEntry)));
    if (entry == nullptr) return;  // nothing to register it in; the fatal path just has less to do
    entry->next = g_cleanups;
    entry->function = function;
    entry->argument = argument;
    g_cleanups = entry;
}

void RemoveCleanup(LOG_CLEANUP_FUNC function, void* argument) {
    for (CleanupEntry** link = &g_cleanups; *link != nullptr; link = &(*link)->next) {
        CleanupEntry* entry = *link;
        if (entry->function == function && entry->argument == argument) {
            *link = entry->next;
            std::free(entry);
            return;
        }
    }
    log_fatal(Text(TextId::NoSuchCleanup),
              static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(function)),
              static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(argument)));
}

}  // namespace zed::log_core

using namespace zed::log_core;
using zed::os::LogPriority;

void ZEDLL_STDCALL log_init(int useSystemLog, const char* fileName, int toStderr, int debug, int quiet,
                            int facility) {
    Init(useSystemLog, fileName, toStderr, debug, quiet, facility);
}

void ZEDLL_STDCALL log_close(void) { Close(); }

void log_msg(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Message("log", LogPriority::Info, format, arguments);
    va_end(arguments);
}

void log_severity(int severity, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Severity(severity, format, arguments);
    va_end(arguments);
}

void log_debug(const char* format, ...) {
    if (!DebugOn()) return;
    va_list arguments;
    va_start(arguments, format);
    Message("debug", LogPriority::Debug, format, arguments);
    va_end(arguments);
}

void log_error(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    Message("error", LogPriority::Error, format, arguments);
    va_end(arguments);
}

void log_fatal(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    FatalPlain(format, arguments);
}

void log_fatal_severity(int severity, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    FatalSeverity(severity, format, arguments);
}

void ZEDLL_STDCALL fatal_add_cleanup(LOG_CLEANUP_FUNC function, void* argument) { AddCleanup(function, argument); }

void ZEDLL_STDCALL fatal_remove_cleanup(LOG_CLEANUP_FUNC function, void* argument) {
    RemoveCleanup(function, argument);
}

namespace zed::log_testing {

void SetSystemLogSink(SystemLogSink sink) { log_core::g_sink = sink; }

void Reset() {
    using namespace log_core;
    if (g_file != nullptr) std::fclose(g_file);
    g_file = nullptr;
    g_destination = Destination::Disabled;
    g_to_stderr = g_debug = g_quiet = g_facility = 0;
    while (g_cleanups != nullptr) {
        CleanupEntry* next = g_cleanups->next;
        std::free(g_cleanups);
        g_cleanups = next;
    }
    g_cleanups_run = 0;
}

}  // namespace zed::log_testing
