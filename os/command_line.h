// A command line made of separate arguments, for platforms that hand a program its arguments apart.
#ifndef ZEDLL_OS_COMMAND_LINE_H
#define ZEDLL_OS_COMMAND_LINE_H

#include <string>
#include <vector>

namespace zed::os {

/// The arguments as a shell would hand them over: each argument with a blank (or an empty one)
/// in double quotes, joined by spaces.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

}  // namespace zed::os

#endif
