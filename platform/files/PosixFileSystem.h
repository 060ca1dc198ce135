#pragma once

#include "platform/FileSystem.h"

namespace tarvane {

class CodePage;

// The program's folder and whole-file writes on a POSIX file system whose
// names are UTF-8. Paths reach this class in code page 936 and are converted
// at the border, so a folder name holding a character that code page 936
// lacks comes back with "?" in its place and writes below it fail.
class PosixFileSystem : public FileSystem {
public:
    // `codePage` must outlive this object.
    explicit PosixFileSystem(const CodePage& codePage);

    [[nodiscard]] Text programFolder() const override;
    [[nodiscard]] Text pathSeparator() const override;
    // Takes an exclusive lock before truncating, so a reader holding the lock
    // never sees a half-written file; a file locked by another process makes
    // the write fail rather than wait.
    [[nodiscard]] bool writeWholeFile(const Text& path, const Bytes& contents) override;

private:
    const CodePage& m_codePage;
};

}  // namespace tarvane
