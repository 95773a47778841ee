// CLS_Spline::nunispl and NoUniformSpline: natural cubic splines on chord length, run by run.
#include <climits>
#include <cstddef>
#include <cstdint>

#include "curves/chord_spline.h"
#include "curves/shared_array.h"
#include "os/heap.h"
#include "zedll/curves.h"

namespace {

using zed::chord_spline::kMaxRun;
using zed::chord_spline::RunScratch;
using zed::chord_spline::FinishRun;
using zed::chord_spline::PrepareRun;
using zed::chord_spline::SampleRun;
using zed::chord_spline::SolveRuns;

constexpr int kCapacityPerPoint = 20;

}  // namespace

int CLS_Spline::nunispl(tagA3POINT* points, int n, int* out_count, tagA3POINT** out_array, int request) {
    if (points == nullptr || out_count == nullptr || out_array == nullptr) return -1;
    if (n < 3 || n > kMaxRun || request < 0 || request == 1) return -1;
    const int count = request != 0 ? request : 2 * n - 1;

    RunScratch scratch(n);
    tagA3POINT* out = static_cast<tagA3POINT*>(zed::HeapAllocZeroed((static_cast<size_t>(count) + 1) * sizeof(tagA3POINT)));
    if (!scratch.ok() || out == nullptr) {
        zed::HeapRelease(out);
        return -1;
    }
    for (int i = 0; i < n; ++i) {
        scratch.x[i] = points[i].x;
        scratch.y[i] = points[i].y;
        scratch.atr[i] = points[i].a;
    }
    SampleRun(scratch, n, request, out);
    *out_count = count;
    *out_array = out;
    return 1;
}

tagAPOINT* CLS_Spline::NoUniformSpline(tagAPOINT* points, int n, int* out_count, int request) {
    if (points == nullptr || out_count == nullptr || n < 0 || n > INT_MAX / kCapacityPerPoint) return nullptr;
    const int capacity = kCapacityPerPoint * n;
    // Two scratches: a run waits in one while the next is gathered in the other, so that their
    // tangent systems are solved together. No run is longer than the input or the solver's limit.
    const int room = n < kMaxRun ? n : kMaxRun;
    RunScratch first(room), second(room);
    // Zero-filled by the allocator: the points not written are never touched.
    tagAPOINT* result = static_cast<tagAPOINT*>(zed::SharedArrayAlloc(static_cast<size_t>(capacity), sizeof(tagAPOINT)));
    zed::SharedArrayRelease(plane_);
    plane_ = nullptr;
    *out_count = 0;
    if (!first.ok() || !second.ok() || result == nullptr) {
        zed::SharedArrayRelease(result);
        return nullptr;
    }

    RunScratch* run = &first;   // the run being gathered
    // The run waiting for a partner: its scratch, its length and where its samples go (already
    // counted in `written`, so that the points after it land after its samples).
    RunScratch* waiting = nullptr;
    int waiting_points = 0, waiting_at = 0, waiting_request = 0;
    int written = 0;
    int r = 0;
    auto emit = [&](float x, float y, const ATR& a) {
        if (written < capacity) {
            tagAPOINT& o = result[written++];
            o.x = x;
            o.y = y;
            o.a = a;
        }
    };
    auto finish_waiting = [&](RunScratch* partner, int partner_points) {
        SolveRuns(*waiting, waiting_points, partner, partner_points);
        FinishRun(*waiting, waiting_points, waiting_request, result + waiting_at);
        waiting = nullptr;
    };
    auto close_run = [&]() {
        if (r < 3) {
            for (int k = 0; k < r; ++k) emit(run->x[k], run->y[k], run->atr[k]);
        } else {
            // What nunispl would refuse adds nothing, as does a run that would not fit.
            const int q = request == n ? r : request;
            const long long expected = q == 0 ? 2LL * r - 1 : q;
            if (q >= 0 && q != 1 && expected <= capacity - written) {
                PrepareRun(*run, r);
                const int at = written;
                written += static_cast<int>(expected);
                if (waiting == nullptr) {
                    waiting = run;
                    waiting_points = r;
                    waiting_at = at;
                    waiting_request = q;
                    run = run == &first ? &second : &first;
                } else {
                    RunScratch* partner = run;
                    finish_waiting(partner, r);
                    FinishRun(*partner, r, q, result + at);
                }
            }
        }
        r = 0;
    };
    auto append = [&](const tagAPOINT& p) {
        run->x[r] = p.x;
        run->y[r] = p.y;
        ATR a = p.a;   // cleared in a register, stored once
        a.SetSpline(0);
        run->atr[r] = a;
        ++r;
    };

    for (int i = 0; i < n; ++i) {
        const tagAPOINT& p = points[i];
        if (!p.a.IsCorner()) {
            if (r > 0 && p.x == run->x[r - 1] && p.y == run->y[r - 1]) continue;
            append(p);
            if (r == kMaxRun) close_run();
        } else if (r == 0) {
            ATR a = p.a;
            a.SetSpline(0);
            emit(p.x, p.y, a);
        } else {
            append(p);
            close_run();
        }
    }
    if (r > 0) close_run();
    if (waiting != nullptr) finish_waiting(nullptr, 0);

    plane_ = result;
    *out_count = written;
    return result;
}
