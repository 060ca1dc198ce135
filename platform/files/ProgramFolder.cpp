#include "platform/files/ProgramFolder.h"

#include <unistd.h>

#include <vector>

namespace tarvane {

std::string executableFolder() {
    // readlink does not say whether it cut the path, so grow the buffer
    // until the answer leaves room to spare.
    std::vector<char> buffer(256);
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            std::string path(buffer.data(), static_cast<std::size_t>(length));
            std::size_t slash = path.rfind('/');
            if (slash == std::string::npos) {
                return {};
            }
            // The root folder keeps its slash: it is the whole folder name.
            return slash == 0 ? std::string("/") : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace tarvane
