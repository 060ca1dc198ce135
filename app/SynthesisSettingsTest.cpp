#include "app/SynthesisSettings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "literals/settings_test_literals.h"
#include "tests/fakes/HeadlessWindow.h"

namespace tarvane {
namespace {

using enum ControlName;
namespace lit = literals_settings_test;

constexpr char kDefaultParams[] =
    "ssm=1,ent=vivi21,vcn=viyping,spd=5,vol=10,ttp=text,tte=GB2312,bgs=0,aue=speex;7,"
    "auf=audio/L16;rate=16000";

std::vector<Text> numbers(int largest) {
    std::vector<Text> items;
    for (int n = 0; n <= largest; ++n) {
        items.push_back(integerToText(n));
    }
    return items;
}

std::vector<Text> hourItems() {
    std::vector<Text> items;
    for (int hour = 0; hour < 24; ++hour) {
        items.push_back(integerToText(hour) + ":00");
    }
    return items;
}

const std::vector<Text> kPersonalVoices = {
    lit::kXiaomei,   lit::kXiaoli,    lit::kXiaorong, lit::kXiaoyun,  lit::kXiaokun,
    lit::kXiaoqiang, lit::kXiaoying,  lit::kXiaoqin,  lit::kXiaofeng, lit::kNannan,
    lit::kXiaojia,   lit::kTianchang, lit::kLaosun,   lit::kTerry,    lit::kYanping,
};

// Reacts to the window's events as the program does for the settings: an
// engine or encoding pick refills its dependent list, 默认值 applies the
// defaults. Counts the picks it is told of.
class SettingsReactions : public WindowEvents {
public:
    explicit SettingsReactions(SynthesisSettings& settings) : m_settings(settings) {}

    void onWindowCreated() override {}
    void onCloseRequested() override {}
    void onWindowMoved() override {}
    void onTrayAction(TrayAction) override {}
    void onTimerTick() override {}
    void onTrayMenuSelected(TrayMenuItem) override {}
    void onItemPicked(ControlName list) override {
        picks.push_back(list);
        if (list == 组合框_引擎类型) {
            m_settings.refillVoices();
        } else if (list == 组合框_音频编码) {
            m_settings.refillCompressionLevels();
        }
    }
    void onClicked(ControlName button) override {
        if (button == 按钮_恢复默认1) {
            m_settings.applyDefaults();
        }
    }

    std::vector<ControlName> picks;

private:
    SynthesisSettings& m_settings;
};

class SynthesisSettingsTest : public ::testing::Test {
protected:
    SynthesisSettingsTest() { window.setEvents(&reactions); }

    // The user's pick of the item with exactly this text.
    void pick(ControlName list, const Text& item) {
        ASSERT_TRUE(window.pickItemText(list, item)) << "no item " << item;
    }
    Text selected(ControlName list) {
        OptionList& options = window.optionList(list);
        return options.itemTextAt(options.selectedIndex());
    }

