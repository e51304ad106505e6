#include "data/DB_Acs.h"

#include <initializer_list>

#include "data/schema.h"
#include "rtl/errors.h"

namespace data {

TDataModule1* DataModule1 = nullptr;

TDataModule1* createDataModule1() {
    destroyDataModule1();
    DataModule1 = new TDataModule1();
    return DataModule1;
}

void destroyDataModule1() {
    delete DataModule1;
    DataModule1 = nullptr;
}

TDataModule1& dataModule(TDataModule1* given) {
    if (given) return *given;
    if (!DataModule1) throw rtl::Error("データモジュールがありません。");
    return *DataModule1;
}

namespace {

db::FieldDef fieldOf(const ColumnDef& c) {
    db::FieldDef f;
    f.name = c.name;
    f.kind = c.kind;
    f.width = c.width;
    f.displayFormat = c.displayFormat;
    return f;
}

// The persistent column list of a table (all of its columns, or the named ones).
void addFields(db::Dataset& ds, const TableDef& def, std::initializer_list<const char*> only = {}) {
    if (only.size() == 0) {
        for (const ColumnDef& c : def.columns) ds.addField(fieldOf(c));
        return;
    }
    for (const char* name : only) ds.addField(fieldOf(*def.find(name)));
}

// A name column looked up in an employee source by employee number.
void addNameLookup(db::Dataset& ds, const char* name, int width, const char* keyField, db::Dataset& source) {
    db::LookupDef l;
    l.name = name;
    l.kind = db::FieldKind::Text;
    l.width = width;
    l.keyField = keyField;
    l.lookupDataset = &source;
    l.lookupKeyField = "E_NO";
    l.lookupResultField = "E_NAME";
    ds.addLookupField(l);
}

}  // namespace

std::string TDataModule1::workingConnectionString(const std::string& path) {
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + ";Mode=ReadWrite;Persist Security Info=False;";
}

void TDataModule1::setDatabasePath(const std::string& path) {
    ADOConnection1.setConnectionString(workingConnectionString(path));
}

TDataModule1::TDataModule1()
    : Query1(&ADOConnection1, "Query1"),
      Query11(&ADOConnection1, "Query11"),
      Query12(&ADOConnection1, "Query12"),
      QueryCnt(&ADOConnection1, "QueryCnt"),
      Table2(&ADOConnection1, "Table2"),
      ADOQuery1(&ADOConnection2, "ADOQuery1"),
      ADOTable1(&ADOConnection1, "ADOTable1"),
      TimeCardInp(&ADOConnection1, "TimeCardInp"),
      Company(&ADOConnection1, "Company"),
      Job_kbn(&ADOConnection1, "Job_kbn"),
      Qjob_kbn(&ADOConnection1, "Qjob_kbn"),
      emp_mas(&ADOConnection1, "emp_mas"),
      emp_tanka(&ADOConnection1, "emp_tanka"),
      Qemp_tanka(&ADOConnection1, "Qemp_tanka"),
      Q_emp_tankaP(&ADOConnection1, "Q_emp_tankaP"),
      QSemp_tanka(&ADOConnection1, "QSemp_tanka"),
      Qemp_tankaS(&ADOConnection1, "Qemp_tankaS"),
      Qemp_tankaS2(&ADOConnection1, "Qemp_tankaS2"),
      kimu_tran(&ADOConnection1, "kimu_tran"),
      Qkimu_tran(&ADOConnection1, "Qkimu_tran"),
      sum_tran(&ADOConnection1, "sum_tran"),
      sum_tran2(&ADOConnection1, "sum_tran2"),
      Qsum_tran(&ADOConnection1, "Qsum_tran"),
      sum_tran_t(&ADOConnection1, "sum_tran_t"),
      Qtitle_mas(&ADOConnection1, "Qtitle_mas"),
      sys_mas(&ADOConnection1, "sys_mas"),
      flg_teate(&ADOConnection1, "flg_teate"),
      flg_work(&ADOConnection1, "flg_work"),
      flg_zeiyn(&ADOConnection1, "flg_zeiyn"),
      Q_zei_mas(&ADOConnection1, "Q_zei_mas"),
      Q_zei_masB(&ADOConnection1, "Q_zei_masB"),
      Q_zei_masS(&ADOConnection1, "Q_zei_masS"),
      minus_dat(&ADOConnection1, "minus_dat"),
      day_work(&ADOConnection1, "day_work"),
      gensen(&ADOConnection1, "gensen"),
      Q_gensen(&ADOConnection1, "Q_gensen"),
      DSCompany(&Company, "DSCompany"),
      DSJob_kbn(&Job_kbn, "DSJob_kbn"),
      DSemp_mas(&emp_mas, "DSemp_mas"),
      DSemp_tanka(&emp_tanka, "DSemp_tanka"),
      DSQemp_tanka(&Qemp_tanka, "DSQemp_tanka"),
      DSQ_emp_tankaP(&Q_emp_tankaP, "DSQ_emp_tankaP"),
      DS_kimu_tran(&kimu_tran, "DS_kimu_tran"),
      DSQkimu_tran(&Qkimu_tran, "DSQkimu_tran"),
      DSsum_tran(&sum_tran, "DSsum_tran"),
      DSQsum_tran(&Qsum_tran, "DSQsum_tran"),
      DSsum_tran_t(&sum_tran_t, "DSsum_tran_t"),
      DSQtitle_mas(&Qtitle_mas, "DSQtitle_mas"),
      DSsys_mas(&sys_mas, "DSsys_mas"),
      DSflg_teate(&flg_teate, "DSflg_teate"),
      DSflg_work(&flg_work, "DSflg_work"),
      DSflg_zeiyn(&flg_zeiyn, "DSflg_zeiyn"),
      DS_minus_dat(&minus_dat, "DS_minus_dat"),
      DSday_work(&day_work, "DSday_work"),
      DSgensen(&gensen, "DSgensen"),
      DSTimeCardInp(&TimeCardInp, "DSTimeCardInp"),
      DataSource1(&ADOTable1, "DataSource1") {
    setUp();
}

TDataModule1::~TDataModule1() {
    // Datasets first (they post nothing: closing discards unposted changes),
    // then the connections.
    for (db::Dataset* ds : datasets_) ds->close();
    ADOConnection1.close();
    ADOConnection2.close();
}

void TDataModule1::setUp() {
    datasets_ = {&Query1,     &Query11,     &Query12,      &QueryCnt,    &Table2,      &ADOQuery1,
                 &ADOTable1,  &TimeCardInp, &Company,      &Job_kbn,     &Qjob_kbn,    &emp_mas,
                 &emp_tanka,  &Qemp_tanka,  &Q_emp_tankaP, &QSemp_tanka, &Qemp_tankaS, &Qemp_tankaS2,
                 &kimu_tran,  &Qkimu_tran,  &sum_tran,     &sum_tran2,   &Qsum_tran,   &sum_tran_t,
                 &Qtitle_mas, &sys_mas,     &flg_teate,    &flg_work,    &flg_zeiyn,   &Q_zei_mas,
                 &Q_zei_masB, &Q_zei_masS,  &minus_dat,    &day_work,    &gensen,      &Q_gensen};
    dataSources_ = {&DSCompany,    &DSJob_kbn,     &DSemp_mas,  &DSemp_tanka, &DSQemp_tanka, &DSQ_emp_tankaP,
                    &DS_kimu_tran, &DSQkimu_tran,  &DSsum_tran, &DSQsum_tran, &DSsum_tran_t, &DSQtitle_mas,
                    &DSsys_mas,    &DSflg_teate,   &DSflg_work, &DSflg_zeiyn, &DS_minus_dat, &DSday_work,
                    &DSgensen,     &DSTimeCardInp, &DataSource1};

    // Counting query: one long column Expr1000.
    QueryCnt.sql().add("SELECT COUNT(*) FROM 区分");
    QueryCnt.addField({"Expr1000", db::FieldKind::Long, 0, "", ""});

    // Punches.
    ADOTable1.setTableName("タイムカード");
    addFields(ADOTable1, table("タイムカード"));

    TimeCardInp.sql().add("SELECT * FROM タイムカード");
    addFields(TimeCardInp, table("タイムカード"));
    addNameLookup(TimeCardInp, "E_NAME", 20, "IDコード", emp_tanka);
    TimeCardInp.addCalculatedField({"InOut_flg", db::FieldKind::Text, 4, "", ""});
    TimeCardInp.onCalcFields = [this](db::Dataset& ds) { TimeCardInpCalcFields(ds); };
    TimeCardInp.beforePost = [this](db::Dataset& ds) { TimeCardInpBeforePost(ds); };

    // Masters.
    Company.setTableName("会社");
    addFields(Company, table("会社"));
    Job_kbn.setTableName("区分");
    addFields(Job_kbn, table("区分"));
    Qjob_kbn.sql().add("SELECT * FROM 区分");
    addFields(Qjob_kbn, table("区分"));
    emp_mas.setTableName("個人");
    addFields(emp_mas, table("個人"));

    const TableDef& emp = table("emp_tanka");
    emp_tanka.setTableName("emp_tanka");
    emp_tanka.setIndexFieldNames("E_NO");
    addFields(emp_tanka, emp);
    Qemp_tanka.sql().add("SELECT * FROM emp_tanka WHERE E_DROPKBN = '1' ORDER BY E_NO");
    addFields(Qemp_tanka, emp);
    Q_emp_tankaP.sql().add("SELECT * FROM emp_tanka WHERE E_DROPKBN = '1' ORDER BY E_NO");
    addFields(Q_emp_tankaP, emp, {"E_NO", "E_TANCOD", "E_NAME", "E_CARDNO", "E_JOBKBN", "E_DROPKBN", "PRT_FLG"});
    QSemp_tanka.sql().add("SELECT * FROM emp_tanka");
    addFields(QSemp_tanka, emp);
    // Its master source (DSsum_tran) has no effect: the SQL takes no parameter.
    Qemp_tankaS.sql().add("SELECT * FROM emp_tanka");
    addFields(Qemp_tankaS, emp);
    Qemp_tankaS2.sql().add("SELECT * FROM emp_tanka");
    addFields(Qemp_tankaS2, emp);

    // Attendance and pay records.
    kimu_tran.setTableName("kimu_tran");
    addFields(kimu_tran, table("kimu_tran"));
    Qkimu_tran.sql().add("SELECT * FROM kimu_tran ORDER BY K_TANCOD,K_DATE");
    addFields(Qkimu_tran, table("kimu_tran"));
    addNameLookup(Qkimu_tran, "TNAME", 20, "K_TANCOD", emp_tanka);

    const TableDef& sum = table("sum_tran");
    sum_tran.setTableName("sum_tran");
    sum_tran.setIndexFieldNames("S_TANCOD");
    addFields(sum_tran, sum);
    addNameLookup(sum_tran, "S_NAME", 16, "S_TANCOD", emp_tanka);
    addNameLookup(sum_tran, "TNAME", 16, "S_TANCOD", emp_tanka);

    sum_tran2.setTableName("sum_tran");
    sum_tran2.setIndexFieldNames("S_TANCOD");
    addFields(sum_tran2, sum);
    addNameLookup(sum_tran2, "TNAME", 16, "S_TANCOD", Qemp_tankaS2);

    Qsum_tran.sql().add("SELECT * FROM sum_tran ORDER BY S_SEQNO,S_TANCOD");
    for (const ColumnDef& c : sum.columns) {
        db::FieldDef f = fieldOf(c);
        if (c.name == "S_DATE") {
            f.kind = db::FieldKind::FixedText;
            f.width = 5;
        }
        Qsum_tran.addField(f);
    }
    addNameLookup(Qsum_tran, "S_NAME", 16, "S_TANCOD", emp_tanka);

    sum_tran_t.setTableName("sum_tran_t");
    // S_DATE keeps the stored width here, so no key is cut on the slips.
    addFields(sum_tran_t, sumTranTView());
    addNameLookup(sum_tran_t, "S_NAME", 16, "S_TANCOD", emp_tanka);

    // Captions, settings, code lists, tax tables.
    Qtitle_mas.sql().add("SELECT * FROM title_mas WHERE CODE = 1");
    addFields(Qtitle_mas, table("title_mas"));
    sys_mas.setTableName("sys_mas");
    addFields(sys_mas, table("sys_mas"));

    const TableDef& flg = table("flg_data");
    flg_teate.sql().add("SELECT FLG_NUM,FLG_DAT FROM flg_data WHERE FLG_COD = 1");
    addFields(flg_teate, flg, {"FLG_NUM", "FLG_DAT"});
    flg_work.sql().add("SELECT FLG_NUM,FLG_DAT FROM flg_data WHERE FLG_COD = 4 ORDER BY FLG_NUM");
    addFields(flg_work, flg, {"FLG_NUM", "FLG_DAT"});
    flg_zeiyn.sql().add("SELECT FLG_NUM,FLG_DAT FROM flg_data WHERE FLG_COD = 5 ORDER BY FLG_NUM");
    addFields(flg_zeiyn, flg, {"FLG_NUM", "FLG_DAT"});

    Q_zei_mas.sql().add("SELECT * FROM zei_mas Order By code");
    addFields(Q_zei_mas, table("zei_mas"));
    Q_zei_masB.sql().add("SELECT * FROM zei_masB Order By code");
    addFields(Q_zei_masB, table("zei_masB"));
    Q_zei_masS.sql().add("SELECT * FROM zei_masS Order By code");
    addFields(Q_zei_masS, table("zei_masS"));

    // Deduction slips and report tables.
    minus_dat.setTableName("minus_dat");
    addFields(minus_dat, table("minus_dat"));
    day_work.setTableName("day_work");
    addFields(day_work, table("day_work"));
    gensen.setTableName("gensen");
    addFields(gensen, table("gensen"));
    Q_gensen.sql().add("SELECT * FROM gensen");
    addFields(Q_gensen, table("gensen"));
}

db::Dataset* TDataModule1::findDataset(std::string_view name) {
    for (db::Dataset* ds : datasets_)
        if (ds->name() == name) return ds;
    return nullptr;
}

db::DataSource* TDataModule1::findDataSource(std::string_view name) {
    for (db::DataSource* s : dataSources_)
        if (s->name() == name) return s;
    return nullptr;
}

void TDataModule1::TimeCardInpCalcFields(db::Dataset& dataSet) {
    const std::string inOut = dataSet.fieldByName("入退").asString();
    if (inOut == "0") dataSet.fieldByName("InOut_flg").setValue("出勤");
    else if (inOut == "1") dataSet.fieldByName("InOut_flg").setValue("退出");
}

void TDataModule1::TimeCardInpBeforePost(db::Dataset& dataSet) {
    if (dataSet.fieldByName("異例コード").asString().empty()) {
        dataSet.fieldByName("異例コード").setValue("00");
        dataSet.fieldByName("秒").setValue("00");
        dataSet.fieldByName("CR").setValue("0");
    }
}

}  // namespace data
