// The Qt window on Qt's offscreen platform: the window as declared, the
// events it raises and does not raise, the timer rules, the tray and the
// keys the window reacts to.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/WindowDeclaration.h"
#include "platform/codepage/IconvCodePage.h"
#include "platform/qt/PeriodicTimer.h"
#include "platform/qt/QtToolkit.h"
#include "platform/qt/QtTray.h"

namespace tarvane {
namespace {

using namespace std::chrono_literals;

// One QApplication for the whole test program, on the offscreen platform.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        m_application = std::make_unique<QApplication>(m_argc, m_argv.data());
    }
    void TearDown() override { m_application.reset(); }

private:
    int m_argc = 1;
    char m_name[16] = "platform_qt";
    std::vector<char*> m_argv{m_name, nullptr};
    std::unique_ptr<QApplication> m_application;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// Every event the window raises, in order, as readable words.
class RecordingEvents : public WindowEvents {
public:
    void onWindowCreated() override {
        record("created");
        if (m_onCreated) {
            m_onCreated();
        }
    }
    void onCloseRequested() override { record("close"); }
    void onWindowMoved() override { record("moved"); }
    void onTrayAction(TrayAction action) override {
        switch (action) {
            case TrayAction::LeftClick:
                record("tray:LeftClick");
                break;
            case TrayAction::LeftDoubleClick:
                record("tray:LeftDoubleClick");
                break;
            case TrayAction::RightClick:
                record("tray:RightClick");
                break;
        }
    }
    void onTimerTick() override { record("tick"); }
    void onItemPicked(ControlName list) override {
        record("picked:" + std::string(controlDeclaration(list).identifier));
    }
    void onClicked(ControlName button) override {
        record("clicked:" + std::string(controlDeclaration(button).identifier));
    }
    void onTrayMenuSelected(TrayMenuItem item) override {
        switch (item) {
            case TrayMenuItem::Show:
                record("menu:Show");
                break;
            case TrayMenuItem::Hide:
                record("menu:Hide");
                break;
            case TrayMenuItem::Exit:
                record("menu:Exit");
                break;
        }
    }

    void record(std::string event) { m_events.push_back(std::move(event)); }
    [[nodiscard]] const std::vector<std::string>& events() const { return m_events; }
    // The events other than the window's own moves, which the platform
    // raises on its own schedule.
    [[nodiscard]] std::vector<std::string> eventsBesidesMoves() const {
        std::vector<std::string> kept;
        for (const std::string& event : m_events) {
            if (event != "moved") {
                kept.push_back(event);
            }
        }
        return kept;
    }
    [[nodiscard]] int count(const std::string& event) const {
        return static_cast<int>(std::count(m_events.begin(), m_events.end(), event));
    }
    void clear() { m_events.clear(); }
    void onCreated(std::function<void()> action) { m_onCreated = std::move(action); }

private:
    std::vector<std::string> m_events;
    std::function<void()> m_onCreated;
};

QIcon testIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::blue);
    return QIcon(pixmap);
}

class QtToolkitTest : public ::testing::Test {
protected:
    QtToolkitTest() : m_toolkit(mainWindowDeclaration(), m_codePage, testIcon()) {}

    ~QtToolkitTest() override {
        // Leave nothing behind for the next test: no open pop-up or box.
        while (QWidget* modal = QApplication::activeModalWidget()) {
            modal->close();
        }
    }

    Text gbk(const char* utf8) const { return m_codePage.utf8ToGbk(utf8); }

    template <typename Widget>
    Widget& widgetOf(ControlName name) {
        auto* widget = qobject_cast<Widget*>(m_toolkit.widget(name));
        if (widget == nullptr) {
            throw std::logic_error("control of an unexpected kind");
        }
        return *widget;
    }

    void load() {
        m_toolkit.load(m_events);
        QCoreApplication::processEvents();
    }

    IconvCodePage m_codePage;
    RecordingEvents m_events;
    QtToolkit m_toolkit;
};

