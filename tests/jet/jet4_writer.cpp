#include "jet4_writer.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <variant>

namespace jet::testing {

namespace {

constexpr std::size_t kMaxRowsPerPage = 255;
constexpr std::uint16_t kTextChars = 50;
constexpr std::uint16_t kJapaneseSortOrder = 0x0411;
constexpr std::uint16_t kJapaneseCodePage = 932;
constexpr double kCreated = 45383.375;  // 2024-04-01 09:00, any fixed date will do

// What differs between the two generations of the format.
struct Format {
    bool jet3 = false;
    std::size_t pageSize = 4096;
    std::size_t rowCountAt = 12;   // data page: type, 1, free space, tdef page, (Jet 4: 4 unknown), row count
    std::size_t bitmapBytes = 64;  // of a type-0 usage map
    std::size_t maskedHeader = 128;

    std::size_t dataHeader() const { return rowCountAt + 2; }
    std::size_t maxPages() const { return bitmapBytes * 8; }
    std::uint16_t textLength(std::uint16_t chars) const { return jet3 ? chars : static_cast<std::uint16_t>(2 * chars); }
};

constexpr Format kJet4{};
constexpr Format kJet3{true, 2048, 8, 128, 126};

enum ColumnType : std::uint8_t {
    kInt = 0x03,
    kLong = 0x04,
    kDateTime = 0x08,
    kBinary = 0x09,
    kText = 0x0a,
    kOle = 0x0b,
    kMemo = 0x0c,
};

enum ColumnFlags : std::uint8_t {
    kFixedLength = 0x01,
    kCanBeNull = 0x02,
    kSystemColumn = 0x10,
};

bool isFixed(std::uint8_t type) { return type == kInt || type == kLong || type == kDateTime; }

std::uint16_t fixedLength(std::uint8_t type) {
    switch (type) {
    case kInt: return 2;
    case kLong: return 4;
    case kDateTime: return 8;
    default: return 0;
    }
}

struct Column {
    std::string name;  // UTF-8
    std::uint8_t type = kText;
    std::uint16_t length = 0;  // bytes; text stores two per character
    std::uint8_t flags = kCanBeNull;
    bool compressed = false;
    // Filled in by layOut():
    std::uint16_t number = 0;
    std::uint16_t varIndex = 0;
    std::uint16_t fixedOffset = 0;
};

using Cell = std::variant<std::monostate, std::int64_t, double, std::string>;  // text in UTF-8

struct Table {
    std::string name;
    bool system = false;
    std::vector<Column> columns;
    std::vector<std::vector<Cell>> rows;
    std::uint16_t varCount = 0;
    std::uint16_t fixedSize = 0;

    void layOut() {
        varCount = 0;
        fixedSize = 0;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            Column& c = columns[i];
            c.number = static_cast<std::uint16_t>(i);
            if (isFixed(c.type)) {
                c.fixedOffset = fixedSize;
                c.length = fixedLength(c.type);
                c.flags |= kFixedLength;
                fixedSize = static_cast<std::uint16_t>(fixedSize + c.length);
            } else {
                c.varIndex = varCount++;
            }
        }
    }
};

class Bytes {
public:
    void u8(std::uint8_t v) { b_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void append(const std::vector<std::uint8_t>& v) { b_.insert(b_.end(), v.begin(), v.end()); }
    std::size_t size() const { return b_.size(); }
    std::vector<std::uint8_t>& data() { return b_; }

private:
    std::vector<std::uint8_t> b_;
};

void put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b.at(at) = static_cast<std::uint8_t>(v);
    b.at(at + 1) = static_cast<std::uint8_t>(v >> 8);
}

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    put16(b, at, static_cast<std::uint16_t>(v));
    put16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}

void putDouble(std::vector<std::uint8_t>& b, std::size_t at, double v) {
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof v);
    std::memcpy(&bits, &v, sizeof v);
    put32(b, at, static_cast<std::uint32_t>(bits));
    put32(b, at + 4, static_cast<std::uint32_t>(bits >> 32));
}

