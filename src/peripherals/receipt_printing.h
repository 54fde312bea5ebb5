#pragma once

#include "base/person.h"
#include "base/sale.h"
#include "config/settings.h"
#include "peripherals/receipt_header.h"
#include "reports/report_engine.h"

#include <string>

namespace pos {

// What printing a receipt reads besides the sale: the settings, the person who sees its
// messages, who sold the bill where, and the directory of POS.frf (ending in "/").
struct ReceiptContext {
    const Settings& settings;
    Person& person;
    ReceiptHeader header;
    std::string programDir;
};

// Prints a finished bill by PrintMode: "整张快速打印" as text, "逐条快速打印" checks the
// port settings and prints nothing, any other value through the template. A missing
// setting is told to the person; DeviceError or ReportError from the devices pass on.
void PrintBill(const ReceiptContext& ctx, ReportEngine& report, const Sale& sale);

// BillNum copies of the text receipt, CharNum (at least 30) bytes wide, on PrintPort.
void PrintBillText(const ReceiptContext& ctx, const Sale& sale);

// BillNum copies through POS.frf, loaded anew for each copy, its data band over the
// bill's lines. A missing POS.frf leaves the template the report already held.
void PrintBillTemplate(const ReceiptContext& ctx, ReportEngine& report, const Sale& sale);

// The 22 receipt variables, each as a quoted text.
void SetBillTemplateVariables(const ReceiptContext& ctx, ReportEngine& report, const Sale& sale);

// The designer on POS.frf, filled from the sale in progress ("18/"). A POS.frf that
// cannot be read is told to the person and the designer opens on an empty template,
// which it saves under the same name.
void DesignBillTemplate(const ReceiptContext& ctx, ReportEngine& report, const Sale& sale);

}  // namespace pos
