// "-" as a file name: standard input for the commands whose library calls read named files only.
#ifndef ZED_TOOL_STANDARD_INPUT_H
#define ZED_TOOL_STANDARD_INPUT_H

#include <string>

namespace zedtool {

/// Standard input copied into a temporary file, removed again with this object.
class SpooledInput {
public:
    SpooledInput();
    ~SpooledInput();
    SpooledInput(const SpooledInput&) = delete;
    SpooledInput& operator=(const SpooledInput&) = delete;
    /// The temporary file's name, "" when standard input could not be copied.
    const std::string& name() const { return name_; }

private:
    std::string name_;
};

}  // namespace zedtool

#endif