std::vector<std::uint8_t> utf16le(const std::u16string& s) {
    std::vector<std::uint8_t> out;
    out.reserve(s.size() * 2);
    for (char16_t c : s) {
        out.push_back(static_cast<std::uint8_t>(c & 0xff));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    return out;
}

// Jet 4 "compressed unicode": the marker FF FE, then the text starts in
// compressed mode, where a character whose high byte is zero takes one byte;
// a 0x00 byte toggles between that and plain two-byte mode. A character with
// a zero low byte cannot be written, and the form is used only when shorter.
// Jet 3 keeps text in the writer's Windows code page, here CP932.
std::vector<std::uint8_t> cp932(const std::string& utf8) {
    iconv_t cd = iconv_open("CP932", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("jet writer: no CP932 converter");
    std::string in = utf8;
    std::vector<std::uint8_t> out(utf8.size() * 2 + 4);
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    auto* outPtr = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size();
    const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == static_cast<std::size_t>(-1))
        throw std::invalid_argument("jet writer: not representable in CP932: " + utf8);
    out.resize(out.size() - outLeft);
    return out;
}

std::vector<std::uint8_t> textBytes(const Format& f, const std::string& utf8, bool compress) {
    if (f.jet3) return cp932(utf8);
    const std::u16string s = utf16(utf8);
    std::vector<std::uint8_t> plain = utf16le(s);
    if (!compress || s.empty()) return plain;
    std::vector<std::uint8_t> out{0xff, 0xfe};
    bool compressedMode = true;
    for (char16_t c : s) {
        const auto lo = static_cast<std::uint8_t>(c & 0xff);
        const auto hi = static_cast<std::uint8_t>(c >> 8);
        if (lo == 0) return plain;
        if (hi == 0) {
            if (!compressedMode) {
                out.push_back(0);
                compressedMode = true;
            }
            out.push_back(lo);
        } else {
            if (compressedMode) {
                out.push_back(0);
                compressedMode = false;
            }
            out.push_back(lo);
            out.push_back(hi);
        }
    }
    return out.size() < plain.size() ? out : plain;
}

// One row: column count, the fixed-length area, the variable-length values,
// then (read backwards from the end) the null mask, the number of variable
// columns, their start offsets from the first to the last, and the end of
// the variable data.
std::vector<std::uint8_t> encodeRow(const Format& f, const Table& t, const std::vector<Cell>& cells) {
    const std::size_t n = t.columns.size();
    std::vector<std::uint8_t> fixed(t.fixedSize, 0);
    std::vector<std::uint8_t> nullMask((n + 7) / 8, 0);
    for (const Column& c : t.columns) {
        const Cell& v = cells.at(c.number);
        if (std::holds_alternative<std::monostate>(v)) continue;
        nullMask[c.number / 8] = static_cast<std::uint8_t>(nullMask[c.number / 8] | (1u << (c.number % 8)));
        if (!isFixed(c.type)) continue;
        if (c.type == kDateTime) {
            putDouble(fixed, c.fixedOffset, std::get<double>(v));
        } else {
            const auto i = static_cast<std::uint64_t>(std::get<std::int64_t>(v));
            if (c.type == kInt) put16(fixed, c.fixedOffset, static_cast<std::uint16_t>(i));
            else put32(fixed, c.fixedOffset, static_cast<std::uint32_t>(i));
        }
    }

    // Jet 3 counts and offsets take one byte each, Jet 4 two.
    Bytes row;
    const auto count = [&](std::size_t v) {
        if (f.jet3) row.u8(static_cast<std::uint8_t>(v));
        else row.u16(static_cast<std::uint16_t>(v));
    };
    count(n);
    row.append(fixed);
    if (t.varCount > 0) {
        std::vector<std::size_t> offsets(t.varCount + 1u, 0);
        for (const Column& c : t.columns) {
            if (isFixed(c.type)) continue;
            offsets[c.varIndex] = row.size();
            const Cell& v = cells.at(c.number);
            if (const auto* text = std::get_if<std::string>(&v)) row.append(textBytes(f, *text, c.compressed));
        }
        offsets[t.varCount] = row.size();
        for (std::size_t k = offsets.size(); k-- > 0;) count(offsets[k]);
        count(t.varCount);
    }
    row.append(nullMask);
    // Longer Jet 3 rows need a jump table for offsets past 255; not written here.
    if (f.jet3 && row.size() > 255) throw std::invalid_argument("jet writer: Jet 3 row longer than 255 bytes");
    return std::move(row.data());
}

struct DataPage {
    std::vector<std::vector<std::uint8_t>> rows;
    std::size_t used = 0;
};

std::vector<DataPage> packRows(const Format& f, const std::vector<std::vector<std::uint8_t>>& rows) {
    std::vector<DataPage> pages;
    for (const auto& r : rows) {
        if (f.dataHeader() + 2 + r.size() > f.pageSize) throw std::invalid_argument("jet writer: row too long");
        if (pages.empty() || pages.back().rows.size() == kMaxRowsPerPage ||
            f.dataHeader() + 2 * (pages.back().rows.size() + 1) + pages.back().used + r.size() > f.pageSize) {
            pages.emplace_back();
        }
        pages.back().rows.push_back(r);
        pages.back().used += r.size();
    }
    return pages;
}

// Rows are stored from the end of the page towards its start; the offset
// table after the header gives each row's first byte.
std::vector<std::uint8_t> dataPage(const Format& f, std::uint32_t owner,
                                   const std::vector<std::vector<std::uint8_t>>& rows) {
    std::vector<std::uint8_t> page(f.pageSize, 0);
    page[0] = 0x01;
    page[1] = 0x01;
    put32(page, 4, owner);
    put16(page, f.rowCountAt, static_cast<std::uint16_t>(rows.size()));
    std::size_t end = f.pageSize;
    std::size_t used = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const std::size_t start = end - rows[i].size();
        std::memcpy(page.data() + start, rows[i].data(), rows[i].size());
        put16(page, f.dataHeader() + 2 * i, static_cast<std::uint16_t>(start));
        end = start;
        used += rows[i].size();
    }
    put16(page, 2, static_cast<std::uint16_t>(f.pageSize - f.dataHeader() - 2 * rows.size() - used));
    return page;
}

