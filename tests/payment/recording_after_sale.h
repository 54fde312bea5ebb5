#pragma once

#include "base/number_format.h"
#include "payment/after_sale.h"
#include "peripherals/device_error.h"

#include <string>
#include <vector>

namespace pos::test {

// Records the after-sale calls in order, as "display 2 100", "drawer", "print <BillNo>";
// the device named by `failing` ("display", "drawer" or "printer") throws.
class RecordingAfterSale : public AfterSale {
public:
    std::vector<std::string> calls;
    std::string failing;

    void showOnDisplay(int kind, double amount) override
    {
        record("display " + std::to_string(kind) + " " + generalNumber(amount), "display");
    }
    void openDrawer() override { record("drawer", "drawer"); }
    void printReceipt(const Sale& sale) override { record("print " + sale.bill.billNo().toString(), "printer"); }

private:
    void record(std::string call, const std::string& device)
    {
        calls.push_back(std::move(call));
        if (device == failing)
            throw DeviceError("write /dev/lp0: Input/output error");
    }
};

}  // namespace pos::test
