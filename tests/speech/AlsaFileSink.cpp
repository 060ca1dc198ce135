#include "tests/speech/AlsaFileSink.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace tarvane {
namespace {

namespace fs = std::filesystem;

class FileSink {
public:
    FileSink() {
        m_folder = fs::temp_directory_path() / ("tarvane-alsa-" + std::to_string(getpid()));
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        const fs::path config = m_folder / "asound.conf";
        // %r puts the rate in the name, so overlapping sounds at different
        // rates land in different files.
        std::ofstream(config) << "pcm.!default {\n"
                                 "    type file\n"
                                 "    slave.pcm { type null }\n"
                                 "    file \""
                              << (m_folder / "captured-%r.raw").string()
                              << "\"\n"
                                 "    format \"raw\"\n"
                                 "}\n";
        // Replaces the system's configuration for this process only; it is
        // read at the first device open, after this runs.
        setenv("ALSA_CONFIG_PATH", config.c_str(), 1);
    }
    ~FileSink() {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    [[nodiscard]] const fs::path& folder() const { return m_folder; }

private:
    fs::path m_folder;
};

// Set up before main, so no test can open a device before ALSA is pointed
// at the file.
const FileSink sink;

}  // namespace

const std::filesystem::path& scratchFolder() {
    return sink.folder();
}

std::filesystem::path capturedFile(std::uint32_t sampleRate) {
    return sink.folder() / ("captured-" + std::to_string(sampleRate) + ".raw");
}

Bytes readCaptured(std::uint32_t sampleRate) {
    std::ifstream in(capturedFile(sampleRate), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void clearCaptured() {
    for (const auto& entry : fs::directory_iterator(sink.folder())) {
        if (entry.path().extension() == ".raw") {
            fs::remove(entry.path());
        }
    }
}

}  // namespace tarvane
