// HP-GL reader: a small scanner over mnemonics and their numbers.
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

#include "hpgl.h"

namespace zedpiece {
namespace {

struct Scanner {
    const std::string& s;
    const std::string& source;
    size_t at = 0;
    int line = 1;

    void SkipSeparators() {
        while (at < s.size()) {
            const char c = s[at];
            if (c == '\n') ++line;
            if (c == ';' || c == ',' || std::isspace(static_cast<unsigned char>(c)) || c == '\0') ++at;
            else break;
        }
    }
    bool AtNumber() {
        // blanks and commas separate numbers, ';' ends the instruction
        while (at < s.size() && (s[at] == ',' || s[at] == ' ' || s[at] == '\t' || s[at] == '\r' || s[at] == '\n')) {
            if (s[at] == '\n') ++line;
            ++at;
        }
        if (at >= s.size()) return false;
        const char c = s[at];
        return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.';
    }
    double Number(const std::string& mnemonic) {
        size_t end = at;
        if (end < s.size() && (s[end] == '-' || s[end] == '+')) ++end;
        size_t digits = 0;
        while (end < s.size() && (std::isdigit(static_cast<unsigned char>(s[end])) || s[end] == '.')) {
            ++end;
            ++digits;
        }
        const std::string text = s.substr(at, end - at);
        char* stop = nullptr;
        const double v = digits > 0 && digits < 40 ? std::strtod(text.c_str(), &stop) : NAN;
        if (stop == nullptr || *stop != '\0' || !std::isfinite(v) || std::fabs(v) > 1e9)
            throw PieceError(source + ": line " + std::to_string(line) + ": " + mnemonic +
                             ": bad number \"" + text + "\"");
        at = end;
        return v;
    }
};

}  // namespace

Pieces ReadHpgl(const std::string& bytes, const std::string& source, double scale, const Warn& warn) {
    if (!(scale > 0) || !std::isfinite(scale)) throw PieceError(source + ": plotter units per drawing unit must be positive");
    Scanner sc{bytes, source};
    std::vector<tagAPOINT> outline;
    bool relative = false, down = false;
    double x = 0, y = 0;
    unsigned pen = 0;
    std::set<std::string> warned;
    while (true) {
        sc.SkipSeparators();
        if (sc.at >= bytes.size()) break;
        const unsigned char c0 = static_cast<unsigned char>(bytes[sc.at]);
        if (c0 == 0x1b) {   // device control sequences: ESC . x ... up to ':' or a letter
            size_t e = sc.at + 1;
            while (e < bytes.size() && e < sc.at + 64 && bytes[e] != ':' && bytes[e] != ';') ++e;
            sc.at = e + 1;
            continue;
        }
        if (!std::isalpha(c0) || sc.at + 1 >= bytes.size() ||
            !std::isalpha(static_cast<unsigned char>(bytes[sc.at + 1]))) {
            throw PieceError(source + ": line " + std::to_string(sc.line) +
                             ": expected an instruction, found byte 0x" +
                             "0123456789abcdef"[c0 >> 4] + "0123456789abcdef"[c0 & 15]);
        }
        std::string m{static_cast<char>(std::toupper(c0)),
                      static_cast<char>(std::toupper(static_cast<unsigned char>(bytes[sc.at + 1])))};
        sc.at += 2;
        if (m == "IN") {
            relative = false;
            down = false;
            x = y = 0;
            pen = 0;
        } else if (m == "SP") {
            pen = sc.AtNumber() ? static_cast<unsigned>(std::max(0.0, std::min(32700.0, sc.Number(m)))) : 0;
        } else if (m == "PU" || m == "PD" || m == "PA" || m == "PR") {
            if (m == "PU") down = false;
            if (m == "PD") down = true;
            if (m == "PA") relative = false;
            if (m == "PR") relative = true;
            while (sc.AtNumber()) {
                const double a = sc.Number(m);
                if (!sc.AtNumber())
                    throw PieceError(source + ": line " + std::to_string(sc.line) + ": " + m +
                                     ": x without y");
                const double b = sc.Number(m);
                x = relative ? x + a : a;
                y = relative ? y + b : b;
                if (std::fabs(x) > 1e9 || std::fabs(y) > 1e9)
                    throw PieceError(source + ": line " + std::to_string(sc.line) + ": " + m + ": coordinate out of range");
                tagAPOINT p(static_cast<float>(x / scale), static_cast<float>(y / scale));
                p.a.SetCode(pen, down ? 1 : 0);
                outline.push_back(p);
            }
        } else if (m == "LB") {   // label text up to the ETX terminator
            const size_t end = bytes.find('\x03', sc.at);
            for (size_t i = sc.at; i < std::min(end, bytes.size()); ++i) sc.line += bytes[i] == '\n';
            sc.at = end == std::string::npos ? bytes.size() : end + 1;
            if (warn && warned.insert(m).second) warn(source + ": line " + std::to_string(sc.line) + ": LB (label) skipped");
        } else {
            if (warn && warned.insert(m).second)
                warn(source + ": line " + std::to_string(sc.line) + ": instruction " + m + " skipped");
            while (sc.at < bytes.size() && bytes[sc.at] != ';' &&
                   !(std::isalpha(static_cast<unsigned char>(bytes[sc.at])) && sc.at + 1 < bytes.size() &&
                     std::isalpha(static_cast<unsigned char>(bytes[sc.at + 1])))) {
                if (bytes[sc.at] == '\n') ++sc.line;
                ++sc.at;
            }
        }
    }
    Pieces pieces;
    auto piece = std::make_unique<CLS_LineKus>();
    if (!outline.empty() && !piece->Prepare(outline.data(), static_cast<int>(outline.size())))
        throw PieceError(source + ": out of memory preparing " + std::to_string(outline.size()) + " points");
    SetPieceRect(*piece);
    pieces.push_back(std::move(piece));
    return pieces;
}

}  // namespace zedpiece
