#include "app/WindowDeclaration.h"

#include <gtest/gtest.h>

#include <set>

#include "literals/settings_test_literals.h"

namespace tarvane {
namespace {

using enum ControlKind;
using enum ControlName;
namespace lit = literals_settings_test;

struct ExpectedControl {
    ControlName name;
    ControlKind kind;
    std::optional<ControlName> parent;
    int left, top, width, height;
    const char* text;
    bool enabled;
    bool visible;
};

constexpr std::optional<ControlName> kWindow;

// The window as the user sees it, in creation order, parents first.
const ExpectedControl kControls[] = {
    {编辑框1, EditBox, kWindow, 4, 7, 572, 185, nullptr, true, true},
    {分组框1, GroupBox, kWindow, 7, 202, 360, 158, lit::kSynthesisGroup, true, true},
    {标签1, Label, 分组框1, 8, 24, 49, 13, lit::kEngineLabel, true, true},
    {组合框_引擎类型, DropDownList, 分组框1, 61, 21, 114, 20, "", true, true},
    {标签5, Label, 分组框1, 194, 27, 34, 13, lit::kVoiceLabel, true, true},
    {组合框_发音人, DropDownList, 分组框1, 237, 24, 114, 20, "", true, true},
    {标签7, Label, 分组框1, 8, 50, 49, 13, lit::kTextEncodingLabel, true, true},
    {组合框_文本编码, DropDownList, 分组框1, 61, 47, 114, 20, "", true, true},
    {标签8, Label, 分组框1, 194, 52, 34, 13, lit::kBackgroundLabel, true, true},
    {组合框_背景音, DropDownList, 分组框1, 237, 49, 114, 20, "", true, true},
    {标签6, Label, 分组框1, 8, 76, 49, 13, lit::kTextTypeLabel, true, true},
    {组合框_文本类型, DropDownList, 分组框1, 61, 73, 114, 20, "", true, true},
    {标签3, Label, 分组框1, 194, 77, 34, 13, lit::kSpeedLabel, true, true},
    {组合框_语速, DropDownList, 分组框1, 237, 74, 114, 20, "", true, true},
    {标签10, Label, 分组框1, 8, 102, 49, 13, lit::kAudioFormatLabel, true, true},
    {组合框_音频格式, DropDownList, 分组框1, 61, 99, 114, 20, "", true, true},
    {标签4, Label, 分组框1, 194, 102, 34, 13, lit::kVolumeLabel, true, true},
    {组合框_音量, DropDownList, 分组框1, 237, 99, 114, 20, "", true, true},
    {标签9, Label, 分组框1, 8, 129, 49, 13, lit::kAudioEncodingLabel, true, true},
    {组合框_音频编码, DropDownList, 分组框1, 61, 126, 114, 20, "", true, true},
    {标签2, Label, 分组框1, 184, 129, 49, 13, lit::kLevelLabel, true, true},
    {组合框_压缩等级, DropDownList, 分组框1, 237, 126, 114, 20, "", true, true},
    {分组框2, GroupBox, kWindow, 376, 203, 200, 157, lit::kScheduleGroup, true, true},
    {透明标签1, TransparentLabel, kWindow, 386, 221, 62, 32, lit::kFirstHourLabel, true, true},
    {组合框_开始时间, DropDownList, kWindow, 448, 227, 114, 20, "", true, true},
    {透明标签2, TransparentLabel, kWindow, 386, 249, 62, 32, lit::kLastHourLabel, true, true},
    {组合框_结束时间, DropDownList, kWindow, 448, 255, 114, 20, "", true, true},
    {选择框_整点报时, CheckBox, 分组框2, 13, 75, 74, 24, lit::kHourly, true, true},
    {选择框_半点报时, CheckBox, kWindow, 480, 278, 74, 24, lit::kHalfHour, true, true},
    {按钮_恢复默认1, PushButton, 分组框2, 5, 130, 72, 22, lit::kDefaults, true, true},
    {按钮_开始合成, PushButton, kWindow, 382, 307, 72, 24, lit::kStart, true, true},
    {按钮_停止, PushButton, kWindow, 486, 305, 72, 24, lit::kStop, false, true},
    {选择框1, CheckBox, kWindow, 478, 328, 93, 16, lit::kSaveWav, true, false},
    {状态条1, StatusBar, kWindow, 0, 368, 580, 20, "", true, true},
    {时钟1, Timer, kWindow, 0, 0, 0, 0, "", true, false},
};

TEST(WindowDeclarationTest, DeclaresEveryControlWithPlaceSizeTextAndLoadState) {
    const WindowDeclaration& window = mainWindowDeclaration();
    ASSERT_EQ(window.controls.size(), std::size(kControls));
    for (std::size_t i = 0; i < std::size(kControls); ++i) {
        const ExpectedControl& expected = kControls[i];
        const ControlDeclaration& actual = window.controls[i];
        SCOPED_TRACE(actual.identifier);
        EXPECT_EQ(actual.name, expected.name);
        EXPECT_EQ(actual.kind, expected.kind);
        EXPECT_EQ(actual.parent, expected.parent);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.width, expected.width);
        EXPECT_EQ(actual.height, expected.height);
        if (expected.text != nullptr) {
            EXPECT_EQ(actual.text, expected.text);
        }
        EXPECT_EQ(actual.enabledAtLoad, expected.enabled);
        EXPECT_EQ(actual.visibleAtLoad, expected.visible);
        EXPECT_EQ(&controlDeclaration(expected.name), &actual);
    }
}

TEST(WindowDeclarationTest, DeclaresEachControlNameOnceWithParentsBeforeChildren) {
    std::set<ControlName> seen;
    for (const ControlDeclaration& control : mainWindowDeclaration().controls) {
        SCOPED_TRACE(control.identifier);
        if (control.parent) {
            EXPECT_TRUE(seen.contains(*control.parent));
            EXPECT_EQ(controlDeclaration(*control.parent).kind, GroupBox);
        }
        EXPECT_TRUE(seen.insert(control.name).second);
    }
    // The last enumerator is 时钟1: every name from the first to it is declared.
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(时钟1) + 1);
}

