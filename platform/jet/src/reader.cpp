#include "jet/reader.h"

#include <mdbtools.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>
#include <utility>

namespace jet {

namespace {

constexpr std::size_t kHeaderBytes = 0x20;

std::string quoted(const std::filesystem::path& file) { return "「" + file.string() + "」"; }

std::string fileMessage(const std::filesystem::path& file, const std::string& what) {
    return "ファイル" + quoted(file) + what;
}

std::string tableMessage(const std::filesystem::path& file, const std::string& table, const std::string& what) {
    return "ファイル" + quoted(file) + "のテーブル「" + table + "」" + what;
}

bool asciiCaseEqual(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

struct Layout {
    int version = 0;
    std::uint32_t pageSize = 0;
    std::uint32_t pageCount = 0;
};

// Checks what libmdb would otherwise take on trust: the file is there, can be
// read, carries a Jet header and consists of whole pages. A file cut short
// would otherwise read as a database with rows silently missing.
Layout checkFile(const std::filesystem::path& file) {
    std::error_code ec;
    const auto status = std::filesystem::status(file, ec);
    if (ec || !std::filesystem::exists(status)) throw Error(fileMessage(file, "が見つかりません。"));
    if (!std::filesystem::is_regular_file(status))
        throw Error(fileMessage(file, "はデータベースファイルではありません。"));

    std::ifstream in(file, std::ios::binary);
    if (!in) {
        const int err = errno;
        throw Error(fileMessage(file, "を開けません（" + std::string(std::strerror(err)) + "）。"));
    }
    std::array<unsigned char, kHeaderBytes> head{};
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    const bool complete = static_cast<std::size_t>(in.gcount()) == head.size();
    static constexpr char jetMagic[] = "Standard Jet DB";
    static constexpr char aceMagic[] = "Standard ACE DB";
    const bool magicOk = complete && head[0] == 0 &&
                         (std::memcmp(head.data() + 4, jetMagic, sizeof jetMagic - 1) == 0 ||
                          std::memcmp(head.data() + 4, aceMagic, sizeof aceMagic - 1) == 0);
    if (!magicOk) throw Error(fileMessage(file, "は Access のデータベース（.mdb）ではありません。"));

    const int version = head[0x14];
    if (version > MDB_VER_ACCDB_2019)
        throw Error(fileMessage(file, "は対応していない形式の Access データベースです。"));
    const std::uintmax_t pageSize = version == MDB_VER_JET3 ? 2048 : 4096;
    const std::uintmax_t size = std::filesystem::file_size(file, ec);
    // Page 0 is the header, page 2 the catalog's table definition.
    if (ec || size < 3 * pageSize || size % pageSize != 0 || size / pageSize > 0xffffffu)
        throw Error(fileMessage(file, "は壊れているか、途中で切れています。"));
    return {version, static_cast<std::uint32_t>(pageSize), static_cast<std::uint32_t>(size / pageSize)};
}

std::uint32_t le16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

struct TableDefDeleter {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};
using TableDefPtr = std::unique_ptr<MdbTableDef, TableDefDeleter>;

// A bound column also records whether the row stored NULL: libmdb hands out
// NULL and the empty string alike as zero bytes, but Jet keeps them apart in
// the row's null mask, which we read back after each fetch.
struct BoundColumn {
    std::vector<char> buffer;
    int length = 0;
};

// One object of the catalog MSysObjects.
struct CatalogEntry {
    std::string name;
    int type = 0;
    unsigned long page = 0;  // of the table definition
    long flags = 0;
};

// RC4, as Jet uses it to encode the pages of an "encoded" database.
void rc4(const std::array<unsigned char, 4>& key, unsigned char* data, std::size_t len) {
    std::array<unsigned char, 256> s{};
    for (int i = 0; i < 256; ++i) s[i] = static_cast<unsigned char>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
        j = (j + s[i] + key[i % 4]) & 0xff;
        std::swap(s[i], s[j]);
    }
    for (std::size_t n = 0, i = 0, j = 0; n < len; ++n) {
        i = (i + 1) & 0xff;
        j = (j + s[i]) & 0xff;
        std::swap(s[i], s[j]);
        data[n] ^= s[(s[i] + s[j]) & 0xff];
    }
}

}  // namespace

struct Reader::Impl {
    std::filesystem::path file;
    std::vector<CatalogEntry> catalog;
    Layout layout;
    std::ifstream raw;  // our own look at the pages, apart from libmdb's
    MdbHandle* mdb = nullptr;
    int version = 0;

