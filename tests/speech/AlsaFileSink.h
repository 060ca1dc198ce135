#pragma once

// Points ALSA, for this whole test program, at a configuration whose
// "default" device writes everything played to a raw file per sample rate
// in a scratch folder, behind a null device that needs no sound card.

#include <cstdint>
#include <filesystem>

#include "text/Text.h"

namespace tarvane {

// The raw file that the default device writes for sounds at `sampleRate`.
[[nodiscard]] std::filesystem::path capturedFile(std::uint32_t sampleRate);
// The file's bytes; empty when it does not exist.
[[nodiscard]] Bytes readCaptured(std::uint32_t sampleRate);
// Removes what earlier sounds left.
void clearCaptured();
// A scratch folder for this test program, removed at its end.
[[nodiscard]] const std::filesystem::path& scratchFolder();

}  // namespace tarvane
