#pragma once

#include <string>

namespace pos {

enum WorkingMode : int { Offline = 0, Online = 1 };

// Who is signed on, on which terminal, shift and store, in which working mode, with the
// amount and point settings: what lives as long as the terminal.
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
    int Digit = 2;
    int PointRate = 1;
    bool NotPointSP = false;
    bool NotPointLP = false;
    bool NotPointIP = false;
};

inline const char* netModeCaption(WorkingMode netMode) { return netMode == Online ? "连网销售" : "断网销售"; }

}  // namespace pos
