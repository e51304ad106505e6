// Command-line options shared by the subcommands: DIR plus "--name value"
// pairs, and the checks every subcommand makes on them.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "subcommands.h"

namespace bench {

// A wrong command line: what() is printed after "tallyra-bench <sub>: ".
struct Usage : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string dir;                            // the one positional argument ("" when none)
    std::map<std::string, std::string> values;  // "--name" -> value

    bool has(const std::string& name) const { return values.count(name) > 0; }
    std::string text(const std::string& name, const std::string& fallback = {}) const;
    // A whole number in [min, max]; `fallback` when the option is absent.
    long long number(const std::string& name, long long fallback, long long min, long long max) const;
};

// Every option takes one value; an option not in `known` is refused, and so
// is a second positional argument (or any when `withDir` is false).
Options parseOptions(const Args& args, const std::set<std::string>& known, bool withDir);

// The pay month as the main window holds it: 1..12 as two digits ("7" and
// "07" both give "07").
std::string monthText(const Options& o);
// The pay year, four digits.
std::string yearText(const Options& o);

// Prints "tallyra-bench <sub>: <message>" on stderr.
void fail(const char* subcommand, const std::string& message);

// Runs a subcommand's body and returns its exit code: a wrong command line
// gives 2, any other failure 1, each after its message.
int guarded(const char* subcommand, const std::function<int()>& body);

}  // namespace bench
