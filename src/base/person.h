#pragma once

#include "base/operator_rights.h"
#include "base/paged_rows.h"

#include <memory>
#include <optional>
#include <string>

namespace pos {

enum class MessageIcon { None, Information, Error, Question };

// Kind of the general one-field input: 1 integer, 2 number, 3 text.
enum class InputKind { Integer = 1, Number = 2, Text = 3 };

struct Credentials {
    std::string code;
    std::string password;
};

// Held while a long operation runs; the please-wait window closes when it is released.
class WaitIndicator {
public:
    virtual ~WaitIndicator() = default;
};

// How the logic reaches the person at the terminal. The windows implement it; tests
// script it.
class Person {
public:
    virtual ~Person() = default;

    virtual void message(const std::string& text, const std::string& title, MessageIcon icon) = 0;
    // A question with Yes and No; true for Yes. Most questions carry the question icon.
    virtual bool ask(const std::string& text, const std::string& title, MessageIcon icon = MessageIcon::Question) = 0;
    // The general input dialog. Returns the text as typed, or, when left without
    // confirming, "" for text input and "0" for the other kinds.
    virtual std::string input(const std::string& caption, const std::string& label, InputKind kind) = 0;
    // The goods pick list; the row under the cursor when it closes (Enter and Esc alike).
    // The list reads more candidates as it scrolls down.
    virtual std::size_t pickGoods(PagedRows& candidates) = 0;
    // The supervisor dialog for one right; nullopt when cancelled.
    virtual std::optional<Credentials> supervisor(OperatorRight right) = 0;
    virtual std::unique_ptr<WaitIndicator> pleaseWait(const std::string& text) = 0;
};

}  // namespace pos
