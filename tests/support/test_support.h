// Small helpers shared by the engine tests: a scratch folder per test, files
// written from literal text, and a guard that restores the C locale.
#pragma once

#include <span>
#include <string>

namespace plix::test {

// A fresh, empty folder under the system's temporary folder, removed with the object.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // Writes `content` to `name` inside the folder and returns the full path.
    std::string Write(const std::string& name, const std::string& content) const;
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);

// `lines` lines of one to nine words drawn from `words` by a fixed generator,
// so that words repeat within a file, across files and across spilled runs.
std::string RepeatingWords(std::span<const char* const> words, unsigned seed, int lines);

// Installs `name` for all categories for the life of the object and puts the
// "C" locale back afterwards. Skips nothing: check Installed().
class LocaleGuard
{
public:
    explicit LocaleGuard(const std::string& name);
    ~LocaleGuard();
    bool Installed() const { return installed_; }

private:
    bool installed_ = false;
};

}  // namespace plix::test