// A type-0 usage map: map type, first page it describes, one bit per page.
std::vector<std::uint8_t> usageMap(const Format& f, const std::vector<std::uint32_t>& pages) {
    std::vector<std::uint8_t> map(5 + f.bitmapBytes, 0);
    for (std::uint32_t p : pages) map[5 + p / 8] = static_cast<std::uint8_t>(map[5 + p / 8] | (1u << (p % 8)));
    return map;
}

std::uint32_t rowPointer(std::uint32_t page, std::uint32_t row) { return page << 8 | row; }

std::vector<std::uint8_t> nameBytes(const Format& f, const std::string& name) {
    return f.jet3 ? cp932(name) : utf16le(utf16(name));
}

// The definition block after the 8-byte page header. Jet 4 inserted fields,
// widened column entries from 18 to 25 bytes and names' lengths to two bytes.
std::vector<std::uint8_t> tableDefinitionPage(const Format& f, const Table& t, std::uint32_t usedPages,
                                              std::uint32_t freePages) {
    std::vector<std::uint8_t> page(f.pageSize, 0);
    page[0] = 0x02;
    page[1] = 0x01;
    // 2..3: Jet 3 "VC", Jet 4 free space; 4..7: next definition page, none.
    const std::size_t shift = f.jet3 ? 0 : 20;  // Jet 4 fields before the table type
    if (f.jet3) {
        page[2] = 'V';
        page[3] = 'C';
        put32(page, 12, static_cast<std::uint32_t>(t.rows.size()));
    } else {
        put32(page, 16, static_cast<std::uint32_t>(t.rows.size()));
        page[24] = 0x01;
    }
    page[20 + shift] = t.system ? 0x53 : 0x4e;
    put16(page, 21 + shift, static_cast<std::uint16_t>(t.columns.size()));  // max columns
    put16(page, 23 + shift, t.varCount);
    put16(page, 25 + shift, static_cast<std::uint16_t>(t.columns.size()));
    // logical indexes and index entries: none.
    put32(page, 35 + shift, usedPages);
    put32(page, 39 + shift, freePages);
    std::size_t at = 43 + shift;
    for (const Column& c : t.columns) {
        page.at(at) = c.type;
        const bool text = c.type == kText || c.type == kMemo;
        if (f.jet3) {
            put16(page, at + 1, c.number);
            put16(page, at + 3, isFixed(c.type) ? 0 : c.varIndex);
            put16(page, at + 5, c.number);
            if (text) {
                put16(page, at + 7, kJapaneseSortOrder);
                put16(page, at + 9, kJapaneseCodePage);
            }
            page.at(at + 13) = c.flags;
            put16(page, at + 14, isFixed(c.type) ? c.fixedOffset : 0);
            put16(page, at + 16, c.length);
            at += 18;
        } else {
            put16(page, at + 5, c.number);
            put16(page, at + 7, isFixed(c.type) ? 0 : c.varIndex);
            put16(page, at + 9, c.number);
            if (text) put16(page, at + 11, kJapaneseSortOrder);
            page.at(at + 15) = c.flags;
            page.at(at + 16) = c.compressed ? 0x01 : 0x00;
            put16(page, at + 21, isFixed(c.type) ? c.fixedOffset : 0);
            put16(page, at + 23, c.length);
            at += 25;
        }
    }
    for (const Column& c : t.columns) {
        const std::vector<std::uint8_t> name = nameBytes(f, c.name);
        if (at + 2 + name.size() + 2 > f.pageSize) throw std::invalid_argument("jet writer: table definition too long");
        if (f.jet3) {
            if (name.size() > 64) throw std::invalid_argument("jet writer: column name too long");
            page.at(at++) = static_cast<std::uint8_t>(name.size());
        } else {
            put16(page, at, static_cast<std::uint16_t>(name.size()));
            at += 2;
        }
        std::memcpy(page.data() + at, name.data(), name.size());
        at += name.size();
    }
    put16(page, at, 0xffff);  // end of the (empty) list of long-value usage maps
    at += 2;
    put32(page, 8, static_cast<std::uint32_t>(at));
    if (!f.jet3) put16(page, 2, static_cast<std::uint16_t>(f.pageSize - 8 - at));
    return page;
}

