#pragma once

#include <string>
#include <vector>

namespace pos {

// Bands are printed in this order whatever their order in the template: the title once,
// the data band once for every line bound to the report, the summary once at the end.
enum class BandKind { Title, Data, Summary };

enum class TextAlign { Left, Center, Right };

// A text placed in its band. "[Name]" in the text stands for a column of the current line
// (in a data band) or for the value of a variable. Sizes are millimetres, fonts points.
struct ReportText {
    std::string text;
    double left = 0;
    double top = 0;
    double width = 40;
    double height = 5;
    TextAlign align = TextAlign::Left;
    double fontSize = 9;

    bool operator==(const ReportText&) const = default;
};

struct ReportBand {
    BandKind kind = BandKind::Data;
    double height = 5;
    std::vector<ReportText> texts;

    bool operator==(const ReportBand&) const = default;
};

// A named value of the report; the expression is evaluated when the report is prepared.
struct ReportVariable {
    std::string name;
    std::string expression;

    bool operator==(const ReportVariable&) const = default;
};

struct ReportTemplate {
    double pageWidth = 80;
    // 0: a single page as long as its content, as on a receipt roll.
    double pageHeight = 0;
    // Empty: the system's font.
    std::string fontName;
    // Empty: the system's default printer; a path ending in ".pdf": that PDF file.
    std::string printer;
    std::vector<ReportVariable> variables;
    std::vector<ReportBand> bands;

    bool operator==(const ReportTemplate&) const = default;
};

}  // namespace pos
