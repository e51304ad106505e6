#include "import/jetsource.h"

#include <optional>
#include <utility>

#include "jet/reader.h"
#include "rtl/errors.h"

namespace payroll {

namespace {

class JetSource : public db::ExternalSource {
public:
    JetSource(const std::string& path, std::vector<std::string> only) : only_(std::move(only)) {
        try {
            reader_ = std::make_unique<jet::Reader>(path);
        } catch (const jet::Error& e) {
            throw rtl::DatabaseError(e.what());
        }
    }

    std::vector<std::string> tables() override {
        try {
            if (only_.empty()) return reader_->tableNames();
            // Each wanted table under the name the file gives it, by the
            // reader's own name rules, so that readTable finds the same one.
            std::vector<std::string> kept;
            for (const std::string& wanted : only_)
                if (std::optional<std::string> stored = reader_->findTable(wanted)) kept.push_back(*stored);
            return kept;
        } catch (const jet::Error& e) {
            throw rtl::DatabaseError(e.what());
        }
    }

    db::ExternalTable readTable(const std::string& name) override {
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

std::unique_ptr<db::ExternalSource> openJetSource(const std::string& path, std::vector<std::string> onlyTables) {
    return std::make_unique<JetSource>(path, std::move(onlyTables));
}

db::ExternalSourceFactory jetSourceFactory(std::vector<std::string> onlyTables) {
    return [only = std::move(onlyTables)](const std::string& path) { return openJetSource(path, only); };
}

}  // namespace payroll