void rc4(std::uint32_t keyValue, std::uint8_t* data, std::size_t len) {
    const std::array<std::uint8_t, 4> key{static_cast<std::uint8_t>(keyValue), static_cast<std::uint8_t>(keyValue >> 8),
                                          static_cast<std::uint8_t>(keyValue >> 16),
                                          static_cast<std::uint8_t>(keyValue >> 24)};
    std::array<std::uint8_t, 256> s{};
    for (int i = 0; i < 256; ++i) s[i] = static_cast<std::uint8_t>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % key.size()]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (std::size_t n = 0, i = 0, j = 0; n < len; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        data[n] ^= s[(s[i] + s[j]) & 0xff];
    }
}

// The header from offset 0x18 is masked with the RC4 key stream of the fixed
// key 0x6b39dac7; Jet 3 masks 126 bytes, Jet 4 128.
constexpr std::uint32_t kHeaderKey = 0x6b39dac7;

std::vector<std::uint8_t> headerPage(const Format& f, std::uint32_t pageKey) {
    std::vector<std::uint8_t> page(f.pageSize, 0);
    page[1] = 0x01;
    static constexpr char magic[] = "Standard Jet DB";
    std::memcpy(page.data() + 4, magic, sizeof magic);  // with its terminating zero
    put32(page, 0x14, f.jet3 ? 0 : 1);                  // format: 0 Jet 3, 1 Jet 4
    put16(page, 0x3c, kJapaneseCodePage);
    put32(page, 0x3e, pageKey);  // 0: pages are not encoded
    put16(page, f.jet3 ? 0x3a : 0x6e, kJapaneseSortOrder);
    putDouble(page, 0x72, kCreated);
    rc4(kHeaderKey, page.data() + 0x18, f.maskedHeader);
    return page;
}

