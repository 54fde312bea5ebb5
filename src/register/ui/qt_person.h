#pragma once

#include "base/person.h"

class QWidget;

namespace pos {

// The person at the terminal, reached through modal windows over the active window.
class QtPerson : public Person {
public:
    void message(const std::string& text, const std::string& title, MessageIcon icon) override;
    bool ask(const std::string& text, const std::string& title, MessageIcon icon = MessageIcon::Question) override;
    std::string input(const std::string& caption, const std::string& label, InputKind kind) override;
    std::size_t pickGoods(PagedRows& candidates) override;
    std::optional<Credentials> supervisor(OperatorRight right) override;
    std::unique_ptr<WaitIndicator> pleaseWait(const std::string& text) override;

private:
    static QWidget* owner();
};

}  // namespace pos
