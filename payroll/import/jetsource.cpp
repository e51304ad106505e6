#include "import/jetsource.h"

#include <utility>

#include "jet/reader.h"
#include "rtl/errors.h"

namespace payroll {

namespace {

bool sameJetName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

class JetSource : public db::ExternalSource {
public:
    JetSource(const std::string& path, std::vector<std::string> only)
        : only_(std::move(only))
    {
        try {
            reader_ = std::make_unique<jet::Reader>(path);
        } catch (const jet::Error& e) {
            throw rtl::DatabaseError(e.what());
        }
    }

    std::vector<std::string> tables() override
    {
        std::vector<std::string> names;
        try {
            names = reader_->tableNames();
        } catch (const jet::Error& e) {
            throw rtl::DatabaseError(e.what());
        }
        if (only_.empty()) return names;
        std::vector<std::string> kept;
        for (const std::string& n : names)
            for (const std::string& wanted : only_)
                if (sameJetName(n, wanted)) {
                    kept.push_back(n);
                    break;
                }
        return kept;
    }

    db::ExternalTable readTable(const std::string& name) override
    {
        try {
            jet::Reader::Table t = reader_->readTable(name);
            return db::ExternalTable{std::move(t.columns), std::move(t.rows)};
        } catch (const jet::Error& e) {
            throw rtl::DatabaseError(e.what());
        }
    }

private:
    std::unique_ptr<jet::Reader> reader_;
    std::vector<std::string> only_;
};

}  // namespace

std::unique_ptr<db::ExternalSource> openJetSource(const std::string& path, std::vector<std::string> onlyTables)
{
    return std::make_unique<JetSource>(path, std::move(onlyTables));
}

db::ExternalSourceFactory jetSourceFactory(std::vector<std::string> onlyTables)
{
    return [only = std::move(onlyTables)](const std::string& path) { return openJetSource(path, only); };
}

}  // namespace payroll
