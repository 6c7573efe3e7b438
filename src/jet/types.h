// Jet's column types, numbered as DAO numbers them (Field.Type).
#pragma once

#include <cstdint>
#include <string_view>

namespace jet {

enum class DataType : uint8_t {
    Boolean = 1,   // Yes/No: -1 and 0, may hold Null
    Byte = 2,      // 0..255
    Integer = 3,   // 16-bit
    Long = 4,      // 32-bit; a counter is a Long with the counter attribute
    Currency = 5,  // exact to 4 decimals
    Single = 6,    // 4-byte float
    Double = 7,
    Date = 8,      // days since 30 December 1899, time as the fraction
    Text = 10,     // up to 255 characters
    Memo = 12,     // long text
};

// DAO's Field.Attributes bit of a counter column (dbAutoIncrField).
inline constexpr int kCounterAttribute = 16;

inline constexpr int kMaxTextSize = 255;

std::string_view data_type_name(DataType t);

}  // namespace jet
