#pragma once

#include <memory>
#include <string>

#include "text/Text.h"

namespace tarvane {

// A loaded shared library; unloaded when destroyed.
class LoadedLibrary {
public:
    virtual ~LoadedLibrary() = default;
    // The address of an exported symbol, or null when it is missing.
    [[nodiscard]] virtual void* symbol(const char* name) const = 0;
};

struct LibraryLoadResult {
    std::unique_ptr<LoadedLibrary> library;  // null on failure
    std::string error;                       // the loader's own reason on failure
};

class LibraryLoader {
public:
    virtual ~LibraryLoader() = default;
    // Seeks `fileName` in the program's folder first, then along the
    // system's usual library search.
    [[nodiscard]] virtual LibraryLoadResult load(const std::string& fileName) = 0;
};

}  // namespace tarvane
