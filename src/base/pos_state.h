#pragma once

#include <string>

namespace pos {

enum WorkingMode : int { Offline = 0, Online = 1 };

// Who is signed on, on which terminal, shift and store, in which working mode.
struct TPosState {
    WorkingMode NetMode = Offline;
    std::string IniFileName;
    int OperatorId = 0;
    std::string OperatorCode;
    std::string OperatorName;
    int ClassId = 0;
    std::string ClassCode;
    std::string ClassName;
    int MachineId = 0;
    std::string MachineCode;
    std::string MachineName;
    int StoreId = 0;
    std::string StoreCode;
    std::string StoreName;
    std::string ExeManCode;
    std::string ExeManName;
    int DiscountState = 0;  // 0 none, 1 a line discount used, 2 a whole-bill discount in force
    int Digit = 2;
    int PointRate = 1;
    bool NotPointSP = false;
    bool NotPointLP = false;
    bool NotPointIP = false;
};

// No card read, or a reprint of a bill that keeps no card balance or totals: none printed.
inline constexpr int kCardKindUnknown = 0;

// The member card on the bill in progress.
struct CurrentMember {
    std::string VIPCardNo;
    std::string VIPHolderName;
    int VIPCardKind = kCardKindUnknown;  // 2 stored-value card, 1 any other
    int VIPDiscountType = 0;   // 1 member prices, 2 by cumulative purchases, 3 the card's discount
    double VIPDiscount = 0;
    double VIPTotalAmount = 0;
    double VIPUsedCount = 0;
    double VIPCardBalance = 0;
};

// Running totals of the bill in progress.
struct BillTotals {
    double TotalQty = 0;
    double DisAmount = 0;
    double NoPointAmount = 0;
};

inline const char* netModeCaption(WorkingMode netMode) { return netMode == Online ? "连网销售" : "断网销售"; }

}  // namespace pos
