// A temporary working folder with a delivered database, the program's data
// module pointed at it, a few employees, a stand-in main window carrying the
// three buttons the time-card entry switches, and scripted dialogs.
#pragma once

#include <QWidget>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/DB_Acs.h"
#include "ui/dialogs.h"

namespace ui {
class Action;
class Button;
}  // namespace ui

namespace timecard::testing {

using Row = std::vector<std::string>;

class TimeCardFolder : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;

    void exec(const std::string& sql, const db::Params& params = {});
    long long count(const std::string& sql);
    // Punches in insertion order: 月, 日, 時, 分, 秒, IDコード, 入退, 異例コード, CR.
    std::vector<Row> punches();
    void addPunch(const std::string& month, const std::string& day, const std::string& hour, const std::string& minute,
                  const std::string& card, const std::string& inOut);
    void setClosingDay(const std::string& text);

    // Employees: 1 山田太郎 (card 000001), 7 佐藤花子 (card 1007), 9 鈴木一郎
    // (retired, card 000009).
    std::filesystem::path dir;
    ui::ScriptedDialogs dialogs;
    std::unique_ptr<QWidget> main;  // "frmMain"
    ui::Button* btnDayRep = nullptr;
    ui::Button* btnJ_Meisai = nullptr;
    ui::Button* btnTimeRep = nullptr;
    ui::Action* Act_MainRep = nullptr;
};

// Shows a window and makes it the active one, so focus changes are real.
bool showActive(QWidget* w);

// Types text key by key into the focused control of `w` (QTest's key
// clicks take ASCII only; names here are Japanese).
void typeText(QWidget* w, const QString& text);

}  // namespace timecard::testing
