#include "app/regionalformats.h"

#include <QStandardPaths>

#include <filesystem>
#include <system_error>
#include <vector>

#include "rtl/errors.h"
#include "rtl/strings.h"
#include "rtl/textfile.h"

namespace app {

FileRegionalStore::FileRegionalStore(std::string path) : path_(std::move(path)) {}

std::string FileRegionalStore::defaultPath() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (base + "/Tallyra/International.conf").toStdString();
}

bool FileRegionalStore::open(bool create) {
    values_.clear();
    open_ = false;
    std::error_code ec;
    try {
        if (!std::filesystem::exists(path_, ec)) {
            if (!create) return false;
            const std::filesystem::path folder = std::filesystem::absolute(path_, ec).parent_path();
            if (!ec) std::filesystem::create_directories(folder, ec);
            if (ec) return false;
            rtl::writeTextFile(path_, {});
            open_ = true;
            return true;
        }
        for (const std::string& line : rtl::readAllLines(path_)) {
            const std::string_view entry = rtl::trimView(line);
            const std::size_t eq = entry.find('=');
            if (eq == 0 || eq == std::string_view::npos) continue;
            values_[std::string(entry.substr(0, eq))] = std::string(entry.substr(eq + 1));
        }
    } catch (const rtl::FileError&) {
        return false;
    }
    open_ = true;
    return true;
}

void FileRegionalStore::close() {
    open_ = false;
    values_.clear();
}

std::optional<std::string> FileRegionalStore::read(const std::string& name) {
    auto it = values_.find(name);
    if (!open_ || it == values_.end()) return std::nullopt;
    return it->second;
}

bool FileRegionalStore::write(const std::string& name, const std::string& value) {
    if (!open_) return false;
    values_[name] = value;
    return save();
}

bool FileRegionalStore::remove(const std::string& name) {
    if (!open_) return false;
    values_.erase(name);
    return save();
}

bool FileRegionalStore::save() {
    std::vector<std::string> lines;
    for (const auto& [name, value] : values_) lines.push_back(name + "=" + value);
    try {
        rtl::writeLines(path_, lines, "\n");
    } catch (const rtl::FileError&) {
        return false;
    }
    return true;
}

namespace {

struct FormatValue {
    const char* name;
    const char* forced;
    std::optional<std::string> SavedFormats::*saved;
};

constexpr FormatValue formatValues[] = {
    {"sShortDate", ForcedShortDate, &SavedFormats::shortDate},
    {"sTimeFormat", ForcedLongTime, &SavedFormats::longTime},
    {"sShortTime", ForcedShortTime, &SavedFormats::shortTime},
};

// The saved text as the comparison sees it: a missing value reads as empty text.
bool differsFromForced(const SavedFormats& saved, const FormatValue& v) {
    return (saved.*v.saved).value_or(std::string()) != v.forced;
}

}  // namespace

SavedFormats saveAndForceFormats(RegionalStore& store) {
    SavedFormats saved;
    if (store.open(true)) {
        for (const FormatValue& v : formatValues) saved.*v.saved = store.read(v.name);
        store.close();
    }
    for (const FormatValue& v : formatValues) {
        if (!differsFromForced(saved, v)) continue;
        if (store.open(false)) {
            store.write(v.name, v.forced);
            store.close();
        }
    }
    return saved;
}

void restoreFormats(RegionalStore& store, const SavedFormats& saved) {
    for (const FormatValue& v : formatValues) {
        if (!differsFromForced(saved, v)) continue;
        if (!store.open(false)) continue;
        if (const auto& value = saved.*v.saved) store.write(v.name, *value);
        else store.remove(v.name);
        store.close();
    }
}

}  // namespace app
