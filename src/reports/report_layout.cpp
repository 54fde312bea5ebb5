#include "reports/report_layout.h"

#include "reports/report_expression.h"

#include <algorithm>
#include <optional>

namespace pos {
namespace {

// The values "[Name]" can stand for: the bound lines' columns and the variables, whose
// expressions are evaluated once per layout.
class References {
public:
    References(const ReportTemplate& report, const RowSet* lines) : lines_(lines)
    {
        for (const ReportVariable& v : report.variables)
            variables_.emplace_back(v.name, expressionValue(v.expression));
    }

    std::optional<std::string> value(std::string_view name, std::optional<std::size_t> line) const
    {
        if (lines_ && line) {
            if (auto column = lines_->columns().find(name))
                return lines_->row(*line)[*column].toString();
        }
        for (const auto& [variable, value] : variables_)
            if (sameName(variable, name))
                return value;
        return std::nullopt;
    }

    std::string filled(const std::string& text, std::optional<std::size_t> line) const
    {
        std::string out;
        std::size_t i = 0;
        while (i < text.size()) {
            std::size_t open = text.find('[', i);
            std::size_t close = open == std::string::npos ? open : text.find(']', open + 1);
            if (close == std::string::npos) {
                out.append(text, i);
                break;
            }
            out.append(text, i, open - i);
            if (auto v = value(std::string_view(text).substr(open + 1, close - open - 1), line)) {
                out += *v;
                i = close + 1;
            } else {
                // Not a name: the bracket is kept and the search goes on behind it.
                out += '[';
                i = open + 1;
            }
        }
        return out;
    }

private:
    const RowSet* lines_;
    std::vector<std::pair<std::string, std::string>> variables_;
};

class PageFiller {
public:
    PageFiller(const ReportTemplate& report, const References& refs) : report_(report), refs_(refs) {}

    void place(const ReportBand& band, std::optional<std::size_t> line)
    {
        const bool paged = report_.pageHeight > 0;
        if (pages_.empty() || (paged && y_ > 0 && y_ + band.height > report_.pageHeight)) {
            pages_.emplace_back();
            y_ = 0;
        }
        for (const ReportText& t : band.texts)
            pages_.back().texts.push_back(
                {t.left, y_ + t.top, t.width, t.height, refs_.filled(t.text, line), t.align, t.fontSize});
        y_ += band.height;
    }

    PreparedReport finish()
    {
        PreparedReport prepared;
        prepared.pageWidth = report_.pageWidth;
        // A roll page is as long as its content, but never of no length at all.
        prepared.pageHeight = report_.pageHeight > 0 ? report_.pageHeight : std::max(y_, 1.0);
        prepared.fontName = report_.fontName;
        prepared.printer = report_.printer;
        prepared.pages = std::move(pages_);
        return prepared;
    }

private:
    const ReportTemplate& report_;
    const References& refs_;
    std::vector<PreparedPage> pages_;
    double y_ = 0;
};

}  // namespace

PreparedReport layOutReport(const ReportTemplate& report, const RowSet* lines)
{
    References refs(report, lines);
    PageFiller filler(report, refs);
    auto placeAll = [&](BandKind kind, std::optional<std::size_t> line) {
        for (const ReportBand& band : report.bands)
            if (band.kind == kind)
                filler.place(band, line);
    };
    placeAll(BandKind::Title, std::nullopt);
    for (std::size_t r = 0; lines && r < lines->size(); ++r)
        placeAll(BandKind::Data, r);
    placeAll(BandKind::Summary, std::nullopt);
    return filler.finish();
}

}  // namespace pos
