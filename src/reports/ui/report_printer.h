#pragma once

#include "reports/report_layout.h"

namespace pos {

// Prints every page, one copy, collated, without a dialog: to the PDF file the report's
// printer names when it ends in ".pdf", else to the printer of that name, or to the
// system's default printer when the name is empty. ReportError when printing cannot start.
void printReport(const PreparedReport& report);

}  // namespace pos
