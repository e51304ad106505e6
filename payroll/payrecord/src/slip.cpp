#include "payrecord/slip.h"

#include <array>

#include "payrecord/actions.h"
#include "payrecord/store.h"
#include "rtl/commatext.h"
#include "rtl/errors.h"
#include "rtl/strings.h"
#include "rtl/textfile.h"

namespace payrecord {

void deleteEmptySlips(db::Connection& c) {
    c.execute("DELETE FROM minus_dat\r\nWHERE (M_GKING = 0) AND (M_FURI_KG = 0)");
    c.execute("DELETE FROM minus_dat\r\nWHERE (M_GKING Is Null) AND (M_FURI_KG Is Null)");
}

int countSlips(db::Connection& c, const std::string& key, long long employeeNo) {
    const db::Value v =
        c.scalar("SELECT COUNT(*) FROM minus_dat\r\nWHERE M_DATE = ?\r\nAND M_TANCOD = ?", {key, employeeNo});
    return v.isNull() ? 0 : static_cast<int>(v.integer());
}

int highestSlipNo(db::Connection& c) {
    const db::Value v = c.scalar("SELECT * FROM minus_dat ORDER By M_No DESC");
    return v.isNull() ? 0 : static_cast<int>(v.integer());
}

std::string employeeName(db::Connection& c, long long employeeNo) {
    const db::Value v = c.scalar("SELECT E_NAME FROM emp_tanka\r\nWHERE E_NO = ?", {employeeNo});
    return v.isNull() ? std::string() : v.toString();
}

void showSlip(db::Dataset& slips, const std::string& key, long long employeeNo) {
    slips.setFiltered(false);
    slips.setFilter({});
    slips.setFilter("M_DATE = " + rtl::quotedStr(key) + " AND M_TANCOD = " + std::to_string(employeeNo));
    slips.setFiltered(true);
    if (!slips.active()) slips.open();
}

void startSlip(db::Connection& c, db::Dataset& slips, const SlipOrigin& o) {
    const bool fresh =
        slips.isEmpty() || slips.fieldByName("M_No").isNull() || slips.fieldByName("M_No").asInteger() == 0;
    if (fresh) {
        const int highest = highestSlipNo(c);
        if (highest >= MaxSlipNo) throw RecordError(SlipFullMessage);
        slips.append();
        slips.fieldByName("M_No").setAsInteger(highest + 1);
        for (int n = 0; n < 10; ++n) {
            slips.fieldByName("M_DATNO_" + std::to_string(n)).setAsInteger(n + 1);
            slips.fieldByName("M_KING_" + std::to_string(n)).setAsInteger(0);
        }
    } else if (slips.state() == db::DatasetState::Browse) {
        slips.edit();
    }
    if (slips.fieldByName("M_DATE").isNull()) slips.fieldByName("M_DATE").setAsString(o.key);
    if (slips.fieldByName("M_TANCOD").isNull()) {
        slips.fieldByName("M_TANCOD").setAsInteger(o.employeeNo);
        slips.fieldByName("M_TANMEI").setAsString(employeeName(c, o.employeeNo));
    }
    if (slips.fieldByName("M_KYUYO").isNull()) {
        if (o.hasNetPay) slips.fieldByName("M_KYUYO").setAsInteger(o.netPay);
        if (o.hasCategory) slips.fieldByName("M_SEQNO").setAsInteger(o.category);
    }
}

void updateSlipTotals(db::Dataset& slips) {
    std::array<Yen, 10> amounts{};
    for (int n = 0; n < 10; ++n) amounts[n] = yen(slips, ("M_KING_" + std::to_string(n)).c_str());
    const SlipTotals t = slipTotals(amounts, yen(slips, "M_KYUYO"));
    if (slips.state() == db::DatasetState::Browse) slips.edit();
    slips.fieldByName("M_GKING").setAsInteger(t.total);
    slips.fieldByName("M_FURI_KG").setAsInteger(t.transfer);
}

ItemGrid readItems(const std::filesystem::path& file, ItemGrid* partial) {
    ItemGrid rows;
    for (const std::string& line : rtl::readAllLines(file)) {
        const std::vector<std::string> cells = rtl::splitCommaText(line);
        if (cells.size() < 3) {
            if (partial) *partial = rows;
            throw rtl::ListIndexError(static_cast<long long>(cells.size()));
        }
        rows.push_back({cells[0], cells[1], cells[2]});
    }
    return rows;
}

int writeItems(const std::filesystem::path& file, const ItemGrid& rows) {
    std::vector<std::string> lines;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::vector<std::string> cells = rows[r];
        cells.resize(3);
        if (r > 0 && cells[1].empty()) continue;
        lines.push_back(rtl::joinCommaText(cells));
    }
    rtl::writeLines(file, lines);
    return static_cast<int>(lines.size());
}

void renumberItems(ItemGrid& rows) {
    for (std::size_t r = 1; r < rows.size(); ++r) {
        if (rows[r].size() < 3) rows[r].resize(3);
        if (rows[r][1].empty()) break;
        rows[r][0] = std::to_string(r);
    }
}

}  // namespace payrecord
