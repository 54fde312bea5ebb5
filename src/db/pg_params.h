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

// The texts as one PostgreSQL array value, bound as a single parameter ($1::varchar[]):
// every element quoted, its quotes and backslashes escaped.
inline std::string pgTextArray(const std::vector<std::string>& texts)
{
    std::string array = "{";
    for (const std::string& text : texts) {
        if (array.size() > 1)
            array += ',';
        array += '"';
        for (char c : text) {
            if (c == '"' || c == '\\')
                array += '\\';
            array += c;
        }
        array += '"';
    }
    return array + "}";
}

}  // namespace pos
