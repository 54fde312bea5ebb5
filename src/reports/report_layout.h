#pragma once

#include "base/row_set.h"
#include "reports/report_template.h"

#include <string>
#include <vector>

namespace pos {

// A text at its place on a page, with its references filled. Millimetres from the
// page's top left corner.
struct PlacedText {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    std::string text;
    TextAlign align = TextAlign::Left;
    double fontSize = 0;

    bool operator==(const PlacedText&) const = default;
};

struct PreparedPage {
    std::vector<PlacedText> texts;
};

// The pages of a report ready to be painted, and where they go.
struct PreparedReport {
    double pageWidth = 0;
    double pageHeight = 0;
    std::string fontName;
    std::string printer;
    std::vector<PreparedPage> pages;
};

// Lays the bands out top to bottom: the title bands, the data bands once for every line
// (none when no lines are bound), the summary bands. A band that does not fit below the
// bands already on a page starts the next page; on a template with page height 0 all
// goes on one page as long as its content. No band placed, no page.
//
// In a text, "[Name]" stands for the column Name of the current line (data bands only),
// else for the value of the variable Name; names compare without regard to case, unknown
// ones stay as written, and inserted values are not searched again.
PreparedReport layOutReport(const ReportTemplate& report, const RowSet* lines);

}  // namespace pos
