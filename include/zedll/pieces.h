// Pattern pieces: lines (CLS_LK), free texts (CLS_OtherText), pieces (CLS_LineKus) and the two
// exchange records the host programs hand pieces over in (CLS_IOKUS, IOKUS).
#ifndef ZEDLL_PIECES_H
#define ZEDLL_PIECES_H

#include <cstdint>

#include "zedll/export.h"
#include "zedll/platform_types.h"
#include "zedll/points.h"

// Every structure here crosses the interface as it lies in memory: one-byte alignment, no gaps.
#pragma pack(push, 1)

/// One line of a pattern piece: an ordered list of points with a type, sub-type and bounding box.
///
///   +0         +1      +2     +6        +10     +14    +18        +22     +26    +42
///   | clockwise | closed | type | subType | param | code | capacity | count | rect | points |
///   | u8        | u8     | i32  | i32     | i32   | u32  | i32      | i32   | FRECT| ptr    |
///
/// 46 bytes on 32-bit Windows. Invariant after every editing member: count < capacity (at least
/// one free slot) and `points` holds `capacity` slots from the process heap.
///
/// Ownership: the buffer belongs to whoever holds the record in a piece's line array; the piece
/// frees it. Assignment copies the record as it is, buffer pointer included (both records then
/// share one buffer). Single-threaded: a line is edited by one thread at a time.
class ZEDLL_API CLS_LK {
public:
    /// Line type. Other values set by the hosts are carried unchanged.
    enum TLine : int32_t {
        lineNoBuffer = -1,   ///< the line did not get its point buffer
        lineLeading = 0,     ///< taken over unchanged from the leading points of a record
        linePrepared = 1,    ///< cut out of a raw outline by preparation
        lineParam2 = 2,      ///< host line type whose `param` is significant
        lineParam3 = 3,      ///< host line type whose `param` is significant
    };
    /// Line sub-type, derived from the first point's attribute (or set by the host).
    enum TSLine : int32_t {
        subDerive = -2,     ///< AddLine/AddLine2: derive the sub-type from the first point
        subNone = -1,       ///< nothing marked
        subMark = 0,        ///< first point carries Mark, Notch or Notch2
        subDrill = 1,       ///< first point is a drill hole
        subFlag8 = 2,       ///< first point carries Flag8
        subKind13 = 3,      ///< first point of kind 13
        subKind17 = 6,      ///< first point of kind 17
        subKindGroup = 7,   ///< first point of kind 3, 7, 8, 9 or 23
    };

    uint8_t clockwise;   ///< 1 when the points run clockwise (closed lines only); see ChangeDirect
    uint8_t closed;      ///< 1 when the line is a closed outline
    TLine type;
    TSLine subType;
    int32_t param;       ///< host value; compared only for line types 2 and 3
    uint32_t code;       ///< code of the first point when the line was made
    int32_t capacity;    ///< point slots in `points`
    int32_t count;       ///< points in use
    FRECT rect;          ///< bounding box of the points (y up)
    tagAPOINT* points;   ///< process-heap buffer of `capacity` slots, or null

    /// Sets `rect` to (0, 0, 0, 0); the other fields are the owner's to fill.
    CLS_LK();
    /// Copies the whole record, buffer pointer included (shallow).
    CLS_LK& operator=(const CLS_LK& other);
    /// 1 when count, rect, clockwise, closed, type, subType, code (and param for types 2 and 3)
    /// and every point's flags, kind, code, x and y are equal (floats exactly); a line without a
    /// buffer equals only another line without one.
    int operator==(const CLS_LK& other) const;
    int operator!=(const CLS_LK& other) const;   ///< the negation of ==

    /// 1 if the line has a buffer and 0 <= i < count.
    int IsReady(int i) const;
    /// 1 if any point carries Notch or Notch2.
    int HasNotch() const;
    /// 1 if any point is a drill point.
    int HasDrill() const;
    /// Reverses the points, repairs their pen flags and toggles `clockwise`. 1, or 0 when the heap
    /// refuses (line unchanged).
    int ChangeDirect();