TEST_F(QtToolkitTest, EveryControlSitsAtItsDeclaredPlaceWithItsText) {
    for (const ControlDeclaration& declared : mainWindowDeclaration().controls) {
        SCOPED_TRACE(declared.identifier);
        QWidget* widget = m_toolkit.widget(declared.name);
        if (declared.kind == ControlKind::Timer) {
            EXPECT_EQ(widget, nullptr);
            continue;
        }
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(),
                  QRect(declared.left, declared.top, declared.width, declared.height));
        QWidget* expectedParent =
            declared.parent ? m_toolkit.widget(*declared.parent) : &m_toolkit.window();
        EXPECT_EQ(widget->parentWidget(), expectedParent);
        EXPECT_EQ(widget->isEnabled(), declared.enabledAtLoad);
        EXPECT_EQ(!widget->isHidden(), declared.visibleAtLoad);

        const QString text = QString::fromStdString(m_codePage.gbkToUtf8(declared.text));
        switch (declared.kind) {
            case ControlKind::EditBox:
                EXPECT_EQ(qobject_cast<QPlainTextEdit*>(widget)->toPlainText(), text);
                break;
            case ControlKind::GroupBox:
                EXPECT_EQ(qobject_cast<QGroupBox*>(widget)->title(), text);
                break;
            case ControlKind::Label:
            case ControlKind::TransparentLabel:
                EXPECT_EQ(qobject_cast<QLabel*>(widget)->text(), text);
                EXPECT_FALSE(widget->autoFillBackground());
                break;
            case ControlKind::DropDownList: {
                auto* box = qobject_cast<QComboBox*>(widget);
                ASSERT_NE(box, nullptr);
                EXPECT_FALSE(box->isEditable());
                EXPECT_EQ(box->count(), 0);
                EXPECT_EQ(box->currentIndex(), -1);
                break;
            }
            case ControlKind::CheckBox:
                EXPECT_EQ(qobject_cast<QCheckBox*>(widget)->text(), text);
                EXPECT_FALSE(qobject_cast<QCheckBox*>(widget)->isChecked());
                break;
            case ControlKind::PushButton:
                EXPECT_EQ(qobject_cast<QPushButton*>(widget)->text(), text);
                break;
            case ControlKind::StatusBar:
                ASSERT_NE(qobject_cast<QStatusBar*>(widget), nullptr);
                EXPECT_EQ(m_toolkit.statusPaneText(), QString());
                break;
            case ControlKind::Timer:
                break;
        }
    }
    EXPECT_EQ(m_toolkit.timerPeriod(), 0);
}

TEST_F(QtToolkitTest, WindowHasItsCaptionFixedSizeAndOnlyCloseAndMinimiseBoxes) {
    QWidget& window = m_toolkit.window();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tarvane整点报时系统"));
    // The client area ends with the status bar along its bottom.
    EXPECT_EQ(window.size(), QSize(580, 388));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window.findChildren<QMenuBar*>().size(), 0);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(QtToolkitTest, ChineseTextsGetAChineseFont) {
    ASSERT_TRUE(QFontDatabase::families().contains(QStringLiteral("WenQuanYi Micro Hei")))
        << "fonts-wqy-microhei is not installed";
    const QFontInfo shown(m_toolkit.widget(ControlName::标签1)->font());
    EXPECT_EQ(shown.family(), QStringLiteral("WenQuanYi Micro Hei"));
}

TEST_F(QtToolkitTest, LoadRaisesCreatedBeforeShowingTheWindowCentred) {
    bool visibleDuringCreated = true;
    m_events.onCreated([&] { visibleDuringCreated = m_toolkit.window().isVisible(); });
    load();

    EXPECT_FALSE(visibleDuringCreated);
    EXPECT_EQ(m_events.eventsBesidesMoves(), std::vector<std::string>{"created"});
    EXPECT_TRUE(m_toolkit.isVisible());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // Whole pixels, the half pixel dropped.
    EXPECT_EQ(m_toolkit.window().pos(),
              QPoint((screen.width() - 586) / 2, (screen.height() - 411) / 2));
    EXPECT_EQ(m_toolkit.placement(), WindowPlacement::Normal);
}

