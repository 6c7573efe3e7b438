#include "ado/row_store.h"

#include <cstring>

namespace ado {

using jet::Value;
using Kind = jet::Value::Kind;

namespace {

constexpr size_t kBlockSize = size_t{1} << 20;

uint64_t bits_of(double d) {
    uint64_t u;
    std::memcpy(&u, &d, sizeof u);
    return u;
}

double double_of(uint64_t u) {
    double d;
    std::memcpy(&d, &u, sizeof d);
    return d;
}

}  // namespace

RowStore::RowStore(size_t columns) : cols_(columns) {}

size_t RowStore::add_row() {
    for (auto& c : cols_) {
        c.kinds.push_back(static_cast<uint8_t>(Kind::Empty));
        c.payload.push_back(0);
    }
    return rows_++;
}

void RowStore::pop_row() {
    if (rows_ == 0) return;
    for (auto& c : cols_) {
        c.kinds.pop_back();
        c.payload.pop_back();
    }
    --rows_;
}

// A text reference: block index in the upper 24 bits, offset in the lower 40. The
// block holds the length (4 bytes) followed by the bytes.
uint64_t RowStore::store_text(std::string_view s) {
    const size_t need = s.size() + 4;
    if (blocks_.empty() || used_ + need > block_sizes_.back()) {
        const size_t size = need > kBlockSize ? need : kBlockSize;
        blocks_.push_back(std::make_unique<char[]>(size));
        block_sizes_.push_back(size);
        used_ = 0;
    }
    char* p = blocks_.back().get() + used_;
    const uint32_t len = static_cast<uint32_t>(s.size());
    std::memcpy(p, &len, 4);
    if (!s.empty()) std::memcpy(p + 4, s.data(), s.size());
    const uint64_t ref = (static_cast<uint64_t>(blocks_.size() - 1) << 40) | used_;
    used_ += need;
    return ref;
}

std::string_view RowStore::text_at(uint64_t ref) const {
    const char* p = blocks_[ref >> 40].get() + (ref & ((uint64_t{1} << 40) - 1));
    uint32_t len;
    std::memcpy(&len, p, 4);
    return {p + 4, len};
}

void RowStore::set(size_t row, size_t col, const Value& v) {
    Column& c = cols_[col];
    c.kinds[row] = static_cast<uint8_t>(v.kind());
    switch (v.kind()) {
        case Kind::Empty:
        case Kind::Null: c.payload[row] = 0; break;
        case Kind::Boolean:
        case Kind::Byte:
        case Kind::Integer:
        case Kind::Long:
        case Kind::Currency: c.payload[row] = static_cast<uint64_t>(v.raw_int()); break;
        case Kind::Single:
        case Kind::Double:
        case Kind::Date: c.payload[row] = bits_of(v.raw_double()); break;
        case Kind::Text: c.payload[row] = store_text(v.raw_text()); break;
    }
}

bool RowStore::is_null(size_t row, size_t col) const {
    return cols_[col].kinds[row] == static_cast<uint8_t>(Kind::Null);
}

Value RowStore::get(size_t row, size_t col) const {
    const Column& c = cols_[col];
    const uint64_t p = c.payload[row];
    const auto i = static_cast<int64_t>(p);
    switch (static_cast<Kind>(c.kinds[row])) {
        case Kind::Empty: return Value();
        case Kind::Null: return Value::null();
        case Kind::Boolean: return Value::boolean(i != 0);
        case Kind::Byte: return Value::byte(static_cast<uint8_t>(i));
        case Kind::Integer: return Value::integer(static_cast<int16_t>(i));
        case Kind::Long: return Value::long_(static_cast<int32_t>(i));
        case Kind::Currency: return Value::currency(jet::Currency::from_scaled(i));
        case Kind::Single: return Value::single(static_cast<float>(double_of(p)));
        case Kind::Double: return Value::dbl(double_of(p));
        case Kind::Date: return Value::date(double_of(p));
        case Kind::Text: return Value::text(std::string(text_at(p)));
    }
    return Value();
}

size_t RowStore::bytes() const {
    size_t n = 0;
    for (const auto& c : cols_)
        n += c.kinds.capacity() + c.payload.capacity() * sizeof(uint64_t);
    for (size_t s : block_sizes_) n += s;
    return n;
}

}  // namespace ado
