// The subcommands of tallyra-bench, one file each. A subcommand gets the
// arguments after its name and returns the process exit code; it writes its
// own messages (errors to stderr).
#pragma once

#include <string>
#include <vector>

namespace bench {

using Args = std::vector<std::string>;

// render DIR --form NAME (--pdf OUT.pdf | --xlsx OUT.xlsx) [--csv OUT.csv] [keys]
int render(const Args& args);
// generate DIR [--employees N] [--year YYYY] [--month M] [--seed S] [--missing-clock-outs N]
int generate(const Args& args);
// payrun DIR --year YYYY --month M [--csv FILE --layout 1|2]
int payrun(const Args& args);
// run [--employees N]
int run(const Args& args);

}  // namespace bench
