#include "data/schema.h"

#include <stdexcept>

namespace data {
namespace {

constexpr const char* kMoney = "#,##0";
constexpr const char* kRate = "#0.0#";
constexpr const char* kAge = "#0";

ColumnDef lng(std::string name, const char* format = "") {
    return {std::move(name), ColumnKind::Long, 0, format, false};
}
ColumnDef money(std::string name) { return lng(std::move(name), kMoney); }
ColumnDef shrt(std::string name) { return {std::move(name), ColumnKind::Short, 0, "", false}; }
ColumnDef dbl(std::string name, const char* format = "") {
    return {std::move(name), ColumnKind::Double, 0, format, false};
}
ColumnDef date(std::string name) { return {std::move(name), ColumnKind::DateTime, 0, "", false}; }
ColumnDef text(std::string name, int width) { return {std::move(name), ColumnKind::Text, width, "", false}; }
ColumnDef fixed(std::string name, int width) { return {std::move(name), ColumnKind::FixedText, width, "", false}; }

std::string num(int n) { return std::to_string(n); }

TableDef timeCard() {
    TableDef t{"タイムカード", {}};
    for (const char* c : {"月", "日", "時", "分", "秒", "IDコード", "入退", "異例コード", "CR"})
        t.columns.push_back(text(c, 50));
    return t;
}

TableDef company() {
    TableDef t{"会社", {}};
    for (const char* c : {"会社名", "郵便番号", "住所1", "住所2", "電話番号", "FAX番号", "担当部課", "担当者名",
                          "E_MAILアドレス", "締日", "日替時刻", "休日指定日", "法定外休日指定日"})
        t.columns.push_back(text(c, 50));
    return t;
}

TableDef jobKbn() {
    TableDef t{"区分", {}};
    for (const char* c :
         {"区分",          "就業開始時刻",  "就業終了時刻",  "遅刻早退開始時刻", "遅刻早退終了時刻", "休憩1開始時刻",
          "休憩1終了時刻", "休憩2開始時刻", "休憩2終了時刻", "休憩3開始時刻",    "休憩3終了時刻",    "早出開始時刻",
          "早出終了時刻",  "残業開始時刻",  "残業終了時刻",  "深夜開始時刻",     "深夜終了時刻",     "丸め方法",
          "就業丸め単位",  "遅早丸め単位",  "残業丸め単位",  "残業基準時数"})
        t.columns.push_back(text(c, 50));
    return t;
}

TableDef kojin() {
    TableDef t{"個人", {}};
    for (const char* c : {"NO", "社員番号", "氏名", "カード番号", "区分", "対象"}) t.columns.push_back(text(c, 50));
    return t;
}

TableDef empTanka() {
    TableDef t{"emp_tanka", {}};
    auto& c = t.columns;
    c = {lng("E_NO"),           text("E_TANCOD", 10), text("E_NAME", 20),   text("E_CARDNO", 10), text("E_JOBKBN", 2),
         fixed("E_DROPKBN", 2), date("E_BARTH"),      text("E_REST_YN", 1), lng("E_REST_NN"),     text("E_PAYKBN", 1)};
    for (const char* p : {"E_BASE_YN", "E_BASEPAY", "E_HAYZ_YN", "E_HAYZPAY", "E_FUTZ_YN", "E_FUTZPAY", "E_SINZ_YN",
                          "E_SINZPAY", "E_KYU_YN", "E_KYU_PAY", "E_TIKO_YN", "E_TIKOKU", "E_SOUT_YN", "E_SOUTAI"}) {
        std::string name = p;
        if (name.ends_with("_YN")) c.push_back(fixed(name, 1));
        else c.push_back(money(name));
    }
    c.push_back(money("E_KOTUHI"));
    c.push_back(money("E_HOJYO"));
    for (int i = 1; i <= 8; ++i) {
        c.push_back(text("E_GKING_S" + num(i), 1));
        c.push_back(money("E_GKING_K" + num(i)));
    }
    c.push_back(money("E_GKING_K9"));
    for (int i = 1; i <= 3; ++i) {
        c.push_back(text("E_SKING_S" + num(i), 1));
        c.push_back(money("E_SKING_K" + num(i)));
    }
    c.push_back(money("E_MEAT_K"));
    c.push_back(money("E_JYUMIN_Z"));
    c.push_back(money("E_HOKEN_YN"));
    c.push_back(text("E_KOYOU_YN", 1));
    c.push_back(money("E_NENKIN_YN"));
    c.push_back(money("E_KIKIN_YN"));
    c.push_back(lng("E_KNTKBN"));
    c.push_back(text("E_BIKO", 20));
    c.push_back(text("E_NAFURI", 20));
    c.push_back(text("E_ZIP", 7));
    c.push_back(text("E_ADD1", 40));
    c.push_back(text("E_ADD2", 30));
    c.push_back(fixed("PRT_FLG", 1));
    return t;
}

// The six time kinds shared by kimu_tran and sum_tran, minutes/time then amount.
constexpr const char* kTimeKinds[6][2] = {{"HAYZAN", "HAYKING"}, {"FUTZAN", "FUTKING"}, {"SINZAN", "SINKING"},
                                          {"KYUSYU", "KYUKING"}, {"TIKOKU", "TIKKING"}, {"SOUTAI", "SOUKING"}};

TableDef kimuTran() {
    TableDef t{"kimu_tran", {}};
    auto& c = t.columns;
    c = {lng("K_SEQNO"),   lng("K_TANCOD"),     date("K_DATE"), fixed("K_KNMKBN", 2), date("K_INTIM"),
         date("K_OUTTIM"), text("K_SYUGYO", 5), lng("K_KINMU"), lng("K_TANJI"),       money("K_BASKING")};
    for (const auto& k : kTimeKinds) {
        c.push_back(text(std::string("K_") + k[0], 5));
        c.push_back(money(std::string("K_") + k[1]));
    }
    c.push_back(shrt("K_KNTKBN"));
    c.push_back(text("K_BIKO", 20));
    return t;
}

std::vector<ColumnDef> sumTranHead() {
    std::vector<ColumnDef> c = {lng("S_SEQNO"), lng("S_TANCOD"), text("S_DATE", 8), fixed("S_KNMKBN", 2),
                                lng("S_DAYS"),  lng("S_KINMU"),  lng("S_TANJI"),    money("S_BASKING")};
    for (const auto& k : kTimeKinds) {
        c.push_back(lng(std::string("S_") + k[0]));
        c.push_back(money(std::string("S_") + k[1]));
    }
    for (int i = 1; i <= 9; ++i) c.push_back(money("S_GKING" + num(i)));
    for (int i = 1; i <= 3; ++i) c.push_back(money("S_SKING" + num(i)));
    return c;
}

TableDef sumTran() {
    TableDef t{"sum_tran", sumTranHead()};
    auto& c = t.columns;
    for (const char* n : {"S_HOKEN", "S_HOKENK", "S_KOYOU", "S_NENKIN", "S_SHAHO", "S_MEAT_K", "S_KOTUHI", "S_HOJYO",
                          "S_ZEI_G", "S_ZEI_K", "S_TOTALS", "S_TOTALT"})
        c.push_back(money(n));
    c.push_back(shrt("S_KNTKBN"));
    c.push_back(text("S_BIKO", 20));
    c.push_back(text("S_SHOYO_F", 1));
    c.push_back(text("S_SHOYO_N", 1));
    for (const char* n : {"S_KIKIN", "S_HOKEN2", "S_HOKENK2", "S_KOYOU2", "S_NENKIN2", "S_KIKIN2"})
        c.push_back(money(n));
    for (int i = 1; i <= 5; ++i) c.push_back(lng("S_DAY" + num(i)));
    c.push_back(fixed("DAT_CHK", 1));
    return t;
}

TableDef minusDat() {
    TableDef t{"minus_dat", {}};
    auto& c = t.columns;
    ColumnDef no = shrt("M_No");
    no.primaryKey = true;
    c = {no, lng("M_SEQNO"), lng("M_TANCOD"), fixed("M_DATE", 8), text("M_TANMEI", 20)};
    for (int i = 0; i <= 9; ++i) {
        c.push_back(shrt("M_DATNO_" + num(i)));
        c.push_back(text("M_DAT_" + num(i), 40));
        c.push_back(money("M_KING_" + num(i)));
    }
    c.push_back(money("M_GKING"));
    c.push_back(money("M_KYUYO"));
    c.push_back(money("M_FURI_KG"));
    return t;
}

TableDef dayWork() {
    // TANCOD holds employee numbers, which go beyond 16 bits; DMONTH is the
    // month key the table was built for.
    TableDef t{"day_work", {lng("TANCOD"), text("TNAME", 20)}};
    for (int i = 1; i <= 31; ++i) t.columns.push_back(text("D" + num(i), 5));
    t.columns.push_back(lng("DTIME"));
    t.columns.push_back(money("DKING"));
    t.columns.push_back(text("DMONTH", 5));
    return t;
}

TableDef gensen() {
    TableDef t{"gensen",
               {lng("code"), fixed("hym", 6), text("dcode", 10), text("dname", kGensenNameWidth), fixed("fct_code", 2),
                text("fct_name", 20), lng("kinmu"), lng("mid_kinmu")}};
    for (const char* n : {"total_1", "ken_ho", "gensen_z", "jyumin_z", "koyo_ho", "koyo_sho", "total_s", "kotu_hi",
                          "sub1", "meat_back", "total_t", "teate1", "teate2", "teate3", "teate4", "teate5"})
        t.columns.push_back(money(n));
    return t;
}

TableDef titleMas() {
    TableDef t{"title_mas", {shrt("CODE")}};
    for (int i = 1; i <= 9; ++i) t.columns.push_back(text("GKING" + num(i), 10));
    t.columns.push_back(text("GKINGH", 10));
    for (int i = 1; i <= 3; ++i) t.columns.push_back(text("SKING" + num(i), 10));
    for (const char* n : {"GK_FLG7", "GK_FLG8", "GK_FLG9", "GK_FLGH"}) t.columns.push_back(fixed(n, 1));
    return t;
}

TableDef sysMas() {
    TableDef t{"sys_mas",
               {text("SYS_CD", 2), text("SYS_NM", 20), text("REC_YN", 1), lng("H_K_TOP", kAge), lng("H_K_END", kAge)}};
    for (const char* n : {"HOKEN_P", "HOKENK_P", "KOYO_P", "NENKIN_P", "KIKIN_P", "HOKEN_P2", "HOKENK_P2", "KOYO_P2",
                          "NENKIN_P2", "KIKIN_P2"})
        t.columns.push_back(dbl(n, kRate));
    t.columns.push_back(fixed("PRT_FLG", 1));
    t.columns.push_back(fixed("DAT_CHK", 1));
    return t;
}

TableDef flgData() { return {"flg_data", {lng("FLG_CD"), lng("FLG_COD"), text("FLG_NUM", 1), text("FLG_DAT", 10)}}; }

TableDef zeiMas(std::string name) {
    TableDef t{std::move(name), {lng("code"), money("incam_t"), money("incam_b")}};
    for (int i = 0; i <= 7; ++i) t.columns.push_back(money("fking" + num(i)));
    t.columns.push_back(money("fkingO"));
    t.columns.push_back(money("fkingH"));
    t.columns.push_back(text("yn_flg", 2));
    t.columns.push_back(dbl("over_bit"));
    return t;
}

TableDef zeiMasS() {
    TableDef t{"zei_masS", {lng("code")}};
    for (int i = 0; i <= 7; ++i) {
        t.columns.push_back(money("fking" + num(i) + "S"));
        t.columns.push_back(money("fking" + num(i) + "E"));
    }
    t.columns.push_back(money("fkingOS"));
    t.columns.push_back(money("fkingOE"));
    t.columns.push_back(fixed("yn_flg", 2));
    t.columns.push_back(dbl("over_bit"));
    return t;
}

TableDef sumTranT() {
    const TableDef& s = table("sum_tran");
    const TableDef& tm = table("title_mas");
    TableDef v{"sum_tran_t", {}};
    auto from = [&](const TableDef& t, const std::string& n) { v.columns.push_back(*t.find(n)); };
    for (const ColumnDef& c : sumTranHead()) from(s, c.name);
    for (const char* n :
         {"S_MEAT_K", "S_KOTUHI", "S_HOJYO", "S_ZEI_G", "S_ZEI_K", "S_TOTALS", "S_TOTALT", "S_KNTKBN", "S_BIKO"})
        from(s, n);
    from(tm, "CODE");
    for (int i = 1; i <= 8; ++i) from(tm, "GKING" + num(i));
    from(tm, "GKINGH");
    for (int i = 1; i <= 3; ++i) from(tm, "SKING" + num(i));
    for (const char* n : {"S_SHAHO", "S_HOKEN", "S_HOKENK", "S_KOYOU", "S_NENKIN"}) from(s, n);
    from(tm, "GKING9");
    for (const char* n :
         {"S_KIKIN", "S_SHOYO_F", "S_SHOYO_N", "S_HOKEN2", "S_HOKENK2", "S_KOYOU2", "S_NENKIN2", "S_KIKIN2"})
        from(s, n);
    for (int i = 1; i <= 5; ++i) from(s, "S_DAY" + num(i));
    return v;
}

// Builds "Create Table <head>" + "(" col, col, ... ")" as one line per column.
std::vector<std::string> bracketed(std::string head, const std::vector<std::string>& defs) {
    std::vector<std::string> lines{std::move(head)};
    for (std::size_t i = 0; i < defs.size(); ++i) {
        std::string line = (i == 0 ? "(" : "") + defs[i];
        line += (i + 1 == defs.size()) ? ")" : ",";
        lines.push_back(std::move(line));
    }
    return lines;
}

}  // namespace

const ColumnDef* TableDef::find(std::string_view column) const {
    for (const ColumnDef& c : columns)
        if (c.name == column) return &c;
    return nullptr;
}

std::vector<std::string> TableDef::columnNames() const {
    std::vector<std::string> names;
    names.reserve(columns.size());
    for (const ColumnDef& c : columns) names.push_back(c.name);
    return names;
}

const std::vector<TableDef>& tables() {
    static const std::vector<TableDef> all = {
        timeCard(), company(), jobKbn(),   kojin(),  empTanka(), kimuTran(),        sumTran(),          minusDat(),
        dayWork(),  gensen(),  titleMas(), sysMas(), flgData(),  zeiMas("zei_mas"), zeiMas("zei_masB"), zeiMasS()};
    return all;
}

const TableDef& table(std::string_view name) {
    for (const TableDef& t : tables())
        if (t.name == name) return t;
    throw std::out_of_range("unknown table " + std::string(name));
}

const TableDef& sumTranTView() {
    static const TableDef view = sumTranT();
    return view;
}

std::string sumTranTViewSql() {
    // The caption row is picked once (the first CODE = 1 row), so a second
    // caption row can never duplicate a pay record; rowid keeps sum_tran order.
    // Text columns are read with COLLATE BINARY: SQLite needs the collation
    // of every view column just to describe the view, and a plain SQLite
    // client (which lacks JETTEXT) must still be able to read the file. The
    // program compares these keys only for equality, where both agree.
    std::string cols;
    for (const ColumnDef& c : sumTranTView().columns) {
        if (!cols.empty()) cols += ", ";
        const bool caption = table("title_mas").find(c.name) != nullptr;
        cols += (caption ? "t." : "s.") + c.name;
        if (db::isTextKind(c.kind)) cols += " COLLATE BINARY AS " + c.name;
    }
    return "CREATE VIEW sum_tran_t AS SELECT " + cols +
           " FROM sum_tran AS s LEFT JOIN title_mas AS t ON t.rowid = "
           "(SELECT MIN(rowid) FROM title_mas WHERE CODE = 1) ORDER BY s.rowid";
}

std::string jetType(const ColumnDef& column) {
    switch (column.kind) {
    case ColumnKind::Long: return "Integer";
    case ColumnKind::Short: return "Smallint";
    case ColumnKind::Double: return "Double";
    case ColumnKind::DateTime: return "DateTime";
    case ColumnKind::Text: return "Varchar(" + num(column.width) + ")";
    case ColumnKind::FixedText: return "Char(" + num(column.width) + ")";
    }
    return "Integer";
}

std::vector<std::string> createStatementFor(const TableDef& def) {
    std::vector<std::string> defs;
    for (const ColumnDef& c : def.columns)
        defs.push_back(c.name + " " + jetType(c) + (c.primaryKey ? " NOT NULL PRIMARY KEY" : ""));
    return bracketed("Create Table " + def.name, defs);
}

std::vector<std::string> createMinusDatLines() {
    std::vector<std::string> d = {"M_No SmallInt NOT NULL PRIMARY KEY", "M_SEQNO Integer", "M_TANCOD Integer",
                                  "M_DATE Char(8)", "M_TANMEI Varchar(20)"};
    for (int i = 0; i <= 9; ++i) {
        d.push_back("M_DATNO_" + num(i) + " SmallInt");
        d.push_back("M_DAT_" + num(i) + " Varchar(40)");
        d.push_back("M_KING_" + num(i) + " Integer");
    }
    d.push_back("M_GKING Integer");
    d.push_back("M_KYUYO Integer");
    d.push_back("M_FURI_KG Integer");
    return bracketed("Create Table minus_dat", d);
}

std::vector<std::string> createEmpTankaLines() {
    std::vector<std::string> d = {
        "E_NO Integer",        "E_TANCOD Varchar(10)", "E_NAME Varchar(20)", "E_CARDNO Varchar(10)",
        "E_JOBKBN Varchar(2)", "E_DROPKBN Char(2)",    "E_BARTH DATETIME",   "E_PAYKBN CHAR(1)",
        "E_REST_YN CHAR(1)",   "E_REST_NN INTEGER",    "E_BASE_YN Char(1)",  "E_BASEPAY Integer",
        "E_HAYZ_YN Char(1)",   "E_HAYZPAY Integer",    "E_FUTZ_YN Char(1)",  "E_FUTZPAY Integer",
        "E_SINZ_YN Char(1)",   "E_SINZPAY Integer",    "E_KYU_YN Char(1)",   "E_KYU_PAY Integer",
        "E_TIKO_YN Char(1)",   "E_TIKOKU Integer",     "E_SOUT_YN Char(1)",  "E_SOUTAI Integer",
        "E_KOTUHI INTEGER",    "E_HOJYO INTEGER"};
    for (int i = 1; i <= 8; ++i) {
        d.push_back("E_GKING_S" + num(i) + " CHAR(1)");
        d.push_back("E_GKING_K" + num(i) + " INTEGER");
    }
    d.push_back("E_GKING_K9 INTEGER");
    for (int i = 1; i <= 3; ++i) {
        d.push_back("E_SKING_S" + num(i) + " CHAR(1)");
        d.push_back("E_SKING_K" + num(i) + " INTEGER");
    }
    for (const char* s : {"E_MEAT_K INTEGER", "E_JYUMIN_Z INTEGER", "E_HOKEN_YN INTEGER", "E_KOYOU_YN CHAR(1)",
                          "E_NENKIN_YN INTEGER", "E_KIKIN_YN INTEGER", "E_KNTKBN INTEGER", "E_BIKO Varchar(20)",
                          "E_NAFURI VARCHAR(20)", "E_ZIP CHAR(7)", "E_ADD1 VARCHAR(40)", "E_ADD2 VARCHAR(30)"})
        d.push_back(s);
    return bracketed("Create Table emp_tanka", d);
}

std::vector<std::string> createKimuTranLines() {
    std::vector<std::string> d = {"K_SEQNO Integer",  "K_TANCOD Integer",  "K_DATE DateTime",     "K_KNMKBN Char(2)",
                                  "K_INTIM DateTime", "K_OUTTIM DateTime", "K_SYUGYO Varchar(5)", "K_KINMU Integer",
                                  "K_TANJI Integer",  "K_BASKING Integer"};
    for (const auto& k : kTimeKinds) {
        d.push_back(std::string("K_") + k[0] + " Varchar(5)");
        d.push_back(std::string("K_") + k[1] + " Integer");
    }
    d.push_back("K_KNTKBN Smallint");
    d.push_back("K_BIKO Varchar(20)");
    return bracketed("Create Table kimu_tran", d);
}

std::vector<std::string> createSumTranLines() {
    std::vector<std::string> d = {"S_SEQNO Integer", "S_TANCOD Integer", "S_DATE Char(8)",  "S_KNMKBN Char(2)",
                                  "S_DAYS Integer",  "S_KINMU Integer",  "S_TANJI Integer", "S_BASKING Integer"};
    for (const auto& k : kTimeKinds) {
        d.push_back(std::string("S_") + k[0] + " Integer");
        d.push_back(std::string("S_") + k[1] + " Integer");
    }
    for (int i = 1; i <= 9; ++i) d.push_back("S_GKING" + num(i) + " Integer");
    for (int i = 1; i <= 3; ++i) d.push_back("S_SKING" + num(i) + " Integer");
    for (const char* s :
         {"S_HOKEN Integer",   "S_HOKENK Integer", "S_KOYOU Integer",   "S_NENKIN Integer",   "S_SHAHO Integer",
          "S_MEAT_K Integer",  "S_KOTUHI Integer", "S_HOJYO Integer",   "S_ZEI_G Integer",    "S_ZEI_K Integer",
          "S_TOTALS Integer",  "S_TOTALT Integer", "S_KNTKBN Smallint", "S_BIKO Varchar(20)", "S_SHOYO_F Char(1)",
          "S_SHOYO_N Char(1)", "S_KIKIN Integer",  "S_HOKEN2 Integer",  "S_HOKENK2 Integer",  "S_KOYOU2 Integer",
          "S_NENKIN2 Integer", "S_KIKIN2 Integer"})
        d.push_back(s);
    return bracketed("Create Table sum_tran", d);
}

std::vector<std::string> createGensenLines() {
    std::vector<std::string> d = {"code Integer",      "hym Char(6)",      "dcode Varchar(10)",
                                  "dname VARCHAR(20)", "fct_code char(2)", "fct_name VARCHAR(20)"};
    for (const char* n :
         {"kinmu", "mid_kinmu", "total_1", "ken_ho", "gensen_z", "jyumin_z", "koyo_ho", "koyo_sho", "total_s",
          "kotu_hi", "sub1", "meat_back", "total_t", "teate1", "teate2", "teate3", "teate4", "teate5"})
        d.push_back(std::string(n) + " Integer");
    return bracketed("create table gensen", d);
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i) out += "\r\n";
        out += lines[i];
    }
    return out;
}

}  // namespace data
