#include "base/value.h"

#include "base/number_format.h"

#include <cstdlib>

namespace pos {

std::int64_t Value::toInt() const
{
    if (auto p = std::get_if<std::int64_t>(&v_))
        return *p;
    if (auto p = std::get_if<double>(&v_))
        return static_cast<std::int64_t>(*p);
    if (auto p = std::get_if<std::string>(&v_)) {
        double d = 0;
        if (parseNumber(*p, d))
            return static_cast<std::int64_t>(d);
        return std::strtoll(p->c_str(), nullptr, 10);
    }
    return 0;
}

double Value::toDouble() const
{
    if (auto p = std::get_if<std::int64_t>(&v_))
        return static_cast<double>(*p);
    if (auto p = std::get_if<double>(&v_))
        return *p;
    if (auto p = std::get_if<std::string>(&v_))
        return std::strtod(p->c_str(), nullptr);
    return 0;
}

std::string Value::toString() const
{
    if (auto p = std::get_if<std::int64_t>(&v_))
        return std::to_string(*p);
    if (auto p = std::get_if<double>(&v_))
        return generalNumber(*p);
    if (auto p = std::get_if<std::string>(&v_))
        return *p;
    return {};
}

}  // namespace pos