TEST(WindowDeclarationTest, DeclaresCaptionSizeAndTrayMenu) {
    const WindowDeclaration& window = mainWindowDeclaration();
    EXPECT_EQ(window.caption, lit::kCaption);
    EXPECT_EQ(window.outerWidth, 586);
    EXPECT_EQ(window.outerHeight, 411);
    EXPECT_EQ(window.trayMenuTitle, lit::kTrayMenu);
    ASSERT_EQ(window.trayMenuItems.size(), 3u);
    EXPECT_EQ(window.trayMenuItems[0], lit::kShow);
    EXPECT_EQ(window.trayMenuItems[1], lit::kHide);
    EXPECT_EQ(window.trayMenuItems[2], lit::kExit);
}

TEST(WindowDeclarationTest, DefaultTemplateIsOneParagraphOf241BytesWithoutPlaceholders) {
    const Text& text = defaultTemplate();
    EXPECT_EQ(controlDeclaration(编辑框1).text, text);
    EXPECT_EQ(length(text), 241);
    EXPECT_EQ(find(text, "[time]", 1, CaseRule::IgnoreAsciiCase), kNotFound);
    EXPECT_EQ(find(text, "[tq]", 1, CaseRule::IgnoreAsciiCase), kNotFound);
    EXPECT_EQ(text.find_first_of("\r\n"), Text::npos);
    // The sample time is spoken as written: afternoon, 15 o'clock sharp.
    // "下午15点整"
    EXPECT_NE(find(text,
                   "\xCF\xC2\xCE\xE7"
                   "15\xB5\xE3\xD5\xFB"),
              kNotFound);
}

TEST(WindowDeclarationTest, TrayTipShowsAtMostSixtyTwoBytesAndNoHalfCharacter) {
    const Text ascii62(62, 'a');
    // "托" in code page 936.
    const Text wide = "\xCD\xD0";
    struct Case {
        const char* name;
        Text tip;
        Text shown;
    };
    const Case cases[] = {
        {"short", "tip", "tip"},
        {"empty", "", ""},
        {"exactly 62", ascii62, ascii62},
        {"63 plain bytes", ascii62 + "b", ascii62},
        {"character ends at 62", Text(60, 'a') + wide + "bc", Text(60, 'a') + wide},
        {"character across the cut", Text(61, 'a') + wide + "b", Text(61, 'a')},
        {"all double-byte", wide + Text(61, 'x') + wide, wide + Text(60, 'x')},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(shownTrayTip(row.tip), row.shown);
    }
}

}  // namespace
}  // namespace tarvane
