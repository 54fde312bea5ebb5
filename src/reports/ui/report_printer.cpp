#include "reports/ui/report_printer.h"

#include "reports/report_error.h"
#include "reports/ui/report_painter.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>

namespace pos {
namespace {

void choosePrinter(QPrinter& printer, const QString& target)
{
    if (target.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
    } else if (!target.isEmpty()) {
        printer.setPrinterName(target);
    }
}

}  // namespace

void printReport(const PreparedReport& report)
{
    const QString target = QString::fromStdString(report.printer);
    QPrinter printer(QPrinter::HighResolution);
    choosePrinter(printer, target);
    printer.setDocName(QStringLiteral("POS"));
    printer.setPageSize(QPageSize(QSizeF(report.pageWidth, report.pageHeight), QPageSize::Millimeter, QString(),
                                  QPageSize::ExactMatch));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setFullPage(true);
    printer.setCopyCount(1);
    printer.setCollateCopies(true);

    const std::string where = report.printer.empty() ? std::string("the default printer") : report.printer;
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError("cannot print on " + where);
    const double dotsPerMm = printer.resolution() / 25.4;
    for (std::size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0 && !printer.newPage())
            throw ReportError("cannot start a new page on " + where);
        paintPage(painter, report, report.pages[i], dotsPerMm);
    }
    if (!painter.end())
        throw ReportError("cannot finish printing on " + where);
}

}  // namespace pos