    /// Inserts `n` points (copied; they may lie in this line's own buffer) so that the first
    /// becomes point `i`. Returns i, or -1 (bad index, n < 0, null with n > 0, heap refused:
    /// unchanged). Inserting 0 points only recomputes `rect`, as do the other adding members.
    int InsertPointsBefore(int i, tagAPOINT* p, int n);
    /// Inserts `n` points after point `i`. Returns i (i + 1 when i is the last point), or -1.
    int InsertPointsAfter(int i, tagAPOINT* p, int n);
    int InsertPointBefore(int i, tagAPOINT& p);   ///< InsertPointsBefore with one point
    int InsertPointAfter(int i, tagAPOINT& p);    ///< InsertPointsAfter with one point
    /// Appends `n` points. Returns the index of the first appended point (`count` for n = 0), or
    /// -1 (n < 0, null with n > 0, heap refused: unchanged). A line without points gets a new
    /// buffer of n + 10 slots.
    int AppendPoints(tagAPOINT* p, int n);
    /// Removes point `i` (the last point for -1). 1 if points remain, 0 if the line is now empty,
    /// -1 on an empty line or a bad index. `rect` is left as it was.
    int DeletePoint(int i);
    /// Removes points first..last inclusive (last = -1: the last point). 1 if points remain, 0 if
    /// none, -1 on a bad index. `rect` is left as it was.
    int DeletePoints(int first, int last);
    /// Recomputes `rect` from the points; (0, 0, 0, 0) without points.
    void ComputeRect();

    // Queries; none changes the line.

    /// Index of the point nearest to `q` (the first of equally near points); -1 without points.
    int SearcheNearPointIndex(tagAPOINT& q) const;
    /// Index of the point before the nearest one (-1 when it is the first), the last point's
    /// index when the nearest is the last, -2 for a one-point line, -1 without points.
    int SearcheNearVectorIndex(tagAPOINT& q) const;
    /// Foot of the perpendicular from `q` onto the two segments meeting at the nearest point,
    /// written to `foot` (attribute cleared). Returns the vector index, or -2 with nothing
    /// written. `segment` (0 or 1) is written only when the nearest point is an inner one.
    /// Either output may be null.
    int ComputePlumbNear(tagAPOINT& q, tagAPOINT* foot, int* segment) const;
    /// Not provided: always -1, nothing written.
    int ComputePlumbFar(tagAPOINT& q, tagAPOINT* foot, int* segment) const;
    /// Distance from `q` to the line near its nearest point; 3.4028235e38 when there is none.
    float ComputeDistance(tagAPOINT& q) const;
    /// Distance from `q` to point `i`; 3.4028235e38 for a bad index.
    float ComputeDistancePoint(int i, tagAPOINT& q) const;
    /// true if the line is closed and `q` lies inside it.
    bool IsPointIn(tagAPOINT& q) const;
};

/// A free text placed on a piece.
///
///   +0     +4       +8       +12      +16      +20           +33         +41     +45
///   | text | value1 | value2 | height | value3 | position    | vector    | angle | flag |
///   | ptr  | i32    | i32    | i32    | i32    | tagAPOINT   | tagFPOINT | f32   | u8   |
///
/// 46 bytes on 32-bit Windows. `text` is a zero-terminated copy on the process heap owned by the
/// object; a null text given to a setter is stored as " ". `height` is kept in steps of
/// 7 x 25.40031 / 10000 units (GetHeight, SetHeight). Used by one thread at a time.
class ZEDLL_API CLS_OtherText {
public:
    char* text;
    int32_t value1;
    int32_t value2;
    int32_t height;
    int32_t value3;
    tagAPOINT position;   ///< only x and y are copied and compared
    tagFPOINT vector;
    float angle;          ///< degrees
    uint8_t flag;

    /// Null text, value1 = 1, height = 30, everything else 0.
    CLS_OtherText();
    /// Deep copy (see operator=).
    CLS_OtherText(const CLS_OtherText& other);
    /// A copy of `text` (" " for null) and the values; x and y of `position` (attribute cleared).
    CLS_OtherText(char* text, tagAPOINT& position, uint8_t flag = 0, float angle = 0.0f,
                  int value3 = 0, int height = 30, int value2 = 0, int value1 = 1);
    /// As above, with the position given as integers (converted to float).
    CLS_OtherText(char* text, LONG x, LONG y, uint8_t flag = 0, float angle = 0.0f,
                  int value3 = 0, int height = 30, int value2 = 0, int value1 = 1);
    /// Releases the text.
    ~CLS_OtherText();

