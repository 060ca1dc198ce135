#pragma once

#include <map>
#include <vector>

#include "platform/FileSystem.h"

namespace tarvane {

// Files held in memory under a made-up program folder.
class FakeFileSystem : public FileSystem {
public:
    // The folder and separator the fake reports; "/opt/tarvane" and "/"
    // unless set.
    void setProgramFolder(const Text& folder) { m_folder = folder; }
    void setPathSeparator(const Text& separator) { m_separator = separator; }
    // A read-only folder: every write fails and changes nothing.
    void setWritable(bool writable) { m_writable = writable; }

    [[nodiscard]] Text programFolder() const override { return m_folder; }
    [[nodiscard]] Text pathSeparator() const override { return m_separator; }
    [[nodiscard]] bool writeWholeFile(const Text& path, const Bytes& contents) override;

    // The files as written, by path.
    [[nodiscard]] const std::map<Text, Bytes>& files() const { return m_files; }
    // Every path a write was tried on, failed ones included, in order.
    [[nodiscard]] const std::vector<Text>& writeAttempts() const { return m_attempts; }

private:
    Text m_folder = "/opt/tarvane";
    Text m_separator = "/";
    bool m_writable = true;
    std::map<Text, Bytes> m_files;
    std::vector<Text> m_attempts;
};

}  // namespace tarvane
