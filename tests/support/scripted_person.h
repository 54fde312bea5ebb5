#pragma once

#include "base/person.h"

#include <deque>
#include <ostream>
#include <string>
#include <vector>

namespace pos {

// Rights show as their numbers in test failures.
inline void PrintTo(OperatorRight right, std::ostream* os) { *os << rightNumber(right); }

}  // namespace pos

namespace pos::test {

// The person at the terminal, scripted: answers are queued in advance and every message
// is recorded. A question with no answer queued fails the test.
class ScriptedPerson : public Person {
public:
    struct Shown {
        std::string text;
        std::string title;
        MessageIcon icon;
    };

    std::vector<Shown> messages;
    std::vector<std::string> questions;
    std::vector<std::string> waits;  // please-wait texts, in order
    int openWaits = 0;               // please-wait windows still open

    std::deque<bool> answers;
    std::deque<std::string> inputs;
    std::deque<std::size_t> picks;
    std::deque<std::optional<Credentials>> supervisors;
    std::vector<OperatorRight> supervisorRights;  // rights the supervisor dialog was opened for

    void message(const std::string& text, const std::string& title, MessageIcon icon) override;
    bool ask(const std::string& text, const std::string& title, MessageIcon icon = MessageIcon::Question) override;
    std::string input(const std::string& caption, const std::string& label, InputKind kind) override;
    std::size_t pickGoods(PagedRows& candidates) override;
    std::optional<Credentials> supervisor(OperatorRight right) override;
    std::unique_ptr<WaitIndicator> pleaseWait(const std::string& text) override;

    // Texts of all messages shown so far, for comparisons in tests.
    std::vector<std::string> messageTexts() const;
};

}  // namespace pos::test
