#include "platform/files/PosixFileSystem.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/CodePage.h"
#include "platform/files/ProgramFolder.h"

namespace tarvane {
namespace {

// Closes the descriptor on every path; the result of the final close is
// taken separately because a failed close can mean lost data.
class FileDescriptor {
public:
    explicit FileDescriptor(int descriptor) : m_descriptor(descriptor) {}
    ~FileDescriptor() {
        if (m_descriptor >= 0) {
            close(m_descriptor);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    [[nodiscard]] int get() const { return m_descriptor; }
    [[nodiscard]] bool closeNow() {
        int descriptor = m_descriptor;
        m_descriptor = -1;
        return close(descriptor) == 0;
    }

private:
    int m_descriptor;
};

bool writeAll(int descriptor, const Bytes& contents) {
    std::size_t written = 0;
    while (written < contents.size()) {
        ssize_t step = write(descriptor, contents.data() + written, contents.size() - written);
        if (step < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        written += static_cast<std::size_t>(step);
    }
    return true;
}

}  // namespace

PosixFileSystem::PosixFileSystem(const CodePage& codePage) : m_codePage(codePage) {}

Text PosixFileSystem::programFolder() const {
    return m_codePage.utf8ToGbk(executableFolder());
}

Text PosixFileSystem::pathSeparator() const {
    return "/";
}

bool PosixFileSystem::writeWholeFile(const Text& path, const Bytes& contents) {
    if (path.empty()) {
        return false;
    }
    std::string nativePath = m_codePage.gbkToUtf8(path);
    // Not truncated on open: the old contents stay whole until the lock is
    // ours.
    FileDescriptor file(open(nativePath.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    if (file.get() < 0) {
        return false;
    }
    if (flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        return false;
    }
    if (ftruncate(file.get(), 0) != 0) {
        return false;
    }
    if (!writeAll(file.get(), contents)) {
        return false;
    }
    // Closing drops the lock as well.
    return file.closeNow();
}

}  // namespace tarvane
