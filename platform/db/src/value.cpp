#include "db/value.h"

#include "rtl/convert.h"

namespace db {

std::string Value::toString() const {
    switch (v_.index()) {
    case 0: return {};
    case 1: return std::to_string(integer());
    case 2: return rtl::floatToStr(std::get<2>(v_));
    default: return text();
    }
}

bool isNumericKind(FieldKind k) { return k == FieldKind::Long || k == FieldKind::Short || k == FieldKind::Double; }
bool isIntegerKind(FieldKind k) { return k == FieldKind::Long || k == FieldKind::Short; }
bool isTextKind(FieldKind k) { return k == FieldKind::Text || k == FieldKind::FixedText; }

const char* kindName(FieldKind k) {
    switch (k) {
    case FieldKind::Long: return "Long";
    case FieldKind::Short: return "Short";
    case FieldKind::Double: return "Double";
    case FieldKind::DateTime: return "DateTime";
    case FieldKind::Text: return "Text";
    case FieldKind::FixedText: return "FixedText";
    }
    return "?";
}

}  // namespace db