    /// As the constructors; the previous text is released first.
    void Set(char* text, tagAPOINT& position, uint8_t flag = 0, float angle = 0.0f,
             int value3 = 0, int height = 30, int value2 = 0, int value1 = 1);
    /// As the constructor from integers; the previous text is released first.
    void Set(char* text, LONG x, LONG y, uint8_t flag = 0, float angle = 0.0f, int value3 = 0,
             int height = 30, int value2 = 0, int value1 = 1);
    /// Releases the text (text becomes null): 1 if there was one, else 0.
    int Free();

    /// Replaces the text by a copy of `t`; returns the new text, or null when " " was stored for
    /// a null `t` (or the heap refused the copy, leaving the text null).
    char* SetText(char* t);
    char* GetText() const;   ///< the object's own text (may be null); do not free
    void SetValue1(int v);        ///< host value, stored as given
    int GetValue1() const;        ///< host value
    void SetValue2(int v);        ///< host value, stored as given
    int GetValue2() const;        ///< host value
    void SetValue3(int v);        ///< host value, stored as given
    int GetValue3() const;        ///< host value
    /// Height in stored steps, without conversion.
    void SetHeightSteps(int steps);
    int GetHeightSteps() const;
    /// Stores trunc(h x 10000 / 25.40031) / 7 steps (float, then integer division); returns h.
    float SetHeight(float h);
    /// steps x 7 x 25.40031 / 10000, in float.
    float GetHeight() const;
    void SetPosition(tagAPOINT& p);   ///< x and y; the attribute is cleared
    void SetPosition(LONG x, LONG y);   ///< converted to float; the attribute is cleared
    tagAPOINT GetPosition() const;      ///< the anchor point
    void SetVector(tagFPOINT v);        ///< stored as given
    tagFPOINT GetVector() const;        ///< the second point
    void SetAngleDegrees(float degrees);   ///< stored as given
    float GetAngle() const;             ///< degrees
    /// Sets `angle` to the direction of the vector (dx, dy) in degrees (y up; 90 straight up,
    /// 270 straight down for dx = 0); returns it.
    float SetAngle(float dx, float dy);
    /// The reading direction of `angle` as a pair whose larger component is +-1 (the other one is
    /// the tangent of the angle to the nearer axis): (1, 0), (0, 1), (-1, 0), (0, -1) exactly at
    /// 0, 90, 180, 270 degrees (and at their multiples of 360 either way), (1, 1) at 45.
    tagFPOINT GetDirection() const;
    void SetFlag(uint8_t f);      ///< host value, stored as given
    uint8_t GetFlag() const;      ///< host value

    /// Replaces the text by a copy of the other's (" " when it has none) and copies the values,
    /// x and y of the position, vector, angle and flag. This position's attribute stays.
    CLS_OtherText& operator=(const CLS_OtherText& other);
    /// value1, value2, GetHeight, value3, y, x, angle and the texts (case-sensitive) equal.
    int operator==(const CLS_OtherText& other) const;
    int operator!=(const CLS_OtherText& other) const;   ///< the negation of ==
};

struct CLS_IOKUS;
struct IOKUS;

/// One pattern piece: two line lists, six names, three die-break texts, free texts, two
/// rectangles and host values.
///
///   +0       +2       +6       +8     +12   +16         +40      +44       +48  +64     +80
///   | header0 | header1 | header2 | value | bits | name1..6 | numLines | numLines2 | rect | rectAll |
///   | u16     | u32     | u16     | f32   | u32  | 6 x ptr  | i32      | i32       | FRECT| FRECT   |
///   +80           +92     +96      +100    +104
///   | dieBreak1..3 | lines | lines2 | texts | numTexts |
///   | 3 x ptr      | ptr   | ptr    | ptr   | i32      |
///
/// 108 bytes on 32-bit Windows. The piece owns every text, both line arrays, every line's points
/// and the text array, all on the process heap, and releases them in Free and the destructor.
/// `rect` and `rectAll` are the host's: copied, never recomputed. Single-threaded.
class ZEDLL_API CLS_LineKus {
public:
    uint16_t header0;
    uint32_t header1;
    uint16_t header2;
    float value;
    /// Host bit field, low bit first: 0-1, 2, 3-7, 8, 9-10 (filled from an IOKUS), 11-15,
    /// 16-23, 24-31.
    uint32_t bits;
    char* name1;
    char* name2;
    char* name3;
    char* name4;
    char* name5;
    char* name6;
    int32_t numLines;
    int32_t numLines2;
    FRECT rect;
    FRECT rectAll;
    char* dieBreak1;
    char* dieBreak2;
    char* dieBreak3;
    CLS_LK* lines;           ///< main list: AddLine, Prepare
    CLS_LK* lines2;          ///< second list: AddLine2, Prepare2
    CLS_OtherText* texts;
    int32_t numTexts;

