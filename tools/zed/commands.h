// Subcommands of the zed tool.
#ifndef ZED_TOOL_COMMANDS_H
#define ZED_TOOL_COMMANDS_H

#include <ostream>
#include <string>

namespace zedtool {

/// Runs the sample outline through the library and prints what it finds. Returns the exit status.
int RunDemo(std::ostream& out);

/// zed lang list: the built-in language and the language modules next to the tool.
int RunLangList(std::ostream& out);
/// zed version FILE: the version strings of a Windows executable or DLL.
int RunVersion(const std::string& file, std::ostream& out, std::ostream& err);

/// Demo sections, run in this order by RunDemo.
void DemoGeometry(std::ostream& out);
void DemoSettings(std::ostream& out);

/// zed reg export / import; return the exit status (errors on stderr).
int RegExport(const std::string& file, const std::string& company, const std::string& product,
              const std::string& version, const std::string& scope_name);
int RegImport(const std::string& file);

}  // namespace zedtool

#endif
