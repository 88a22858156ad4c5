#include "CScreenPicker.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <gtest/gtest.h>

namespace {

class ScreenPickerTest : public ::testing::Test {
protected:
    CScreenPicker picker;
    std::vector<QPoint> picks;

    void SetUp() override
    {
        QObject::connect(&picker, &CScreenPicker::pointPicked, [this](QPoint p) { picks.push_back(p); });
        QPixmap screenshot(64, 48);
        screenshot.fill(Qt::darkCyan);
        picker.showFrozen(screenshot);
    }

    void press(Qt::MouseButton button, QPoint at)
    {
        QMouseEvent event(QEvent::MouseButtonPress, at, picker.mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(&picker, &event);
    }
};

TEST_F(ScreenPickerTest, CoversTheScreenAboveOtherWindowsWithTheFrozenPicture)
{
    EXPECT_TRUE(picker.isVisible());
    EXPECT_TRUE(picker.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(picker.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(picker.geometry(), QRect(QPoint(0, 0), QApplication::primaryScreen()->size()));
    const QImage shown = picker.grab().toImage();
    EXPECT_EQ(shown.pixelColor(10, 10), QColor(Qt::darkCyan));
}

TEST_F(ScreenPickerTest, LeftClickPicksItsScreenPointAndCloses)
{
    press(Qt::RightButton, {5, 5});
    EXPECT_TRUE(picker.isVisible());
    EXPECT_TRUE(picks.empty());

    press(Qt::LeftButton, {30, 20});
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(picks, std::vector<QPoint>{QPoint(30, 20)});
}

TEST_F(ScreenPickerTest, AnyKeyCancels)
{
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QApplication::sendEvent(&picker, &key);
    EXPECT_FALSE(picker.isVisible());
    EXPECT_TRUE(picks.empty());
}

} // namespace
