#pragma once

#include "reports/report_engine.h"

class QWidget;

namespace pos {

// A window's report engine: prints through the system's print support and designs in
// TfrmReportDesigner over the owning window.
class QtReportEngine : public ReportEngine {
public:
    explicit QtReportEngine(QWidget* owner = nullptr) : owner_(owner) {}

protected:
    void output(const PreparedReport& report) override;
    void showDesigner() override;

private:
    QWidget* owner_;
};

}  // namespace pos
