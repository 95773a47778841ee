// CLS_Spline: construction, copies that share the result arrays, destruction.
#include "curves/shared_array.h"
#include "zedll/curves.h"

CLS_Spline::CLS_Spline() : plane_(nullptr), spatial_(nullptr) {}

CLS_Spline::CLS_Spline(const CLS_Spline& other) : plane_(other.plane_), spatial_(other.spatial_) {
    zed::SharedArrayRetain(plane_);
    zed::SharedArrayRetain(spatial_);
}

CLS_Spline& CLS_Spline::operator=(const CLS_Spline& other) {
    // Retain first: assigning an object to itself, or to a copy of itself, must not free.
    zed::SharedArrayRetain(other.plane_);
    zed::SharedArrayRetain(other.spatial_);
    zed::SharedArrayRelease(plane_);
    zed::SharedArrayRelease(spatial_);
    plane_ = other.plane_;
    spatial_ = other.spatial_;
    return *this;
}

CLS_Spline::~CLS_Spline() {
    zed::SharedArrayRelease(plane_);
    zed::SharedArrayRelease(spatial_);
}
