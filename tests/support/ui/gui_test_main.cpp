#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// Window tests drive the real windows; without a display they run offscreen.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
