#pragma once

#include <QValidator>

namespace pos {

// Keeps a line edit's text on one line: each run of line breaks, as a paste brings
// them, becomes one blank, as the settings file stores it. Everything else is accepted.
class OneLineValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int& pos) const override;
};

}  // namespace pos
