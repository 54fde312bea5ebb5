#pragma once

#include "support/ui/window_keys.h"

#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>

namespace pos::test {

// The two ways a dialog is left without its OK: Esc, and a click on its btnCancel.
struct WayOut {
    const char* name;
    void (*leave)(QWidget& dialog);
};

inline const WayOut kWaysOut[] = {
    {"Escape", [](QWidget& dialog) { press(dialog, Qt::Key_Escape); }},
    {"Cancel", [](QWidget& dialog) { control<QPushButton>(dialog, "btnCancel")->click(); }},
};

inline std::string wayOutName(const ::testing::TestParamInfo<WayOut>& info) { return info.param.name; }

}  // namespace pos::test