TEST_F(QtToolkitTest, OptionListKeepsNoSelectionUntilTheProgramSelects) {
    OptionList& list = m_toolkit.optionList(ControlName::组合框_发音人);
    list.addItem(gbk("小燕"));
    list.addItem("xiaoyu");
    list.insertItem(0, gbk("凯瑟琳"));

    EXPECT_EQ(list.itemCount(), 3);
    EXPECT_EQ(list.selectedIndex(), -1);
    EXPECT_EQ(list.itemTextAt(0), gbk("凯瑟琳"));
    EXPECT_EQ(list.itemTextAt(2), "xiaoyu");
    EXPECT_EQ(list.itemTextAt(-1), "");
    EXPECT_EQ(list.itemTextAt(3), "");
    EXPECT_EQ(widgetOf<QComboBox>(ControlName::组合框_发音人).itemText(1), QStringLiteral("小燕"));

    list.select(5);
    EXPECT_EQ(list.selectedIndex(), -1);
    list.select(1);
    EXPECT_EQ(list.selectedIndex(), 1);
    list.insertItem(0, "first");
    EXPECT_EQ(list.itemTextAt(list.selectedIndex()), gbk("小燕"));

    list.removeAllItems();
    EXPECT_EQ(list.itemCount(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST_F(QtToolkitTest, ProgramChangesRaiseNothing) {
    load();
    m_events.clear();

    OptionList& engines = m_toolkit.optionList(ControlName::组合框_引擎类型);
    engines.addItem("intp65");
    engines.addItem("intp65_en");
    engines.select(1);
    engines.select(0);
    m_toolkit.setTicked(ControlName::选择框_整点报时, true);
    m_toolkit.setEnabled(ControlName::按钮_停止, true);
    m_toolkit.setStatusText(gbk("已成功连接服务器"));
    QCoreApplication::processEvents();

    EXPECT_EQ(m_events.eventsBesidesMoves(), std::vector<std::string>{});
    EXPECT_TRUE(m_toolkit.isTicked(ControlName::选择框_整点报时));
    EXPECT_TRUE(m_toolkit.isEnabled(ControlName::按钮_停止));
    EXPECT_EQ(m_toolkit.statusPaneText(), QStringLiteral("已成功连接服务器"));
}

TEST_F(QtToolkitTest, UserPicksRaiseItemPickedAfterTheSelectionChanged) {
    load();
    OptionList& encodings = m_toolkit.optionList(ControlName::组合框_音频编码);
    encodings.addItem("raw");
    encodings.addItem("speex");
    encodings.addItem("speex-wb");
    encodings.select(0);
    int selectionSeen = -2;
    auto& box = widgetOf<QComboBox>(ControlName::组合框_音频编码);
    QObject::connect(&box, &QComboBox::activated, &box,
                     [&](int) { selectionSeen = encodings.selectedIndex(); });
    m_events.clear();

    // By keyboard on the closed list.
    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Down);
    EXPECT_EQ(encodings.selectedIndex(), 1);
    EXPECT_EQ(selectionSeen, 1);

    // By mouse in the open list.
    box.showPopup();
    auto* view = box.view();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }, 2000));
    const QRect itemRect = view->visualRect(box.model()->index(2, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, itemRect.center());
    EXPECT_EQ(encodings.selectedIndex(), 2);
    EXPECT_EQ(m_events.eventsBesidesMoves(),
              (std::vector<std::string>{"picked:组合框_音频编码", "picked:组合框_音频编码"}));
}

TEST_F(QtToolkitTest, ButtonClicksRaiseClickedOnlyWhileEnabled) {
    load();
    m_events.clear();
    QTest::mouseClick(&widgetOf<QPushButton>(ControlName::按钮_开始合成), Qt::LeftButton);
    QTest::mouseClick(&widgetOf<QPushButton>(ControlName::按钮_停止), Qt::LeftButton);
    QTest::mouseClick(&widgetOf<QCheckBox>(ControlName::选择框_半点报时), Qt::LeftButton);

    EXPECT_EQ(m_events.eventsBesidesMoves(), std::vector<std::string>{"clicked:按钮_开始合成"});
    EXPECT_TRUE(m_toolkit.isTicked(ControlName::选择框_半点报时));
}

