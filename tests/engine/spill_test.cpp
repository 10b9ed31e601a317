// Temporary runs on disk: what is written comes back, many runs read side by
// side merge in order with ties by run, and a full disk is a failure with a
// reason rather than a short file taken for a whole one.
#include "engine/spill.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <dirent.h>

namespace plix {
namespace {

TEST(Spill, ByteCountsTakeSuffixesAndRefuseTheRest)
{
    struct Case
    {
        const char* text;
        std::optional<uint64_t> bytes;
    } cases[] = {
        {"4096", 4096},
        {"64K", 64u << 10},
        {"64k", 64u << 10},
        {"3M", 3u << 20},
        {"2G", uint64_t{2} << 30},
        {"", std::nullopt},
        {"0", std::nullopt},
        {"K", std::nullopt},
        {"12KB", std::nullopt},
        {"-5", std::nullopt},
        {"1.5G", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"17179869184G", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseByteCount(c.text), c.bytes) << c.text;
    }
}

TEST(Spill, RunsReadBackWholeAcrossBufferEdges)
{
    // Read one after another and all side by side, each run ahead of its
    // use or not, past the page cache or through it; buffers of a few
    // bytes, so that varints straddle refills, and of a few blocks.
    for (bool direct : {true, false}) {
        CSpillFile::AllowDirect(direct);
        CSpillFile file;
        ASSERT_TRUE(file.Open());
        std::vector<SpillRun> runs;
        std::vector<std::vector<uint64_t>> written;
        for (int r = 0; r < 5; ++r) {
            SpillRun run{file.Size(), 0};
            std::string bytes;
            written.emplace_back();
            for (uint64_t i = 0; i < 3000; ++i) {
                uint64_t value = (i * 2654435761u + static_cast<uint64_t>(r)) >> (i % 40);
                AppendVarint(bytes, value);
                written.back().push_back(value);
            }
            ASSERT_TRUE(file.Append(bytes));
            run.end = file.Size();
            runs.push_back(run);
        }
        ASSERT_TRUE(file.Flush());
        for (size_t buffer : {size_t{64}, size_t{10000}}) {
            for (bool ahead : {false, true}) {
                SCOPED_TRACE(std::string(direct ? "direct" : "cached") + ", buffer " +
                             std::to_string(buffer) + (ahead ? ", read ahead" : ""));
                for (size_t r = 0; r < runs.size(); ++r) {
                    CSpillReader reader(file, runs[r], buffer);
                    if (ahead) {
                        reader.ReadAhead();
                    }
                    for (uint64_t expected : written[r]) {
                        uint64_t value = 0;
                        ASSERT_TRUE(reader.ReadVarint(value));
                        ASSERT_EQ(value, expected);
                    }
                    EXPECT_TRUE(reader.AtEnd());
                    uint64_t extra = 0;
                    EXPECT_FALSE(reader.ReadVarint(extra));
                }
                std::vector<std::unique_ptr<CSpillReader>> readers;
                for (const SpillRun& run : runs) {
                    readers.push_back(std::make_unique<CSpillReader>(file, run, buffer));
                    if (ahead) {
                        readers.back()->ReadAhead();
                    }
                }
                for (size_t i = 0; i < 3000; ++i) {
                    for (size_t r = 0; r < runs.size(); ++r) {
                        uint64_t value = 0;
                        ASSERT_TRUE(readers[r]->ReadVarint(value));
                        ASSERT_EQ(value, written[r][i]);
                    }
                }
                // A reader dropped with a read under way waits for it.
                CSpillReader dropped(file, runs[0], buffer);
                dropped.ReadAhead();
            }
        }
        EXPECT_FALSE(file.Failed());
    }
    CSpillFile::AllowDirect(true);
}

TEST(Spill, WhatIsAppendedReadsBackWithOrWithoutThePageCache)
{
    // Appends of every size around the blocks and the write buffer (one
    // larger than it), each followed by reads at random places and lengths,
    // some reaching the last byte: past the page cache the bytes after the
    // last whole block are written again with the next ones.
    std::mt19937 random(3);
    for (bool direct : {true, false}) {
        CSpillFile::AllowDirect(direct);
        CSpillFile file;
        ASSERT_TRUE(file.Open());
        if (!direct) {
            EXPECT_FALSE(file.Direct());
        }
        std::string all;
        const size_t sizes[] = {1, 7, 4095, 4096, 4097, 12000, (1u << 20) - 3, (1u << 20) + 5000, 100};
        for (int round = 0; round < 3; ++round) {
            for (size_t size : sizes) {
                std::string bytes(size, '\0');
                for (char& c : bytes) {
                    c = static_cast<char>(random());
                }
                ASSERT_TRUE(file.Append(bytes));
                all += bytes;
                for (int k = 0; k < 4; ++k) {
                    const size_t n = k == 0 ? std::min<size_t>(all.size(), 5000) : random() % 9000 + 1;
                    const size_t at = k == 0 ? all.size() - n : random() % all.size();
                    const size_t take = std::min(n, all.size() - at);
                    std::string got(take, '?');
                    ASSERT_TRUE(file.ReadAt(at, got.data(), take)) << file.Error();
                    ASSERT_EQ(got, all.substr(at, take)) << direct << " at " << at << " n " << take;
                }
            }
        }
        EXPECT_EQ(file.Size(), all.size());
        std::string whole(all.size(), '?');
        ASSERT_TRUE(file.ReadAt(0, whole.data(), whole.size()));
        EXPECT_EQ(whole, all) << direct;
        EXPECT_FALSE(file.Failed());
    }
    CSpillFile::AllowDirect(true);
}

TEST(Spill, MergeHeapKeepsEqualHeadsInRunOrder)
{
    // Each value is key * 10 + run: the merge must come out sorted by key,
    // and by run among equal keys.
    const std::vector<std::vector<int>> runs = {
        {10, 20, 20, 50}, {1, 21, 21, 41}, {2, 12, 22}, {}, {3, 53}};
    std::vector<size_t> next(runs.size(), 0);
    auto less = [&](size_t a, size_t b) { return runs[a][next[a]] / 10 < runs[b][next[b]] / 10; };
    CMergeHeap<decltype(less)> heap(less);
    for (size_t r = 0; r < runs.size(); ++r) {
        if (!runs[r].empty()) {
            heap.Push(r);
        }
    }
    std::vector<int> merged;
    while (!heap.Empty()) {
        size_t top = heap.Top();
        merged.push_back(runs[top][next[top]]);
        if (++next[top] < runs[top].size()) {
            heap.ReplaceTop();
        } else {
            heap.PopTop();
        }
    }
    EXPECT_EQ(merged, (std::vector<int>{1, 2, 3, 10, 12, 20, 20, 21, 21, 22, 41, 50, 53}));
}

TEST(Spill, AFullDiskFailsWithItsReason)
{
    SetSpillDiskLimit(uint64_t{1} << 20);
    CSpillFile file;
    ASSERT_TRUE(file.Open());
    std::string block(300000, 'x');
    bool ok = true;
    for (int i = 0; i < 8 && ok; ++i) {
        ok = file.Append(block);
    }
    ok = ok && file.Flush();
    SetSpillDiskLimit(std::nullopt);
    EXPECT_FALSE(ok);
    EXPECT_NE(file.Error().find("No space left on device"), std::string::npos) << file.Error();
    EXPECT_FALSE(file.Append("more", 4));
}

TEST(Spill, FilesGoToTmpdirAndLeaveNothingThere)
{
    char pattern[] = "/tmp/plix-spill-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const char* old = std::getenv("TMPDIR");
    std::string saved = old != nullptr ? old : "";
    setenv("TMPDIR", pattern, 1);
    EXPECT_EQ(SpillDirectory(), pattern);
    {
        CSpillFile file;
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Append("abc", 3));
        ASSERT_TRUE(file.Flush());
    }
    setenv("TMPDIR", "/nonexistent-plix-dir", 1);
    CSpillFile lost;
    EXPECT_FALSE(lost.Open());
    EXPECT_NE(lost.Error().find("/nonexistent-plix-dir"), std::string::npos);
    if (old != nullptr) {
        setenv("TMPDIR", saved.c_str(), 1);
    } else {
        unsetenv("TMPDIR");
    }
    int entries = 0;
    DIR* dir = opendir(pattern);
    ASSERT_NE(dir, nullptr);
    while (dirent* e = readdir(dir)) {
        entries += std::string(e->d_name) != "." && std::string(e->d_name) != "..";
    }
    closedir(dir);
    rmdir(pattern);
    EXPECT_EQ(entries, 0);
}

}  // namespace
}  // namespace plix