    std::vector<unsigned char> page(std::uint32_t number) {
        std::vector<unsigned char> buf;
        if (number >= layout.pageCount) return buf;
        buf.resize(layout.pageSize);
        raw.clear();
        raw.seekg(static_cast<std::streamoff>(number) * layout.pageSize);
        raw.read(reinterpret_cast<char*>(buf.data()), static_cast<std::streamsize>(buf.size()));
        if (!raw) {
            buf.clear();
        } else if (number != 0 && mdb->f->db_key != 0) {
            // Pages of an encoded database, keyed by the header's key and the page number.
            const std::uint32_t key = mdb->f->db_key ^ number;
            rc4({static_cast<unsigned char>(key), static_cast<unsigned char>(key >> 8),
                 static_cast<unsigned char>(key >> 16), static_cast<unsigned char>(key >> 24)},
                buf.data(), buf.size());
        }
        return buf;
    }

    // A usage map is a row on a data page, named by page and row number.
    // libmdb follows these pointers without checking them and scans past the
    // end of a map that is too short, so they are checked here first.
    bool usageMapSound(std::uint32_t pointer) {
        const std::uint32_t number = pointer >> 8;
        const std::uint32_t row = pointer & 0xff;
        const std::vector<unsigned char> p = page(number);
        if (p.empty() || p[0] != MDB_PAGE_DATA) return false;
        const std::size_t rowCountAt = mdb->fmt->row_count_offset;
        const std::uint32_t rows = le16(p, rowCountAt);
        if (row >= rows || rowCountAt + 2 + 2 * (row + 1) > p.size()) return false;
        const std::uint32_t start = le16(p, rowCountAt + 2 + 2 * row) & 0x1fff;
        const std::uint32_t end = row == 0 ? layout.pageSize : le16(p, rowCountAt + 2 * row) & 0x1fff;
        if (start >= end || end > layout.pageSize || end - start < 5) return false;
        switch (p[start]) {
        case 0: return true;
        case 1:  // a list of pages that hold the bitmaps
            for (std::uint32_t at = start + 1; at + 4 <= end; at += 4) {
                const std::uint32_t mapPage = le32(p, at);
                if (mapPage >= layout.pageCount) return false;
            }
            return true;
        default: return false;
        }
    }

    bool tableDefinitionSound(unsigned long number) {
        if (number >= layout.pageCount) return false;
        const std::vector<unsigned char> p = page(static_cast<std::uint32_t>(number));
        const std::size_t usageAt = mdb->fmt->tab_usage_map_offset;
        const std::size_t freeAt = mdb->fmt->tab_free_map_offset;
        if (p.empty() || p[0] != MDB_PAGE_TABLE || freeAt + 4 > p.size()) return false;
        return usageMapSound(le32(p, usageAt)) && usageMapSound(le32(p, freeAt));
    }

    ~Impl() {
        if (mdb) mdb_close(mdb);
    }

    // Text of a Jet 3 file is in the code page of the Windows that wrote it;
    // a time recorder's database comes from a Japanese Windows, so CP932 (not
    // libmdb's default CP1252, nor its SHIFT-JIS for code page 932, which turns
    // '\' into '¥'). Jet 4 stores UTF-16. The output is always UTF-8, whatever
    // MDBICONV says in the environment.
    void setEncoding() {
        const char* stored = mdb->f->jet_version == MDB_VER_JET3 ? "CP932" : "UTF-16LE";
        mdb_iconv_close(mdb);
        mdb->iconv_in = iconv_open("UTF-8", stored);
        mdb->iconv_out = iconv_open(stored, "UTF-8");
        if (mdb->iconv_in == reinterpret_cast<iconv_t>(-1) || mdb->iconv_out == reinterpret_cast<iconv_t>(-1))
            throw Error(fileMessage(file, "の文字コード（" + std::string(stored) + "）を変換できません。"));
    }

