#pragma once

// Every control of the main window, by the name the window declaration gives
// it. The toolkit interface addresses controls by these names.
namespace tarvane {

enum class ControlName {
    编辑框1,
    分组框1,
    标签1,
    组合框_引擎类型,
    标签5,
    组合框_发音人,
    标签7,
    组合框_文本编码,
    标签8,
    组合框_背景音,
    标签6,
    组合框_文本类型,
    标签3,
    组合框_语速,
    标签10,
    组合框_音频格式,
    标签4,
    组合框_音量,
    标签9,
    组合框_音频编码,
    标签2,
    组合框_压缩等级,
    分组框2,
    透明标签1,
    组合框_开始时间,
    透明标签2,
    组合框_结束时间,
    选择框_整点报时,
    选择框_半点报时,
    按钮_恢复默认1,
    按钮_开始合成,
    按钮_停止,
    选择框1,
    状态条1,
    时钟1,
};

}  // namespace tarvane
