#include "app/SynthesisSettings.h"

#include <array>
#include <span>
#include <string_view>

#include "literals/settings_literals.h"

namespace tarvane {
namespace {

using enum ControlName;
namespace lit = literals_settings;

struct Voice {
    const char* item;
    const char* code;
};

struct Engine {
    const char* item;
    const char* code;
    std::span<const Voice> voices;
    const char* defaultVoice;
};

constexpr std::array kChineseVoices = {
    Voice{lit::kVoiceXiaoyan, "xiaoyan"},
    Voice{lit::kVoiceXiaoyu, "xiaoyu"},
};

constexpr std::array kEnglishVoices = {
    Voice{lit::kVoiceCatherine, "Catherine"},
    Voice{lit::kVoiceHenry, "henry"},
};

constexpr std::array kPersonalVoices = {
    Voice{lit::kVoiceVixm, "vixm"},       Voice{lit::kVoiceVixl, "vixl"},
    Voice{lit::kVoiceVixr, "vixr"},       Voice{lit::kVoiceVixyun, "vixyun"},
    Voice{lit::kVoiceVixk, "vixk"},       Voice{lit::kVoiceVixqiang, "vixqiang"},
    Voice{lit::kVoiceVixying, "vixying"}, Voice{lit::kVoiceVixq, "vixq"},
    Voice{lit::kVoiceVixf, "vixf"},       Voice{lit::kVoiceVinn, "vinn"},
    Voice{lit::kVoiceVixjia, "vixjia"},   Voice{lit::kVoiceVitch, "vitch"},
    Voice{lit::kVoiceVils, "vils"},       Voice{lit::kVoiceViterry, "viterry"},
    Voice{lit::kVoiceViyping, "viyping"},
};

// In the order of the engine list: the selection index picks the engine.
constexpr std::array kEngines = {
    Engine{lit::kEngineChinese, "intp65", kChineseVoices, lit::kVoiceXiaoyan},
    Engine{lit::kEngineEnglish, "intp65_en", kEnglishVoices, lit::kVoiceCatherine},
    Engine{lit::kEnginePersonal, "vivi21", kPersonalVoices, lit::kVoiceViyping},
};

struct TextType {
    const char* item;
    const char* code;
};

constexpr std::array kTextTypes = {
    TextType{lit::kTextTypePlain, "text"},
    TextType{lit::kTextTypeSsml, "ssml"},
};

constexpr std::array kTextEncodings = {"AUTO",    "GB2312",  "GBK", "BIG5",
                                       "UNICODE", "GB18030", "UTF8"};
constexpr std::array kBackgroundSounds = {"0", "1"};
constexpr std::array kAudioEncodings = {"raw",       "amr",   "amr-fx",  "amr-wb",
                                        "amr-wb-fx", "speex", "speex-wb"};
constexpr std::array kAudioFormats = {"audio/L16;rate=8000", "audio/L16;rate=16000"};

constexpr int kLargestSpeedOrVolume = 10;
constexpr int kHoursInDay = 24;
constexpr int kRawEncodingIndex = 0;
constexpr int kNarrowbandFormatIndex = 0;

// The fixed codes are defined only for the indices of their tables. Such an
// index cannot arise through the window, so anything else gives the empty
// code rather than reading past a table.
template <typename Table>
const typename Table::value_type* entryAt(const Table& table, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= table.size()) {
        return nullptr;
    }
    return &table[static_cast<std::size_t>(index)];
}

Text engineCode(int engineIndex) {
    const Engine* engine = entryAt(kEngines, engineIndex);
    return engine == nullptr ? Text() : Text(engine->code);
}

Text voiceCode(int engineIndex, int voiceIndex) {
    const Engine* engine = entryAt(kEngines, engineIndex);
    if (engine == nullptr) {
        return {};
    }
    const Voice* voice = entryAt(engine->voices, voiceIndex);
    return voice == nullptr ? Text() : Text(voice->code);
}

Text textTypeCode(int textTypeIndex) {
    const TextType* type = entryAt(kTextTypes, textTypeIndex);
    return type == nullptr ? Text() : Text(type->code);
}

Text selectedText(const OptionList& list) {
    return list.itemTextAt(list.selectedIndex());
}

template <typename Items>
void insertInOrder(OptionList& list, const Items& items) {
    int position = 0;
    for (const auto& item : items) {
        list.insertItem(position++, item);
    }
}

void addNumbers(OptionList& list, int largest) {
    for (int n = 0; n <= largest; ++n) {
        list.addItem(integerToText(n));
    }
}

bool isAsciiLetterFold(char a, char b) {
    auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return fold(a) == fold(b);
}

// Whether `text` begins with `prefix`, ASCII letters compared without regard
// to case. A double-byte character is compared as a unit and exactly, so its
// trail byte is never folded into another character.
bool beginsWith(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) {
        return false;
    }
    std::size_t index = 0;
    while (index < prefix.size()) {
        const bool doubleByte =
            static_cast<unsigned char>(text[index]) >= 0x80 && index + 1 < text.size();
        if (doubleByte) {
            const std::size_t width = index + 1 < prefix.size() ? 2 : 1;
            if (text.substr(index, width) != prefix.substr(index, width)) {
                return false;
            }
            index += 2;
        } else {
            if (!isAsciiLetterFold(text[index], prefix[index])) {
                return false;
            }
            ++index;
        }
    }
    return true;
}

}  // namespace