    Reader::Table readRows(MdbCatalogEntry& entry, const std::string& name);
    void readCatalog();
};

// Every row of one table. The caller's entry names the definition page.
Reader::Table Reader::Impl::readRows(MdbCatalogEntry& entry, const std::string& name) {
    const auto broken = [&] {
        return Error(tableMessage(file, name, "を読み込めません。ファイルが壊れている可能性があります。"));
    };
    if (!tableDefinitionSound(entry.table_pg)) throw broken();
    TableDefPtr table(mdb_read_table(&entry));
    if (!table) throw broken();
    // libmdb decodes rows into fixed arrays of MDB_MAX_COLS fields.
    if (table->num_cols == 0 || table->num_cols > MDB_MAX_COLS) throw broken();
    GPtrArray* columns = mdb_read_columns(table.get());
    if (!columns || columns->len != table->num_cols) throw broken();

    Table result;
    std::vector<BoundColumn> bound(table->num_cols);
    std::vector<bool> isBool(table->num_cols);
    for (unsigned i = 0; i < table->num_cols; ++i) {
        auto* col = static_cast<MdbColumn*>(g_ptr_array_index(columns, i));
        result.columns.emplace_back(col->name);
        isBool[i] = col->col_type == MDB_BOOL;
        bound[i].buffer.assign(mdb->bind_size + 1, '\0');
        if (mdb_bind_column(table.get(), static_cast<int>(i) + 1, bound[i].buffer.data(), &bound[i].length) == -1)
            throw broken();
    }

    mdb_rewind_table(table.get());
    std::array<MdbField, MDB_MAX_COLS> fields{};
    while (mdb_fetch_row(table.get())) {
        // Re-read the null mask of the row just fetched, still in the page buffer.
        bool maskKnown = false;
        if (table->cur_row > 0 && mdb->cur_pg == table->cur_phys_pg) {
            int start = 0;
            size_t size = 0;
            if (mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size) == 0 && size > 0)
                maskKnown = mdb_crack_row(table.get(), start & 0x1fff, size, fields.data()) >= 0;
        }
        std::vector<std::optional<std::string>> row;
        row.reserve(table->num_cols);
        for (unsigned i = 0; i < table->num_cols; ++i) {
            const BoundColumn& b = bound[i];
            const auto len = static_cast<std::size_t>(std::clamp(b.length, 0, static_cast<int>(mdb->bind_size)));
            const bool isNull = !isBool[i] && (maskKnown ? fields[i].is_null != 0 : len == 0);
            if (isNull) row.emplace_back(std::nullopt);
            else row.emplace_back(std::string(b.buffer.data(), len));
        }
        result.rows.push_back(std::move(row));
    }
    // The table definition counts its rows; fewer found means pages are
    // missing or damaged, and a partial table must not pass for the whole.
    if (result.rows.size() < table->num_rows) {
        throw Error(tableMessage(file, name,
                                 "が壊れています（" + std::to_string(table->num_rows) + " 行のうち " +
                                     std::to_string(result.rows.size()) + " 行しか読めません）。"));
    }
    return result;
}

