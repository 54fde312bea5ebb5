#pragma once

#include "base/value.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pos {

bool sameName(std::string_view a, std::string_view b);  // column names compare without regard to case

// Column names of a result or a record set, looked up without regard to case.
class Columns {
public:
    Columns() = default;
    explicit Columns(std::vector<std::string> names) : names_(std::move(names)) {}

    std::size_t size() const { return names_.size(); }
    const std::string& name(std::size_t i) const { return names_[i]; }
    const std::vector<std::string>& names() const { return names_; }
    std::optional<std::size_t> find(std::string_view name) const;
    std::size_t index(std::string_view name) const;  // throws std::out_of_range when missing
    void add(std::string name) { names_.push_back(std::move(name)); }

private:
    std::vector<std::string> names_;
};

using Row = std::vector<Value>;

// A set of records held in memory: query results, and the bill in progress.
class RowSet {
public:
    RowSet() = default;
    explicit RowSet(Columns columns) : columns_(std::move(columns)) {}

    const Columns& columns() const { return columns_; }
    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }

    const Row& row(std::size_t r) const { return rows_[r]; }
    Row& row(std::size_t r) { return rows_[r]; }
    const Value& at(std::size_t r, std::string_view column) const { return rows_[r][columns_.index(column)]; }
    Value& at(std::size_t r, std::string_view column) { return rows_[r][columns_.index(column)]; }
    // First row's value of a column; null when there is no row.
    Value first(std::string_view column) const;

    std::size_t append();  // a new row of nulls; returns its index
    void append(Row row) { rows_.push_back(std::move(row)); }
    void remove(std::size_t r) { rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(r)); }
    void clear() { rows_.clear(); }

private:
    Columns columns_;
    std::vector<Row> rows_;
};

}  // namespace pos
