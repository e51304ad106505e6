#include "db/field.h"

#include <cstdint>
#include <string>

#include "db/dataset.h"
#include "internal.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/format.h"
#include "rtl/rounding.h"
#include "rtl/strings.h"

namespace db {

// ---- Field ----------------------------------------------------------------------

bool Field::readOnly() const { return role_ != FieldRole::Data || !ds_->updatable_; }

Value Field::value() const {
    if (!ds_->active()) throw rtl::DatabaseError("データセット '" + ds_->name_ + "' は開いていません。");
    const Dataset::Row* row = ds_->activeRow();
    if (!row) return {};
    return ds_->fieldValue(*this, *row);
}

bool Field::isNull() const { return value().isNull(); }

std::string Field::asString() const {
    Value v = value();
    if (v.isNull()) return {};
    if (kind_ == FieldKind::DateTime && v.isNumber()) return rtl::dateTimeToStr(v.real());
    return v.toString();
}

long long Field::asLargeInt() const {
    Value v = value();
    if (isTextKind(kind_) || v.isText()) return rtl::strToInt64(v.toString());
    if (v.isNull()) return 0;
    if (v.isInteger()) return v.integer();
    if (kind_ == FieldKind::DateTime) return rtl::trunc(v.real());
    return rtl::roundBankers(v.real());
}

int Field::asInteger() const {
    long long n = asLargeInt();
    if (n < INT32_MIN || n > INT32_MAX) throw rtl::ConversionError(rtl::msg::notInteger(std::to_string(n)));
    return static_cast<int>(n);
}

double Field::asFloat() const {
    Value v = value();
    if (isTextKind(kind_) || v.isText()) return rtl::strToFloat(v.toString());
    if (v.isNull()) return 0;
    return v.real();
}

double Field::asDateTime() const {
    Value v = value();
    if (isTextKind(kind_) || v.isText()) return rtl::strToDateTime(v.toString());
    if (v.isNull()) return 0;
    return v.real();
}

std::string Field::displayText() const {
    Value v = value();
    if (v.isNull()) return {};
    if (!displayFormat_.empty()) {
        if (isNumericKind(kind_) && v.isNumber()) return rtl::formatFloat(displayFormat_, v.real());
        if (kind_ == FieldKind::DateTime && v.isNumber()) return rtl::formatDateTime(displayFormat_, v.real());
    }
    return asString();
}

std::string Field::editText() const {
    Value v = value();
    if (v.isNull()) return {};
    if (!editFormat_.empty() && isNumericKind(kind_) && v.isNumber()) return rtl::formatFloat(editFormat_, v.real());
    return asString();
}

namespace {
Value checkedInteger(const Field& f, long long n) {
    const long long lo = f.kind() == FieldKind::Short ? -32768 : INT32_MIN;
    const long long hi = f.kind() == FieldKind::Short ? 32767 : INT32_MAX;
    if (n < lo || n > hi)
        throw rtl::DatabaseError("値 " + std::to_string(n) + " はフィールド '" + f.fieldName() + "' の範囲外です (" +
                                 std::to_string(lo) + " から " + std::to_string(hi) + ")。");
    return Value(n);
}
}  // namespace

void Field::setValue(const Value& v) {
    if (v.isNull()) return ds_->setFieldValue(*this, Value());
    if (v.isText()) return setAsString(v.text());
    if (v.isInteger()) return setAsInteger(v.integer());
    return setAsFloat(v.real());
}

void Field::setAsString(std::string_view text) {
    if (isTextKind(kind_)) return ds_->setFieldValue(*this, Value(detail::cutToWidth(text, width_)));
    if (text.empty()) return ds_->setFieldValue(*this, Value());
    switch (kind_) {
    case FieldKind::Long:
    case FieldKind::Short: return ds_->setFieldValue(*this, checkedInteger(*this, rtl::strToInt64(text)));
    case FieldKind::Double: return ds_->setFieldValue(*this, Value(rtl::strToFloat(text)));
    case FieldKind::DateTime: return ds_->setFieldValue(*this, Value(rtl::strToDateTime(text)));
    default: break;
    }
}

void Field::setAsInteger(long long v) {
    if (isIntegerKind(kind_)) return ds_->setFieldValue(*this, checkedInteger(*this, v));
    if (isTextKind(kind_)) return setAsString(std::to_string(v));
    ds_->setFieldValue(*this, Value(static_cast<double>(v)));
}

void Field::setAsFloat(double v) {
    if (isIntegerKind(kind_)) return ds_->setFieldValue(*this, checkedInteger(*this, rtl::roundBankers(v)));
    if (isTextKind(kind_)) return setAsString(rtl::floatToStr(v));
    ds_->setFieldValue(*this, Value(v));
}

void Field::setAsDateTime(double v) {
    if (isIntegerKind(kind_)) return ds_->setFieldValue(*this, checkedInteger(*this, rtl::trunc(v)));
    if (isTextKind(kind_)) return setAsString(rtl::dateTimeToStr(v));
    ds_->setFieldValue(*this, Value(v));
}

void Field::clear() { ds_->setFieldValue(*this, Value()); }

}  // namespace db