void selectByText(OptionList& list, const Text& prefix) {
    const int count = list.itemCount();
    for (int index = 0; index < count; ++index) {
        if (beginsWith(list.itemTextAt(index), prefix)) {
            list.select(index);
            return;
        }
    }
}

SynthesisSettings::SynthesisSettings(Toolkit& window) : m_window(window) {}

void SynthesisSettings::fillOptionLists() {
    // Emptied first so that a second fill cannot leave doubled items.
    for (ControlName list :
         {组合框_引擎类型, 组合框_语速, 组合框_音量, 组合框_开始时间, 组合框_结束时间,
          组合框_文本类型, 组合框_文本编码, 组合框_背景音, 组合框_音频编码, 组合框_音频格式}) {
        m_window.optionList(list).removeAllItems();
    }

    OptionList& engines = m_window.optionList(组合框_引擎类型);
    for (std::size_t i = 0; i < kEngines.size(); ++i) {
        engines.insertItem(static_cast<int>(i), kEngines[i].item);
    }

    OptionList& speeds = m_window.optionList(组合框_语速);
    OptionList& volumes = m_window.optionList(组合框_音量);
    for (int n = 0; n <= kLargestSpeedOrVolume; ++n) {
        speeds.insertItem(n, integerToText(n));
        volumes.insertItem(n, integerToText(n));
    }

    OptionList& firstHours = m_window.optionList(组合框_开始时间);
    OptionList& lastHours = m_window.optionList(组合框_结束时间);
    for (int hour = 0; hour < kHoursInDay; ++hour) {
        const Text item = integerToText(hour) + ":00";
        firstHours.insertItem(hour, item);
        lastHours.insertItem(hour, item);
    }

    OptionList& textTypes = m_window.optionList(组合框_文本类型);
    for (std::size_t i = 0; i < kTextTypes.size(); ++i) {
        textTypes.insertItem(static_cast<int>(i), kTextTypes[i].item);
    }
    insertInOrder(m_window.optionList(组合框_文本编码), kTextEncodings);
    insertInOrder(m_window.optionList(组合框_背景音), kBackgroundSounds);
    insertInOrder(m_window.optionList(组合框_音频编码), kAudioEncodings);
    insertInOrder(m_window.optionList(组合框_音频格式), kAudioFormats);

    applyDefaults();
}

