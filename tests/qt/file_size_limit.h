#pragma once

#include <csignal>
#include <sys/resource.h>

// While one lives, a file of this process may be set to grow no further than a number of bytes,
// as on a full disk: the write fails (the signal that would end the process is ignored meanwhile).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        tight_ = saved_;
        tight_.rlim_cur = bytes;
    }
    ~FileSizeLimit() {
        lift();
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool set() { return ::setrlimit(RLIMIT_FSIZE, &tight_) == 0; }
    bool lift() { return ::setrlimit(RLIMIT_FSIZE, &saved_) == 0; }

private:
    void (*previous_)(int) = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved_{};
    rlimit tight_{};
};
