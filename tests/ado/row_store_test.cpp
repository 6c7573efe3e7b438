#include "ado/row_store.h"

#include <gtest/gtest.h>

namespace {

using jet::Value;

TEST(RowStore, EveryKindRoundTrips) {
    const Value values[] = {
        Value(),
        Value::null(),
        Value::boolean(true),
        Value::boolean(false),
        Value::byte(255),
        Value::integer(-32768),
        Value::long_(-2147483647 - 1),
        Value::currency(jet::Currency::from_scaled(-123456789)),
        Value::single(1.1f),
        Value::dbl(-0.1),
        Value::date(36892.75),
        Value::text(""),
        Value::text("zażółć gęślą jaźń"),
        Value::text(std::string(3 << 20, 'x')),  // longer than an arena block
    };
    ado::RowStore store(2);
    for (const auto& v : values) {
        const size_t r = store.add_row();
        store.set(r, 0, v);
        store.set(r, 1, Value::text("row " + std::to_string(r)));
    }
    for (size_t r = 0; r < std::size(values); ++r) {
        EXPECT_TRUE(store.get(r, 0) == values[r]) << r;
        EXPECT_EQ(store.get(r, 1).raw_text(), "row " + std::to_string(r));
    }
    store.set(0, 1, Value::text("replaced"));
    EXPECT_EQ(store.get(0, 1).raw_text(), "replaced");
    store.pop_row();
    EXPECT_EQ(store.rows(), std::size(values) - 1);
}

}  // namespace

namespace {

// Rows across the store's growing chunks keep their cells; removing rows back over
// a chunk boundary and adding them again reuses the places.
TEST(RowStore, RowsAcrossChunks) {
    ado::RowStore store(3);
    auto fill = [&](size_t from, size_t to) {
        for (size_t r = from; r < to; ++r) {
            EXPECT_EQ(store.add_row(), r);
            store.set(r, 0, Value::long_(static_cast<int32_t>(r)));
            store.set(r, 1, Value::text("t" + std::to_string(r)));
            store.set(r, 2, r % 7 ? Value::dbl(r * 0.5) : Value::null());
        }
    };
    auto check = [&](size_t to) {
        ASSERT_EQ(store.rows(), to);
        for (size_t r = 0; r < to; ++r) {
            EXPECT_EQ(store.get(r, 0).raw_int(), static_cast<int64_t>(r));
            EXPECT_EQ(store.get(r, 1).raw_text(), "t" + std::to_string(r));
            EXPECT_EQ(store.is_null(r, 2), r % 7 == 0);
        }
    };
    fill(0, 1000);
    check(1000);
    while (store.rows() > 63) store.pop_row();
    check(63);
    fill(63, 500);
    check(500);
}

}  // namespace
