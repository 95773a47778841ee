// Test pieces.
#include "piece_samples.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "piece/hpgl.h"
#include "piece/json_io.h"

namespace zedtest {
namespace {

using namespace zedpiece;

float AnyFloat(std::mt19937& rng) {
    for (;;) {
        const uint32_t bits = rng();
        float f;
        std::memcpy(&f, &bits, sizeof f);
        if (std::isfinite(f)) return f;
    }
}

std::string AnyText(std::mt19937& rng, bool plain) {
    static const char kPlain[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -_";
    std::string s;
    const int n = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < n; ++i) {
        if (plain) s += kPlain[rng() % (sizeof kPlain - 1)];
        else s += static_cast<char>(1 + rng() % 127);   // valid UTF-8: ASCII without zero
    }
    if (plain) {
        while (!s.empty() && s.back() == ' ') s.pop_back();
        while (!s.empty() && s.front() == ' ') s.erase(s.begin());
        if (s.empty()) s = "P";
    }
    return s;
}

tagAPOINT Pt(float x, float y, uint16_t flags, uint16_t code, uint8_t kind) {
    tagAPOINT p(x, y);
    p.a.flags = flags;
    p.a.code = code;
    p.a.kind = kind;
    return p;
}

}  // namespace

std::string SampleBytes(const std::string& name) {
    std::ifstream in(std::string(ZED_SAMPLES_DIR) + "/" + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Pieces SamplePieces() { return ReadJson(SampleBytes("blouse.json"), "blouse.json"); }

void ExpectRefused(const std::function<void()>& work, const std::string& message, const std::string& input) {
    try {
        work();
        ADD_FAILURE() << "accepted " << input.substr(0, 60);
    } catch (const PieceError& e) {
        EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
    }
}

std::string AsJson(const Pieces& pieces) {
    std::ostringstream out;
    WriteJson(pieces, out);
    return out.str();
}

Pieces RandomJsonPieces(std::mt19937& rng) {
    Pieces pieces;
    const int n = 1 + static_cast<int>(rng() % 3);
    for (int k = 0; k < n; ++k) {
        auto p = std::make_unique<CLS_LineKus>();
        for (int i = 0; i < 9; ++i) if (rng() % 2) SetText(*p, i, AnyText(rng, false));
        p->header0 = static_cast<uint16_t>(rng());
        p->header1 = rng();
        p->header2 = static_cast<uint16_t>(rng());
        p->value = AnyFloat(rng);
        p->bits = rng();
        for (int list = 0; list < 2; ++list) {
            const int lines = static_cast<int>(rng() % 4);
            for (int l = 0; l < lines; ++l) {
                std::vector<tagAPOINT> pts;
                const int count = static_cast<int>(rng() % 6);
                for (int i = 0; i < count; ++i)
                    pts.push_back(Pt(AnyFloat(rng), AnyFloat(rng), static_cast<uint16_t>(rng()),
                                     static_cast<uint16_t>(rng() % (ATR::kMaxCode + 1)),
                                     static_cast<uint8_t>(rng())));
                AddExactLine(*p, pts, static_cast<int>(rng() % 5) - 1, static_cast<int>(rng() % 9) - 1,
                             rng() % 2, rng() % 2, rng(), static_cast<int32_t>(rng()), list == 1);
            }
        }
        const int texts = static_cast<int>(rng() % 3);
        for (int t = 0; t < texts; ++t) {
            CLS_OtherText ot;
            std::string s = AnyText(rng, false);
            ot.SetText(s.data());
            ot.position.x = AnyFloat(rng);
            ot.position.y = AnyFloat(rng);
            ot.SetAngleDegrees(AnyFloat(rng));
            ot.SetHeightSteps(static_cast<int>(rng()));
            ot.SetValue1(static_cast<int>(rng()));
            ot.SetValue2(static_cast<int>(rng()));
            ot.SetValue3(static_cast<int>(rng()));
            ot.SetFlag(static_cast<uint8_t>(rng()));
            ot.SetVector(tagFPOINT{AnyFloat(rng), AnyFloat(rng)});
            p->AddOtherText(&ot);
        }
        SetPieceRect(*p);
        if (rng() % 2) p->rect = FRECT(AnyFloat(rng), AnyFloat(rng), AnyFloat(rng), AnyFloat(rng));
        pieces.push_back(std::move(p));
    }
    return pieces;
}

Pieces RandomDxfPieces(std::mt19937& rng) {
    Pieces pieces;
    const int n = 1 + static_cast<int>(rng() % 3);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (int k = 0; k < n; ++k) {
        auto p = std::make_unique<CLS_LineKus>();
        for (int i = 0; i < 3; ++i) if (i == 0 || rng() % 2) SetText(*p, i, AnyText(rng, true));
        // Lines in separate bands of 1000 units, points at least 1 unit apart.
        const int lines = 1 + static_cast<int>(rng() % 4);
        for (int l = 0; l < lines; ++l) {
            const bool closed = l == 0 || rng() % 3 == 0;
            static const uint8_t kKinds[] = {6, 7, 8, 11, 14};
            const uint8_t kind = closed ? 0 : kKinds[rng() % 5];
            const int count = 2 + static_cast<int>(rng() % 8) + (closed ? 2 : 0);
            std::vector<tagAPOINT> pts;
            for (int i = 0; i < count; ++i) {
                const float x = static_cast<float>(l * 1000) + static_cast<float>(i) * 10.0f + unit(rng) * 5.0f;
                const float y = (closed && i >= count / 2 ? 500.0f : 0.0f) + unit(rng) * 100.0f;
                uint16_t flags = i == 0 ? 0 : ATR::kDraw;
                const unsigned r = rng() % 8;
                if (r == 0) flags |= ATR::kCorner;
                if (r == 1) flags |= ATR::kNotch;
                if (r == 2) flags |= ATR::kDrill;
                if (r == 3) flags |= ATR::kCorner | ATR::kNotch;
                pts.push_back(Pt(x, y, flags, 0, kind));
            }
            if (closed) {
                tagAPOINT last = pts[0];
                last.a.flags |= ATR::kDraw;
                pts.push_back(last);
            }
            AddExactLine(*p, pts, CLS_LK::linePrepared, CLS_LK::subDerive, closed, 0, 0, 0);
        }
        const int alone = static_cast<int>(rng() % 3);   // drill holes inside, notches on nothing
        for (int d = 0; d < alone; ++d) {
            const uint16_t flag = rng() % 2 ? ATR::kDrill : ATR::kNotch;
            AddExactLine(*p, {Pt(5000.0f + d * 100.0f, 250.0f + unit(rng), flag, 0, 0)},
                         CLS_LK::linePrepared, CLS_LK::subDerive, 0, 0, 0, 0);
        }
        const int texts = static_cast<int>(rng() % 3);
        for (int t = 0; t < texts; ++t) {
            CLS_OtherText ot;
            std::string s = AnyText(rng, true);
            ot.SetText(s.data());
            ot.position.x = unit(rng) * 100.0f;
            ot.position.y = unit(rng) * 100.0f;
            ot.SetAngleDegrees(static_cast<float>(rng() % 360));
            ot.SetHeightSteps(100 + static_cast<int>(rng() % 1000));
            p->AddOtherText(&ot);
        }
        SetPieceRect(*p);
        pieces.push_back(std::move(p));
    }
    return pieces;
}

Pieces RandomPlotterPieces(std::mt19937& rng) {
    std::vector<tagAPOINT> outline;
    const int n = 1 + static_cast<int>(rng() % 200);
    uint16_t pen = 1;
    for (int i = 0; i < n; ++i) {
        if (rng() % 20 == 0) pen = static_cast<uint16_t>(1 + rng() % 8);
        const int gx = static_cast<int>(rng() % 400000) - 200000, gy = static_cast<int>(rng() % 400000) - 200000;
        tagAPOINT p(static_cast<float>(gx / kPlotterUnitsPerMm), static_cast<float>(gy / kPlotterUnitsPerMm));
        p.a.SetCode(pen, i > 0 && rng() % 5 != 0 ? 1 : 0);
        outline.push_back(p);
    }
    Pieces pieces;
    auto piece = std::make_unique<CLS_LineKus>();
    piece->Prepare(outline.data(), static_cast<int>(outline.size()));
    SetPieceRect(*piece);
    pieces.push_back(std::move(piece));
    return pieces;
}

}  // namespace zedtest