    /// A free piece.
    CLS_LineKus();
    /// Deep copy.
    CLS_LineKus(const CLS_LineKus& other);
    /// Free.
    ~CLS_LineKus();

    /// Sets every field to zero or null without releasing anything.
    void Init();
    /// Releases everything the piece owns, then Init.
    void Free();
    /// 1 if every field is zero or null.
    int IsFree();

    /// Deep copy: every line gets its own buffer with exactly one free slot. A buffer the heap
    /// refuses leaves that line or text empty; an array it refuses leaves that list empty.
    CLS_LineKus& operator=(const CLS_LineKus& other);
    /// Converts an exchange record (see CLS_IOKUS); the piece is freed first.
    CLS_LineKus& operator=(const CLS_IOKUS& record);
    /// Converts an exchange record (see IOKUS); the piece is freed first.
    CLS_LineKus& operator=(const IOKUS& record);
    /// Deep comparison: header values, names and die-break texts (case-sensitive), rectangles,
    /// both line lists and the free texts. 1 when equal.
    int operator==(const CLS_LineKus& other) const;
    int operator!=(const CLS_LineKus& other) const;   ///< the negation of ==

    /// Replaces each name whose argument is not null by a heap copy. Always 1 (a name whose copy
    /// the heap refused keeps its old text).
    int SetName(char* n1, char* n2, char* n3, char* n4, char* n5, char* n6);
    /// The same for the three die-break texts.
    int SetDieBreak(char* d1, char* d2, char* d3);
    /// Appends a deep copy of `*t`. 1, or 0 for null or when the heap refuses (list unchanged).
    int AddOtherText(CLS_OtherText* t);
    /// Removes the first text equal to `*t`: 1 if one was removed, else 0.
    int DelOtherText(CLS_OtherText* t);
    /// Removes text i: 1, or 0 when i is outside 0..numTexts-1.
    int DelOtherText(int i);
    /// Releases every text and the array; numTexts = 0.
    void FreeOtherText();

    FRECT GetRect() const;      ///< rect, by value
    FRECT GetRectAll() const;   ///< rectAll, by value
    /// Record i of the list (shared with the piece: it must not outlive it), or null.
    CLS_LK* GetLine(int i);
    CLS_LK* GetLine2(int i);   ///< as GetLine, from the second list
    int GetNumLines();         ///< numLines
    int GetNumLines2();        ///< numLines2

    /// Cuts a raw plotter-style outline of n points into lines appended to the main list: a pen
    /// lift of more than 10 units (either axis) after a drawn run, or two lifted points in a row,
    /// starts a new line; at most 5000 lines per call. The points are copied. 1; 1 with nothing
    /// done for n < 1; 0 for null `p` or when the heap refuses (the lines made so far stay).
    int Prepare(tagAPOINT* p, int n);
    /// As Prepare into the second list, where two lifted points in a row restart the current line
    /// and an outline without any cut or restart gives no line.
    int Prepare2(tagAPOINT* p, int n);
    /// Appends one line of n points (copied) to the main list with this type and sub-type
    /// (subDerive: taken from the first point); decides closed and clockwise. 1; 1 with nothing
    /// done for null `p` or n < 1; 0 when the heap refuses.
    int AddLine(tagAPOINT* p, int n, CLS_LK::TLine type, CLS_LK::TSLine subType);
    /// As AddLine into the second list; closed, clockwise, code and rect stay 0.
    int AddLine2(tagAPOINT* p, int n, CLS_LK::TLine type, CLS_LK::TSLine subType);
    /// Flattens the main list into one new array (see the diagram below) of total + 1 points.
    /// `*out` receives the array, which the caller releases with FreeArray; `*leading` the count
    /// of the leading line (0 without one), `*total` the sum of the counts of every line of a
    /// type other than -1. `leading` and `total` may be null. 1, or 0 when `out` is null or the
    /// heap refuses (nothing written).
    ///
    ///   | last type-0 line's points | points of the other lines, in list order | zero-filled |
    ///   0                        leading                                       total     total+1
    int MakeArray(tagAPOINT** out, int* leading, int* total);
    /// Releases an array from MakeArray to the process heap (null is ignored). 1.
    int FreeArray(tagAPOINT* p);
};

