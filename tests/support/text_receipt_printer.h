#pragma once

#include "config/settings.h"

#include <string>

namespace pos::test {

// Receipts printed as text ("整张快速打印") on 58 mm paper through LPT2, which writes to
// `path`.
inline void printReceiptsAsTextTo(Settings& settings, const std::string& path)
{
    settings.setOption("PrintMode", "整张快速打印");
    settings.setOption("PaperSize", "58mm");
    settings.setOption("PrintPort", "LPT2");
    settings.ini().write(kPortsSection, "LPT2", path);
}

}  // namespace pos::test
