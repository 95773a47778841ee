// Units of length, area and time: each object has its own unit and converts values from and to
// the others; the names of every unit are kept beside their factors.
#ifndef ZEDLL_UNITS_H
#define ZEDLL_UNITS_H

#include "zedll/export.h"

/// Lengths, in factors of 1/1000 mm (single precision, with the exact factors of the inch
/// family: 25.40031 for a mil):
///   -1 mm/1000, 0 mm/100, 1 mm/40, 2 mm, 3 cm, 4 m, 5 mils, 6 inch/100, 7 inch, 8 fr. inch,
///   9 ft, 10 yd, 11 dm
/// An index outside -1 ... 11 converts to 0.0 and has no names (null).
///
/// Layout: unit: i32
class ZEDLL_API LengthUnit {
public:
    explicit LengthUnit(int unit = 2) : unit_(unit) {}

    /// `value` in unit `from`, in this object's unit.
    float Convert(int from, float value) const;
    /// `value` in this object's unit, in unit `to`.
    float ConvertTo(int to, float value) const;
    /// `value` in unit `from`, in unit `to`, through this object's unit.
    float Convert(int from, int to, float value) const;
    const char* LongName(int index) const;
    const char* ShortName(int index) const;
    int GetUnit() const { return unit_; }
    void SetUnit(int unit) { unit_ = unit; }

private:
    int unit_;
};

/// Areas, in factors of square inches: 0 in2, 1 ft2, 2 yd2, 3 qv, 4 cm2, 5 dm2, 6 m2.
///
/// Layout: unit: i32
class ZEDLL_API AreaUnit {
public:
    explicit AreaUnit(int unit = 4) : unit_(unit) {}
    float Convert(int from, float value) const;
    float ConvertTo(int to, float value) const;
    float Convert(int from, int to, float value) const;
    const char* LongName(int index) const;
    const char* ShortName(int index) const;
    int GetUnit() const { return unit_; }
    void SetUnit(int unit) { unit_ = unit; }

private:
    int unit_;
};

/// Times, in factors of minutes: 0 min, 1 sec, 2 hour, 3 hour/100 (a hundredth of an hour).
///
/// Layout: unit: i32
class ZEDLL_API TimeUnit {
public:
    explicit TimeUnit(int unit = 0) : unit_(unit) {}
    float Convert(int from, float value) const;
    float ConvertTo(int to, float value) const;
    float Convert(int from, int to, float value) const;
    const char* LongName(int index) const;
    const char* ShortName(int index) const;
    int GetUnit() const { return unit_; }
    void SetUnit(int unit) { unit_ = unit; }

private:
    int unit_;
};

#endif
