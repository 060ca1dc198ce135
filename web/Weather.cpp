#include "web/Weather.h"

#include "deployment/Deployment.h"
#include "literals/web_literals.h"
#include "web/HttpFetch.h"
#include "web/TextBetween.h"
#include "web/Utf8ToGbk.h"

namespace tarvane {

namespace {

constexpr char kAccessKey[] = "7e2f90d1b5c84a63e0f19b27c4d8a5e6";

}  // namespace

Text weatherUrl() {
    return Text("https://") + deployment::kWeatherHost +
           "/x3/weather?cityid=" + deployment::kCityId + "&key=" + kAccessKey;
}

Text weatherSentence(HttpClient& client, const CodePage& codePage) {
    using namespace literals_web;
    const Text reply = utf8ToGbk(codePage, fetchText(client, weatherUrl()));
    // The reply is read as text, not parsed: each value is the first one
    // anywhere in the reply, taken as it stands.
    const Text highest = textBetween(reply, "max\":\"", kQuoteToken);
    const Text lowest = textBetween(reply, "min\":\"", kQuoteToken);
    const Text daytime = textBetween(reply, "txt_d\":\"", Text(kQuoteToken) + ",");
    return kWeatherOpening + daytime + kWeatherHighest + highest + kWeatherLowest + lowest +
           kWeatherClosing;
}

}  // namespace tarvane
