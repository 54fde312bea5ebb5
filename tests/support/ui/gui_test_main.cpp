#include "widgets/window_errors.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

// Window tests drive the real windows; without a display they run offscreen.
int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    // A window that meets an error its test did not arrange for fails that test.
    pos::setWindowErrorHandler([](const std::string& operation, const std::exception& error) {
        ADD_FAILURE() << "unexpected error in " << operation << ": " << error.what();
    });
    return RUN_ALL_TESTS();
}
