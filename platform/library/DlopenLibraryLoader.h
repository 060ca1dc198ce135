#pragma once

#include <string>

#include "platform/LibraryLoader.h"

namespace tarvane {

// Loads shared libraries with the dynamic linker: from the program's folder
// when the file is there, else along the usual search (LD_LIBRARY_PATH, the
// linker cache, the system folders).
class DlopenLibraryLoader : public LibraryLoader {
public:
    // The program's folder is the running executable's folder.
    DlopenLibraryLoader();
    // For tests: another folder stands in for the program's folder.
    explicit DlopenLibraryLoader(std::string programFolder);

    [[nodiscard]] LibraryLoadResult load(const std::string& fileName) override;

private:
    std::string m_programFolder;
};

}  // namespace tarvane
