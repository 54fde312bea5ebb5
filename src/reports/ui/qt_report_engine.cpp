#include "reports/ui/qt_report_engine.h"

#include "reports/ui/frm_report_designer.h"
#include "reports/ui/report_printer.h"

namespace pos {

void QtReportEngine::output(const PreparedReport& report) { printReport(report); }

void QtReportEngine::showDesigner()
{
    TfrmReportDesigner designer(*this, owner_);
    designer.exec();
}

}  // namespace pos
