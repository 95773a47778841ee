// Subcommands of the zed tool.
#ifndef ZED_TOOL_COMMANDS_H
#define ZED_TOOL_COMMANDS_H

#include <ostream>

namespace zedtool {

/// Runs the sample outline through the library and prints what it finds. Returns the exit status.
int RunDemo(std::ostream& out);

/// Demo sections, run in this order by RunDemo.
void DemoGeometry(std::ostream& out);
void DemoPiece(std::ostream& out);
/// Smooths and resamples the sample outline and writes demo.svg into the current directory.
void DemoCurves(std::ostream& out);

}  // namespace zedtool

#endif
