// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace kestrune {

// The entry named so in a module the Linux program loads when first needed, or nullptr
// where the module cannot be loaded or lacks it. A loaded module stays for the whole run.
void* module_entry(const std::filesystem::path& module, const char* entry);

}  // namespace kestrune
