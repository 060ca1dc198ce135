#pragma once

#include "text/Text.h"

namespace tarvane {

class CodePage;
class HttpClient;

// The weather service request for the station's city.
[[nodiscard]] Text weatherUrl();
// "今天天气…，最高温度…度，最低温度…度，" from one fetch; values missing from
// the reply stay empty.
[[nodiscard]] Text weatherSentence(HttpClient& client, const CodePage& codePage);

}  // namespace tarvane
