// Shared pieces of the fuzz targets: a check that stops the run with a
// message (a crash to libFuzzer, a failure to the replay test) and a reader
// that takes typed values off the front of the input.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

#include <unistd.h>

namespace fuzz {

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::abort();
}

inline void check(bool ok, const std::string& what) {
    if (!ok) fail(what);
}

// Takes fixed-size values from the front of the input; past its end every
// value is zero and every text empty, so any input is a valid one.
class Input {
public:
    Input(const uint8_t* data, size_t size) : p_(data), n_(size) {}

    template <typename T>
    T take() {
        T v{};
        const size_t k = n_ < sizeof v ? n_ : sizeof v;
        if (k > 0) std::memcpy(&v, p_, k);
        p_ += k;
        n_ -= k;
        return v;
    }
    uint8_t byte() { return take<uint8_t>(); }
    bool flag() { return byte() & 1; }
    // A text of up to `max` bytes (the length is the next byte).
    std::string text(size_t max = 255) {
        size_t len = byte();
        if (len > max) len = max;
        if (len > n_) len = n_;
        std::string s(reinterpret_cast<const char*>(p_), len);
        p_ += len;
        n_ -= len;
        return s;
    }
    // Everything that is left.
    std::string rest() {
        std::string s(reinterpret_cast<const char*>(p_), n_);
        p_ += n_;
        n_ = 0;
        return s;
    }
    size_t left() const { return n_; }

private:
    const uint8_t* p_;
    size_t n_;
};

// A fresh folder of the process under the temporary directory (TMPDIR),
// removed with the object.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path_(std::filesystem::temp_directory_path() / ("tallyra-fuzz-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

}  // namespace fuzz
