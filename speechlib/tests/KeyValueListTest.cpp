#include "KeyValueList.h"

#include <gtest/gtest.h>

namespace speechlib {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs pairsOf(const std::vector<KeyValue>& list) {
    Pairs pairs;
    for (const KeyValue& entry : list) {
        pairs.emplace_back(entry.key, entry.value);
    }
    return pairs;
}

TEST(KeyValueListTest, SplitsOnCommasThenAtTheFirstEquals) {
    const struct {
        const char* text;
        Pairs expected;
    } cases[] = {
        {"", {}},
        {"a=1", {{"a", "1"}}},
        {"a=", {{"a", ""}}},
        {"aue=speex;7,auf=audio/L16;rate=16000",
         {{"aue", "speex;7"}, {"auf", "audio/L16;rate=16000"}}},
        {"server_url=host:80/index.htm,appid=5b0c2d91",
         {{"server_url", "host:80/index.htm"}, {"appid", "5b0c2d91"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto list = splitKeyValueList(c.text);
        ASSERT_TRUE(list.has_value());
        EXPECT_EQ(pairsOf(*list), c.expected);
    }
}

TEST(KeyValueListTest, RefusesMalformedLists) {
    for (const char* text : {",", "a=1,", ",a=1", "a=1,,b=2", "a", "=1", "a=1,a=2"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(splitKeyValueList(text).has_value());
    }
}

TEST(KeyValueListTest, ParsesPlainDecimalsWithinTheLimit) {
    const struct {
        const char* text;
        unsigned max;
        std::optional<unsigned> expected;
    } cases[] = {
        {"0", 10, 0u},
        {"10", 10, 10u},
        {"007", 10, 7u},
        {"11", 10, std::nullopt},
        {"", 10, std::nullopt},
        {"-1", 10, std::nullopt},
        {"+1", 10, std::nullopt},
        {" 1", 10, std::nullopt},
        {"1 ", 10, std::nullopt},
        {"0x1", 10, std::nullopt},
        {"99999999999999999999999", 4000000000u, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseDecimal(c.text, c.max), c.expected);
    }
}

}  // namespace
}  // namespace speechlib
