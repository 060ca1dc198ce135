#include "speech/SdkConfig.h"

namespace tarvane {

Text buildSdkConfig(std::string_view speechHost) {
    Text config = "server_url=";
    config += speechHost;
    config += ":80/index.htm";
    config += ",appid=5b0c2d91";
    config += ",timeout=10000";
    config += ",coding_libs=speex.dll";
    config += ",max_text_size=2048";
    return config;
}

}  // namespace tarvane
