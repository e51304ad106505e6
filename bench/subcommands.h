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

}  // namespace bench
