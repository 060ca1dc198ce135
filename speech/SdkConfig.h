#pragma once

#include <string_view>

#include "deployment/Deployment.h"
#include "text/Text.h"

namespace tarvane {

// The configuration text handed to the speech library once at start-up:
// where the speech service is, who we are, and the limits we rely on.
[[nodiscard]] Text buildSdkConfig(std::string_view speechHost = deployment::kSpeechHost);

}  // namespace tarvane
