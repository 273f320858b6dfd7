#pragma once

#include "fakes/TestEnvironment.h"
#include "fakes/TextFile.h"
#include "support/LogFiles.h"

#include <memory>
#include <string>
#include <string_view>

namespace driftmark::test {

// A private log directory laid out as in a home directory, and the text of its day files.
struct LogDirectory {
    std::string dayFile(std::string_view day) const { return readTextFile(files->dayFile(day)); }

    TemporaryDirectory directory;
    std::shared_ptr<LogFiles> files =
        std::make_shared<LogFiles>(directory.path() / ".log" / "driftmark-menubar");
};

} // namespace driftmark::test
