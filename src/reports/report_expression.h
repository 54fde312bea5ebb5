#pragma once

#include <string>
#include <string_view>

namespace pos {

// The expression whose value is `text` itself: the text in single quotes, with every
// quote inside it doubled, so that any text makes a well-formed expression.
std::string quotedText(std::string_view text);

// The value of a variable's expression: a quoted text (blanks around it allowed) gives
// the text; anything else, a broken quote included, is shown as written.
std::string expressionValue(std::string_view expression);

}  // namespace pos
