#include "support/AppLogger.h"

#include "platform/Clock.h"
#include "platform/OutsideText.h"
#include "support/FunctionLabel.h"
#include "support/LogCalendar.h"
#include "support/LogFiles.h"

#include <array>
#include <condition_variable>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>
#include <variant>
#include <vector>

namespace driftmark {

namespace {

// A call site passed as text to log(); the level calls keep their source_location, whose label is
// derived on the writer thread.
struct GivenSite {
    std::string file;
    std::string function;
    std::uint_least32_t line;
};

struct Request {
    std::string message;
    AppLogger::LogLevel level;
    std::variant<std::source_location, GivenSite> site;
};

std::string_view lastPathComponent(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

} // namespace

struct AppLogger::Writer {
    Writer(std::shared_ptr<LogFiles> files, const Clock& clock, const LogCalendar& calendar)
        : files_(std::move(files))
        , clock_(clock)
        , dateFormatter_(LogDateFormatter::fixed(calendar, "yyyy-MM-dd"))
        , timestampFormatter_(LogDateFormatter::fixed(calendar, "yyyy-MM-dd HH:mm:ss.SSS"))
        , thread_([this] { run(); }) {
        createLogDirectory();
    }

    ~Writer() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_one();
        thread_.join();
    }

    void enqueue(Request request) {
        bool wakeWriter = false;
        {
            const std::lock_guard lock(mutex_);
            queue_.push_back(std::move(request));
            ++queuedCount_;
            // Only a sleeping writer needs the (comparatively costly) notification, and only once.
            wakeWriter = writerWaiting_;
            writerWaiting_ = false;
        }
        if (wakeWriter) {
            wake_.notify_one();
        }
    }

    void flush() {
        std::unique_lock lock(mutex_);
        const auto target = queuedCount_;
        drained_.wait(lock, [&] { return writtenCount_ >= target; });
    }

private:
    void createLogDirectory() {
        if (auto failure = files_->createDirectory()) {
            std::cout << "Failed to create log directory: " << *failure << std::endl;
        }
    }

    void run() {
        std::vector<Request> batch;
        std::unique_lock lock(mutex_);
        for (;;) {
            writerWaiting_ = true;
            wake_.wait(lock, [this] { return !queue_.empty() || stopping_; });
            writerWaiting_ = false;
            if (queue_.empty()) {
                return;
            }
            batch.swap(queue_);
            lock.unlock();
            for (const Request& request : batch) {
                write(request);
            }
            const auto count = batch.size();
            batch.clear();
            lock.lock();
            writtenCount_ += count;
            drained_.notify_all();
        }
    }

    void write(const Request& request) {
        const auto now = clock_.now();
        std::string line = "[" + timestampFormatter_.format(now) + "] [";
        line += printedForm(request.level);
        line += "] [";
        if (const auto* site = std::get_if<std::source_location>(&request.site)) {
            line.append(lastPathComponent(site->file_name()))
                .append(":")
                .append(std::to_string(site->line()));
            line.append("] ").append(functionLabel(site->function_name()));
        } else {
            const auto& given = std::get<GivenSite>(request.site);
            line.append(lastPathComponent(given.file)).append(":").append(std::to_string(given.line));
            line.append("] ").append(given.function);
        }
        // Messages carry titles, arguments and window names: one call is one line, whatever they hold.
        line.append(" - ")
            .append(OutsideText::excerpt(request.message, OutsideText::messageLimit))
            .append("\n");
        if (auto failure = files_->append(getLogFileURL(now), line)) {
            std::cout << "Failed to write log: " << *failure << std::endl;
        }
    }

    const std::filesystem::path& getLogFileURL(std::chrono::system_clock::time_point now) {
        std::string date = dateFormatter_.format(now);
        if (date != currentDate_ || !currentLogFileURL_) {
            currentLogFileURL_ = files_->dayFile(date);
            currentDate_ = std::move(date);
        }
        return *currentLogFileURL_;
    }

    // Used on the writer thread only, once constructed.
    std::shared_ptr<LogFiles> files_;
    const Clock& clock_;
    LogDateFormatter dateFormatter_;
    LogDateFormatter timestampFormatter_;
    std::string currentDate_;
    std::optional<std::filesystem::path> currentLogFileURL_;

    // Shared between the callers and the writer thread.
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable drained_;
    std::vector<Request> queue_;
    std::uint64_t queuedCount_ = 0;
    std::uint64_t writtenCount_ = 0;
    bool writerWaiting_ = false;
    bool stopping_ = false;

    // Last, so that the thread starts once everything it uses exists.
    std::thread thread_;
};

AppLogger& AppLogger::shared() {
    static AppLogger logger(LogFiles::shared(), SystemClock::shared(), LogCalendar{});
    return logger;
}

AppLogger::AppLogger(std::shared_ptr<LogFiles> files, const Clock& clock, const LogCalendar& calendar)
    : writer_(std::make_unique<Writer>(std::move(files), clock, calendar)) {}

AppLogger::~AppLogger() = default;

void AppLogger::debug(std::string message, std::source_location site) {
    writer_->enqueue({std::move(message), LogLevel::debug, site});
}

void AppLogger::info(std::string message, std::source_location site) {
    writer_->enqueue({std::move(message), LogLevel::info, site});
}

void AppLogger::warning(std::string message, std::source_location site) {
    writer_->enqueue({std::move(message), LogLevel::warning, site});
}

void AppLogger::error(std::string message, std::source_location site) {
    writer_->enqueue({std::move(message), LogLevel::error, site});
}

void AppLogger::log(std::string message, LogLevel level, std::string_view file, std::string_view function,
                    std::uint_least32_t line) {
    writer_->enqueue({std::move(message), level, GivenSite{std::string(file), std::string(function), line}});
}

void AppLogger::flush() {
    writer_->flush();
}

std::string_view AppLogger::printedForm(LogLevel level) {
    static constexpr std::array<std::string_view, 4> forms{"DEBUG", "INFO", "WARNING", "ERROR"};
    return forms.at(static_cast<std::size_t>(level));
}

} // namespace driftmark
