// The steps of the library's load sequence, in the order they are attached; detaching walks them
// backwards.
#ifndef ZEDLL_PLATFORM_LOAD_SEQUENCE_H
#define ZEDLL_PLATFORM_LOAD_SEQUENCE_H

#include <cstddef>

#include "zedll/platform_types.h"

namespace zed {

struct LoadStep {
    const char* name;
    void (*attach)(HMODULE instance);  ///< null: nothing to do at attach
    void (*detach)();                  ///< null: nothing to do at detach
};

/// The steps only the platform has, which follow the portable ones: on Windows the common
/// controls and the magnifier's window classes; none elsewhere.
const LoadStep* PlatformLoadSteps(std::size_t* count);

/// Step `index` of the whole sequence (portable steps, then the platform's), or null past its end.
const LoadStep* LoadSequenceStep(std::size_t index);
std::size_t LoadSequenceLength();

}  // namespace zed

/// Test hook: told of every step as the sequence runs it.
namespace zed::load_testing {
using StepObserver = void (*)(const char* step, bool attach);
void SetStepObserver(StepObserver observer);
}  // namespace zed::load_testing

#endif
