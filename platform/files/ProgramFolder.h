#pragma once

#include <string>

namespace tarvane {

// The folder that holds the running executable, in the file system's own
// encoding (UTF-8 on Linux), without a trailing separator; empty when the
// system does not tell.
[[nodiscard]] std::string executableFolder();

}  // namespace tarvane
