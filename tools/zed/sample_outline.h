// The sample outline that the demo runs through the library.
#ifndef ZED_TOOL_SAMPLE_OUTLINE_H
#define ZED_TOOL_SAMPLE_OUTLINE_H

#include <vector>

#include "zedll.h"

namespace zedtool {

/// A front panel: a closed outline listed clockwise (y up), first point repeated at the end; the
/// first point is reached with the pen up, two corners and one notch are marked.
std::vector<tagAPOINT> SampleOutline();

}  // namespace zedtool

#endif