Column column(const std::string& name, std::uint8_t type, std::uint16_t length = 0, std::uint8_t flags = kCanBeNull) {
    Column c;
    c.name = name;
    c.type = type;
    c.length = length;
    c.flags = flags;
    return c;
}

Table catalogTable(const Format& f) {
    const std::uint16_t longText = f.textLength(255);
    const auto sys = static_cast<std::uint8_t>(kCanBeNull | kSystemColumn);
    Table t;
    t.name = "MSysObjects";
    t.system = true;
    t.columns = {
        column("Id", kLong, 0, sys),
        column("ParentId", kLong, 0, sys),
        column("Name", kText, longText, sys),
        column("Type", kInt, 0, sys),
        column("DateCreate", kDateTime, 0, sys),
        column("DateUpdate", kDateTime, 0, sys),
        column("Owner", kBinary, 255, sys),
        column("Flags", kLong, 0, sys),
        column("Database", kMemo, 0, sys),
        column("Connect", kMemo, 0, sys),
        column("ForeignName", kText, longText, sys),
        column("RmtInfoShort", kBinary, 255, sys),
        column("RmtInfoLong", kOle, 0, sys),
        column("Lv", kOle, 0, sys),
        column("LvProp", kOle, 0, sys),
        column("LvModule", kOle, 0, sys),
        column("LvExtra", kOle, 0, sys),
    };
    t.layOut();
    return t;
}

// Object ids of the catalog: the "Tables" container, and the flags Access
// gives system tables (which keep them out of a program's table list).
constexpr std::int64_t kContainerRoot = 0x0f000000;
constexpr std::int64_t kTablesContainer = 0x0f000001;
constexpr std::int64_t kContainerFlags = static_cast<std::int32_t>(0x80000000u);
constexpr std::int64_t kSystemTableFlags = static_cast<std::int32_t>(0x80000002u);
constexpr std::int64_t kTypeTable = 1;
constexpr std::int64_t kTypeContainer = 3;

std::vector<Cell> catalogRow(const Table& catalog, const std::string& name, std::int64_t id, std::int64_t parent,
                             std::int64_t type, std::int64_t flags) {
    std::vector<Cell> row(catalog.columns.size());
    row[0] = id;
    row[1] = parent;
    row[2] = name;
    row[3] = type;
    row[4] = kCreated;
    row[5] = kCreated;
    row[7] = flags;
    return row;
}

Table userTable(const Format& f, const TextTable& in, TextStorage storage) {
    if (in.columns.empty() || in.columns.size() > 255)
        throw std::invalid_argument("jet writer: a table needs 1 to 255 columns: " + in.name);
    Table t;
    t.name = in.name;
    for (const std::string& name : in.columns) {
        Column c = column(name, kText, f.textLength(kTextChars));
        c.compressed = !f.jet3 && storage == TextStorage::Compressed;
        t.columns.push_back(c);
    }
    t.layOut();
    for (const auto& r : in.rows) {
        if (r.size() != in.columns.size())
            throw std::invalid_argument("jet writer: row with a wrong number of values in " + in.name);
        std::vector<Cell> cells;
        for (const auto& v : r) {
            if (!v) {
                cells.emplace_back(std::monostate{});
                continue;
            }
            const std::size_t length = f.jet3 ? cp932(*v).size() : utf16(*v).size();
            if (length > kTextChars) throw std::invalid_argument("jet writer: value longer than 50: " + *v);
            cells.emplace_back(*v);
        }
        t.rows.push_back(std::move(cells));
    }
    return t;
}

