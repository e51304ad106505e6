// The recorder program's Jet file as a foreign source of the data layer:
// ADOConnection2 reads it through mdbtools, read only, and answers the
// import's SELECTs from that copy.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "db/connection.h"

namespace payroll {

// Opens `path` with the Jet reader. With `onlyTables` non-empty, tables()
// lists only those of them the file holds (by Jet's name rules), so that
// an unrelated table the reader cannot read does not stop the import.
// Reader failures come out as rtl::DatabaseError with the reader's text.
std::unique_ptr<db::ExternalSource> openJetSource(const std::string& path, std::vector<std::string> onlyTables = {});

// A factory for db::Connection::setExternalSourceFactory.
db::ExternalSourceFactory jetSourceFactory(std::vector<std::string> onlyTables = {});

}  // namespace payroll
