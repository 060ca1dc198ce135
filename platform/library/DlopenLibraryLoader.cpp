#include "platform/library/DlopenLibraryLoader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <utility>

#include "platform/files/ProgramFolder.h"

namespace tarvane {
namespace {

class DlopenLibrary : public LoadedLibrary {
public:
    explicit DlopenLibrary(void* handle) : m_handle(handle) {}
    ~DlopenLibrary() override { dlclose(m_handle); }
    DlopenLibrary(const DlopenLibrary&) = delete;
    DlopenLibrary& operator=(const DlopenLibrary&) = delete;

    [[nodiscard]] void* symbol(const char* name) const override { return dlsym(m_handle, name); }

private:
    void* m_handle;
};

std::string lastLoaderError() {
    const char* reason = dlerror();
    return reason != nullptr ? std::string(reason) : std::string("unknown dynamic linker error");
}

LibraryLoadResult openLibrary(const std::string& path) {
    dlerror();  // a stale reason must not be taken for this call's
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return {nullptr, lastLoaderError()};
    }
    return {std::make_unique<DlopenLibrary>(handle), {}};
}

}  // namespace

DlopenLibraryLoader::DlopenLibraryLoader() : m_programFolder(executableFolder()) {}

DlopenLibraryLoader::DlopenLibraryLoader(std::string programFolder)
    : m_programFolder(std::move(programFolder)) {}

LibraryLoadResult DlopenLibraryLoader::load(const std::string& fileName) {
    if (fileName.empty()) {
        return {nullptr, "no library file named"};
    }
    // A name with a folder in it is taken as it stands.
    if (fileName.find('/') != std::string::npos) {
        return openLibrary(fileName);
    }
    if (!m_programFolder.empty()) {
        std::string local = m_programFolder;
        if (local.back() != '/') {
            local += '/';
        }
        local += fileName;
        // A copy that sits beside the program but cannot be loaded is
        // reported as it is, rather than quietly replaced by another one.
        if (access(local.c_str(), F_OK) == 0) {
            return openLibrary(local);
        }
    }
    return openLibrary(fileName);
}

}  // namespace tarvane
