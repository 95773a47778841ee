// CLS_OtherText: a free text placed on a piece, with its height and angle conversions.
#include <cmath>
#include <cstring>

#include "geometry/float_math.h"
#include "pieces/piece_storage.h"
#include "os/heap.h"
#include "zedll/pieces.h"

namespace {

char kSpace[] = " ";

// A text given as null is stored as one space.
char* CopyOrSpace(const char* t) { return zed::HeapCopyText(t != nullptr ? t : kSpace); }

}  // namespace

CLS_OtherText::CLS_OtherText()
    : text(nullptr), value1(1), value2(0), height(30), value3(0), position(), vector{0.0f, 0.0f},
      angle(0.0f), flag(0) {}

CLS_OtherText::CLS_OtherText(const CLS_OtherText& other) : CLS_OtherText() { *this = other; }

CLS_OtherText::CLS_OtherText(char* t, tagAPOINT& pos, uint8_t f, float a, int v3, int h, int v2,
                             int v1)
    : CLS_OtherText() {
    Set(t, pos, f, a, v3, h, v2, v1);
}

CLS_OtherText::CLS_OtherText(char* t, LONG x, LONG y, uint8_t f, float a, int v3, int h, int v2,
                             int v1)
    : CLS_OtherText() {
    Set(t, x, y, f, a, v3, h, v2, v1);
}

CLS_OtherText::~CLS_OtherText() { Free(); }

void CLS_OtherText::Set(char* t, tagAPOINT& pos, uint8_t f, float a, int v3, int h, int v2, int v1) {
    Free();
    text = CopyOrSpace(t);
    SetPosition(pos);
    flag = f;
    angle = a;
    value3 = v3;
    height = h;
    value2 = v2;
    value1 = v1;
}

void CLS_OtherText::Set(char* t, LONG x, LONG y, uint8_t f, float a, int v3, int h, int v2, int v1) {
    tagAPOINT pos(static_cast<float>(x), static_cast<float>(y));
    Set(t, pos, f, a, v3, h, v2, v1);
}

int CLS_OtherText::Free() {
    if (text == nullptr) return 0;
    zed::HeapRelease(text);
    text = nullptr;
    return 1;
}

char* CLS_OtherText::SetText(char* t) {
    Free();
    text = CopyOrSpace(t);
    return t != nullptr ? text : nullptr;
}

char* CLS_OtherText::GetText() const { return text; }
void CLS_OtherText::SetValue1(int v) { value1 = v; }
int CLS_OtherText::GetValue1() const { return value1; }
void CLS_OtherText::SetValue2(int v) { value2 = v; }
int CLS_OtherText::GetValue2() const { return value2; }
void CLS_OtherText::SetValue3(int v) { value3 = v; }
int CLS_OtherText::GetValue3() const { return value3; }
void CLS_OtherText::SetHeightSteps(int steps) { height = steps; }
int CLS_OtherText::GetHeightSteps() const { return height; }

float CLS_OtherText::SetHeight(float h) {
    const float steps = h * 10000.0f / 25.40031f;
    height = zed::TruncToInt32(steps) / 7;
    return h;
}

float CLS_OtherText::GetHeight() const {
    return static_cast<float>(height) * 7.0f * 25.40031f / 10000.0f;
}

void CLS_OtherText::SetPosition(tagAPOINT& p) { position = tagAPOINT(p.x, p.y); }

void CLS_OtherText::SetPosition(LONG x, LONG y) {
    position = tagAPOINT(static_cast<float>(x), static_cast<float>(y));
}

tagAPOINT CLS_OtherText::GetPosition() const { return position; }
void CLS_OtherText::SetVector(tagFPOINT v) { vector = v; }
tagFPOINT CLS_OtherText::GetVector() const { return vector; }
void CLS_OtherText::SetAngleDegrees(float degrees) { angle = degrees; }
float CLS_OtherText::GetAngle() const { return angle; }
void CLS_OtherText::SetFlag(uint8_t f) { flag = f; }
uint8_t CLS_OtherText::GetFlag() const { return flag; }

float CLS_OtherText::SetAngle(float dx, float dy) {
    float a;
    if (dx == 0.0f) {
        a = dy >= 0.0f ? 1.5707963f : 4.712389f;
    } else {
        a = zed::AtanF(dy / dx);
        if (dx < 0.0f && dy > 0.0f) a += 3.1415927f;
        if (dx < 0.0f && dy <= 0.0f) a -= 3.1415927f;
    }
    if (a != 0.0f) a *= 57.29578f;
    angle = a;
    return angle;
}

tagFPOINT CLS_OtherText::GetDirection() const {
    if (!std::isfinite(angle)) return tagFPOINT{1.0f, 0.0f};
    // Reduce to [0, 360) in double, then to the nearer axis and the offset from it in [-45, 45).
    double deg = std::fmod(static_cast<double>(angle), 360.0);
    if (deg < 0) deg += 360.0;
    int quadrant = static_cast<int>(std::floor((deg + 45.0) / 90.0)) % 4;
    const double off = deg - 90.0 * quadrant;   // 315..360 belong to the axis at 0
    const double off_wrapped = off > 45.0 ? off - 360.0 : off;
    // Exactly on an axis the pair is exact; between, the minor component is tan(offset).
    const float minor = off_wrapped == 0.0 ? 0.0f
                                           : static_cast<float>(std::tan(off_wrapped * 3.14159265358979323846 / 180.0));
    switch (quadrant) {
        case 0: return tagFPOINT{1.0f, minor};
        case 1: return tagFPOINT{-minor, 1.0f};
        case 2: return tagFPOINT{-1.0f, -minor};
        default: return tagFPOINT{minor, -1.0f};
    }
}

CLS_OtherText& CLS_OtherText::operator=(const CLS_OtherText& other) {
    if (this == &other) return *this;
    char* copy = CopyOrSpace(other.text);
    Free();
    text = copy;
    value1 = other.value1;
    value2 = other.value2;
    height = other.height;
    value3 = other.value3;
    position.x = other.position.x;
    position.y = other.position.y;
    vector = other.vector;
    angle = other.angle;
    flag = other.flag;
    return *this;
}

int CLS_OtherText::operator==(const CLS_OtherText& other) const {
    if (value1 != other.value1 || value2 != other.value2) return 0;
    if (!(GetHeight() == other.GetHeight())) return 0;
    if (value3 != other.value3) return 0;
    if (!(position.y == other.position.y) || !(position.x == other.position.x)) return 0;
    if (!(angle == other.angle)) return 0;
    if (text == nullptr || other.text == nullptr) return text == other.text;
    return std::strcmp(text, other.text) == 0;
}

int CLS_OtherText::operator!=(const CLS_OtherText& other) const { return !(*this == other); }