void SynthesisSettings::applyDefaults() {
    selectByText(m_window.optionList(组合框_引擎类型), lit::kEnginePersonal);
    selectByText(m_window.optionList(组合框_语速), "5");
    selectByText(m_window.optionList(组合框_音量), "10");
    selectByText(m_window.optionList(组合框_文本类型), lit::kTextTypePlain);
    selectByText(m_window.optionList(组合框_文本编码), "GB2312");
    selectByText(m_window.optionList(组合框_背景音), "0");
    selectByText(m_window.optionList(组合框_音频编码), "speex");
    selectByText(m_window.optionList(组合框_音频格式), "audio/L16;rate=16000");
    selectByText(m_window.optionList(组合框_开始时间), "0");
    selectByText(m_window.optionList(组合框_结束时间), "11");
    m_window.setTicked(选择框_整点报时, true);
    refillVoices();
    refillCompressionLevels();
}

void SynthesisSettings::refillVoices() {
    OptionList& voices = m_window.optionList(组合框_发音人);
    voices.removeAllItems();
    const Text engine = selectedText(m_window.optionList(组合框_引擎类型));
    for (const Engine& candidate : kEngines) {
        if (engine == candidate.item) {
            for (const Voice& voice : candidate.voices) {
                voices.addItem(voice.item);
            }
            selectByText(voices, candidate.defaultVoice);
            return;
        }
    }
}

void SynthesisSettings::refillCompressionLevels() {
    OptionList& levels = m_window.optionList(组合框_压缩等级);
    levels.removeAllItems();
    const Text family = left(selectedText(m_window.optionList(组合框_音频编码)), 3);
    if (family == "raw") {
        levels.addItem(lit::kLevelUncompressed);
        selectByText(levels, lit::kLevelUncompressed);
    } else if (family == "amr") {
        addNumbers(levels, 7);
        selectByText(levels, "5");
    } else if (family == "spe") {
        addNumbers(levels, 10);
        selectByText(levels, "7");
    }
}

bool SynthesisSettings::isSynthesisComplete() const {
    return m_window.optionList(组合框_发音人).selectedIndex() != -1 &&
           m_window.optionList(组合框_压缩等级).selectedIndex() != -1;
}

Text SynthesisSettings::buildSessionParams() const {
    const int engineIndex = m_window.optionList(组合框_引擎类型).selectedIndex();
    const int voiceIndex = m_window.optionList(组合框_发音人).selectedIndex();
    const OptionList& encodings = m_window.optionList(组合框_音频编码);

    Text params = "ssm=1";
    params += ",ent=" + engineCode(engineIndex);
    params += ",vcn=" + voiceCode(engineIndex, voiceIndex);
    params += ",spd=" + selectedText(m_window.optionList(组合框_语速));
    params += ",vol=" + selectedText(m_window.optionList(组合框_音量));
    params += ",ttp=" + textTypeCode(m_window.optionList(组合框_文本类型).selectedIndex());
    params += ",tte=" + selectedText(m_window.optionList(组合框_文本编码));
    params += ",bgs=" + selectedText(m_window.optionList(组合框_背景音));
    params += ",aue=" + selectedText(encodings);
    // Uncompressed audio has no level to name.
    if (encodings.selectedIndex() != kRawEncodingIndex) {
        params += ";" + selectedText(m_window.optionList(组合框_压缩等级));
    }
    params += ",auf=" + selectedText(m_window.optionList(组合框_音频格式));
    return params;
}

int SynthesisSettings::sampleRate() const {
    return m_window.optionList(组合框_音频格式).selectedIndex() == kNarrowbandFormatIndex ? 8000
                                                                                          : 16000;
}

int SynthesisSettings::firstHour() const {
    return m_window.optionList(组合框_开始时间).selectedIndex();
}

int SynthesisSettings::lastHour() const {
    return m_window.optionList(组合框_结束时间).selectedIndex();
}

}  // namespace tarvane