TEST_F(QtToolkitTest, EscInAnyControlClosesTheWindowLikeTheCloseBox) {
    const ControlName focused[] = {ControlName::编辑框1, ControlName::组合框_引擎类型,
                                   ControlName::选择框_整点报时, ControlName::按钮_开始合成};
    for (ControlName name : focused) {
        SCOPED_TRACE(controlDeclaration(name).identifier);
        RecordingEvents events;
        QtToolkit toolkit(mainWindowDeclaration(), m_codePage, testIcon());
        toolkit.load(events);
        toolkit.window().activateWindow();
        QWidget* target = toolkit.widget(name);
        target->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return target->hasFocus(); }, 2000));

        QTest::keyClick(target, Qt::Key_Escape);

        EXPECT_EQ(events.count("close"), 1);
        EXPECT_FALSE(toolkit.isVisible());
    }
}

TEST_F(QtToolkitTest, EnterInTheEditBoxInsertsALineBreakAndTextComesWithCrLf) {
    load();
    auto& edit = widgetOf<QPlainTextEdit>(ControlName::编辑框1);
    edit.setPlainText(QStringLiteral("整点报时"));
    edit.activateWindow();
    edit.setFocus();
    edit.moveCursor(QTextCursor::End);
    m_events.clear();

    QTest::keyClick(&edit, Qt::Key_Return);
    QTest::keyClicks(&edit, QStringLiteral("ok"));

    EXPECT_EQ(m_toolkit.editText(), gbk("整点报时") + "\r\nok");
    EXPECT_EQ(m_events.count("close"), 0);
    EXPECT_TRUE(m_toolkit.isVisible());
}

TEST_F(QtToolkitTest, TimerTicksReachTheEventsAndStopWhenDisarmed) {
    load();
    m_events.clear();
    m_toolkit.setTimerPeriod(20);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_events.count("tick") >= 2; }, 5000));

    m_toolkit.setTimerPeriod(-5);
    EXPECT_EQ(m_toolkit.timerPeriod(), 0);
    const int ticks = m_events.count("tick");
    QTest::qWait(100);
    EXPECT_EQ(m_events.count("tick"), ticks);
}

// The rules of the period, watched through the time left to the next tick.
class PeriodicTimerTest : public ::testing::Test {
protected:
    PeriodicTimer m_timer{[this] { ++m_ticks; }};
    int m_ticks = 0;
};

TEST_F(PeriodicTimerTest, TheSamePeriodAgainDoesNotRestartTheCount) {
    m_timer.setPeriod(1000);
    std::this_thread::sleep_for(300ms);
    m_timer.setPeriod(1000);
    EXPECT_LE(m_timer.remainingTime(), 750);
    EXPECT_EQ(m_timer.period(), 1000);
}

TEST_F(PeriodicTimerTest, ADifferentPeriodRestartsTheCountFromNow) {
    m_timer.setPeriod(1000);
    std::this_thread::sleep_for(300ms);
    m_timer.setPeriod(900);
    EXPECT_GT(m_timer.remainingTime(), 750);
}

TEST_F(PeriodicTimerTest, ZeroOrLessDisarmsAndALaterPeriodCountsAFullPeriodAgain) {
    const int disarming[] = {0, -1, -1000};
    for (int period : disarming) {
        SCOPED_TRACE(period);
        m_timer.setPeriod(1000);
        std::this_thread::sleep_for(300ms);
        m_timer.setPeriod(period);
        EXPECT_EQ(m_timer.period(), 0);
        EXPECT_FALSE(m_timer.isArmed());
        EXPECT_EQ(m_timer.remainingTime(), -1);

        m_timer.setPeriod(1000);
        EXPECT_GT(m_timer.remainingTime(), 900);
        m_timer.setPeriod(0);
    }
}

TEST_F(PeriodicTimerTest, TicksMissedWhileTheThreadIsBusyComeAsOne) {
    m_timer.setPeriod(20);
    // Ten periods pass without the event loop running.
    std::this_thread::sleep_for(200ms);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_ticks, 1);
    // The next one is a full period away, not a backlog.
    EXPECT_GT(m_timer.remainingTime(), 5);
}

