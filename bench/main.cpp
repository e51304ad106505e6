// tallyra-bench: runs the program's jobs and printed forms without a window.
// The first argument names the subcommand; each lives in its own file.
#include <cstdio>
#include <cstring>
#include <string>

#include "subcommands.h"

namespace {

struct Subcommand {
    const char* name;
    const char* usage;
    int (*run)(const bench::Args&);
};

const Subcommand subcommands[] = {
    {"render",
     "render DIR --form NAME (--pdf OUT.pdf | --xlsx OUT.xlsx) [--csv OUT.csv]\n"
     "         [--year YYYY --month MM | --bonus N --year YYYY | --weekly YYYY/MM/DD YYYY/MM/DD]\n"
     "         [--by-category] [--from YYYY/MM --to YYYY/MM] [--employee CODE]",
     bench::render},
    {"generate", "generate DIR [--employees N] [--year YYYY] [--month M] [--seed S] [--missing-clock-outs N]",
     bench::generate},
    {"payrun", "payrun DIR --year YYYY --month M [--csv FILE --layout 1|2]", bench::payrun},
    {"run", "run [--employees N]", bench::run},
};

void usage(std::FILE* out) {
    std::fprintf(out, "usage: tallyra-bench SUBCOMMAND ...\n");
    for (const Subcommand& s : subcommands) std::fprintf(out, "  %s\n", s.usage);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        usage(stderr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "-h" || name == "--help" || name == "help") {
        usage(stdout);
        return 0;
    }
    for (const Subcommand& s : subcommands)
        if (name == s.name) return s.run(bench::Args(argv + 2, argv + argc));
    std::fprintf(stderr, "tallyra-bench: unknown subcommand '%s'\n", name.c_str());
    usage(stderr);
    return 2;
}
