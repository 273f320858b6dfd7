#include "fakes/TestEnvironment.h"
#include "platform/Clock.h"
#include "support/AppLogger.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"

#include <benchmark/benchmark.h>

namespace driftmark {
namespace {

// What one AppLogger call costs its caller: capturing and queueing, while the writer thread formats and
// appends behind it. Draining the queue after the timed loop is not counted.
void appLoggerCall(benchmark::State& state) {
    const test::TemporaryDirectory directory;
    AppLogger logger(std::make_shared<LogFiles>(directory.path()), SystemClock::shared(), LogCalendar{});
    for (auto _ : state) {
        logger.info("Updated menu bar items: 3 items, 1 with Smart Paste");
    }
    logger.flush();
}
// A fixed count keeps the queue, and the file it turns into, to a few megabytes.
BENCHMARK(appLoggerCall)->Iterations(100'000)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace
} // namespace driftmark
