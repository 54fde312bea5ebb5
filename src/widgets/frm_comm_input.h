#pragma once

#include "base/person.h"
#include "widgets/frm_base.h"

#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace pos {

// The general one-field input. The caller sets caption, label and kind, shows it
// modally and reads resultText(): the text as typed after OK, otherwise "" for text
// input and "0" for the other kinds.
class TfrmCommInput : public TfrmBase {
    Q_OBJECT
public:
    explicit TfrmCommInput(Person& person, QWidget* parent = nullptr);

    void setLabel(const QString& text);
    // 1 integer, 2 number, 3 text; any other value takes any non-empty text.
    void setKind(int kind) { kind_ = kind; }
    const std::string& resultText() const { return result_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool baseKeyDown(QKeyEvent* event) override;

private:
    void btnOKClick();
    // The message for an unacceptable text; empty when the text is accepted.
    std::string refusal(const std::string& text) const;

    Person& person_;
    int kind_ = 3;
    std::string result_;
    QLabel* lblInput_;
    QLineEdit* edtInput_;
    QPushButton* btnOK_;
    QPushButton* btnCancel_;
};

}  // namespace pos
