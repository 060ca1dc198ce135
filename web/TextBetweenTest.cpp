#include "web/TextBetween.h"

#include <gtest/gtest.h>

#include "literals/web_test_literals.h"

namespace tarvane {
namespace {

using namespace literals_web_test;

struct BetweenCase {
    const char* name;
    Text source;
    Text leftMarker;
    Text rightMarker;
    int start;
    CaseRule rule;
    Text expected;
};

TEST(TextBetween, CutsTheValueBetweenMarkers) {
    const Text forecast = Text(R"({"tmp":{"max":"25","min":"18"},"cond":{"txt_d":")") + kCloudy +
                          R"(","txt_n":")" + kOvercast + R"("}})";
    const Text quote = kQuote;
    const BetweenCase cases[] = {
        {"temperature", forecast, R"(max":")", quote, 1, CaseRule::Exact, "25"},
        {"weather words", forecast, R"(txt_d":")", quote + ",", 1, CaseRule::Exact, kCloudy},
        {"marker may hold the quote itself", forecast, R"("min":")", "\"", 1, CaseRule::Exact,
         "18"},
        {"empty string value", R"({"max":"","min":"1"})", R"(max":")", quote, 1, CaseRule::Exact,
         ""},
        {"left marker ends the source", R"({"max":")", R"(max":")", quote, 1, CaseRule::Exact, ""},
        {"left marker missing", R"({"min":"1"})", R"(max":")", quote, 1, CaseRule::Exact, ""},
        {"right marker missing", R"({"max":"25)", R"(max":")", quote, 1, CaseRule::Exact, ""},
        {"cut at the first right marker", "<a>b>", "<", ">", 1, CaseRule::Exact, "a"},
        {"right marker past a later left marker", "[a[b]", "[", "]", 1, CaseRule::Exact, "a[b"},
        {"start skips an earlier left marker", "k=1;k=2;", "k=", ";", 2, CaseRule::Exact, "2"},
        {"start 0 means the first byte", "k=1;", "k=", ";", 0, CaseRule::Exact, "1"},
        {"negative start means the first byte", "k=1;", "k=", ";", -3, CaseRule::Exact, "1"},
        {"start past the end", "k=1;", "k=", ";", 9, CaseRule::Exact, ""},
        {"token twice is two quotes", R"(a""b"c)", quote + quote, quote, 1, CaseRule::Exact, "b"},
        {"source token stays as it is", "a" + quote + "\"", "a", quote, 1, CaseRule::Exact, quote},
        {"case ignored", "NAME=x;", "name=", ";", 1, CaseRule::IgnoreAsciiCase, "x"},
        {"case kept", "NAME=x;", "name=", ";", 1, CaseRule::Exact, ""},
        // 81 5D is one character whose trail byte is "]".
        {"right marker never a trail byte", "[\x81]x]", "[", "]", 1, CaseRule::Exact, "\x81]x"},
        {"empty left marker", "abc", "", "c", 1, CaseRule::Exact, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(textBetween(c.source, c.leftMarker, c.rightMarker, c.start, c.rule), c.expected);
    }
}

}  // namespace
}  // namespace tarvane
