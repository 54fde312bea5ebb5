#pragma once

#include "base/operator_rights.h"

namespace pos {

struct Terminal;

// The rights of the operator signed on at the terminal, asked on the connection of the
// working mode at each call.
class TerminalRights : public Rights {
public:
    explicit TerminalRights(Terminal& t) : t_(t) {}
    bool has(OperatorRight right) override;

private:
    Terminal& t_;
};

}  // namespace pos
