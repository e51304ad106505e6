#include "paydata/columnview.h"

#include <string>
#include <vector>

#include "rtl/errors.h"
#include "rtl/strings.h"
#include "rtl/textfile.h"

namespace paydata {

std::filesystem::path columnViewFile(const std::filesystem::path& workDir) { return workDir / "SetView.cnd"; }

std::optional<ColumnView> readColumnView(const std::filesystem::path& file) {
    std::vector<std::string> lines;
    try {
        lines = rtl::splitLines(rtl::readTextFile(file));
    } catch (const rtl::FileError&) {
        return std::nullopt;
    }
    ColumnView view{};
    for (size_t i = 0; i < view.size() && i < lines.size(); ++i) view[i] = lines[i] == "1";
    return view;
}

void writeColumnView(const std::filesystem::path& file, const ColumnView& view) {
    std::vector<std::string> lines;
    for (bool ticked : view) lines.push_back(ticked ? "1" : "");
    rtl::writeLines(file, lines);
}

}  // namespace paydata
