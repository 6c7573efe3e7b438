#include "jet/types.h"

namespace jet {

std::string_view data_type_name(DataType t) {
    switch (t) {
        case DataType::Boolean: return "Boolean";
        case DataType::Byte: return "Byte";
        case DataType::Integer: return "Integer";
        case DataType::Long: return "Long";
        case DataType::Currency: return "Currency";
        case DataType::Single: return "Single";
        case DataType::Double: return "Double";
        case DataType::Date: return "Date";
        case DataType::Text: return "Text";
        case DataType::Memo: return "Memo";
    }
    return "?";
}

}  // namespace jet
