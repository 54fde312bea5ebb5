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

    const std::string where = report.printer.empty() ? std::string("默认打印机") : "打印机 " + report.printer;
    QPainter painter;
    if (!painter.begin(&printer))
        throw ReportError("不能在" + where + "上打印");
    const double dotsPerMm = printer.resolution() / 25.4;
    for (std::size_t i = 0; i < report.pages.size(); ++i) {
        if (i > 0 && !printer.newPage())
            throw ReportError("不能在" + where + "上换页");
        paintPage(painter, report, report.pages[i], dotsPerMm);
    }
    if (!painter.end())
        throw ReportError("不能在" + where + "上完成打印");
}

}  // namespace pos
