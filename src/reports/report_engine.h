#pragma once

#include "base/row_set.h"
#include "reports/report_layout.h"
#include "reports/report_template.h"

#include <string>

namespace pos {

// A window's report: the template it holds, the lines bound to its data band, and the
// pages prepared from them. Printing and the designer belong to the windows, which
// implement the two hooks; everything else is here.
class ReportEngine {
public:
    virtual ~ReportEngine() = default;

    // Reads the template file. False when there is no such file: the template held so far
    // stays. The path is kept either way for save(). ReportError for a file that cannot be
    // read.
    bool load(const std::string& path);
    // Writes the template to the path of the last load. ReportError on failure.
    void save() const;
    const std::string& fileName() const { return fileName_; }

    const ReportTemplate& reportTemplate() const { return template_; }
    void setTemplate(ReportTemplate report) { template_ = std::move(report); }

    // The lines the data band repeats over; they must outlive the engine's use of them.
    void bindLines(const RowSet& lines) { lines_ = &lines; }
    const RowSet* lines() const { return lines_; }

    // Sets a variable of the held template to an expression, adding it when it is new.
    void setVariable(const std::string& name, const std::string& expression);

    void prepare() { prepared_ = layOutReport(template_, lines_); }
    const PreparedReport& prepared() const { return prepared_; }

    // Every prepared page, one copy, straight to the template's printer; nothing when no
    // page was prepared.
    void print();
    // The designer, modally, on the held template.
    void design() { showDesigner(); }

protected:
    virtual void output(const PreparedReport& report) = 0;
    virtual void showDesigner() = 0;

private:
    std::string fileName_;
    ReportTemplate template_;
    const RowSet* lines_ = nullptr;
    PreparedReport prepared_;
};

}  // namespace pos
