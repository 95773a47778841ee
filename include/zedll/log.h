// The diagnostic log: one destination, severity-tagged messages, sessions and the fatal path.
#ifndef ZEDLL_LOG_H
#define ZEDLL_LOG_H

#include "zedll/export.h"

/// A clean-up function run by the fatal path with the argument it was registered with.
typedef void (*LOG_CLEANUP_FUNC)(void* argument);

/// Opens the log. The destination is the first that applies: the file `fileName` (created when
/// missing, new lines appended), the system log when `useSystemLog` is set (`facility` 0 disables
/// the log, 1 to 11 are daemon, user, auth and local0..local7), standard error when `toStderr`
/// is set, else nothing. `debug` enables log_debug and the session markers; `quiet` silences
/// everything. A file that cannot be opened, or a facility above 11, ends the process with exit
/// code 1. May be called again to re-target (the old file is closed without a marker).
ZEDLL_FUNC void ZEDLL_STDCALL log_init(int useSystemLog, const char* fileName, int toStderr, int debug,
                                       int quiet, int facility);
/// Writes the Close Session marker (debug only) and closes the log; it stays disabled until the
/// next log_init.
ZEDLL_FUNC void ZEDLL_STDCALL log_close(void);

/// Lines, after printf-style formatting into 1023 characters (longer texts are cut):
///
///   function            file                       standard error / system log
///   log_msg             log: <text>                log: <text>
///   log_severity        log/<severity name>: <t>   log: <text>
///   log_debug           debug: <text>              debug: <text>
///   log_error           error: <text>              error: <text>
///   log_fatal           fatal: <text>              fatal: <text>
///   log_fatal_severity  fatal/<severity name>: <t> fatal: <text>
///
/// Severity codes 0 debug, 1 info, 2 notice, 3 warning, 4 error, 5 critical; another code is a
/// fatal error when the log goes to a file. The log is not synchronised: one thread at a time.
ZEDLL_CFUNC void log_msg(const char* format, ...);
ZEDLL_CFUNC void log_severity(int severity, const char* format, ...);
ZEDLL_CFUNC void log_debug(const char* format, ...);
ZEDLL_CFUNC void log_error(const char* format, ...);
/// Writes the message, runs the clean-up functions (most recent first, once per process), closes
/// the log and ends the process with exit code 1. In quiet mode it ends the process at once.
ZEDLL_CFUNC void log_fatal(const char* format, ...);
ZEDLL_CFUNC void log_fatal_severity(int severity, const char* format, ...);

/// Registers `function(argument)` to run on a fatal error, before those registered earlier.
ZEDLL_FUNC void ZEDLL_STDCALL fatal_add_cleanup(LOG_CLEANUP_FUNC function, void* argument);
/// Removes the most recent registration of exactly this function and argument; removing one that
/// was never registered is a fatal error.
ZEDLL_FUNC void ZEDLL_STDCALL fatal_remove_cleanup(LOG_CLEANUP_FUNC function, void* argument);

#endif
