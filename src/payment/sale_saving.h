#pragma once

#include "base/clock.h"
#include "base/operator_rights.h"
#include "base/person.h"
#include "base/pos_state.h"
#include "base/sale.h"
#include "config/data_module.h"
#include "config/settings.h"
#include "payment/after_sale.h"
#include "storage/bill_saving.h"

namespace pos {

// What paying for a sale uses of the terminal: the connections (the working mode's saves
// the bill, the local file keeps the counter), the terminal's state, the settings naming
// its devices, the person at the terminal, the rights and the terminal's own clock.
struct PaymentContext {
    TDM& dm;
    const TPosState& state;
    const Settings& settings;
    Person& person;
    Rights& rights;
    const Clock& clock;

    // The working mode's connection at the moment of the call.
    Database& db() const { return dm.current(state.NetMode); }
    // The time a bill is paid at: the server's online, the terminal's offline.
    DateTime paidAt() const { return dm.serverTime(state.NetMode); }
};

// Saves the completed sale with a new number, as the checkout and the stored-value
// payment do, and raises the member's points on screen by what the save booked. A
// failure is told with "保存数据失败！" after the save's own message, except an unknown
// outcome, whose message asks not to charge again.
SaveOutcome SaveSale(const PaymentContext& c, Sale& sale);

// The after-sale steps of a saved sale, each on its device when the settings name one:
// the amount paid on the customer display, the cash drawer, the receipt (when `print`),
// the change on the display. The bill is saved: a failing device is told to the cashier
// and the next step runs.
void RunAfterSale(const PaymentContext& c, AfterSale& devices, const Sale& sale, double paid, double change,
                  bool print);

}  // namespace pos
