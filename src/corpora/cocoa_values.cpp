#include "corpora/cocoa_values.h"

#include "corpora/cocoa.h"
#include "engine/input.h"
#include "engine/progress.h"

#include <cctype>
#include <unordered_set>

namespace plix {

namespace {

// The key under which a value selects: the selection lower-cases byte by byte.
std::string SelectionKey(const std::string& value)
{
    std::string key = value;
    for (char& c : key) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return key;
}

}  // namespace

CocoaValueScanOutcome ScanCocoaValues(const std::vector<std::string>& files, CProgress& progress,
                                      std::array<std::vector<std::string>, 26>& values,
                                      std::string& error)
{
    progress.Create();
    std::array<std::vector<std::string>, 26> found;
    std::array<std::unordered_set<std::string>, 26> seen;
    auto note = [&found, &seen](char letter, const std::string& value) {
        const auto i = static_cast<size_t>(letter - 'A');
        if (!value.empty() && seen[i].insert(value).second) {
            found[i].push_back(value);
        }
    };
    std::string line;
    for (const std::string& path : files) {
        CInput file;
        file.SetFileName(path);
        if (file.Open() != 0) {
            error = file.LastError();
            return CocoaValueScanOutcome::Unreadable;
        }
        progress.SetStatus(path);
        for (;;) {
            progress.SetPos(file.GetProgress());
            if (progress.IsCancelled()) {
                return CocoaValueScanOutcome::Cancelled;
            }
            if (!file.ReadLine(line)) {
                break;
            }
            // The line keeps the blank the reader appends: a reference left
            // open at the line end takes it into its value in a run too, and
            // only the value as the run holds it selects the line.
            CCocoa::ForEachReference(line, note);
        }
        if (file.ReadFailed()) {
            error = file.LastError();
            return CocoaValueScanOutcome::Unreadable;
        }
    }
    values = std::move(found);
    return CocoaValueScanOutcome::Done;
}

std::vector<std::string> MergedValues(const std::vector<std::string>& given,
                                      const std::vector<std::string>& found)
{
    std::vector<std::string> merged = given;
    std::unordered_set<std::string> keys;
    for (const std::string& value : given) {
        keys.insert(SelectionKey(value));
    }
    for (const std::string& value : found) {
        if (keys.insert(SelectionKey(value)).second) {
            merged.push_back(value);
        }
    }
    return merged;
}

}  // namespace plix
