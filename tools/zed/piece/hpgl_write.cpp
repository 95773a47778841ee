// HP-GL writer: the flattened outline of each piece, pen by pen.
#include <cmath>
#include <string>

#include "hpgl.h"

namespace zedpiece {

void WriteHpgl(const Pieces& pieces, std::ostream& out, double scale) {
    out << "IN;\n";
    long long pen = -1;
    std::string s;
    for (const PiecePtr& piece : pieces) {
        tagAPOINT* array = nullptr;
        int leading = 0, total = 0;
        if (!piece->MakeArray(&array, &leading, &total)) throw PieceError("out of memory flattening a piece");
        for (int i = 0; i < total; ++i) {
            const tagAPOINT& p = array[i];
            if (p.a.code != pen) {
                pen = p.a.code;
                s += "SP" + std::to_string(pen) + ";\n";
            }
            s += p.a.IsDraw() ? "PD" : "PU";
            s += std::to_string(std::llround(p.x * scale));
            s += ',';
            s += std::to_string(std::llround(p.y * scale));
            s += ";\n";
            if (s.size() > (1u << 16)) {
                out << s;
                s.clear();
            }
        }
        piece->FreeArray(array);
    }
    out << s << "PU;SP0;\n";
}

}  // namespace zedpiece