TEST_F(QtToolkitTest, TrayTipShowsAtMostItsFirst62Bytes) {
    struct Case {
        const char* name;
        Text tip;
        QString shown;
    };
    const std::string sixty(60, 'a');
    const Case cases[] = {
        {"the program's tip", gbk("托盘提示！"), QStringLiteral("托盘提示！")},
        {"exactly 62 bytes", Text(62, 'b'), QString(62, QChar('b'))},
        {"63 ASCII bytes", Text(63, 'c'), QString(62, QChar('c'))},
        {"a character ending at byte 62", sixty + gbk("报时"),
         QString::fromStdString(sixty) + QStringLiteral("报")},
        // Byte 62 would be the first half of 时: the whole character goes.
        {"a character across byte 62", Text(61, 'd') + gbk("时钟"), QString(61, QChar('d'))},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.name);
        m_toolkit.setTrayIcon(row.tip);
        EXPECT_TRUE(m_toolkit.tray().isShown());
        EXPECT_EQ(m_toolkit.tray().icon().toolTip(), row.shown);
    }
}

TEST_F(QtToolkitTest, TrayActivationsBecomeTrayActions) {
    load();
    m_toolkit.setTrayIcon(gbk("托盘提示！"));
    m_events.clear();
    QSystemTrayIcon& icon = m_toolkit.tray().icon();

    emit icon.activated(QSystemTrayIcon::Context);
    emit icon.activated(QSystemTrayIcon::MiddleClick);
    // A double-click: the first press, then the double-click itself.
    emit icon.activated(QSystemTrayIcon::Trigger);
    emit icon.activated(QSystemTrayIcon::DoubleClick);

    EXPECT_EQ(m_events.eventsBesidesMoves(),
              (std::vector<std::string>{"tray:RightClick", "tray:LeftClick", "tray:LeftDoubleClick",
                                        "tray:LeftClick"}));
}

TEST_F(QtToolkitTest, TrayMenuOpensLeftOfAndAboveThePointerAndReportsThePickAfterwards) {
    load();
    const QPoint pointer(500, 400);
    QCursor::setPos(pointer);
    QStringList itemTexts;
    QRect menuPlace;
    QMenu& menu = m_toolkit.tray().menu();
    QTimer::singleShot(50, [&] {
        for (QAction* action : menu.actions()) {
            itemTexts << action->text();
        }
        menuPlace = menu.geometry();
        QAction* hide = menu.actions().at(1);
        QTest::mouseClick(&menu, Qt::LeftButton, {}, menu.actionGeometry(hide).center());
    });
    // Should the click not land, the test fails instead of waiting forever.
    QTimer::singleShot(3000, &menu, &QMenu::close);
    m_events.clear();

    m_toolkit.popUpTrayMenu();

    EXPECT_EQ(itemTexts, (QStringList{QStringLiteral("显示"), QStringLiteral("隐藏"),
                                      QStringLiteral("关闭")}));
    EXPECT_EQ(menuPlace.x() + menuPlace.width(), pointer.x() - 5);
    EXPECT_EQ(menuPlace.y(), pointer.y() - 5);
    EXPECT_EQ(m_events.eventsBesidesMoves(), std::vector<std::string>{});
    QCoreApplication::processEvents();
    EXPECT_EQ(m_events.eventsBesidesMoves(), std::vector<std::string>{"menu:Hide"});
}

TEST_F(QtToolkitTest, TrayMenuClosedWithoutAPickReportsNothing) {
    load();
    QMenu& menu = m_toolkit.tray().menu();
    QTimer::singleShot(50, [&] { menu.close(); });
    m_events.clear();
    m_toolkit.popUpTrayMenu();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_events.eventsBesidesMoves(), std::vector<std::string>{});
}

