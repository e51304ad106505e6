#include "fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <cstdlib>

#include "data/delivered.h"
#include "ui/action.h"

namespace timecard::testing {

void TimeCardFolder::SetUp() {
    std::string templ = (std::filesystem::temp_directory_path() / "tallyra-timecard-XXXXXX").string();
    ASSERT_NE(mkdtemp(templ.data()), nullptr);
    dir = templ;
    const std::string dbPath = (dir / "Wendrasol.mdb").string();
    data::createDeliveredDatabase(dbPath);
    data::createDataModule1()->setDatabasePath(dbPath);
    const char* insert =
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_JOBKBN, E_DROPKBN) VALUES (?, ?, ?, ?, '01', ?)";
    exec(insert, {1, "000001", "山田太郎", "000001", "1"});
    exec(insert, {7, "000007", "佐藤花子", "1007", "1"});
    exec(insert, {9, "000009", "鈴木一郎", "000009", "0"});

    main = std::make_unique<QWidget>();
    main->setObjectName(QStringLiteral("frmMain"));
    btnDayRep = new ui::Button(QStringLiteral("btnDayRep"), QStringLiteral("日別一覧"), main.get());
    btnJ_Meisai = new ui::Button(QStringLiteral("btnJ_Meisai"), QStringLiteral("勤務明細表"), main.get());
    btnTimeRep = new ui::Button(QStringLiteral("btnTimeRep"), {}, main.get());
    Act_MainRep = new ui::Action(QStringLiteral("Act_MainRep"), QStringLiteral("一覧表示"), main.get());
    btnTimeRep->setAction(Act_MainRep);
}

void TimeCardFolder::TearDown() {
    main.reset();
    data::destroyDataModule1();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

void TimeCardFolder::exec(const std::string& sql, const db::Params& params) {
    data::DataModule1->ADOConnection1.execute(sql, params);
}

long long TimeCardFolder::count(const std::string& sql) {
    const db::Value v = data::DataModule1->ADOConnection1.scalar(sql);
    return v.isNull() ? 0 : static_cast<long long>(v.real());
}

std::vector<Row> TimeCardFolder::punches() {
    std::vector<Row> out;
    const db::ResultSet rs = data::DataModule1->ADOConnection1.select(
        "SELECT 月, 日, 時, 分, 秒, IDコード, 入退, 異例コード, CR FROM タイムカード ORDER BY rowid");
    for (const auto& r : rs.rows) {
        Row row;
        for (const db::Value& v : r) row.push_back(v.isNull() ? "<NULL>" : v.toString());
        out.push_back(row);
    }
    return out;
}

void TimeCardFolder::addPunch(const std::string& month, const std::string& day, const std::string& hour,
                              const std::string& minute, const std::string& card, const std::string& inOut) {
    exec(
        "INSERT INTO タイムカード (月, 日, 時, 分, 秒, IDコード, 入退, 異例コード, CR) "
        "VALUES (?, ?, ?, ?, '00', ?, ?, '00', '0')",
        {month, day, hour, minute, card, inOut});
}

void TimeCardFolder::setClosingDay(const std::string& text) { exec("UPDATE 会社 SET 締日 = ?", {text}); }

bool showActive(QWidget* w) {
    w->show();
    QApplication::setActiveWindow(w);
    w->activateWindow();
    return QTest::qWaitForWindowActive(w, 2000);
}

}  // namespace timecard::testing

namespace timecard::testing {

void typeText(QWidget* w, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &release);
    }
}

}  // namespace timecard::testing
