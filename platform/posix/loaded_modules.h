// POSIX only: the resource image behind a module handle of the resource-module loader.
#ifndef ZEDLL_PLATFORM_POSIX_LOADED_MODULES_H
#define ZEDLL_PLATFORM_POSIX_LOADED_MODULES_H

#include "platform/pe_resources.h"
#include "zedll/platform_types.h"

namespace zed::platform {
/// The image of a module loaded by LoadResourceModule, or null for any other handle.
const pe::ResourceImage* LoadedImage(HMODULE module);
}  // namespace zed::platform

#endif