    HeadlessWindow window;
    SynthesisSettings settings{window};
    SettingsReactions reactions{settings};
};

TEST_F(SynthesisSettingsTest, AfterStartTheSettingsAreCompleteWithTheDefaultSessionParams) {
    settings.fillOptionLists();

    EXPECT_EQ(settings.buildSessionParams(), kDefaultParams);
    EXPECT_TRUE(settings.isSynthesisComplete());
    EXPECT_EQ(settings.sampleRate(), 16000);
    EXPECT_EQ(settings.firstHour(), 0);
    EXPECT_EQ(settings.lastHour(), 11);
    EXPECT_TRUE(window.isTicked(选择框_整点报时));
    EXPECT_FALSE(window.isTicked(选择框_半点报时));
    EXPECT_FALSE(window.isTicked(选择框1));
}

TEST_F(SynthesisSettingsTest, FillPutsTheItemsOfEveryListAndSelectsItsDefault) {
    settings.fillOptionLists();
    struct Case {
        ControlName list;
        const char* name;
        std::vector<Text> items;
        int selected;
    };
    const Case cases[] = {
        {组合框_引擎类型, "engines", {lit::kChinese, lit::kEnglish, lit::kPersonal}, 2},
        {组合框_发音人, "voices", kPersonalVoices, 14},
        {组合框_语速, "speed", numbers(10), 5},
        {组合框_音量, "volume", numbers(10), 10},
        {组合框_文本类型, "text type", {lit::kPlainText, lit::kSsmlText}, 0},
        {组合框_文本编码,
         "text encoding",
         {"AUTO", "GB2312", "GBK", "BIG5", "UNICODE", "GB18030", "UTF8"},
         1},
        {组合框_背景音, "background", {"0", "1"}, 0},
        {组合框_音频编码,
         "audio encoding",
         {"raw", "amr", "amr-fx", "amr-wb", "amr-wb-fx", "speex", "speex-wb"},
         5},
        {组合框_压缩等级, "level", numbers(10), 7},
        {组合框_音频格式, "audio format", {"audio/L16;rate=8000", "audio/L16;rate=16000"}, 1},
        {组合框_开始时间, "first hour", hourItems(), 0},
        {组合框_结束时间, "last hour", hourItems(), 11},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(window.itemTexts(row.list), row.items);
        EXPECT_EQ(window.optionList(row.list).selectedIndex(), row.selected);
    }
}

// A headless window that also records the option-list calls and ticks the
// settings make, in order.
class RecordingWindow : public HeadlessWindow {
public:
    struct Call {
        ControlName list;
        char operation;  // 'i'nsert, 'a'dd, 'r'emove all, 's'elect, 't'ick
        int index;
        bool operator==(const Call&) const = default;
    };

    OptionList& optionList(ControlName list) override {
        auto [entry, added] =
            m_lists.try_emplace(list, list, HeadlessWindow::optionList(list), m_calls);
        return entry->second;
    }
    void setTicked(ControlName checkBox, bool ticked) override {
        m_calls.push_back({checkBox, 't', ticked ? 1 : 0});
        HeadlessWindow::setTicked(checkBox, ticked);
    }

    // The calls of one kind, in order.
    std::vector<Call> calls(char operation) const {
        std::vector<Call> found;
        for (const Call& call : m_calls) {
            if (call.operation == operation) {
                found.push_back(call);
            }
        }
        return found;
    }
    const std::vector<Call>& allCalls() const { return m_calls; }

private:
    class RecordingList : public OptionList {
    public:
        RecordingList(ControlName name, OptionList& list, std::vector<Call>& calls)
            : m_name(name), m_list(list), m_calls(calls) {}
        void insertItem(int position, const Text& item) override {
            m_calls.push_back({m_name, 'i', position});
            m_list.insertItem(position, item);
        }
        void addItem(const Text& item) override {
            m_calls.push_back({m_name, 'a', m_list.itemCount()});
            m_list.addItem(item);
        }
        void removeAllItems() override {
            m_calls.push_back({m_name, 'r', 0});
            m_list.removeAllItems();
        }
        int itemCount() const override { return m_list.itemCount(); }
        Text itemTextAt(int index) const override { return m_list.itemTextAt(index); }
        int selectedIndex() const override { return m_list.selectedIndex(); }
        void select(int index) override {
            m_calls.push_back({m_name, 's', index});
            m_list.select(index);
        }

    private:
        ControlName m_name;
        OptionList& m_list;
        std::vector<Call>& m_calls;
    };

