#include "SyscallCounter.h"

#include <atomic>
#include <cstdarg>
#include <string_view>
#include <sys/syscall.h>

// No <fcntl.h> or <unistd.h> here: their (possibly fortified) declarations would clash with these
// definitions, so the few constants and the syscall entry are spelled out.
extern "C" long syscall(long number, ...) noexcept;

namespace {

constexpr int currentDirectory = -100;   // AT_FDCWD
constexpr int createFlag = 0100;         // O_CREAT
constexpr int temporaryFlag = 020200000; // O_TMPFILE

std::atomic<std::int64_t> openCalls{0};
std::atomic<std::int64_t> preferenceRenames{0};
std::atomic<std::int64_t> fsyncCalls{0};

int openAt(int directory, const char* path, int flags, std::va_list arguments) {
    // The mode argument is there only when the flags ask to create a file.
    const unsigned mode = (flags & createFlag) != 0 || (flags & temporaryFlag) == temporaryFlag
                              ? va_arg(arguments, unsigned)
                              : 0U;
    openCalls.fetch_add(1, std::memory_order_relaxed);
    return static_cast<int>(syscall(SYS_openat, directory, path, flags, mode));
}

} // namespace

extern "C" {

int open(const char* path, int flags, ...) {
    std::va_list arguments;
    va_start(arguments, flags);
    const int descriptor = openAt(currentDirectory, path, flags, arguments);
    va_end(arguments);
    return descriptor;
}

int open64(const char* path, int flags, ...) {
    std::va_list arguments;
    va_start(arguments, flags);
    const int descriptor = openAt(currentDirectory, path, flags, arguments);
    va_end(arguments);
    return descriptor;
}

int openat(int directory, const char* path, int flags, ...) {
    std::va_list arguments;
    va_start(arguments, flags);
    const int descriptor = openAt(directory, path, flags, arguments);
    va_end(arguments);
    return descriptor;
}

int openat64(int directory, const char* path, int flags, ...) {
    std::va_list arguments;
    va_start(arguments, flags);
    const int descriptor = openAt(directory, path, flags, arguments);
    va_end(arguments);
    return descriptor;
}

int rename(const char* from, const char* to) noexcept {
    if (std::string_view(to).ends_with("preferences.json")) {
        preferenceRenames.fetch_add(1, std::memory_order_relaxed);
    }
    return static_cast<int>(syscall(SYS_renameat2, currentDirectory, from, currentDirectory, to, 0U));
}

int fsync(int descriptor) {
    fsyncCalls.fetch_add(1, std::memory_order_relaxed);
    return static_cast<int>(syscall(SYS_fsync, descriptor));
}

} // extern "C"

namespace driftmark::bench {

SyscallCounts SyscallCounts::now() {
    return SyscallCounts{openCalls.load(), preferenceRenames.load(), fsyncCalls.load()};
}

} // namespace driftmark::bench
