#include "SdkConfig.h"

#include <gtest/gtest.h>

namespace speechlib {
namespace {

TEST(SdkConfigTest, ReadsTheProgramsConfiguration) {
    const auto config = parseSdkConfig(
        "server_url=speech.tarvane.example:80/index.htm,appid=5b0c2d91,timeout=10000,"
        "coding_libs=speex.dll,max_text_size=2048");
    ASSERT_TRUE(config.has_value());
    EXPECT_EQ(config->appId, "5b0c2d91");
    EXPECT_EQ(config->maxTextSize, 2048u);
}

TEST(SdkConfigTest, MaxTextSizeHasADefault) {
    const auto config = parseSdkConfig("appid=1");
    ASSERT_TRUE(config.has_value());
    EXPECT_EQ(config->maxTextSize, SdkConfig::kDefaultMaxTextSize);
}

TEST(SdkConfigTest, RefusesMalformedOrIncompleteConfigurations) {
    for (const char* text : {
             "",
             "appid",
             "appid=x,",
             "appid=",
             "server_url=host:80/index.htm,timeout=10000",
             "appid=x,appid=y",
             "appid=x,max_text_size=abc",
             "appid=x,max_text_size=-1",
             "appid=x,max_text_size=0",
             "appid=x,max_text_size=2048 ",
             "appid=x,max_text_size=",
             "appid=x,max_text_size=99999999999",
             "appid=x,timeout=ten",
         }) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseSdkConfig(text).has_value());
    }
}

}  // namespace
}  // namespace speechlib
