#include "support/test_support.h"

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace plix::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "plix-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const
{
    std::string full = File(name);
    std::ofstream out(full, std::ios::binary);
    out << content;
    return full;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

LocaleGuard::LocaleGuard(const std::string& name)
{
    installed_ = std::setlocale(LC_ALL, name.c_str()) != nullptr;
}

LocaleGuard::~LocaleGuard()
{
    std::setlocale(LC_ALL, "C");
}

}  // namespace plix::test
