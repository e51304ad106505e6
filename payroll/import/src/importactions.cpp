#include "import/importactions.h"

#include <vector>

#include "import/recorderimport.h"
#include "rtl/strings.h"

namespace payroll {

const FileDialogSetup kOpenDialog1{"OpenDialog1", "MSAccess(*.mdb)|*.mdb"};
const FileDialogSetup kOpenDialog2{
    "OpenDialog2", "コンマ区切りテキスト(*.csv)|*.CSV|テキストファイル(*.txt)|*.TXT|すべてのファイル(*.*)|*.*"};

namespace {

std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t at = s.find(sep, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return parts;
}

std::optional<std::string> chosenFile(const ImportPrompts& prompts, const FileDialogSetup& dialog) {
    if (!prompts.chooseFile) return std::nullopt;
    std::string path = prompts.chooseFile(dialog);
    if (path.empty()) return std::nullopt;
    return path;
}

// Runs `import` through the prompts' runner; nullopt when it was cancelled.
template <class F>
std::optional<long long> run(const ImportPrompts& prompts, F&& import) {
    long long count = 0;
    const ImportPrompts::Import work = [&](const ImportProgress& progress) { count = import(progress); };
    try {
        if (prompts.runImport) prompts.runImport(work);
        else work({});
    } catch (const ImportCancelled&) {
        return std::nullopt;
    }
    if (prompts.setPunchButtons) prompts.setPunchButtons(count != 0);
    return count;
}

}  // namespace

std::string qtFileFilter(const std::string& filter) {
    const std::vector<std::string> parts = split(filter, '|');
    std::string out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::vector<std::string> patterns;
        auto add = [&](const std::string& p) {
            for (const std::string& q : patterns)
                if (q == p) return;
            patterns.push_back(p);
        };
        for (const std::string& p : split(parts[i + 1], ';')) {
            if (p.empty()) continue;
            if (p == "*.*") {
                add("*");
                continue;
            }
            add(rtl::lowerCase(p));
            add(rtl::upperCase(p));
        }
        std::string list;
        for (const std::string& p : patterns) list += (list.empty() ? "" : " ") + p;
        if (!out.empty()) out += ";;";
        out += parts[i] + " (" + list + ")";
    }
    return out;
}

std::optional<long long> Act_NewSetExecute(data::TDataModule1& dm, const ImportPrompts& prompts) {
    const std::optional<std::string> file = chosenFile(prompts, kOpenDialog1);
    if (!file) return std::nullopt;
    // The login comes before anything is read or deleted, so cancelling it
    // keeps the working tables as they are.
    if (prompts.login) {
        LoginRequest request;
        request.file = *file;
        if (!prompts.login(request)) return std::nullopt;
    }
    return run(prompts, [&](const ImportProgress& progress) { return copyRecorderDatabase(dm, *file, progress); });
}

std::optional<long long> Act_CopyZaltonExecute(data::TDataModule1& dm, const ImportPrompts& prompts) {
    const std::optional<std::string> file = chosenFile(prompts, kOpenDialog2);
    if (!file) return std::nullopt;
    return run(prompts, [&](const ImportProgress& progress) { return importCsvLayout1(dm, *file, progress); });
}

std::optional<long long> ActCopyZalton2Execute(data::TDataModule1& dm, const ImportPrompts& prompts) {
    const std::optional<std::string> file = chosenFile(prompts, kOpenDialog2);
    if (!file) return std::nullopt;
    return run(prompts, [&](const ImportProgress& progress) { return importCsvLayout2(dm, *file, progress); });
}

}  // namespace payroll