TEST_F(QtToolkitTest, RestoreAndCentreBringsAMovedOrMinimisedWindowBackToTheCentre) {
    load();
    const QPoint centre = m_toolkit.centredPlace();

    m_toolkit.window().move(10, 20);
    m_toolkit.restoreAndCentre();
    EXPECT_EQ(m_toolkit.window().pos(), centre);

    m_toolkit.window().showMinimized();
    EXPECT_EQ(m_toolkit.placement(), WindowPlacement::Minimised);
    EXPECT_TRUE(m_toolkit.isVisible());
    m_toolkit.restoreAndCentre();
    EXPECT_EQ(m_toolkit.placement(), WindowPlacement::Normal);
    EXPECT_EQ(m_toolkit.window().pos(), centre);
}

TEST_F(QtToolkitTest, RestoreAndCentreLeavesAHiddenWindowAlone) {
    load();
    m_toolkit.window().move(10, 20);
    m_toolkit.setVisible(false);
    m_toolkit.restoreAndCentre();
    EXPECT_FALSE(m_toolkit.isVisible());
    EXPECT_EQ(m_toolkit.window().pos(), QPoint(10, 20));
}

TEST_F(QtToolkitTest, MinimisingRaisesMovedOnceTheNewPlacementHolds) {
    load();
    m_events.clear();
    m_toolkit.window().showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_events.count("moved") > 0; }, 2000));
    EXPECT_EQ(m_toolkit.placement(), WindowPlacement::Minimised);
}

TEST_F(QtToolkitTest, MessageBoxIsAModalWarningWithOneOkButton) {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget* owner = &m_toolkit.window();
    QTimer::singleShot(50, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        modality = box->windowModality();
        owner = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });

    m_toolkit.showMessageBox(gbk("整点报时或半点报时必须选择一项"), gbk("错误"));

    EXPECT_EQ(title, QStringLiteral("错误"));
    EXPECT_EQ(text, QStringLiteral("整点报时或半点报时必须选择一项"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QMessageBox::Ok);
    EXPECT_EQ(modality, Qt::ApplicationModal);
    EXPECT_EQ(owner, nullptr);
}

TEST_F(QtToolkitTest, DestroyingTheWindowRaisesNoCloseAndTakesTheTrayAndTimerAlong) {
    load();
    m_toolkit.setTrayIcon(gbk("托盘提示！"));
    m_toolkit.setTimerPeriod(20);
    m_events.clear();

    m_toolkit.destroyWindow();
    QTest::qWait(100);

    EXPECT_EQ(m_events.events(), std::vector<std::string>{});
    EXPECT_FALSE(m_toolkit.isVisible());
    EXPECT_FALSE(m_toolkit.tray().isShown());
    EXPECT_EQ(m_toolkit.timerPeriod(), 0);
}

TEST_F(QtToolkitTest, PumpEventsDispatchesWhatIsPending) {
    load();
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    m_toolkit.pumpEvents();
    EXPECT_TRUE(ran);
}

TEST(ApplicationIconTest, HoldsTheTwelveImagesAndQtReadsEachOfThem) {
    struct Image {
        int size;
        int colours;  // 0 for 32-bit colour with alpha
    };
    const Image expected[] = {{48, 16}, {32, 16}, {16, 16}, {48, 256}, {32, 256}, {16, 256},
                              {128, 0}, {64, 0},  {48, 0},  {32, 0},   {24, 0},   {16, 0}};
    QImageReader reader(QStringLiteral(TARVANE_ICON_FILE));
    ASSERT_EQ(reader.imageCount(), 12);
    for (int index = 0; index < 12; ++index) {
        SCOPED_TRACE(index);
        ASSERT_TRUE(reader.jumpToImage(index));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(expected[index].size, expected[index].size));
        if (expected[index].colours == 0) {
            EXPECT_TRUE(image.hasAlphaChannel());
        } else {
            std::set<QRgb> colours;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    colours.insert(image.pixel(x, y));
                }
            }
            EXPECT_LE(colours.size(), static_cast<std::size_t>(expected[index].colours) + 1);
        }
        // Not a blank square: the drawing leaves its corners transparent and
        // paints the middle.
        EXPECT_EQ(qAlpha(image.pixel(0, image.height() - 1)), 0);
        EXPECT_EQ(qAlpha(image.pixel(image.width() / 2, image.height() / 2)), 255);
    }
}

}  // namespace
}  // namespace tarvane
