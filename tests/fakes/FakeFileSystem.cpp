#include "tests/fakes/FakeFileSystem.h"

namespace tarvane {

bool FakeFileSystem::writeWholeFile(const Text& path, const Bytes& contents) {
    m_attempts.push_back(path);
    if (!m_writable) {
        return false;
    }
    m_files[path] = contents;
    return true;
}

}  // namespace tarvane
