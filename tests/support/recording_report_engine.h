#pragma once

#include "reports/report_engine.h"

#include <string>
#include <vector>

namespace pos::test {

// A report engine whose printer and designer keep what reached them, so the logic of
// loading, variables, data band and pages runs for real.
class RecordingReportEngine : public ReportEngine {
public:
    std::vector<PreparedReport> printed;

    struct DesignerOpened {
        ReportTemplate report;
        const RowSet* lines;
        std::string fileName;
    };
    std::vector<DesignerOpened> designed;

protected:
    void output(const PreparedReport& report) override { printed.push_back(report); }
    void showDesigner() override { designed.push_back({reportTemplate(), lines(), fileName()}); }
};

// The texts of a prepared report, page after page, in the order they were placed.
inline std::vector<std::string> placedTexts(const PreparedReport& report)
{
    std::vector<std::string> texts;
    for (const PreparedPage& page : report.pages)
        for (const PlacedText& t : page.texts)
            texts.push_back(t.text);
    return texts;
}

}  // namespace pos::test
