#include "support/server_clock_span.h"

#include "base/database.h"

#include <optional>
#include <stdexcept>
#include <string>

namespace pos::test {

ServerClockSpan::ServerClockSpan(Database& server) : server_(server), before_(read()), after_(before_) {}

void ServerClockSpan::end() { after_ = read(); }

DateTime ServerClockSpan::read()
{
    const std::string text = server_.query("select localtimestamp(0) as t").first("t").toString();
    const std::optional<DateTime> t = DateTime::parse(text);
    if (!t)
        throw std::runtime_error("the server's clock reads '" + text + "'");
    return *t;
}

::testing::AssertionResult ServerClockSpan::holds(const DateTime& t) const
{
    if (before_ <= t && t <= after_)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << t.text() << " is not between the server's " << before_.text() << " and "
                                         << after_.text();
}

::testing::AssertionResult ServerClockSpan::holds(const std::string& text) const
{
    const std::optional<DateTime> t = DateTime::parse(text);
    if (!t)
        return ::testing::AssertionFailure() << "'" << text << "' is not a time";
    return holds(*t);
}

}  // namespace pos::test