std::vector<std::vector<std::uint8_t>> encodeRows(const Format& f, const Table& t) {
    std::vector<std::vector<std::uint8_t>> rows;
    for (const auto& r : t.rows) rows.push_back(encodeRow(f, t, r));
    return rows;
}

}  // namespace

std::u16string utf16(const std::string& utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b0 = static_cast<unsigned char>(utf8[i]);
        std::size_t len = b0 < 0x80             ? 1
                          : (b0 & 0xe0) == 0xc0 ? 2
                          : (b0 & 0xf0) == 0xe0 ? 3
                          : (b0 & 0xf8) == 0xf0 ? 4
                                                : 0;
        if (len == 0 || i + len > utf8.size()) throw std::invalid_argument("jet writer: invalid UTF-8");
        char32_t cp = len == 1 ? b0 : len == 2 ? (b0 & 0x1f) : len == 3 ? (b0 & 0x0f) : (b0 & 0x07);
        for (std::size_t k = 1; k < len; ++k) {
            const auto b = static_cast<unsigned char>(utf8[i + k]);
            if ((b & 0xc0) != 0x80) throw std::invalid_argument("jet writer: invalid UTF-8");
            cp = (cp << 6) | (b & 0x3f);
        }
        static constexpr char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < minimum[len] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff))
            throw std::invalid_argument("jet writer: invalid UTF-8");
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xd800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xdc00 + (cp & 0x3ff)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

