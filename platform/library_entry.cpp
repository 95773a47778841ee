// The library's load and unload sequence: an ordered table of steps, attached in order and
// detached in reverse.
#include "platform/library_entry.h"

#include "log/log_options.h"
#include "os/resource_module.h"
#include "platform/language.h"
#include "platform/load_sequence.h"

namespace zed {
namespace {

bool g_attached = false;
load_testing::StepObserver g_observer = nullptr;

// The library instance is also the language service's resource module until a language is chosen.
void RecordInstance(HMODULE instance) { LangSetLibraryInstance(instance); }
// Finds the base language current and loads no module.
void InitLanguageService(HMODULE) { LangService().Init("ZED", 1033, 1033); }
void ReleaseLogNames() { log_options::ReleaseNames(); }

// The language service itself returns to the base language when it is destroyed, after the
// sequence. The log names go after the platform's steps (the magnifier's classes) are undone.
constexpr LoadStep kPortableSteps[] = {
    {"library instance", RecordInstance, nullptr},
    {"language service", InitLanguageService, nullptr},
    {"log option names", nullptr, ReleaseLogNames},
};
constexpr std::size_t kPortableCount = sizeof kPortableSteps / sizeof kPortableSteps[0];

void Run(const LoadStep& step, bool attach, HMODULE instance) {
    if (g_observer != nullptr) g_observer(step.name, attach);
    if (attach && step.attach != nullptr) step.attach(instance);
    if (!attach && step.detach != nullptr) step.detach();
}

}  // namespace

std::size_t LoadSequenceLength() {
    std::size_t platform = 0;
    PlatformLoadSteps(&platform);
    return kPortableCount + platform;
}

const LoadStep* LoadSequenceStep(std::size_t index) {
    if (index < kPortableCount) return &kPortableSteps[index];
    std::size_t platform = 0;
    const LoadStep* steps = PlatformLoadSteps(&platform);
    return index - kPortableCount < platform ? &steps[index - kPortableCount] : nullptr;
}

void LibraryAttach(HMODULE instance) {
    if (g_attached) return;
    g_attached = true;
    for (std::size_t i = 0; i < LoadSequenceLength(); ++i) Run(*LoadSequenceStep(i), true, instance);
}

void LibraryDetach() {
    if (!g_attached) return;
    g_attached = false;
    for (std::size_t i = LoadSequenceLength(); i-- > 0;) Run(*LoadSequenceStep(i), false, nullptr);
}

bool LibraryAttached() { return g_attached; }

namespace load_testing {
void SetStepObserver(StepObserver observer) { g_observer = observer; }
}  // namespace load_testing

namespace {

// The sequence runs from this static object: the only entry on POSIX; on Windows it runs first
// in the DLL (DllMain then finds the work done) and alone in a program that links the library's
// objects itself (the test program), with the program as the library instance. Constructed
// after the language service, which is therefore destroyed after the unload sequence.
struct LibraryLifetime {
    LibraryLifetime() {
        LangService();
        LibraryAttach(os::OwnModule());
    }
    ~LibraryLifetime() { LibraryDetach(); }
};
LibraryLifetime g_library_lifetime;

}  // namespace

}  // namespace zed