    std::vector<Call> m_calls;
    std::map<ControlName, RecordingList> m_lists;
};

TEST(SynthesisSettingsOrderTest, FillInsertsListByListInTheFixedOrder) {
    RecordingWindow window;
    SynthesisSettings(window).fillOptionLists();

    using Call = RecordingWindow::Call;
    std::vector<Call> expected;
    for (int i = 0; i < 3; ++i) {
        expected.push_back({组合框_引擎类型, 'i', i});
    }
    for (int n = 0; n <= 10; ++n) {
        expected.push_back({组合框_语速, 'i', n});
        expected.push_back({组合框_音量, 'i', n});
    }
    for (int hour = 0; hour < 24; ++hour) {
        expected.push_back({组合框_开始时间, 'i', hour});
        expected.push_back({组合框_结束时间, 'i', hour});
    }
    const std::pair<ControlName, int> rest[] = {{组合框_文本类型, 2},
                                                {组合框_文本编码, 7},
                                                {组合框_背景音, 2},
                                                {组合框_音频编码, 7},
                                                {组合框_音频格式, 2}};
    for (const auto& [list, count] : rest) {
        for (int i = 0; i < count; ++i) {
            expected.push_back({list, 'i', i});
        }
    }
    EXPECT_EQ(window.calls('i'), expected);
    // The dependent lists are filled by the defaults' refills only, after
    // every fixed list is complete.
    const auto& all = window.allCalls();
    const auto lastInsert = std::find_if(all.rbegin(), all.rend(),
                                         [](const Call& call) { return call.operation == 'i'; });
    const auto firstAdd = std::find_if(all.begin(), all.end(),
                                       [](const Call& call) { return call.operation == 'a'; });
    ASSERT_NE(firstAdd, all.end());
    EXPECT_LE(lastInsert.base() - all.begin(), firstAdd - all.begin());
}

TEST(SynthesisSettingsOrderTest, DefaultsSelectInTheFixedOrderThenTickThenRefill) {
    RecordingWindow window;
    SynthesisSettings settings(window);
    settings.fillOptionLists();
    const std::size_t before = window.allCalls().size();
    settings.applyDefaults();

    using Call = RecordingWindow::Call;
    const std::vector<Call> all(window.allCalls().begin() + static_cast<std::ptrdiff_t>(before),
                                window.allCalls().end());
    const std::vector<Call> expected = {
        {组合框_引擎类型, 's', 2},  {组合框_语速, 's', 5},     {组合框_音量, 's', 10},
        {组合框_文本类型, 's', 0},  {组合框_文本编码, 's', 1}, {组合框_背景音, 's', 0},
        {组合框_音频编码, 's', 5},  {组合框_音频格式, 's', 1}, {组合框_开始时间, 's', 0},
        {组合框_结束时间, 's', 11}, {选择框_整点报时, 't', 1}, {组合框_发音人, 'r', 0},
    };
    ASSERT_GE(all.size(), expected.size());
    EXPECT_EQ(std::vector<Call>(all.begin(), all.begin() + std::ssize(expected)), expected);
    // Voices are refilled before the levels.
    std::vector<ControlName> refills;
    for (const Call& call : all) {
        if (call.operation == 'r') {
            refills.push_back(call.list);
        }
    }
    EXPECT_EQ(refills, (std::vector<ControlName>{组合框_发音人, 组合框_压缩等级}));
}

TEST_F(SynthesisSettingsTest, PickingAnEngineRefillsItsVoicesAndTheParamsFollow) {
    settings.fillOptionLists();
    struct Case {
        const char* name;
        const char* engine;
        std::vector<Text> voices;
        const char* defaultVoice;
        const char* voicePick;  // nullptr keeps the default
        const char* engineAndVoice;
    };
    const Case cases[] = {
        {"english default",
         lit::kEnglish,
         {lit::kCatherine, lit::kHenry},
         lit::kCatherine,
         nullptr,
         "ent=intp65_en,vcn=Catherine"},
        {"english henry",
         lit::kEnglish,
         {lit::kCatherine, lit::kHenry},
         lit::kCatherine,
         lit::kHenry,
         "ent=intp65_en,vcn=henry"},
        {"chinese default",
         lit::kChinese,
         {lit::kXiaoyan, lit::kXiaoyu},
         lit::kXiaoyan,
         nullptr,
         "ent=intp65,vcn=xiaoyan"},
        {"chinese second voice",
         lit::kChinese,
         {lit::kXiaoyan, lit::kXiaoyu},
         lit::kXiaoyan,
         lit::kXiaoyu,
         "ent=intp65,vcn=xiaoyu"},
        {"personal terry", lit::kPersonal, kPersonalVoices, lit::kYanping, lit::kTerry,
         "ent=vivi21,vcn=viterry"},
        {"personal first voice", lit::kPersonal, kPersonalVoices, lit::kYanping, lit::kXiaomei,
         "ent=vivi21,vcn=vixm"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        pick(组合框_引擎类型, row.engine);
        EXPECT_EQ(window.itemTexts(组合框_发音人), row.voices);
        EXPECT_EQ(selected(组合框_发音人), row.defaultVoice);
        if (row.voicePick != nullptr) {
            pick(组合框_发音人, row.voicePick);
        }
        const Text expected = replace(kDefaultParams, "ent=vivi21,vcn=viyping", row.engineAndVoice);
        EXPECT_EQ(settings.buildSessionParams(), expected);
    }
}

TEST_F(SynthesisSettingsTest, OnlyTheFirstEnginesVoicesHaveHalfWidthParentheses) {
    settings.fillOptionLists();
    for (const char* engine : {lit::kChinese, lit::kEnglish, lit::kPersonal}) {
        pick(组合框_引擎类型, engine);
        for (const Text& voice : window.itemTexts(组合框_发音人)) {
            SCOPED_TRACE(voice);
            const bool halfWidth = find(voice, "(") != kNotFound && find(voice, ")") != kNotFound;
            EXPECT_EQ(halfWidth, Text(engine) == lit::kChinese);
        }
    }
}

TEST_F(SynthesisSettingsTest, PickingAnEncodingRefillsItsLevelsAndTheParamsFollow) {
    settings.fillOptionLists();
    // Picked one after the other, as the user would.
    struct Case {
        const char* encoding;
        std::vector<Text> levels;
        const char* defaultLevel;
        const char* levelPick;  // nullptr keeps the default
        const char* audio;
    };
    const Case cases[] = {
        {"amr-fx", numbers(7), "5", nullptr, "aue=amr-fx;5"},
        {"speex-wb", numbers(10), "7", nullptr, "aue=speex-wb;7"},
        {"raw", {lit::kUncompressed}, lit::kUncompressed, nullptr, "aue=raw"},
        {"amr-wb", numbers(7), "5", "3", "aue=amr-wb;3"},
        {"amr", numbers(7), "5", "0", "aue=amr;0"},
        {"amr-wb-fx", numbers(7), "5", "7", "aue=amr-wb-fx;7"},
        {"speex", numbers(10), "7", "10", "aue=speex;10"},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.encoding);
        pick(组合框_音频编码, row.encoding);
        EXPECT_EQ(window.itemTexts(组合框_压缩等级), row.levels);
        EXPECT_EQ(selected(组合框_压缩等级), row.defaultLevel);
        if (row.levelPick != nullptr) {
            pick(组合框_压缩等级, row.levelPick);
        }
        EXPECT_EQ(settings.buildSessionParams(), replace(kDefaultParams, "aue=speex;7", row.audio));
        EXPECT_TRUE(settings.isSynthesisComplete());
    }
}

TEST_F(SynthesisSettingsTest, RawNamesNoLevelWhateverTheLevelListHolds) {
    settings.fillOptionLists();
    pick(组合框_音频编码, "raw");
    // The level list is the program's to change; the text still names none.
    window.optionList(组合框_压缩等级).addItem("9");
    window.optionList(组合框_压缩等级).select(1);
    EXPECT_EQ(settings.buildSessionParams(),
              "ssm=1,ent=vivi21,vcn=viyping,spd=5,vol=10,ttp=text,tte=GB2312,bgs=0,aue=raw,"
              "auf=audio/L16;rate=16000");
}

TEST_F(SynthesisSettingsTest, PickingAnEngineOrEncodingAgainForgetsTheEarlierChoice) {
    settings.fillOptionLists();
    pick(组合框_发音人, lit::kXiaoyun);
    pick(组合框_引擎类型, lit::kEnglish);
    pick(组合框_发音人, lit::kHenry);
    pick(组合框_引擎类型, lit::kPersonal);
    EXPECT_EQ(selected(组合框_发音人), lit::kYanping);

    // Picking the engine already selected refills as well.
    pick(组合框_发音人, lit::kXiaoyun);
    pick(组合框_引擎类型, lit::kPersonal);
    EXPECT_EQ(selected(组合框_发音人), lit::kYanping);

    pick(组合框_压缩等级, "2");
    pick(组合框_音频编码, "amr");
    pick(组合框_音频编码, "speex");
    EXPECT_EQ(selected(组合框_压缩等级), "7");
    EXPECT_EQ(settings.buildSessionParams(), kDefaultParams);
}

TEST_F(SynthesisSettingsTest, DefaultsButtonResetsEveryListAndTheHourlySwitchOnly) {
    settings.fillOptionLists();
    pick(组合框_开始时间, "6:00");
    pick(组合框_结束时间, "22:00");
    pick(组合框_引擎类型, lit::kChinese);
    pick(组合框_发音人, lit::kXiaoyu);
    pick(组合框_语速, "9");
    pick(组合框_音量, "1");
    pick(组合框_文本类型, lit::kSsmlText);
    pick(组合框_文本编码, "UTF8");
    pick(组合框_背景音, "1");
    pick(组合框_音频编码, "raw");
    pick(组合框_音频格式, "audio/L16;rate=8000");
    ASSERT_EQ(settings.firstHour(), 6);
    ASSERT_EQ(settings.lastHour(), 22);
    ASSERT_EQ(settings.sampleRate(), 8000);
    ASSERT_TRUE(window.click(选择框_整点报时));  // unticks it
    ASSERT_TRUE(window.setUserTicked(选择框_半点报时, true));
    window.setTicked(选择框1, true);

    ASSERT_TRUE(window.click(按钮_恢复默认1));

    EXPECT_EQ(settings.firstHour(), 0);
    EXPECT_EQ(settings.lastHour(), 11);
    EXPECT_EQ(settings.sampleRate(), 16000);
    EXPECT_EQ(settings.buildSessionParams(), kDefaultParams);
    EXPECT_EQ(window.itemTexts(组合框_发音人), kPersonalVoices);
    EXPECT_EQ(window.itemTexts(组合框_压缩等级), numbers(10));
    EXPECT_TRUE(window.isTicked(选择框_整点报时));
    EXPECT_TRUE(window.isTicked(选择框_半点报时));
    EXPECT_TRUE(window.isTicked(选择框1));
}

TEST_F(SynthesisSettingsTest, ProgramSelectionsRaiseNothingWhileAUserPickRefills) {
    settings.fillOptionLists();
    settings.applyDefaults();
    selectByText(window.optionList(组合框_引擎类型), lit::kChinese);
    EXPECT_TRUE(reactions.picks.empty());
    // The engine changed by program, but no refill ran: the voices are still
    // the default engine's.
    EXPECT_EQ(window.itemTexts(组合框_发音人), kPersonalVoices);

    pick(组合框_引擎类型, lit::kChinese);
    EXPECT_EQ(reactions.picks, std::vector<ControlName>{组合框_引擎类型});
    EXPECT_EQ(window.itemTexts(组合框_发音人), (std::vector<Text>{lit::kXiaoyan, lit::kXiaoyu}));
}

TEST_F(SynthesisSettingsTest, IncompleteWithoutAVoiceOrALevel) {
    struct Case {
        const char* name;
        bool emptyVoices;
        bool emptyLevels;
        bool complete;
    };
    const Case cases[] = {
        {"both", false, false, true},
        {"no voice", true, false, false},
        {"no level", false, true, false},
        {"neither", true, true, false},
    };
    settings.fillOptionLists();
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        settings.applyDefaults();
        if (row.emptyVoices) {
            window.optionList(组合框_发音人).removeAllItems();
        }
        if (row.emptyLevels) {
            window.optionList(组合框_压缩等级).removeAllItems();
        }
        EXPECT_EQ(settings.isSynthesisComplete(), row.complete);
    }
}

TEST_F(SynthesisSettingsTest, BeforeAnyFillNothingIsSelectedAndNothingBreaks) {
    EXPECT_FALSE(settings.isSynthesisComplete());
    EXPECT_EQ(settings.firstHour(), -1);
    EXPECT_EQ(settings.lastHour(), -1);
    EXPECT_EQ(settings.sampleRate(), 16000);
    // No encoding selected is not "raw", so the separator stays, followed by
    // nothing.
    EXPECT_EQ(settings.buildSessionParams(), "ssm=1,ent=,vcn=,spd=,vol=,ttp=,tte=,bgs=,aue=;,auf=");
    settings.refillVoices();
    settings.refillCompressionLevels();
    EXPECT_EQ(window.optionList(组合框_发音人).itemCount(), 0);
    EXPECT_EQ(window.optionList(组合框_压缩等级).itemCount(), 0);
}

TEST_F(SynthesisSettingsTest, IndicesOutsideTheCodeTablesGiveEmptyCodes) {
    settings.fillOptionLists();
    // Lists the window would never hold: an extra engine and text type.
    OptionList& engines = window.optionList(组合框_引擎类型);
    engines.addItem("extra");
    engines.select(3);
    settings.refillVoices();
    OptionList& textTypes = window.optionList(组合框_文本类型);
    textTypes.addItem("extra");
    textTypes.select(2);
    EXPECT_EQ(settings.buildSessionParams(),
              "ssm=1,ent=,vcn=,spd=5,vol=10,ttp=,tte=GB2312,bgs=0,aue=speex;7,"
              "auf=audio/L16;rate=16000");

    // A voice index past the engine's voices.
    settings.applyDefaults();
    pick(组合框_引擎类型, lit::kEnglish);
    window.optionList(组合框_发音人).addItem("extra");
    window.optionList(组合框_发音人).select(2);
    EXPECT_EQ(settings.buildSessionParams(),
              replace(kDefaultParams, "ent=vivi21,vcn=viyping", "ent=intp65_en,vcn="));
}

TEST(SelectByTextTest, SelectsTheFirstItemBeginningWithTheTextIgnoringAsciiCase) {
    struct Case {
        const char* name;
        std::vector<Text> items;
        int before;
        Text prefix;
        int after;
    };
    const std::vector<Text> volumes = numbers(10);
    const std::vector<Text> encodings = {"raw", "amr", "amr-fx", "amr-wb", "speex", "speex-wb"};
    const Case cases[] = {
        {"1 is not 10", volumes, -1, "1", 1},
        {"10", volumes, -1, "10", 10},
        {"5", volumes, 3, "5", 5},
        {"speex not speex-wb", encodings, -1, "speex", 4},
        {"speex-wb", encodings, -1, "speex-wb", 5},
        {"upper case", encodings, -1, "SPEEX-WB", 5},
        {"prefix only", encodings, -1, "am", 1},
        {"hour 0", hourItems(), -1, "0", 0},
        {"hour 11", hourItems(), 4, "11", 11},
        {"no match keeps the selection", encodings, 2, "mp3", 2},
        {"longer than every item keeps it", encodings, 3, "speex-wb-extra", 3},
        {"no match on nothing selected", encodings, -1, "x", -1},
        {"empty list", {}, -1, "0", -1},
        {"engine", {lit::kChinese, lit::kEnglish, lit::kPersonal}, -1, lit::kPersonal, 2},
        {"half-width voice", {lit::kXiaoyan, lit::kXiaoyu}, -1, lit::kXiaoyan, 0},
        {"letters before a wide character", {lit::kCatherine, lit::kHenry}, -1, "HENRY", 1},
        // 0x81 0x41 and 0x81 0x61 are two different double-byte characters;
        // folding the trail byte would take one for the other.
        {"trail byte is not folded", {"\x81\x61", "\x81\x41"}, -1, "\x81\x41", 1},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        HeadlessWindow window;
        OptionList& list = window.optionList(组合框_音量);
        for (const Text& item : row.items) {
            list.addItem(item);
        }
        list.select(row.before);
        selectByText(list, row.prefix);
        EXPECT_EQ(list.selectedIndex(), row.after);
    }
}

TEST(SampleRateTest, FollowsTheAudioFormatSelection) {
    HeadlessWindow window;
    SynthesisSettings settings(window);
    settings.fillOptionLists();
    struct Case {
        int format;
        int rate;
    };
    for (const Case& row : {Case{0, 8000}, Case{1, 16000}}) {
        SCOPED_TRACE(row.format);
        window.optionList(组合框_音频格式).select(row.format);
        EXPECT_EQ(settings.sampleRate(), row.rate);
    }
}

}  // namespace
}  // namespace tarvane
