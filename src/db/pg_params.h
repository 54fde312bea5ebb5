#pragma once

#include "base/database.h"

#include <string>
#include <vector>

namespace pos {

// Bound values in libpq's text form: each value as its text, a null as a null pointer.
// Holds the texts for as long as libpq reads them.
struct PgTextParams {
    std::vector<std::string> texts;
    std::vector<const char*> pointers;

    explicit PgTextParams(const Params& params)
    {
        texts.reserve(params.size());
        for (const Value& v : params)
            texts.push_back(v.toString());
        for (std::size_t i = 0; i < params.size(); ++i)
            pointers.push_back(params[i].isNull() ? nullptr : texts[i].c_str());
    }
    int count() const { return static_cast<int>(pointers.size()); }
    const char* const* data() const { return pointers.empty() ? nullptr : pointers.data(); }
};

}  // namespace pos
