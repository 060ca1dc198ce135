#include "app/WindowDeclaration.h"

#include <algorithm>
#include <array>

#include "literals/default_template_literals.h"
#include "literals/window_literals.h"

namespace tarvane {
namespace {

using enum ControlKind;
using enum ControlName;
namespace lit = literals_window;

constexpr bool kEnabled = true;
constexpr bool kDisabled = false;
constexpr bool kShown = true;
constexpr bool kHidden = false;

// The window's client area is the parent when none is given.
constexpr std::optional<ControlName> kWindow = std::nullopt;

const std::array<ControlDeclaration, 35>& controls() {
    static const std::array<ControlDeclaration, 35> table = {{
        // name, identifier, kind, parent, left, top, width, height, text, enabled, visible
        {编辑框1, "编辑框1", EditBox, kWindow, 4, 7, 572, 185,
         literals_default_template::kDefaultTemplate, kEnabled, kShown},

        {分组框1, "分组框1", GroupBox, kWindow, 7, 202, 360, 158, lit::kSynthesisGroup, kEnabled,
         kShown},
        {标签1, "标签1", Label, 分组框1, 8, 24, 49, 13, lit::kEngineLabel, kEnabled, kShown},
        {组合框_引擎类型, "组合框_引擎类型", DropDownList, 分组框1, 61, 21, 114, 20, "", kEnabled,
         kShown},
        {标签5, "标签5", Label, 分组框1, 194, 27, 34, 13, lit::kVoiceLabel, kEnabled, kShown},
        {组合框_发音人, "组合框_发音人", DropDownList, 分组框1, 237, 24, 114, 20, "", kEnabled,
         kShown},
        {标签7, "标签7", Label, 分组框1, 8, 50, 49, 13, lit::kTextEncodingLabel, kEnabled, kShown},
        {组合框_文本编码, "组合框_文本编码", DropDownList, 分组框1, 61, 47, 114, 20, "", kEnabled,
         kShown},
        {标签8, "标签8", Label, 分组框1, 194, 52, 34, 13, lit::kBackgroundSoundLabel, kEnabled,
         kShown},
        {组合框_背景音, "组合框_背景音", DropDownList, 分组框1, 237, 49, 114, 20, "", kEnabled,
         kShown},
        {标签6, "标签6", Label, 分组框1, 8, 76, 49, 13, lit::kTextTypeLabel, kEnabled, kShown},
        {组合框_文本类型, "组合框_文本类型", DropDownList, 分组框1, 61, 73, 114, 20, "", kEnabled,
         kShown},
        {标签3, "标签3", Label, 分组框1, 194, 77, 34, 13, lit::kSpeedLabel, kEnabled, kShown},
        {组合框_语速, "组合框_语速", DropDownList, 分组框1, 237, 74, 114, 20, "", kEnabled, kShown},
        {标签10, "标签10", Label, 分组框1, 8, 102, 49, 13, lit::kAudioFormatLabel, kEnabled,
         kShown},
        {组合框_音频格式, "组合框_音频格式", DropDownList, 分组框1, 61, 99, 114, 20, "", kEnabled,
         kShown},
        {标签4, "标签4", Label, 分组框1, 194, 102, 34, 13, lit::kVolumeLabel, kEnabled, kShown},
        {组合框_音量, "组合框_音量", DropDownList, 分组框1, 237, 99, 114, 20, "", kEnabled, kShown},
        {标签9, "标签9", Label, 分组框1, 8, 129, 49, 13, lit::kAudioEncodingLabel, kEnabled,
         kShown},
        {组合框_音频编码, "组合框_音频编码", DropDownList, 分组框1, 61, 126, 114, 20, "", kEnabled,
         kShown},
        {标签2, "标签2", Label, 分组框1, 184, 129, 49, 13, lit::kCompressionLevelLabel, kEnabled,
         kShown},
        {组合框_压缩等级, "组合框_压缩等级", DropDownList, 分组框1, 237, 126, 114, 20, "", kEnabled,
         kShown},

        // The schedule group. Most of its controls are children of the window
        // whose rectangles lie inside the group's frame and are drawn above
        // it, so the user sees them as part of the group.
        {分组框2, "分组框2", GroupBox, kWindow, 376, 203, 200, 157, lit::kScheduleGroup, kEnabled,
         kShown},
        {透明标签1, "透明标签1", TransparentLabel, kWindow, 386, 221, 62, 32, lit::kFirstHourLabel,
         kEnabled, kShown},
        {组合框_开始时间, "组合框_开始时间", DropDownList, kWindow, 448, 227, 114, 20, "", kEnabled,
         kShown},
        {透明标签2, "透明标签2", TransparentLabel, kWindow, 386, 249, 62, 32, lit::kLastHourLabel,
         kEnabled, kShown},
        {组合框_结束时间, "组合框_结束时间", DropDownList, kWindow, 448, 255, 114, 20, "", kEnabled,
         kShown},
        {选择框_整点报时, "选择框_整点报时", CheckBox, 分组框2, 13, 75, 74, 24, lit::kHourlySwitch,
         kEnabled, kShown},
        {选择框_半点报时, "选择框_半点报时", CheckBox, kWindow, 480, 278, 74, 24,
         lit::kHalfHourSwitch, kEnabled, kShown},
        {按钮_恢复默认1, "按钮_恢复默认1", PushButton, 分组框2, 5, 130, 72, 22,
         lit::kDefaultsButton, kEnabled, kShown},
        {按钮_开始合成, "按钮_开始合成", PushButton, kWindow, 382, 307, 72, 24, lit::kStartButton,
         kEnabled, kShown},
        {按钮_停止, "按钮_停止", PushButton, kWindow, 486, 305, 72, 24, lit::kStopButton, kDisabled,
         kShown},
        // Never shown, so it stays unticked for the whole run.
        {选择框1, "选择框1", CheckBox, kWindow, 478, 328, 93, 16, lit::kSaveWavSwitch, kEnabled,
         kHidden},

        {状态条1, "状态条1", StatusBar, kWindow, 0, 368, 580, 20, "", kEnabled, kShown},
        // The timer has no place on the screen; it starts disarmed.
        {时钟1, "时钟1", Timer, kWindow, 0, 0, 0, 0, "", kEnabled, kHidden},
    }};
    return table;
}

const std::array<Text, 3>& trayMenuItems() {
    static const std::array<Text, 3> items = {lit::kTrayMenuShow, lit::kTrayMenuHide,
                                              lit::kTrayMenuExit};
    return items;
}

}  // namespace

const WindowDeclaration& mainWindowDeclaration() {
    static const WindowDeclaration declaration = {
        .caption = lit::kCaption,
        .outerWidth = 586,
        .outerHeight = 411,
        .controls = controls(),
        .trayMenuTitle = lit::kTrayMenuTitle,
        .trayMenuItems = trayMenuItems(),
    };
    return declaration;
}

const ControlDeclaration& controlDeclaration(ControlName name) {
    const auto& table = controls();
    // Every ControlName is declared exactly once; the declaration test holds
    // that true.
    return *std::find_if(table.begin(), table.end(), [name](const ControlDeclaration& control) {
        return control.name == name;
    });
}

const Text& defaultTemplate() {
    return controlDeclaration(ControlName::编辑框1).text;
}

Text shownTrayTip(const Text& tip) {
    if (length(tip) <= kTrayTipShownBytes) {
        return tip;
    }
    // Walk characters from the start: a lead byte at the last kept place
    // would belong to a character cut in half.
    int kept = 0;
    while (kept < kTrayTipShownBytes) {
        const bool doubleByte = static_cast<unsigned char>(tip[kept]) >= 0x80;
        const int width = doubleByte ? 2 : 1;
        if (kept + width > kTrayTipShownBytes) {
            break;
        }
        kept += width;
    }
    return left(tip, kept);
}

}  // namespace tarvane
