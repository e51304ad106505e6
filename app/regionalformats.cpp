#include "app/regionalformats.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace app {

FileRegionalStore::FileRegionalStore(std::string path) : path_(std::move(path)) {}

std::string FileRegionalStore::defaultPath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (base + "/Tallyra/International.conf").toStdString();
}

bool FileRegionalStore::open(bool create)
{
    values_.clear();
    open_ = false;
    const QString path = QString::fromStdString(path_);
    QFile file(path);
    if (!file.exists()) {
        if (!create)
            return false;
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly))
            return false;
        file.close();
        open_ = true;
        return true;
    }
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (QByteArray line : lines) {
        line = line.trimmed();
        const qsizetype eq = line.indexOf('=');
        if (eq <= 0)
            continue;
        values_[line.left(eq).toStdString()] = line.mid(eq + 1).toStdString();
    }
    open_ = true;
    return true;
}

void FileRegionalStore::close()
{
    open_ = false;
    values_.clear();
}

std::optional<std::string> FileRegionalStore::read(const std::string& name)
{
    auto it = values_.find(name);
    if (!open_ || it == values_.end())
        return std::nullopt;
    return it->second;
}

bool FileRegionalStore::write(const std::string& name, const std::string& value)
{
    if (!open_)
        return false;
    values_[name] = value;
    return save();
}

bool FileRegionalStore::remove(const std::string& name)
{
    if (!open_)
        return false;
    values_.erase(name);
    return save();
}

bool FileRegionalStore::save()
{
    QSaveFile file(QString::fromStdString(path_));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    for (const auto& [name, value] : values_)
        file.write(QByteArray::fromStdString(name + "=" + value + "\n"));
    return file.commit();
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
bool differsFromForced(const SavedFormats& saved, const FormatValue& v)
{
    return (saved.*v.saved).value_or(std::string()) != v.forced;
}

}  // namespace

SavedFormats saveAndForceFormats(RegionalStore& store)
{
    SavedFormats saved;
    if (store.open(true)) {
        for (const FormatValue& v : formatValues)
            saved.*v.saved = store.read(v.name);
        store.close();
    }
    for (const FormatValue& v : formatValues) {
        if (!differsFromForced(saved, v))
            continue;
        if (store.open(false)) {
            store.write(v.name, v.forced);
            store.close();
        }
    }
    return saved;
}

void restoreFormats(RegionalStore& store, const SavedFormats& saved)
{
    for (const FormatValue& v : formatValues) {
        if (!differsFromForced(saved, v))
            continue;
        if (!store.open(false))
            continue;
        if (const auto& value = saved.*v.saved)
            store.write(v.name, *value);
        else
            store.remove(v.name);
        store.close();
    }
}

}  // namespace app
