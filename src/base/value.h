#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace pos {

// One database value as the terminal sees it: null, an integer, a decimal number or text.
// Date-times travel as text "YYYY-MM-DD HH:MM:SS"; flags as integers 0/1.
class Value {
public:
    Value() = default;
    Value(std::nullptr_t) {}
    Value(int v) : v_(static_cast<std::int64_t>(v)) {}
    Value(long v) : v_(static_cast<std::int64_t>(v)) {}
    Value(long long v) : v_(static_cast<std::int64_t>(v)) {}
    Value(bool v) : v_(static_cast<std::int64_t>(v ? 1 : 0)) {}
    Value(double v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(const char* v) : v_(std::string(v)) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isInt() const { return std::holds_alternative<std::int64_t>(v_); }
    bool isDouble() const { return std::holds_alternative<double>(v_); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }

    // Conversions never throw: null reads as 0 / empty, unparsable text as 0.
    std::int64_t toInt() const;
    double toDouble() const;
    // Text form: integers in decimal, numbers in the general number format, null empty.
    std::string toString() const;
    bool toBool() const { return toInt() != 0; }

    bool operator==(const Value& other) const = default;

private:
    std::variant<std::monostate, std::int64_t, double, std::string> v_;
};

}  // namespace pos
