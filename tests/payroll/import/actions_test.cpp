// The whole import actions with scripted prompts: which dialog is asked,
// what cancelling keeps, and how the three punch buttons are set.
#include <gtest/gtest.h>

#include <deque>

#include "fixture.h"
#include "import/importactions.h"
#include "import/recorderimport.h"
#include "rtl/errors.h"

namespace payroll::testing {
namespace {

// Answers the prompts from queues and records what was asked.
struct Script {
    std::deque<std::string> files;
    std::deque<std::optional<LoginAnswer>> logins;
    std::vector<std::string> dialogs;  // "OpenDialog1|<filter>"
    std::vector<std::string> loginFiles;
    std::vector<bool> buttons;
    int runs = 0;
    // Answers of the progress callback the runner hands to the import
    // (true: go on); when they run out the import goes on.
    std::deque<bool> progressAnswers;

    ImportPrompts prompts() {
        ImportPrompts p;
        p.chooseFile = [this](const FileDialogSetup& d) {
            dialogs.push_back(d.name + "|" + d.filter);
            std::string f = files.empty() ? std::string() : files.front();
            if (!files.empty()) files.pop_front();
            return f;
        };
        p.login = [this](const LoginRequest& r) -> std::optional<LoginAnswer> {
            loginFiles.push_back(r.file + "|" + r.userName);
            auto a = logins.empty() ? std::optional<LoginAnswer>() : logins.front();
            if (!logins.empty()) logins.pop_front();
            return a;
        };
        p.setPunchButtons = [this](bool on) { buttons.push_back(on); };
        p.runImport = [this](const ImportPrompts::Import& import) {
            ++runs;
            import([this](long long, long long) {
                if (progressAnswers.empty()) return true;
            const bool goOn = progressAnswers.front();
            progressAnswers.pop_front();
            return goOn;
            });
    };
    return p;
}
};

class ImportActions : public ImportFolder {};

const std::string kMdbFilter = "OpenDialog1|MSAccess(*.mdb)|*.mdb";
const std::string kCsvFilter =
    "OpenDialog2|コンマ区切りテキスト(*.csv)|*.CSV|テキストファイル(*.txt)|*.TXT|すべてのファイル(*.*)|*.*";

TEST_F(ImportActions, DatabaseCopySetsTheButtonsFromTheCount) {
    auto tables = recorderTables();
    const auto full = writeJet("full.mdb", tables);
    tables[0].rows.clear();
    const auto empty = writeJet("empty.mdb", tables);

    Script s;
    s.files = {full.string(), empty.string()};
    s.logins = {LoginAnswer{"Admin", ""}, LoginAnswer{"someone", "secret"}};
    EXPECT_EQ(Act_NewSetExecute(*dm, s.prompts()), 3);
    EXPECT_EQ(Act_NewSetExecute(*dm, s.prompts()), 0);
    EXPECT_EQ(s.dialogs, (std::vector<std::string>{kMdbFilter, kMdbFilter}));
    EXPECT_EQ(s.loginFiles, (std::vector<std::string>{full.string() + "|Admin", empty.string() + "|Admin"}));
    EXPECT_EQ(s.buttons, (std::vector<bool>{true, false}));
    EXPECT_TRUE(punches().empty());
}

TEST_F(ImportActions, CancellingKeepsEverything) {
    seedOldPunches();
    const auto before = punches();
    const auto kbnBefore = rows("区分");
    Script s;
    // File choice cancelled, for each action.
    EXPECT_EQ(Act_NewSetExecute(*dm, s.prompts()), std::nullopt);
    EXPECT_EQ(Act_CopyZaltonExecute(*dm, s.prompts()), std::nullopt);
    EXPECT_EQ(ActCopyZalton2Execute(*dm, s.prompts()), std::nullopt);
    // Login cancelled after a file was chosen.
    s.files = {writeJet("r.mdb", recorderTables()).string()};
    s.logins = {std::nullopt};
    EXPECT_EQ(Act_NewSetExecute(*dm, s.prompts()), std::nullopt);

    EXPECT_EQ(s.dialogs, (std::vector<std::string>{kMdbFilter, kCsvFilter, kCsvFilter, kMdbFilter}));
    EXPECT_TRUE(s.buttons.empty());
    EXPECT_EQ(punches(), before);
    EXPECT_EQ(rows("区分"), kbnBefore);
}

TEST_F(ImportActions, CsvActionsImportAndSetTheButtons) {
    addEmployee(7, "000007", "01");
    Script s;
    s.files = {writeCsv("a.csv", {layout1Line("7", "14/07/01", "08:00", "17:00")}).string(),
               writeCsv("b.csv", {layout2Line("7", "14/07/01", "08:00", "17:00")}, Encoding::Cp932).string(),
               writeCsv("h.csv", {csvLine(16, {{4, "年/月/日"}})}).string()};
    EXPECT_EQ(Act_CopyZaltonExecute(*dm, s.prompts()), 2);
    EXPECT_EQ(punches()[0][5], "7");
    EXPECT_EQ(ActCopyZalton2Execute(*dm, s.prompts()), 2);
    EXPECT_EQ(punches()[0][5], "000007");
    // A file with nothing to import is refused; the punches stay.
    EXPECT_THROW(ActCopyZalton2Execute(*dm, s.prompts()), NoPunchesError);
    EXPECT_EQ(punches().size(), 2u);
    EXPECT_EQ(s.buttons, (std::vector<bool>{true, true}));
    // Each import ran through the window's runner.
    EXPECT_EQ(s.runs, 3);
}

TEST_F(ImportActions, CancelWhileImportingKeepsEverything) {
    addEmployee(7, "000007", "01");
    seedOldPunches();
    const auto before = punches();
    const auto kbnBefore = rows("区分");
    Script s;
    s.files = {writeCsv("a.csv", {layout1Line("7", "14/07/01", "08:00", "17:00")}).string(),
               writeCsv("b.csv", {layout2Line("7", "14/07/01", "08:00", "17:00")}).string(),
               writeJet("r.mdb", recorderTables()).string()};
    s.logins = {LoginAnswer{"Admin", ""}};
    // Each import is small enough for two progress calls: the first goes on,
    // the last (just before the commit) stops.
    s.progressAnswers = {true, false, true, false, true, false};
    EXPECT_EQ(Act_CopyZaltonExecute(*dm, s.prompts()), std::nullopt);
    EXPECT_EQ(ActCopyZalton2Execute(*dm, s.prompts()), std::nullopt);
    EXPECT_EQ(Act_NewSetExecute(*dm, s.prompts()), std::nullopt);
    EXPECT_TRUE(s.progressAnswers.empty());
    EXPECT_TRUE(s.buttons.empty());
    EXPECT_EQ(punches(), before);
    EXPECT_EQ(rows("区分"), kbnBefore);
}

TEST_F(ImportActions, FailureRaisesWithoutTouchingTheButtons) {
    seedOldPunches();
    Script s;
    s.files = {writeCsv("bad.csv", {layout1Line("7", "14/07/01", "08:00", "17時")}).string()};
    EXPECT_THROW(Act_CopyZaltonExecute(*dm, s.prompts()), ImportLineError);
    EXPECT_TRUE(s.buttons.empty());
    EXPECT_EQ(punches().size(), 2u);
}

TEST(QtFileFilter, BothCasesOfEachExtension) {
    EXPECT_EQ(qtFileFilter(kOpenDialog1.filter), "MSAccess(*.mdb) (*.mdb *.MDB)");
    EXPECT_EQ(qtFileFilter(kOpenDialog2.filter),
              "コンマ区切りテキスト(*.csv) (*.csv *.CSV);;テキストファイル(*.txt) (*.txt *.TXT);;"
              "すべてのファイル(*.*) (*)");
}

}  // namespace
}  // namespace payroll::testing
