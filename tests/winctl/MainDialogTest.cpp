// The main dialog and the shell around it, on the in-memory desktop under Qt's
// offscreen platform.
#include "DialogFixture.h"

#include "CScreenPicker.h"
#include "platform/OpenLink.h"
#include "resources/Resources.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTest>

namespace {

using Id = CMainDialog::ControlId;

class MainDialogTest : public DialogFixture {};

TEST_F(MainDialogTest, ControlsHaveTheTemplatesIdsTextsAndPlaces)
{
    start();
    const QFontMetrics metrics(dialog->font());
    const int baseWidth = qRound(metrics.horizontalAdvance(QStringLiteral(
                                     "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0);
    const int baseHeight = metrics.height();
    auto pixels = [&](QRect d) {
        return QRect(qRound(d.x() * baseWidth / 4.0), qRound(d.y() * baseHeight / 8.0),
                     qRound(d.width() * baseWidth / 4.0), qRound(d.height() * baseHeight / 8.0));
    };
    const struct {
        int id;
        const char *text;
        QRect rect;
    } buttons[] = {
        {Id::MakeTransparentButton, "Make transparent", {49, 176, 92, 14}},
        {Id::HideButton, "Hide", {165, 176, 98, 14}},
        {Id::MakeTopmostButton, "Make \"Always on top\"", {285, 176, 98, 14}},
        {Id::MakeOpaqueButton, "Make opaque", {49, 193, 92, 14}},
        {Id::ShowButton, "Show", {165, 193, 98, 14}},
        {Id::RestoreButton, "Restore", {285, 193, 98, 14}},
        {Id::CloseButton, "Close", {399, 219, 43, 14}},
        {Id::AboutButton, "About", {399, 200, 43, 14}},
        {Id::RefreshButton, "Refresh", {392, 42, 50, 14}},
    };
    for (const auto &b : buttons) {
        auto *button = control<QPushButton>(b.id);
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(button->text(), QLatin1String(b.text));
        EXPECT_EQ(button->geometry(), pixels(b.rect)) << b.text;
    }
    EXPECT_EQ(control(Id::ListView)->geometry(), pixels({7, 7, 435, 153}));
    EXPECT_EQ(control(Id::PercentBox)->geometry(), pixels({17, 176, 17, 14}));
    EXPECT_EQ(control<QCheckBox>(Id::GroupingBox)->text(),
              QStringLiteral("Show all child windows of a process as one window (recommended)"));
    EXPECT_TRUE(control<QPushButton>(Id::CloseButton)->isDefault());
    EXPECT_TRUE(control(Id::RefreshButton)->isHidden());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Kesto@PaneKeeper"));
}

TEST_F(MainDialogTest, ColumnsHaveTheirHeadingsAndWidthsAndOpacityOnlyWithLayeredWindows)
{
    const struct {
        int major, minor;
        bool opacityShown;
    } systems[] = {{4, 0, false}, {5, 0, true}, {5, 1, true}};
    for (const auto &s : systems) {
        desktop.systemVersion = FakeDesktop::versionNumber(s.major, s.minor);
        start();
        QStringList headings;
        for (int c = 0; c < 7; ++c)
            headings << list()->headerItem()->text(c);
        EXPECT_EQ(headings, QStringList({"Title", "Visible", "Top", "Opacity", "HWND", "ProcessID", "FileName"}));
        const int widths[] = {190, 60, 60, s.opacityShown ? 60 : 0, 0, 0, 260};
        for (int c = 0; c < 7; ++c) {
            EXPECT_EQ(list()->isColumnHidden(c), widths[c] == 0) << s.major << "." << s.minor << " column " << c;
            if (widths[c]) {
                EXPECT_EQ(list()->columnWidth(c), widths[c]);
            }
        }
        EXPECT_EQ(list()->headerItem()->textAlignment(4) & Qt::AlignHorizontal_Mask, int(Qt::AlignRight));
        EXPECT_EQ(list()->selectionMode(), QAbstractItemView::SingleSelection);
        dialog.reset();
    }
}

TEST_F(MainDialogTest, RowsAreTheListedWindowsThenTheHiddenOnes)
{
    FakeWindow editor;
    editor.title = "Editor";
    editor.className = "Ed";
    editor.process = 0x4D2;
    editor.exStyle = exStyleTopmost;
    desktop.processes[0x4D2].imagePath = "/usr/bin/editor";
    const WindowHandle e = desktop.addWindow(editor);
    add("", taskbarClassName);
    start();
    EXPECT_EQ(column(0), QStringList({"Editor", "Taskbar"}));
    EXPECT_EQ(cell(0, 2), "Yes");
    EXPECT_EQ(cell(0, 3), "100 %");
    EXPECT_EQ(cell(0, 4), QString::fromStdString(formatProcessId(e)));
    EXPECT_EQ(cell(0, 5), "000004D2");
    EXPECT_EQ(cell(0, 6), "/usr/bin/editor");

    select("Taskbar");
    click(Id::HideButton);
    EXPECT_EQ(column(0), QStringList({"Editor", "Taskbar (hidden)"}));
    EXPECT_EQ(column(1), QStringList({"Yes", "No"}));
    select("Taskbar (hidden)");
    click(Id::ShowButton);
    EXPECT_EQ(column(0), QStringList({"Editor", "Taskbar"}));
}

TEST_F(MainDialogTest, AnUnchangedListIsLeftAloneWithItsSelection)
{
    const WindowHandle a = add("Alpha");
    add("Beta");
    start();
    dialog->showDialog();
    select("Beta");
    QTreeWidgetItem *before = list()->topLevelItem(1);

    desktop.window(a).title = "Alpha renamed";
    dialog->refreshWindowList();
    EXPECT_EQ(list()->topLevelItem(1), before) << "no rebuild";
    EXPECT_EQ(cell(0, 0), "Alpha") << "a title alone does not count as a change";
    EXPECT_EQ(dialog->selectedRow(), 1);

    desktop.window(a).exStyle = exStyleTopmost;
    dialog->refreshWindowList();
    EXPECT_EQ(cell(0, 0), "Alpha renamed");
    EXPECT_EQ(cell(0, 2), "Yes");
    EXPECT_EQ(dialog->selectedRow(), -1) << "a rebuild clears the selection";

    desktop.removeWindow(a);
    dialog->refreshWindowList();
    EXPECT_EQ(column(0), QStringList({"Beta"})) << "a window that went away leaves the list";
}

struct ButtonCase {
    const char *name;
    int major, minor;
    FakeWindow window;
    bool hide, show, topmost, restore, transparent, opaque, percentShown;
};

void PrintTo(const ButtonCase &c, std::ostream *out)
{
    *out << c.name;
}

class ButtonRulesTest : public DialogFixture, public ::testing::WithParamInterface<ButtonCase> {};

FakeWindow windowOf(const char *title, std::uint32_t exStyle = 0, std::optional<std::uint8_t> alpha = {})
{
    FakeWindow w;
    w.title = title;
    w.className = "App";
    w.exStyle = exStyle;
    w.alpha = alpha;
    return w;
}

TEST_P(ButtonRulesTest, SelectingARowEnablesWhatCanBeDoneToIt)
{
    const ButtonCase &c = GetParam();
    desktop.systemVersion = FakeDesktop::versionNumber(c.major, c.minor);
    desktop.addWindow(c.window);
    start();
    select(QString::fromStdString(c.window.title));
    EXPECT_EQ(control(Id::HideButton)->isEnabled(), c.hide);
    EXPECT_EQ(control(Id::ShowButton)->isEnabled(), c.show);
    EXPECT_EQ(control(Id::MakeTopmostButton)->isEnabled(), c.topmost);
    EXPECT_EQ(control(Id::RestoreButton)->isEnabled(), c.restore);
    EXPECT_EQ(control(Id::MakeTransparentButton)->isEnabled(), c.transparent);
    EXPECT_EQ(control(Id::MakeOpaqueButton)->isEnabled(), c.opaque);
    EXPECT_EQ(!control(Id::PercentBox)->isHidden(), c.percentShown);
    EXPECT_EQ(!control(Id::PercentLabel)->isHidden(), c.percentShown);

    list()->clearSelection();
    for (int id : {Id::HideButton, Id::ShowButton, Id::MakeTopmostButton, Id::RestoreButton,
                   Id::MakeTransparentButton, Id::MakeOpaqueButton})
        EXPECT_FALSE(control(id)->isEnabled()) << id;
    EXPECT_TRUE(control(Id::PercentBox)->isHidden());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ButtonRulesTest,
    ::testing::Values(
        ButtonCase{"plain", 5, 1, windowOf("Plain"), true, false, true, false, true, false, true},
        ButtonCase{"topmost", 5, 1, windowOf("Top", exStyleTopmost), true, false, false, true, true, false, true},
        ButtonCase{"translucent", 5, 1, windowOf("Dim", exStyleLayered, 128), true, false, true, false, true, true,
                   true},
        ButtonCase{"own dialog", 5, 1, windowOf("Kesto@PaneKeeper"), false, false, true, false, true, false, true},
        ButtonCase{"opacity unreadable", 5, 0, windowOf("Plain"), true, false, true, false, true, true, true},
        ButtonCase{"no layered windows", 4, 0, windowOf("Plain"), true, false, true, false, false, false, false}),
    [](const auto &info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(MainDialogTest, AHiddenRowOffersOnlyShow)
{
    add("Gone soon");
    start();
    select("Gone soon");
    click(Id::HideButton);
    select("Gone soon (hidden)");
    EXPECT_TRUE(control(Id::ShowButton)->isEnabled());
    for (int id : {Id::HideButton, Id::MakeTopmostButton, Id::RestoreButton, Id::MakeTransparentButton,
                   Id::MakeOpaqueButton})
        EXPECT_FALSE(control(id)->isEnabled()) << id;
    EXPECT_TRUE(control(Id::PercentBox)->isHidden());
}

TEST_F(MainDialogTest, ButtonsChangeTheSelectedWindowAndUndoTheirChanges)
{
    const WindowHandle w = add("Target");
    start();
    const struct {
        int button;
        FakeCall call;
    } steps[] = {
        {Id::MakeTopmostButton, {"setTopmost", w, 1}},
        {Id::RestoreButton, {"setTopmost", w, 0}},
        {Id::MakeTransparentButton, {"setLayeredAlpha", w, 191}},
        {Id::MakeOpaqueButton, {"redrawWindow", w, 0}},
        {Id::HideButton, {"hideWindow", w, 0}},
    };
    for (const auto &s : steps) {
        desktop.calls.clear();
        select("Target");
        click(s.button);
        ASSERT_FALSE(desktop.calls.empty()) << s.button;
        EXPECT_EQ(desktop.calls.back(), s.call) << s.button;
        EXPECT_EQ(dialog->selectedRow(), -1) << "every action ends with nothing selected";
    }
    EXPECT_EQ(dialog->actions.changeRecords.count(), 1u);
    select("Target (hidden)");
    click(Id::ShowButton);
    EXPECT_EQ(desktop.calls.back(), (FakeCall{"showWindow", w, 0}));
    EXPECT_TRUE(dialog->actions.changeRecords.empty());
}

TEST_F(MainDialogTest, ThePercentBoxRefusesWhatIsNoPercent)
{
    add("Target");
    start();
    const struct {
        const char *typed;
        const char *message;
    } refusals[] = {
        {"150", "Please enter an integer between 0 and 100."},
        {"", "Please enter an integer."},
    };
    for (const auto &r : refusals) {
        select("Target");
        control<QLineEdit>(Id::PercentBox)->setText(QLatin1String(r.typed));
        auto seen = expectMessage();
        click(Id::MakeTransparentButton);
        EXPECT_EQ(seen->text, QLatin1String(r.message));
        EXPECT_EQ(seen->icon, QMessageBox::Warning);
        EXPECT_TRUE(dialog->actions.changeRecords.empty());
    }
    select("Target");
    control<QLineEdit>(Id::PercentBox)->setText("40");
    click(Id::MakeTransparentButton);
    ASSERT_EQ(dialog->actions.changeRecords.count(), 1u);
    EXPECT_EQ(dialog->actions.changeRecords[0].opacityText, "40 %");
    EXPECT_EQ(cell(rowOf("Target"), 3), "40 %");
}

TEST_F(MainDialogTest, SwitchingGroupingUndoesEveryChange)
{
    const WindowHandle main = add("Main");
    add("Tool", "App", main);
    start();
    EXPECT_EQ(column(0), QStringList({"Main"}));
    select("Main");
    click(Id::HideButton);
    desktop.calls.clear();

    control<QCheckBox>(Id::GroupingBox)->click();
    EXPECT_FALSE(dialog->inventory.groupChildWindows);
    EXPECT_TRUE(dialog->actions.changeRecords.empty());
    EXPECT_EQ(desktop.calls.front(), (FakeCall{"showWindow", main, 0}));
    EXPECT_EQ(column(0), QStringList({"Main", "Tool"}));
}

TEST_F(MainDialogTest, ClosingHidesTheDialogIntoTheTrayAndTheTimerRunsOnlyWhileShown)
{
    start();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(dialog->trayIcon()->isVisible());
    EXPECT_FALSE(dialog->refreshTimerRunning());

    dialog->onTrayActivated(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(dialog->trayIcon()->isVisible());
    EXPECT_TRUE(dialog->refreshTimerRunning());

    const WindowHandle late = add("Late");
    EXPECT_TRUE(QTest::qWaitFor([&] { return rowOf("Late") >= 0; }, 5000)) << "the timer refreshes the list";

    for (auto closeIt : std::initializer_list<std::function<void()>>{
             [&] { click(Id::CloseButton); },
             [&] { QTest::keyClick(dialog.get(), Qt::Key_Escape); },
             [&] { dialog->close(); }}) {
        dialog->showDialog();
        ASSERT_TRUE(dialog->isVisible());
        closeIt();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_TRUE(dialog->trayIcon()->isVisible());
        EXPECT_FALSE(dialog->refreshTimerRunning());
    }
    desktop.removeWindow(late);
    QTest::qWait(250);  // several timer periods: a hidden dialog does not refresh
    EXPECT_GE(rowOf("Late"), 0);
}

TEST_F(MainDialogTest, WithoutATrayTheDialogStaysWithinReach)
{
    dialog = std::make_unique<CMainDialog>(desktop);
    ASSERT_TRUE(dialog->initialise({}));
    dialog->trayPresent = false;
    dialog->startInTray();
    EXPECT_TRUE(dialog->isVisible());
    click(Id::CloseButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(dialog->isMinimized());
}

TEST_F(MainDialogTest, ASecondCopyShowsTheFirstCopysDialogAndEnds)
{
    FakeWindow running;
    running.title = "Kesto@PaneKeeper";
    running.className = "#32770";
    running.visible = false;
    const WindowHandle first = desktop.addWindow(running);
    FakeWindow lookalike = running;
    lookalike.className = "Other";
    desktop.addWindow(lookalike);

    CMainDialog second(desktop);
    EXPECT_FALSE(second.initialise({}));
    EXPECT_EQ(desktop.calls, std::vector<FakeCall>{(FakeCall{"showWindow", first, 0})});
}

class TrayMenuTest : public DialogFixture {
protected:
    struct Item {
        QString text;
        int id;
        bool enabled;
    };
    static std::vector<Item> items(QMenu *menu)
    {
        std::vector<Item> out;
        for (QAction *a : menu->actions()) {
            if (!a->isSeparator())
                out.push_back({a->text(), a->data().toInt(), a->isEnabled()});
        }
        return out;
    }
    QMenu *submenu(int position) { return dialog->trayMenu()->actions().at(position)->menu(); }
    QAction *itemWithId(QMenu *menu, int id)
    {
        for (QAction *a : menu->actions()) {
            if (a->data().toInt() == id)
                return a;
        }
        return nullptr;
    }
};

TEST_F(TrayMenuTest, TheMenuHasItsTenPositionsWithTheOpenItemAsDefault)
{
    start();
    dialog->buildTrayMenu();
    QStringList texts;
    for (QAction *a : dialog->trayMenu()->actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(texts, QStringList({"Open &PaneKeeper Dialog", "-", "&Hide Window", "Make Window Always on &Top",
                                  "&Restore Window", "-", "&Settings", "&About", "-", "E&xit"}));
    EXPECT_EQ(dialog->trayMenu()->defaultAction(), dialog->trayMenu()->actions().at(0));
    const auto restore = items(submenu(4));
    ASSERT_EQ(restore.size(), 1u);
    EXPECT_EQ(restore[0].text, "  Empty");
    EXPECT_FALSE(restore[0].enabled);
}

TEST_F(TrayMenuTest, WindowItemsCarryTheirIdsAfterEachOther)
{
    const WindowHandle a = add("A");
    add("B & Co");
    add("C");
    start();
    dialog->buildTrayMenu();
    itemWithId(submenu(2), 1067)->trigger();                      // hide A
    dialog->buildTrayMenu();                                      // B, C listed; A hidden
    itemWithId(submenu(3), 1067 + 2 + 1)->trigger();              // B on top
    dialog->buildTrayMenu();
    ASSERT_EQ(dialog->inventory.listedWindows.count(), 2u);
    add("D");
    add("E");
    desktop.showWindow(a);                                       // A again, by someone else
    dialog->buildTrayMenu();                                      // A..E listed, 2 records
    ASSERT_EQ(dialog->inventory.listedWindows.count(), 5u);
    ASSERT_EQ(dialog->actions.changeRecords.count(), 2u);

    auto ids = [](const std::vector<Item> &list) {
        std::vector<int> out;
        for (const Item &i : list)
            out.push_back(i.id);
        return out;
    };
    EXPECT_EQ(ids(items(submenu(2))), (std::vector<int>{1067, 1068, 1069, 1070, 1071, 1072}));
    EXPECT_EQ(ids(items(submenu(3))), (std::vector<int>{1073, 1074, 1075, 1076, 1077, 1078}));
    EXPECT_EQ(ids(items(submenu(4))), (std::vector<int>{1079, 1080}));
    EXPECT_EQ(items(submenu(2))[1].text, "  B && Co");
    EXPECT_EQ(items(submenu(2)).back().text, "  Select...");
    EXPECT_EQ(items(submenu(4))[0].text, "  A (hidden)");
    EXPECT_EQ(items(submenu(4))[1].text, "  B && Co (on top)");

    desktop.calls.clear();
    itemWithId(submenu(4), 1079)->trigger();
    EXPECT_EQ(desktop.calls.front(), (FakeCall{"showWindow", a, 0}));
    EXPECT_EQ(dialog->actions.changeRecords.count(), 1u);
}

TEST_F(TrayMenuTest, ItemsPastTheCommandRangeAreNotOffered)
{
    for (int i = 0; i < 1000; ++i)
        add("W" + std::to_string(i));
    start();
    dialog->buildTrayMenu();
    // 1000 windows: hiding 1067..2066 with its picker at 2067, on top from 2068 to 3024 only.
    EXPECT_EQ(items(submenu(2)).size(), 1001u);
    const auto topmost = items(submenu(3));
    EXPECT_EQ(topmost.size(), std::size_t(3024 - 2068 + 1));
    EXPECT_EQ(topmost.back().id, 3024);
    EXPECT_EQ(topmost.back().text, "  W956");
    EXPECT_EQ(items(submenu(4)).size(), 1u) << "only \"  Empty\"";
}

TEST_F(TrayMenuTest, TheRightButtonOpensTheMenuOnlyWhileTheDialogIsHidden)
{
    start();
    dialog->onTrayActivated(QSystemTrayIcon::Context);
    EXPECT_TRUE(dialog->trayMenu()->isVisible());
    dialog->trayMenu()->hide();

    dialog->showDialog();
    const WindowHandle late = add("Late");
    dialog->onTrayActivated(QSystemTrayIcon::Context);
    EXPECT_FALSE(dialog->trayMenu()->isVisible());
    EXPECT_GE(rowOf("Late"), 0) << "the list was refreshed instead";

    dialog->hideDialog();
    desktop.removeWindow(late);
    dialog->onTrayActivated(QSystemTrayIcon::Trigger);
    EXPECT_LT(rowOf("Late"), 0) << "any other click refreshes";
}

TEST_F(TrayMenuTest, SelectOpensThePickerWhosePickActsOnTheWindowUnderThePoint)
{
    FakeWindow w = windowOf("Picked");
    w.rect = {0, 0, 50, 40};
    const WindowHandle picked = desktop.addWindow(w);
    start();
    dialog->buildTrayMenu();
    itemWithId(submenu(2), 1068)->trigger();  // "  Select..." with one listed window
    ASSERT_TRUE(dialog->picker()->isVisible());
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(dialog->picker(), &press);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->actions.changeRecords.empty(); }, 5000));
    EXPECT_EQ(desktop.calls.back(), (FakeCall{"hideWindow", picked, 0}));
}

TEST_F(TrayMenuTest, ExitUndoesEveryChangeAndEnds)
{
    const WindowHandle w = add("Changed");
    start();
    bool ended = false;
    QObject::connect(dialog.get(), &CMainDialog::ended, [&] { ended = true; });
    dialog->buildTrayMenu();
    itemWithId(submenu(2), 1067)->trigger();
    ASSERT_FALSE(desktop.window(w).visible);
    dialog->onCommand(CMainDialog::ExitCommand);
    EXPECT_TRUE(ended);
    EXPECT_TRUE(desktop.window(w).visible);
    EXPECT_FALSE(dialog->trayIcon()->isVisible());
}

TEST(OpenLinkTest, TheRegisteredCommandIsCutAtItsPlaceholder)
{
    const struct {
        const char *registered, *expected;
    } cases[] = {
        {"firefox %u", "firefox http://x"},
        {"\"/opt/web browser/run\" --new \"%u\" --flag", "\"/opt/web browser/run\" --new http://x"},
        {"browser %F \"%U\"", "browser %F http://x"},
        {"browser", "browser http://x"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(commandWithLink(QLatin1String(c.registered), "http://x"), QLatin1String(c.expected));
    EXPECT_EQ(linkErrorReason(2), "The specified file was not found.");
    EXPECT_EQ(linkErrorReason(31), "There is no application associated\nwith the given filename extension.");
    EXPECT_EQ(linkErrorReason(99), "Unknown error (99)!");
}

} // namespace
