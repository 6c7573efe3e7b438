#include "ado/row_store.h"

#include <cstring>

namespace ado {

using jet::Value;
using Kind = jet::Value::Kind;

namespace {

constexpr size_t kBlockSize = size_t{1} << 20;

}  // namespace

RowStore::RowStore(size_t columns) : ncols_(columns) {}

size_t RowStore::add_row() {
    const size_t r = rows_;
    if (r == first_row(chunks_.size())) {
        // Left uninitialised: the caller sets every cell of a new row.
        const size_t cells = (kFirstChunkRows << chunks_.size()) * ncols_;
        chunks_.push_back({std::unique_ptr<uint8_t[]>(new uint8_t[cells]),
                           std::unique_ptr<uint64_t[]>(new uint64_t[cells])});
    }
    return rows_++;
}

void RowStore::pop_row() {
    if (rows_ == 0) return;
    --rows_;
    if (rows_ == first_row(chunks_.size() - 1)) chunks_.pop_back();
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

bool RowStore::is_null(size_t row, size_t col) const {
    const auto [chunk, k] = cell(row, col);
    return chunks_[chunk].kinds[k] == static_cast<uint8_t>(Kind::Null);
}

size_t RowStore::bytes() const {
    size_t n = 0;
    for (size_t k = 0; k < chunks_.size(); ++k)
        n += (kFirstChunkRows << k) * ncols_ * (1 + sizeof(uint64_t));
    for (size_t s : block_sizes_) n += s;
    return n;
}

}  // namespace ado
