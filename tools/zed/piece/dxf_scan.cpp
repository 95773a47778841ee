// The group-code pass over a DXF file.
#include "dxf_scan.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "piece_set.h"

namespace zedpiece {
namespace {

std::string Trimmed(const std::string& s, size_t from, size_t to) {
    while (from < to && (s[from] == ' ' || s[from] == '\t')) ++from;
    while (to > from && (s[to - 1] == ' ' || s[to - 1] == '\t' || s[to - 1] == '\r')) --to;
    return s.substr(from, to - from);
}

bool Integer(const std::string& t, long long* v) {
    if (t.empty() || t.size() > 18) return false;
    size_t i = t[0] == '-' || t[0] == '+' ? 1 : 0;
    if (i == t.size()) return false;
    for (size_t j = i; j < t.size(); ++j) if (t[j] < '0' || t[j] > '9') return false;
    *v = std::strtoll(t.c_str(), nullptr, 10);
    return true;
}

}  // namespace

void CheckDxfGroups(const std::string& bytes, const std::string& source) {
    std::vector<std::pair<size_t, size_t>> lines;   // [from, to) of each line
    size_t from = 0;
    while (from < bytes.size()) {
        size_t to = bytes.find('\n', from);
        if (to == std::string::npos) to = bytes.size();
        lines.emplace_back(from, to);
        from = to + 1;
    }
    const long long limit = std::max<long long>(65536, static_cast<long long>(lines.size() / 2));
    std::string entity;   // the type of the entity being read
    for (size_t i = 0; i + 1 < lines.size(); i += 2) {
        const std::string code_text = Trimmed(bytes, lines[i].first, lines[i].second);
        long long code = 0;
        if (!Integer(code_text, &code))
            throw PieceError(source + ": line " + std::to_string(i + 1) + ": expected a group code, found \"" +
                             code_text.substr(0, 40) + "\"");
        if (code == 0) entity = Trimmed(bytes, lines[i + 1].first, lines[i + 1].second);
        if ((code >= 70 && code <= 79) || (code >= 90 && code <= 99)) {
            // dxflib takes the leading number of the value, whatever follows it.
            const std::string value = Trimmed(bytes, lines[i + 1].first, lines[i + 1].second);
            size_t end = value.empty() || (value[0] != '-' && value[0] != '+') ? 0 : 1;
            while (end < value.size() && value[end] >= '0' && value[end] <= '9') ++end;
            long long v = 0;
            const std::string number = value.substr(0, end);
            const bool negative = !number.empty() && number[0] == '-';
            if (!Integer(number, &v) && number.size() > 1) v = negative ? -limit - 1 : limit + 1;   // too long
            if (v > limit)
                throw PieceError(source + ": line " + std::to_string(i + 2) + ": group " +
                                 std::to_string(code) + ": count " + value.substr(0, 40) + " is larger than the file");
            // Elsewhere negative values are flags, colours and the like; these entities size
            // arrays from theirs.
            const bool sized = entity == "LWPOLYLINE" || entity == "SPLINE" || entity == "HATCH" ||
                               entity == "LEADER";
            if (v < 0 && sized)
                throw PieceError(source + ": line " + std::to_string(i + 2) + ": group " +
                                 std::to_string(code) + ": negative count " + value.substr(0, 40));
        }
    }
}

}  // namespace zedpiece
