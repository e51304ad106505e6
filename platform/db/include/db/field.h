// The fields of a dataset: persistent data fields, calculated fields and
// lookup fields, read and written by name on the dataset's current row.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "db/value.h"

namespace db {

class Dataset;

// A persistent data field or a calculated field.
struct FieldDef {
    FieldDef() = default;
    FieldDef(std::string name, FieldKind kind = FieldKind::Text, int width = 0, std::string displayFormat = {},
             std::string editFormat = {})
        : name(std::move(name)),
          kind(kind),
          width(width),
          displayFormat(std::move(displayFormat)),
          editFormat(std::move(editFormat)) {}
    std::string name;
    FieldKind kind = FieldKind::Text;
    int width = 0;              // text kinds: characters; 0 = the column's width
    std::string displayFormat;  // numbers: rtl::formatFloat mask ("#,##0", "#0.0#", "#0");
                                // date-times: rtl::formatDateTime mask
    std::string editFormat;     // numbers: mask of editText(); empty = plain digits
};

// A lookup field: for the current row, resultField of the first row of the
// source whose lookupKeyField equals this row's keyField; empty (NULL) when
// none does. The source is read from the database by its table name (or, for
// a query component, by its SQL), never through the source component's rows,
// so its filter and open state do not matter. A text key "000012" matches a
// number key 12 when the source key column is numeric.
struct LookupDef {
    LookupDef() = default;
    // Source by component.
    LookupDef(std::string name, std::string keyField, Dataset* source, std::string lookupKeyField,
              std::string lookupResultField, FieldKind kind = FieldKind::Text, int width = 0)
        : name(std::move(name)),
          kind(kind),
          width(width),
          keyField(std::move(keyField)),
          lookupDataset(source),
          lookupKeyField(std::move(lookupKeyField)),
          lookupResultField(std::move(lookupResultField)) {}
    // Source by table name.
    LookupDef(std::string name, std::string keyField, std::string table, std::string lookupKeyField,
              std::string lookupResultField, FieldKind kind = FieldKind::Text, int width = 0)
        : name(std::move(name)),
          kind(kind),
          width(width),
          keyField(std::move(keyField)),
          lookupTable(std::move(table)),
          lookupKeyField(std::move(lookupKeyField)),
          lookupResultField(std::move(lookupResultField)) {}
    std::string name;
    FieldKind kind = FieldKind::Text;
    int width = 0;
    std::string keyField;              // field of this dataset ("IDコード")
    Dataset* lookupDataset = nullptr;  // the source component (Table or Query) ...
    std::string lookupTable;           // ... or a table name
    std::string lookupKeyField;        // "E_NO"
    std::string lookupResultField;     // "E_NAME"
    std::string displayFormat;
};

enum class FieldRole { Data, Calculated, Lookup };

class Field {
public:
    const std::string& fieldName() const { return name_; }
    FieldKind kind() const { return kind_; }
    int size() const { return width_; }  // text width in characters (0 = no limit)
    FieldRole role() const { return role_; }
    bool isCalculated() const { return role_ == FieldRole::Calculated; }
    bool isLookup() const { return role_ == FieldRole::Lookup; }
    bool readOnly() const;
    const std::string& displayFormat() const { return displayFormat_; }
    void setDisplayFormat(std::string mask) { displayFormat_ = std::move(mask); }
    const std::string& editFormat() const { return editFormat_; }
    void setEditFormat(std::string mask) { editFormat_ = std::move(mask); }
    Dataset& dataset() const { return *ds_; }
    int index() const { return index_; }

    // ---- reading (current row; NULL on an empty dataset) ----
    Value value() const;
    bool isNull() const;
    std::string asString() const;  // date-times: rtl::dateTimeToStr; doubles: rtl::floatToStr
    int asInteger() const;         // doubles rounded half to even
    long long asLargeInt() const;
    double asFloat() const;
    double asDateTime() const;  // rtl::TDateTime
    // The text a control shows: numbers and date-times with the display
    // format; NULL -> "".
    std::string displayText() const;
    // The text an edit control starts from: numbers with the edit format (or
    // plain), date-times as rtl::dateTimeToStr, text as stored.
    std::string editText() const;

    // ---- writing (the dataset must be in Edit or Insert) ----
    // Text is cut to the field's width. Numbers are range-checked for long
    // and short fields (rtl::DatabaseError naming the field).
    void setValue(const Value& v);
    // "" -> NULL for number and date-time fields; else converted with the
    // runtime's conversions (rtl::ConversionError on bad text).
    void setAsString(std::string_view text);
    void setAsInteger(long long v);
    void setAsFloat(double v);  // long/short fields round half to even
    void setAsDateTime(double v);
    void clear();  // NULL
    // Text typed into a control (same rules as setAsString).
    void setEditText(std::string_view text) { setAsString(text); }

private:
    friend class Dataset;
    Field() = default;
    Dataset* ds_ = nullptr;
    int index_ = 0;
    std::string name_;
    FieldKind kind_ = FieldKind::Text;
    int width_ = 0;
    FieldRole role_ = FieldRole::Data;
    std::string displayFormat_;
    std::string editFormat_;
    bool persistent_ = false;
    int column_ = -1;  // data: result column; calculated: calc slot; lookup: lookup slot
};

}  // namespace db
