// Compact storage of a recordset's values: column-wise, one kind byte and one
// 8-byte payload per cell, texts in a shared arena of large blocks.
//
// A million rows of five columns take about 45 MB plus their texts, against several
// hundred for a Value per cell.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "jet/value.h"

namespace ado {

class RowStore {
public:
    explicit RowStore(size_t columns = 0);

    size_t columns() const { return cols_.size(); }
    size_t rows() const { return rows_; }

    // Appends a row of Empty values and returns its index.
    size_t add_row();
    // Removes the last row (a new record cancelled before it was saved).
    void pop_row();

    jet::Value get(size_t row, size_t col) const;
    bool is_null(size_t row, size_t col) const;
    // Replaces a value; a replaced text keeps its space in the arena until the
    // recordset closes.
    void set(size_t row, size_t col, const jet::Value& v);

    // Bytes held, for the benchmark's report.
    size_t bytes() const;

private:
    struct Column {
        std::vector<uint8_t> kinds;
        std::vector<uint64_t> payload;
    };
    uint64_t store_text(std::string_view s);
    std::string_view text_at(uint64_t ref) const;

    std::vector<Column> cols_;
    size_t rows_ = 0;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::vector<size_t> block_sizes_;
    size_t used_ = 0;  // bytes used in the last block
};

}  // namespace ado
