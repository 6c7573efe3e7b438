// Compact storage of a recordset's values: one kind byte and one 8-byte payload
// per cell, rows in chunks (a chunk's cells row after row, so that reading or
// filling a row touches neighbouring memory), texts in a shared arena of large
// blocks.
//
// A million rows of five columns take about 45 MB plus their texts, against several
// hundred for a Value per cell.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "jet/value.h"

namespace ado {

class RowStore {
  public:
    explicit RowStore(size_t columns = 0);

    size_t columns() const { return ncols_; }
    size_t rows() const { return rows_; }

    // Appends a row and returns its index; the caller sets each of its cells before
    // reading any.
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
    // Rows are kept in chunks that double in size (64 rows, 128, 256, ...), so that
    // growing never copies and a small recordset stays small. Chunk k starts at row
    // 64 * (2^k - 1).
    static constexpr size_t kFirstChunkRows = 64;
    static size_t chunk_of(size_t row) { return std::bit_width(row / kFirstChunkRows + 1) - 1; }
    static size_t first_row(size_t chunk) { return kFirstChunkRows * ((size_t{1} << chunk) - 1); }
    struct Chunk {
        std::unique_ptr<uint8_t[]> kinds;     // rows x columns, row after row
        std::unique_ptr<uint64_t[]> payload;  // rows x columns, row after row
    };
    // A cell's chunk and its place in it.
    std::pair<size_t, size_t> cell(size_t row, size_t col) const {
        const size_t k = chunk_of(row);
        return {k, (row - first_row(k)) * ncols_ + col};
    }
    uint64_t store_text(std::string_view s);
    std::string_view text_at(uint64_t ref) const;

    size_t ncols_;
    std::vector<Chunk> chunks_;
    size_t rows_ = 0;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::vector<size_t> block_sizes_;
    size_t used_ = 0;  // bytes used in the last block
};

namespace detail {
inline uint64_t bits_of(double d) {
    uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}
inline double double_of(uint64_t u) {
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}
}  // namespace detail

inline void RowStore::set(size_t row, size_t col, const jet::Value& v) {
    using K = jet::Value::Kind;
    const auto [chunk, k] = cell(row, col);
    Chunk& c = chunks_[chunk];
    c.kinds[k] = static_cast<uint8_t>(v.kind());
    uint64_t& p = c.payload[k];
    switch (v.kind()) {
        case K::Empty:
        case K::Null:
            p = 0;
            break;
        case K::Boolean:
        case K::Byte:
        case K::Integer:
        case K::Long:
        case K::Currency:
            p = static_cast<uint64_t>(v.raw_int());
            break;
        case K::Single:
        case K::Double:
        case K::Date:
            p = detail::bits_of(v.raw_double());
            break;
        case K::Text:
            p = store_text(v.raw_text());
            break;
    }
}

inline jet::Value RowStore::get(size_t row, size_t col) const {
    using K = jet::Value::Kind;
    const auto [chunk, k] = cell(row, col);
    const Chunk& c = chunks_[chunk];
    const uint64_t p = c.payload[k];
    const auto i = static_cast<int64_t>(p);
    switch (static_cast<K>(c.kinds[k])) {
        case K::Empty:
            return jet::Value();
        case K::Null:
            return jet::Value::null();
        case K::Boolean:
            return jet::Value::boolean(i != 0);
        case K::Byte:
            return jet::Value::byte(static_cast<uint8_t>(i));
        case K::Integer:
            return jet::Value::integer(static_cast<int16_t>(i));
        case K::Long:
            return jet::Value::long_(static_cast<int32_t>(i));
        case K::Currency:
            return jet::Value::currency(jet::Currency::from_scaled(i));
        case K::Single:
            return jet::Value::single(static_cast<float>(detail::double_of(p)));
        case K::Double:
            return jet::Value::dbl(detail::double_of(p));
        case K::Date:
            return jet::Value::date(detail::double_of(p));
        case K::Text:
            return jet::Value::text(std::string(text_at(p)));
    }
    return jet::Value();
}

}  // namespace ado
