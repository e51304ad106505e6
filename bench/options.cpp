#include "options.h"

#include <charconv>
#include <cstdio>

namespace bench {

std::string Options::text(const std::string& name, const std::string& fallback) const {
    const auto it = values.find(name);
    return it == values.end() ? fallback : it->second;
}

long long Options::number(const std::string& name, long long fallback, long long min, long long max) const {
    const auto it = values.find(name);
    if (it == values.end()) return fallback;
    const std::string& t = it->second;
    long long n = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), n);
    if (ec != std::errc() || end != t.data() + t.size() || n < min || n > max)
        throw Usage("option " + name + ": '" + t + "' is not a whole number from " + std::to_string(min) + " to " +
                    std::to_string(max));
    return n;
}

Options parseOptions(const Args& args, const std::set<std::string>& known, bool withDir) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0) {
            if (!known.count(a)) throw Usage("unknown option " + a);
            if (i + 1 >= args.size()) throw Usage("option " + a + " needs a value");
            o.values[a] = args[++i];
        } else if (withDir && o.dir.empty()) {
            o.dir = a;
        } else {
            throw Usage("unexpected argument " + a);
        }
    }
    if (withDir && o.dir.empty()) throw Usage("missing working folder DIR");
    return o;
}

std::string monthText(const Options& o) {
    const long long m = o.number("--month", 0, 1, 12);
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02d", static_cast<int>(m));
    return buf;
}

std::string yearText(const Options& o) { return std::to_string(o.number("--year", 0, 1950, 2099)); }

void fail(const char* subcommand, const std::string& message) {
    std::fprintf(stderr, "tallyra-bench %s: %s\n", subcommand, message.c_str());
}

int guarded(const char* subcommand, const std::function<int()>& body) {
    try {
        return body();
    } catch (const Usage& e) {
        fail(subcommand, e.what());
        return 2;
    } catch (const std::exception& e) {
        fail(subcommand, e.what());
        return 1;
    }
}

}  // namespace bench
