#include "speech/SdkConfig.h"

#include <gtest/gtest.h>

#include "deployment/Deployment.h"

namespace tarvane {
namespace {

TEST(SdkConfigTest, KeysInOrderWithoutSpaces) {
    EXPECT_EQ(buildSdkConfig("tts.station.example"),
              "server_url=tts.station.example:80/index.htm,appid=5b0c2d91,timeout=10000,"
              "coding_libs=speex.dll,max_text_size=2048");
}

TEST(SdkConfigTest, DefaultsToTheBuiltInSpeechHost) {
    EXPECT_EQ(buildSdkConfig(), buildSdkConfig(deployment::kSpeechHost));
    EXPECT_EQ(buildSdkConfig().find(std::string("server_url=") + deployment::kSpeechHost + ":80/"),
              0u);
}

}  // namespace
}  // namespace tarvane
