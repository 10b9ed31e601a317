// The plix-cli commands that the README shows a linguist to paste: each one
// runs on the bundled samples, and together they read every corpus type that
// the program reads.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

#include "corpora/dispatch.h"
#include "settings/corpus.h"

namespace plix {
namespace {

std::string RepositoryRoot()
{
    return PLIX_SOURCE_DIR;
}

// The README's example commands, with their continuation lines joined.
std::vector<std::string> ReadmeCommands()
{
    std::ifstream in(RepositoryRoot() + "/README.md");
    std::vector<std::string> commands;
    std::string line;
    std::string pending;
    while (std::getline(in, line)) {
        const size_t first = line.find_first_not_of(' ');
        std::string text = first == std::string::npos ? std::string() : line.substr(first);
        if (pending.empty() && text.rfind("build/bin/plix-cli ", 0) != 0) {
            continue;
        }
        const size_t comment = text.find("  #");
        if (comment != std::string::npos) {
            text.erase(comment);
        }
        const bool continues = !text.empty() && text.back() == '\\';
        if (continues) {
            text.pop_back();
        }
        pending += text;
        if (!continues) {
            commands.push_back(pending);
            pending.clear();
        }
    }
    return commands;
}

struct CommandRun
{
    int status = -1;
    std::string out;
};

CommandRun RunInRoot(const std::string& command)
{
    const std::string program = "build/bin/plix-cli";
    const std::string shell = "cd '" + RepositoryRoot() + "' && " + PLIX_CLI_BINARY +
                              command.substr(program.size()) + " 2>/dev/null";
    CommandRun run;
    FILE* pipe = popen(shell.c_str(), "r");
    std::array<char, 4096> buffer{};
    size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        run.out.append(buffer.data(), n);
    }
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

// The corpus type a command names, as its code (0 for none).
int TypeOf(const std::string& command)
{
    const size_t at = command.find("--type ");
    if (at == std::string::npos) {
        return kTypeText;
    }
    std::string name = command.substr(at + 7);
    if (!name.empty() && name[0] == '"') {
        name = name.substr(1, name.find('"', 1) - 1);
    } else {
        name = name.substr(0, name.find(' '));
    }
    for (int type = 0; type < kCorpusTypeCount; ++type) {
        std::string known = CorpusTypeNames()[static_cast<size_t>(type)];
        if (known.size() == name.size() &&
            std::equal(known.begin(), known.end(), name.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            })) {
            return type;
        }
    }
    return -1;
}

TEST(ReadmeExamples, EveryCommandRunsOnTheSamplesAndEveryReadableTypeIsShown)
{
    const std::vector<std::string> commands = ReadmeCommands();
    ASSERT_GT(commands.size(), 10u);
    std::set<int> shown;
    for (const std::string& command : commands) {
        // The synopsis is no command; one that appends to an output file
        // would write into the tree.
        if (command.find("COMMAND [OPTION") != std::string::npos ||
            command.find("--to-files") != std::string::npos) {
            continue;
        }
        const int type = TypeOf(command);
        EXPECT_GE(type, 0) << command;
        shown.insert(type);
        CommandRun run = RunInRoot(command);
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_FALSE(run.out.empty()) << command;
        if (command.find("concordance") != std::string::npos &&
            command.find("concordance-all") == std::string::npos) {
            EXPECT_EQ(run.out.find("Total Occurrence(s): 0\n"), std::string::npos)
                << "no hit: " << command;
        }
    }
    CHandlers handlers;
    for (int type = 0; type < kCorpusTypeCount; ++type) {
        if (handlers.TypeAvailable(type)) {
            EXPECT_EQ(shown.count(type), 1u)
                << "no README example reads " << CorpusTypeNames()[static_cast<size_t>(type)];
        }
    }
}

}  // namespace
}  // namespace plix
