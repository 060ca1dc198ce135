#include "platform/http/RequestTarget.h"

#include <gtest/gtest.h>

namespace tarvane {
namespace {

struct TargetCase {
    const char* name;
    std::string path;
    Text target;
};

TEST(RequestTarget, KeepsPrintableBytesAndEncodesTheRest) {
    const TargetCase cases[] = {
        {"plain", "/ham_clock.html", "/ham_clock.html"},
        {"query", "/x3/weather?cityid=CN000000000&key=0", "/x3/weather?cityid=CN000000000&key=0"},
        {"dot segments kept", "/a/../b/./c", "/a/../b/./c"},
        {"escapes not decoded", "/a%2Fb%41", "/a%2Fb%41"},
        {"punctuation kept", "/[]{}|\\^`\"<>'~!$&()*+,;=:@", "/[]{}|\\^`\"<>'~!$&()*+,;=:@"},
        {"space", "/a b", "/a%20b"},
        {"line break cannot add a header", "/a\r\nX-Injected: 1", "/a%0D%0AX-Injected:%201"},
        {"control bytes", std::string("/\x01\x7F\0", 4), "/%01%7F%00"},
        {"code page 936 bytes", "/\xD6\xD0", "/%D6%D0"},
        {"fragment mark", "/a#b", "/a%23b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(requestTarget(c.path), c.target);
    }
}

}  // namespace
}  // namespace tarvane
