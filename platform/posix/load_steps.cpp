// Linux has no common controls and no window classes: the portable steps are the whole sequence.
#include "platform/load_sequence.h"

namespace zed {

const LoadStep* PlatformLoadSteps(std::size_t* count) {
    *count = 0;
    return nullptr;
}

}  // namespace zed