namespace {

std::vector<std::uint8_t> image(const Format& f, const std::vector<TextTable>& tables, TextStorage storage,
                                std::uint32_t pageKey) {
    std::vector<Table> users;
    for (const TextTable& t : tables) users.push_back(userTable(f, t, storage));

    // Pages: 0 header, 1 global usage map, 2 catalog definition, then the
    // pages holding the tables' usage maps, the catalog's data pages, and
    // per table its definition page followed by its data pages.
    constexpr std::uint32_t kFirstMapsPage = 3;
    const std::size_t mapsPerPage =
        std::min(kMaxRowsPerPage, (f.pageSize - f.dataHeader()) / (usageMap(f, {}).size() + 2));
    const std::size_t mapCount = 2 * (1 + users.size());
    const auto mapsPages = static_cast<std::uint32_t>((mapCount + mapsPerPage - 1) / mapsPerPage);
    const auto mapPointer = [&](std::size_t k) {
        return rowPointer(static_cast<std::uint32_t>(kFirstMapsPage + k / mapsPerPage),
                          static_cast<std::uint32_t>(k % mapsPerPage));
    };

    Table catalog = catalogTable(f);
    const auto fillCatalog = [&](const std::vector<std::uint32_t>& definitions) {
        catalog.rows.clear();
        catalog.rows.push_back(
            catalogRow(catalog, "Tables", kTablesContainer, kContainerRoot, kTypeContainer, kContainerFlags));
        catalog.rows.push_back(catalogRow(catalog, "MSysObjects", 2, kTablesContainer, kTypeTable, kSystemTableFlags));
        for (std::size_t i = 0; i < users.size(); ++i)
            catalog.rows.push_back(
                catalogRow(catalog, users[i].name, definitions.at(i), kTablesContainer, kTypeTable, 0));
    };
    // Row sizes do not depend on the ids, so the catalog's pages can be
    // counted before the ids are known.
    fillCatalog(std::vector<std::uint32_t>(users.size(), 0));
    const std::size_t catalogPages = packRows(f, encodeRows(f, catalog)).size();
    const std::uint32_t firstCatalogPage = kFirstMapsPage + mapsPages;

    std::vector<std::vector<DataPage>> userPages;
    std::vector<std::uint32_t> definitionPage;
    auto next = static_cast<std::uint32_t>(firstCatalogPage + catalogPages);
    for (const Table& t : users) {
        userPages.push_back(packRows(f, encodeRows(f, t)));
        definitionPage.push_back(next);
        next += static_cast<std::uint32_t>(1 + userPages.back().size());
    }
    const std::uint32_t pageCount = next;
    if (pageCount > f.maxPages()) throw std::invalid_argument("jet writer: file too large for one usage map");

    fillCatalog(definitionPage);
    const std::vector<DataPage> catalogData = packRows(f, encodeRows(f, catalog));
    if (catalogData.size() != catalogPages) throw std::logic_error("jet writer: catalog size changed");

    std::vector<std::vector<std::uint8_t>> file(pageCount);
    file[0] = headerPage(f, pageKey);
    // Page 1 is the database's own usage map: nothing free for reuse.
    file[1] = dataPage(f, 1, {usageMap(f, {}), usageMap(f, {})});

    std::vector<std::vector<std::uint8_t>> maps;
    std::vector<std::uint32_t> pages;
    for (std::uint32_t p = 0; p < catalogData.size(); ++p) {
        file[firstCatalogPage + p] = dataPage(f, 2, catalogData[p].rows);
        pages.push_back(firstCatalogPage + p);
    }
    maps.push_back(usageMap(f, pages));
    maps.push_back(usageMap(f, pages));
    file[2] = tableDefinitionPage(f, catalog, mapPointer(0), mapPointer(1));

    for (std::size_t i = 0; i < users.size(); ++i) {
        pages.clear();
        const std::uint32_t def = definitionPage[i];
        for (std::uint32_t p = 0; p < userPages[i].size(); ++p) {
            file[def + 1 + p] = dataPage(f, def, userPages[i][p].rows);
            pages.push_back(def + 1 + p);
        }
        const std::size_t k = maps.size();
        maps.push_back(usageMap(f, pages));
        maps.push_back(usageMap(f, pages));
        file[def] = tableDefinitionPage(f, users[i], mapPointer(k), mapPointer(k + 1));
    }
    for (std::uint32_t p = 0; p < mapsPages; ++p) {
        const auto first = maps.begin() + static_cast<std::ptrdiff_t>(p * mapsPerPage);
        const auto last = maps.begin() + static_cast<std::ptrdiff_t>(std::min(maps.size(), (p + 1) * mapsPerPage));
        file[kFirstMapsPage + p] = dataPage(f, 0, {first, last});
    }

    if (pageKey != 0)
        for (std::uint32_t p = 1; p < pageCount; ++p) rc4(pageKey ^ p, file[p].data(), file[p].size());

    std::vector<std::uint8_t> bytes;
    bytes.reserve(pageCount * f.pageSize);
    for (const auto& p : file) bytes.insert(bytes.end(), p.begin(), p.end());
    return bytes;
}

void save(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("jet writer: cannot write " + file.string());
}

}  // namespace

std::vector<std::uint8_t> jet4Image(const std::vector<TextTable>& tables, TextStorage storage, std::uint32_t pageKey) {
    return image(kJet4, tables, storage, pageKey);
}

void writeJet4(const std::filesystem::path& file, const std::vector<TextTable>& tables, TextStorage storage,
               std::uint32_t pageKey) {
    save(file, jet4Image(tables, storage, pageKey));
}

std::vector<std::uint8_t> jet3Image(const std::vector<TextTable>& tables) {
    return image(kJet3, tables, TextStorage::Utf16, 0);
}

void writeJet3(const std::filesystem::path& file, const std::vector<TextTable>& tables) {
    save(file, jet3Image(tables));
}

}  // namespace jet::testing
