// The shared library loaded and unloaded twice in one process: each load runs the load sequence,
// each unload the unload sequence (the language service back to the base language, which frees a
// loaded language module), and the library really leaves the process.
#include <dlfcn.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using SetLanguage = void (*)(uint16_t);
using GetLanguages = int (*)(uint16_t*, int);

TEST(LibraryReload, LoadedAndUnloadedTwice) {
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(dlopen(ZEDLL_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD), nullptr) << round;
        void* library = dlopen(ZEDLL_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        auto set_language = reinterpret_cast<SetLanguage>(dlsym(library, "ZEDLLSetLanguage"));
        auto get_languages = reinterpret_cast<GetLanguages>(dlsym(library, "ZEDLLGetLanguages"));
        ASSERT_NE(set_language, nullptr);
        ASSERT_NE(get_languages, nullptr);
        uint16_t languages[8] = {};
        ASSERT_GE(get_languages(languages, 8), 1);
        EXPECT_EQ(languages[0], 1033) << "the base language first, round " << round;
        set_language(0x0407);   // a module is loaded, when it is there; the unload releases it
        ASSERT_EQ(dlclose(library), 0) << dlerror();
        EXPECT_EQ(dlopen(ZEDLL_SHARED_LIBRARY, RTLD_NOW | RTLD_LOCAL | RTLD_NOLOAD), nullptr)
            << "the library stayed loaded after round " << round;
    }
}

}  // namespace
