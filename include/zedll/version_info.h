// Version strings of files and modules, the process's command line as an argument vector, and
// the file-existence test.
#ifndef ZEDLL_VERSION_INFO_H
#define ZEDLL_VERSION_INFO_H

#include "zedll/export.h"
#include "zedll/platform_types.h"

/// Reads the version string `value` ("FileVersion", "ProductName", ...) of the executable or DLL
/// `file`, under the first language and code page of its translation table. Nonzero on success;
/// `buffer` (of `size` bytes) then holds the text, cut to size - 1 characters when longer. 0 on
/// failure or an empty value, with an empty buffer. Works on Windows PE files on every platform.
ZEDLL_FUNC int ZEDLL_STDCALL GetVersionFile(char* file, char* value, char* buffer, DWORD size);

/// The same for a module loaded in the process (by file name, e.g. a language module), except that
/// a value that does not fit the buffer gives 0 and an empty buffer.
ZEDLL_FUNC int ZEDLL_STDCALL GetVersionModule(char* module, char* value, char* buffer, DWORD size);

/// Splits the process's command line: entry 0 the program, then up to 127 arguments, each a
/// blank-separated word or a text in double quotes (no escape characters), then a null entry.
/// `*argc` gets the count. The table (129 entries) and its texts belong to the library and are
/// overwritten by the next call; null when a quoted program name is not closed. One thread.
///
///   "C:\My Tools\prog.exe" a  "b c" d   ->   [0] C:\My Tools\prog.exe  [1] a  [2] b c  [3] d
///                                             [4] null                  argc = 4
ZEDLL_FUNC char** ZEDLL_STDCALL ConvertCommandLineToArgcArgv(int* argc);

/// 1 when `path` (file or directory) exists, 0 when it does not; 0 for null. A path that cannot
/// be examined for another reason than not found, path not found, too many open files or access
/// denied counts as existing.
ZEDLL_FUNC int ZEDLL_STDCALL IsFileExist(char* path);

#endif
