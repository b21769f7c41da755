// SPDX-License-Identifier: GPL-3.0-or-later
#include <dlfcn.h>

#include "library_path.h"
#include "module_entry.h"

namespace kestrune {

void* module_entry(const std::filesystem::path& module, const char* entry) {
    void* handle = dlopen(library_path(module).c_str(), RTLD_NOW | RTLD_LOCAL);
    return handle == nullptr ? nullptr : dlsym(handle, entry);
}

}  // namespace kestrune
