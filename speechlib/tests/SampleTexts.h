#pragma once

// Texts the tests and the bench speak, in UTF-8, converted to the encoding under
// test where needed.

namespace speechlib::samples {

// The announcement template the program starts with.
inline constexpr const char* kDefaultTemplate =
    "各位友台大家好，欢迎收听星河中继网络整点报时。现在是下午十五点整。";

// The shortest hourly announcement.
inline constexpr const char* kHourSentence = "现在时间9点整";

}  // namespace speechlib::samples
