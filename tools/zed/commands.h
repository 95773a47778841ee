// Subcommands of the zed tool.
#ifndef ZED_TOOL_COMMANDS_H
#define ZED_TOOL_COMMANDS_H

#include <ostream>
#include <string>
#include <vector>

namespace zedtool {

/// Runs the sample outline through the library and prints what it finds. Returns the exit status.
int RunDemo(std::ostream& out);

/// zed lang list: the built-in language and the language modules next to the tool.
int RunLangList(std::ostream& out);
/// zed version FILE: the version strings of a Windows executable or DLL.
int RunVersion(const std::string& file, std::ostream& out, std::ostream& err);

/// Demo sections, run in this order by RunDemo.
void DemoGeometry(std::ostream& out);
void DemoPiece(std::ostream& out);
/// Smooths and resamples the sample outline and writes demo-curves.svg into the current directory.
void DemoCurves(std::ostream& out);
/// The bundled sample pieces through every file format; writes demo.svg (and demo.png) and the
/// files into demo-pieces/ in the current directory. Returns the exit status.
int DemoSamples(std::ostream& out);

/// Demo section of the checksums and containers.
void DemoUtil(std::ostream& out);

/// zed crc32: prints "crc32  name" per file (8 hexadecimal digits); 1 if any file failed.
int RunCrc32(const std::vector<std::string>& files, const std::string& strategy);
/// zed md5: prints "digest  name" per file, as md5sum does; 1 if any file failed.
int RunMd5(const std::vector<std::string>& files);
/// zed history show: the records of a history file, which stays unchanged.
int RunHistoryShow(const std::string& file, std::ostream& out);
void DemoSettings(std::ostream& out);

/// zed reg export / import; return the exit status (errors on stderr).
int RegExport(const std::string& file, const std::string& company, const std::string& product,
              const std::string& version, const std::string& scope_name);
int RegImport(const std::string& file);

}  // namespace zedtool

#endif
