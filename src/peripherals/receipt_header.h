#pragma once

#include "base/pos_state.h"

#include <string>

namespace pos {

// Who sold the bill and where, as its receipt names them: the cashier, the terminal, the
// shift and the store. A sale takes them from the terminal; a reprint puts in the old
// bill's cashier.
struct ReceiptHeader {
    std::string OperatorCode;
    std::string OperatorName;
    std::string MachineCode;
    std::string MachineName;
    std::string ClassCode;
    std::string ClassName;
    std::string StoreCode;
    std::string StoreName;

    static ReceiptHeader of(const TPosState& state)
    {
        return {state.OperatorCode, state.OperatorName, state.MachineCode, state.MachineName,
                state.ClassCode,    state.ClassName,    state.StoreCode,   state.StoreName};
    }
};

}  // namespace pos
