// The library's dynamic symbol table holds the three functions and nothing else
// it defines: no C++ helper, template instance or type information leaks.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>

namespace {

struct PipeCloser {
    void operator()(FILE* f) const { pclose(f); }
};

TEST(KronvaleExports, DefinesExactlyTheThreeFunctions) {
    const std::string command = std::string("'") + KRONVALE_NM + "' -D --defined-only '" + KRONVALE_LIBRARY_FILE + "'";
    std::unique_ptr<FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
    ASSERT_TRUE(pipe) << command;

    std::set<std::string> functions;
    std::set<std::string> others;
    std::array<char, 512> line{};
    while (fgets(line.data(), static_cast<int>(line.size()), pipe.get())) {
        std::istringstream fields(line.data());
        std::string address, type, name;
        if (!(fields >> address >> type >> name)) continue;
        if (type == "T") functions.insert(name);
        else others.insert(name);
    }
    EXPECT_EQ(functions, (std::set<std::string>{"GetFromToDateTime", "GetFromToTime", "GetZanMidTime"}));
    EXPECT_TRUE(others.empty()) << "unexpected symbol, e.g. " << *others.begin();
}

}  // namespace
