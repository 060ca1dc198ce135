#pragma once

#include "text/Text.h"

namespace tarvane {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The folder that holds the program's executable, without a trailing
    // separator, in code page 936.
    [[nodiscard]] virtual Text programFolder() const = 0;
    // The platform's separator between a folder and a name.
    [[nodiscard]] virtual Text pathSeparator() const = 0;
    // Creates or truncates the file and writes all bytes, holding the file
    // exclusively while writing. False when any step failed.
    [[nodiscard]] virtual bool writeWholeFile(const Text& path, const Bytes& contents) = 0;
};

}  // namespace tarvane
