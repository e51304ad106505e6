// Times GetFromToDateTime over a million spans of whole minutes.
#include <kronvale/kronvale.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const long calls = argc > 1 ? std::atol(argv[1]) : 1000000;
    const double from = 45306.375;  // 2024-01-15 09:00
    long long checksum = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < calls; ++i) {
        const double to = from + static_cast<double>(i % 1440) * 60000 / 86400000.0;
        int32_t days = 0, hours = 0, minutes = 0, seconds = 0;
        GetFromToDateTime(from, to, &days, &hours, &minutes, &seconds);
        checksum += hours * 60 + minutes;
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    const double ns = std::chrono::duration<double, std::nano>(elapsed).count() / static_cast<double>(calls);
    std::printf("%ld calls: %.1f ns per call (checksum %lld)\n", calls, ns, checksum);
    return 0;
}