/// Exchange record of a piece, 116 bytes on 32-bit Windows (pointers 4 bytes):
///
///   +0         +24       +28        +32       +40   +56     +72     +74     +78     +80   +84
///   | name1..6 | numPoints | numLeading | reserved | rect | rectAll | header0 | header1 | header2 | value | bits |
///   | 6 x ptr  | i32       | i32        | 8 bytes  | FRECT| FRECT   | u16     | u32     | u16     | f32   | u32  |
///   +88          +100     +104          +108    +112
///   | dieBreak1..3 | points | secondOutline | texts | numTexts |
///   | 3 x ptr      | ptr    | u32           | ptr   | i32      |
///
/// `points` holds numPoints points: the first numLeading form one line taken over unchanged, the
/// rest is a raw outline to prepare. A non-zero `secondOutline` converts the outline a second
/// time (the lines appear twice). The record is only read; the piece takes copies.
struct CLS_IOKUS {
    char* name1;
    char* name2;
    char* name3;
    char* name4;
    char* name5;
    char* name6;
    int32_t numPoints;
    int32_t numLeading;
    uint8_t reserved32[8];
    FRECT rect;
    FRECT rectAll;
    uint16_t header0;
    uint32_t header1;
    uint16_t header2;
    float value;
    uint32_t bits;
    char* dieBreak1;
    char* dieBreak2;
    char* dieBreak3;
    tagAPOINT* points;
    uint32_t secondOutline;
    CLS_OtherText* texts;
    int32_t numTexts;
};

/// Exchange record of a piece with integer coordinates, 154 bytes on 32-bit Windows:
///
///   +0         +24       +28        +32                      +48     +50  +51     +55  +59      +60
///   | name1..6 | numPoints | numLeading | left top right bottom | header0 | -- | header1 | -- | bits9 | header2 |
///   | 6 x ptr  | i32       | i32        | 4 x i32               | u16     | 1  | u32     | 4  | u8    | u16     |
///   +62        +126         +138   +142   +146  +150
///   | reserved | dieBreak1..3 | attrs | coords | texts | numTexts |
///   | 64 bytes | 3 x ptr      | ptr   | ptr    | ptr   | i32      |
///
/// `coords` holds numPoints integer points and `attrs` (may be null: cleared attributes) one
/// attribute each. The rectangle fills both rect and rectAll of the piece; the two low bits of
/// `bits9` become bits 9-10 of its `bits`.
struct IOKUS {
    char* name1;
    char* name2;
    char* name3;
    char* name4;
    char* name5;
    char* name6;
    int32_t numPoints;
    int32_t numLeading;
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
    uint16_t header0;
    uint8_t reserved50;
    uint32_t header1;
    uint8_t reserved55[4];
    uint8_t bits9;
    uint16_t header2;
    uint8_t reserved62[64];
    char* dieBreak1;
    char* dieBreak2;
    char* dieBreak3;
    ATR* attrs;
    tagLPOINT* coords;
    CLS_OtherText* texts;
    int32_t numTexts;
};

#pragma pack(pop)

static_assert(sizeof(CLS_LK) == 42 + sizeof(void*), "CLS_LK is packed");
static_assert(sizeof(CLS_OtherText) == 42 + sizeof(void*), "CLS_OtherText is packed");
static_assert(sizeof(CLS_LineKus) == 60 + 12 * sizeof(void*), "CLS_LineKus is packed");
static_assert(sizeof(CLS_IOKUS) == 72 + 11 * sizeof(void*), "CLS_IOKUS: 116 bytes on 32 bits");
static_assert(sizeof(IOKUS) == 106 + 12 * sizeof(void*), "IOKUS: 154 bytes on 32 bits");

#endif
