#pragma once

#include <cstdint>

namespace driftmark::bench {

// Counts of the file system calls the benchmark process has made so far, from any thread. The
// benchmark binary defines open, openat, rename and fsync itself (passing each on to the kernel), so
// that these count the calls of Driftmark's own code; calls made inside the C library (mkstemp,
// fopen) are not seen.
struct SyscallCounts {
    std::int64_t opens = 0;
    // Files renamed over a name ending in "preferences.json": saves of the preferences.
    std::int64_t preferenceSaves = 0;
    std::int64_t fsyncs = 0;

    static SyscallCounts now();
};

} // namespace driftmark::bench
