#include "web/Weather.h"

#include <gtest/gtest.h>

#include "deployment/Deployment.h"
#include "literals/web_test_literals.h"
#include "platform/codepage/IconvCodePage.h"
#include "tests/fakes/FakeHttpClient.h"
#include "web/Url.h"

namespace tarvane {
namespace {

using namespace literals_web_test;

Text sentence(const Text& daytime, const Text& highest, const Text& lowest) {
    return kOpening + daytime + kHighest + highest + kLowest + lowest + kClosing;
}

class WeatherTest : public ::testing::Test {
protected:
    Text sentenceFor(std::string_view utf8Reply) {
        m_client.respondToUrl(weatherUrl(), utf8Reply);
        return weatherSentence(m_client, m_codePage);
    }

    FakeHttpClient m_client;
    IconvCodePage m_codePage;
};

TEST_F(WeatherTest, AsksTheServiceForTheStationCity) {
    (void)weatherSentence(m_client, m_codePage);

    ASSERT_EQ(m_client.requests().size(), 1u);
    const HttpRequest& request = m_client.requests().front();
    EXPECT_TRUE(request.secure);
    const Text serviceUrl = Text("https://") + deployment::kWeatherHost + "/";
    EXPECT_EQ(request.host, urlHost(serviceUrl, KeepPort::No));
    EXPECT_EQ(request.port, urlPort(serviceUrl));
    EXPECT_EQ(request.path, Text("/x3/weather?cityid=") + deployment::kCityId +
                                "&key=7e2f90d1b5c84a63e0f19b27c4d8a5e6");
}

struct ReplyCase {
    const char* name;
    std::string reply;  // UTF-8, as the service sends it
    Text expected;
};

TEST_F(WeatherTest, ReadsTheFirstOfEachValueFromTheReply) {
    const ReplyCase cases[] = {
        {"one day",
         R"({"data":[{"daily_forecast":[{"cond":{"code_d":"101","txt_d":"多云","txt_n":"阴"},)"
         R"("tmp":{"max":"25","min":"18"}}]}]})",
         kCloudySentence},
        {"empty body", "", kEmptySentence},
        {"several days",
         R"([{"cond":{"txt_d":"多云","txt_n":"阴"},"tmp":{"max":"25","min":"18"}},)"
         R"({"cond":{"txt_d":"晴","txt_n":"晴"},"tmp":{"max":"27","min":"19"}}])",
         kCloudySentence},
        {"txt_d last in its object runs on to the next quote and comma",
         R"({"cond":{"txt_d":"晴"},"tmp":{"max":"30","min":"20"}})",
         sentence(Text(kSunny) + R"("},"tmp":{"max":"30)", "30", "20")},
        {"JSON escapes kept", R"({"txt_d":"\u591a\u4e91","max":"25","min":"18"})",
         sentence(R"(\u591a\u4e91)", "25", "18")},
        {"error document", R"({"status":"invalid key"})", kEmptySentence},
        {"error document holding a marker", R"({"status":"unknown city","min":"0"})",
         sentence("", "", "0")},
        {"character outside the code page", R"({"txt_d":"小雨🌧","max":"9","min":"3"})",
         sentence(Text(kLightRain) + "?", "9", "3")},
        {"zero byte ends the reply", std::string(R"({"max":"25"})") + '\0' + R"({"min":"18"})",
         sentence("", "25", "")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sentenceFor(c.reply), c.expected);
    }
}

}  // namespace
}  // namespace tarvane
