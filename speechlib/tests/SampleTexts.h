#pragma once

// Texts the tests and the bench speak, in UTF-8, converted to the encoding under
// test where needed.

namespace speechlib::samples {

// The announcement template the program starts with.
inline constexpr const char* kDefaultTemplate =
    "各位友台好！这里是云岭中继网整点报时，现在是下午15点整。翠屏峰站频率幺四五点六五洞，差频-"
    "600kHz，"
    "亚音88.5；青石岭站频率四三拐点五两五，差频-8MHz，亚音100.0；白鹭湾站频率幺四六点两洞洞，差频-"
    "600kHz，"
    "亚音131.8。请选择适合本地的频率，规范操作。";

// The shortest hourly announcement.
inline constexpr const char* kHourSentence = "现在时间9点整";

}  // namespace speechlib::samples
