// zed demo: the sample piece through each part of the library in turn.
#include <ostream>

#include "commands.h"

namespace zedtool {

int RunDemo(std::ostream& out) {
    DemoGeometry(out);
    DemoPiece(out);
    DemoCurves(out);
    DemoUtil(out);
    DemoSettings(out);
    return DemoSamples(out);
}

}  // namespace zedtool