// The catalog is read as an ordinary table rather than through
// mdb_read_catalog, which also decodes every object's property blob and
// loops or crashes on a damaged one; the properties are of no use here.
void Reader::Impl::readCatalog() {
    const Error broken(fileMessage(file, "のテーブル一覧を読み込めません。ファイルが壊れている可能性があります。"));
    MdbCatalogEntry system{};
    system.mdb = mdb;
    system.object_type = MDB_TABLE;
    system.table_pg = 2;  // the catalog's definition is always on page 2
    std::snprintf(system.object_name, sizeof system.object_name, "%s", "MSysObjects");
    Table objects;
    try {
        objects = readRows(system, "MSysObjects");
    } catch (const Error&) {
        throw broken;
    }
    const auto column = [&](const char* wanted) {
        for (std::size_t i = 0; i < objects.columns.size(); ++i)
            if (asciiCaseEqual(objects.columns[i], wanted)) return i;
        throw broken;
    };
    const std::size_t id = column("Id"), nameAt = column("Name"), type = column("Type"), flags = column("Flags");
    const auto number = [](const std::optional<std::string>& text) {
        return text ? std::strtoll(text->c_str(), nullptr, 10) : 0LL;
    };
    for (const auto& row : objects.rows) {
        if (!row[id] || !row[nameAt] || !row[type]) continue;
        CatalogEntry e;
        e.name = *row[nameAt];
        e.type = static_cast<int>(number(row[type]) & 0x7f);
        e.page = static_cast<unsigned long>(number(row[id]) & 0xffffff);
        e.flags = static_cast<long>(number(row[flags]));
        catalog.push_back(std::move(e));
    }
}

Reader::Reader(const std::filesystem::path& file) : d(std::make_unique<Impl>()) {
    d->file = file;
    d->layout = checkFile(file);
    const int headerVersion = d->layout.version;
    d->raw.open(file, std::ios::binary);
    if (!d->raw) throw Error(fileMessage(file, "を開けません。"));

    d->mdb = mdb_open(file.c_str(), MDB_NOFLAGS);
    if (!d->mdb || static_cast<int>(d->mdb->f->jet_version) != headerVersion)
        throw Error(fileMessage(file, "を Access のデータベースとして開けません。"));
    d->version = headerVersion == MDB_VER_JET3 ? 3 : headerVersion + 3;
    d->setEncoding();

    // Fixed, locale-independent text for date columns and booleans.
    mdb_set_date_fmt(d->mdb, "%Y/%m/%d %H:%M:%S");
    mdb_set_shortdate_fmt(d->mdb, "%Y/%m/%d");
    mdb_set_boolean_fmt_numbers(d->mdb);

    d->readCatalog();
}

Reader::~Reader() = default;
Reader::Reader(Reader&&) noexcept = default;
Reader& Reader::operator=(Reader&&) noexcept = default;

int Reader::jetVersion() const { return d->version; }

const std::filesystem::path& Reader::file() const { return d->file; }

// Access marks its own tables with these flags.
constexpr long kSystemObjectFlags = static_cast<long>(0x80000002u);

std::vector<std::string> Reader::tableNames() {
    std::vector<std::string> names;
    for (const CatalogEntry& e : d->catalog)
        if (e.type == MDB_TABLE && (e.flags & kSystemObjectFlags) == 0) names.push_back(e.name);
    return names;
}

namespace {

const CatalogEntry* findEntry(const std::vector<CatalogEntry>& catalog, const std::string& name) {
    for (int pass = 0; pass < 2; ++pass)
        for (const CatalogEntry& e : catalog)
            if (e.type == MDB_TABLE && (pass == 0 ? e.name == name : asciiCaseEqual(e.name, name))) return &e;
    return nullptr;
}

}  // namespace

std::optional<std::string> Reader::findTable(const std::string& name) const {
    const CatalogEntry* e = findEntry(d->catalog, name);
    if (!e) return std::nullopt;
    return e->name;
}

Reader::Table Reader::readTable(const std::string& name) {
    const CatalogEntry* found = findEntry(d->catalog, name);
    if (!found) throw Error("ファイル" + quoted(d->file) + "にテーブル「" + name + "」がありません。");

    MdbCatalogEntry entry{};
    entry.mdb = d->mdb;
    entry.object_type = MDB_TABLE;
    entry.table_pg = found->page;
    entry.flags = static_cast<int>(found->flags);
    std::snprintf(entry.object_name, sizeof entry.object_name, "%s", found->name.c_str());
    return d->readRows(entry, found->name);
}

}  // namespace jet
