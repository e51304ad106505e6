// Runs a block with the rights of an ordinary user (nobody), so that a
// folder's missing write permission holds for a test run as root as well.
#pragma once

#include <unistd.h>

namespace tsupport {

class Unprivileged {
public:
    Unprivileged() {
        if (::geteuid() == 0) switched_ = ::seteuid(65534) == 0;
    }
    ~Unprivileged() {
        if (switched_) (void)::seteuid(0);
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;
    // Whether the block really runs without root's rights.
    bool ok() const { return ::geteuid() != 0; }

private:
    bool switched_ = false;
};

}  // namespace tsupport
