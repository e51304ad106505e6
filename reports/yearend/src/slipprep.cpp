#include "yearend/slipprep.h"

#include <algorithm>

#include "rtl/convert.h"
#include "rtl/strings.h"
#include "rtl/textfile.h"

namespace yearend {

SlipTotals adjustedTotals(const SlipBases& b, const Adjustments& a) {
    SlipTotals t;
    t.total_1 = b.total_1 + a[0];
    t.koyo_ho = b.koyo_ho + a[1];
    t.gensen_z = b.gensen_z + a[2];
    t.kotu_hi = b.kotu_hi + a[3];
    t.jyumin_z = b.jyumin_z + a[4];
    t.total_s = t.total_1 - b.ken_ho - t.koyo_ho - b.koyo_sho;
    t.total_t = t.total_s - t.gensen_z - t.jyumin_z - b.meat_back + t.kotu_hi;
    return t;
}

SlipBases basesOf(const SlipBases& stored, const Adjustments& applied) {
    SlipBases b = stored;
    b.total_1 -= applied[0];
    b.koyo_ho -= applied[1];
    b.gensen_z -= applied[2];
    b.kotu_hi -= applied[3];
    b.jyumin_z -= applied[4];
    return b;
}

namespace {

double signedAmount(const MarginInput& m) {
    const double amount = rtl::strToFloat(rtl::trim(m.amount));
    return m.sign == "-" ? -amount : amount;
}

MarginInput parseMargin(const std::string& line) {
    std::string t = rtl::trim(line);
    MarginInput m;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        m.sign = t.substr(0, 1);
        t = rtl::trim(t.substr(1));
    }
    m.amount = t.empty() ? "0" : t;
    return m;
}

std::string marginLine(const MarginInput& m) { return (m.sign == "-" ? "-" : "") + rtl::trim(m.amount); }

}  // namespace

double topMarginMm(const MarginInput& top) { return std::max(0.0, 5.0 + signedAmount(top)); }

double leftMarginMm(const MarginInput& left) { return std::max(0.0, 12.0 + signedAmount(left) / 2.0); }

Margins readMargins(const std::filesystem::path& workDir) {
    const std::filesystem::path file = workDir / kMarginFile;
    Margins m;
    if (!std::filesystem::exists(file)) return m;
    const std::vector<std::string> lines = rtl::readLines(file, 3);
    if (lines.size() > 1) m.top = parseMargin(lines[1]);
    if (lines.size() > 2) m.left = parseMargin(lines[2]);
    return m;
}

void writeMargins(const std::filesystem::path& workDir, const std::string& latestHym, const Margins& margins) {
    rtl::writeLines(workDir / kMarginFile, {latestHym, marginLine(margins.top), marginLine(margins.left)});
}

}  // namespace yearend
