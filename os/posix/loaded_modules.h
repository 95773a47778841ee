// POSIX only: the resource image behind a module handle of the resource-module loader.
#ifndef ZEDLL_OS_POSIX_LOADED_MODULES_H
#define ZEDLL_OS_POSIX_LOADED_MODULES_H

#include "os/pe_resources.h"
#include "zedll/platform_types.h"

namespace zed::os {
/// The image of a module loaded by LoadResourceModule, or null for any other handle.
const pe::ResourceImage* LoadedImage(HMODULE module);
}  // namespace zed::os

#endif
