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

// Every voice the settings window offers, with its engine.
struct OfferedVoice {
    const char* engine;
    const char* voice;
};
inline constexpr OfferedVoice kOfferedVoices[] = {
    {"intp65", "xiaoyan"},  {"intp65", "xiaoyu"},  {"intp65_en", "Catherine"},
    {"intp65_en", "henry"}, {"vivi21", "vixm"},    {"vivi21", "vixl"},
    {"vivi21", "vixr"},     {"vivi21", "vixyun"},  {"vivi21", "vixk"},
    {"vivi21", "vixqiang"}, {"vivi21", "vixying"}, {"vivi21", "vixq"},
    {"vivi21", "vixf"},     {"vivi21", "vinn"},    {"vivi21", "vixjia"},
    {"vivi21", "vitch"},    {"vivi21", "vils"},    {"vivi21", "viterry"},
    {"vivi21", "viyping"},
};

}  // namespace speechlib::samples
