// DXF reading where the DXF library is not available (the Windows builds).
#include "dxf.h"
#include "formats.h"

namespace zedpiece {

bool CanReadDxf() { return false; }

Pieces ReadDxf(const std::string&, const std::string& source, const Warn&) {
    throw PieceError(source + ": this build of zed cannot read DXF (it was built without dxflib); "
                     "convert the file with the Linux build");
}

}  // namespace zedpiece
