// The sample outline that the demo runs through the library.
#include "sample_outline.h"

namespace zedtool {

// A front panel: a closed outline, listed clockwise (y up), first point repeated at the end.
std::vector<tagAPOINT> SampleOutline() {
    const float xy[][2] = {{0, 0},     {0, 420},   {60, 470},  {150, 480}, {210, 440},
                           {260, 460}, {300, 300}, {280, 150}, {300, 0},   {0, 0}};
    std::vector<tagAPOINT> v;
    for (const auto& p : xy) {
        tagAPOINT a(p[0], p[1]);
        a.a.SetCode(0, v.empty() ? 0 : 1);   // the first point is reached with the pen up
        v.push_back(a);
    }
    v[1].a.flags |= ATR::kCorner;
    v[8].a.flags |= ATR::kCorner;
    v[4].a.flags |= ATR::kNotch;
    return v;
}

}  // namespace zedtool
