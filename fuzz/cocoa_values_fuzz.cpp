// The COCOA value scan over a file of arbitrary bytes: every value found is
// non-empty, listed once, and stands in the file.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>

#include "corpora/cocoa_values.h"
#include "engine/progress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace plix;
    static const std::string path = [] {
        char name[] = "/tmp/plix-cocoa-values-fuzz-XXXXXX";
        const int fd = mkstemp(name);
        if (fd < 0) {
            std::abort();
        }
        close(fd);
        return std::string(name);
    }();
    static const bool removedAtExit = std::atexit([] { unlink(path.c_str()); }) == 0;
    (void)removedAtExit;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::abort();
    }
    if (size > 0 && std::fwrite(data, 1, size, file) != size) {
        std::abort();
    }
    std::fclose(file);

    CProgress progress;
    std::array<std::vector<std::string>, 26> values;
    std::string error;
    if (ScanCocoaValues({path}, progress, values, error) != CocoaValueScanOutcome::Done) {
        std::abort();
    }
    // The reader hands NUL bytes on as blanks.
    std::string text(reinterpret_cast<const char*>(data), size);
    std::replace(text.begin(), text.end(), '\0', ' ');
    for (const auto& list : values) {
        std::unordered_set<std::string> seen;
        for (const std::string& value : list) {
            // A value may end in the blank that stands for a line end.
            const std::string body =
                value.back() == ' ' ? value.substr(0, value.size() - 1) : value;
            if (value.empty() || !seen.insert(value).second ||
                text.find(body) == std::string::npos) {
                std::abort();
            }
        }
        const std::vector<std::string> merged = MergedValues(list, list);
        if (merged.size() > list.size()) {
            std::abort();
        }
    }
    return 0;
}
