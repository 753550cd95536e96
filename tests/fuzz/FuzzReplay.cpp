// The fuzz target's replay and bounded random driver, built with the project's own compiler so
// that it runs everywhere (under the sanitizers too): every seed and every saved crash of the
// target is replayed, then a fixed number of inputs made by mutating the seeds with a fixed-seed
// generator. An input that breaks a property is written to fuzz-crash-<target> in the working
// folder before the process ends.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzSupport.h"

namespace {

std::vector<std::uint8_t> currentInput;
std::string crashPath;

void SaveInputAndDie(int signalNumber)
{
    const int fd = open(crashPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        if (write(fd, currentInput.data(), currentInput.size()) < 0) {
            // The message below still names the target.
        }
        close(fd);
    }
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

void RunInput(const std::vector<std::uint8_t>& input)
{
    currentInput = input;
    LLVMFuzzerTestOneInput(currentInput.data(), currentInput.size());
}

std::vector<std::vector<std::uint8_t>> FilesIn(const std::string& folder)
{
    std::vector<std::filesystem::path> paths;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
        if (entry.is_regular_file()) paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<std::vector<std::uint8_t>> files;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

std::vector<std::uint8_t> Mutate(std::vector<std::uint8_t> input, const std::vector<std::vector<std::uint8_t>>& seeds,
                                 std::mt19937& random)
{
    const int steps = 1 + static_cast<int>(random() % 8);
    for (int step = 0; step < steps; ++step) {
        const auto at = [&] { return input.empty() ? 0 : random() % input.size(); };
        switch (random() % 7) {
        case 0:
            if (!input.empty()) input[at()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
            break;
        case 1:
            if (!input.empty()) input[at()] = static_cast<std::uint8_t>(random());
            break;
        case 2:
            input.insert(input.begin() + static_cast<long>(at()), static_cast<std::uint8_t>(random()));
            break;
        case 3:
            if (!input.empty()) input.erase(input.begin() + static_cast<long>(at()));
            break;
        case 4:
            input.resize(at());
            break;
        case 5: {
            // Interesting numbers where sizes and values are read.
            static const std::uint8_t edges[] = {0x00, 0x01, 0x7F, 0x80, 0xFF, '\n', '=', ' ', '0', '9', '-'};
            if (!input.empty()) input[at()] = edges[random() % std::size(edges)];
            break;
        }
        default:
            if (!seeds.empty()) {
                const auto& other = seeds[random() % seeds.size()];
                const std::size_t from = other.empty() ? 0 : random() % other.size();
                input.insert(input.begin() + static_cast<long>(at()), other.begin() + static_cast<long>(from),
                             other.end());
            }
            break;
        }
        if (input.size() > 4096) input.resize(4096);
    }
    return input;
}

class FuzzReplay : public ::testing::Test {
protected:
    void SetUp() override
    {
        crashPath = (std::filesystem::current_path() / ("fuzz-crash-" FUZZ_NAME)).string();
        signal(SIGABRT, SaveInputAndDie);
        signal(SIGSEGV, SaveInputAndDie);
        seeds = FilesIn(FUZZ_DATA_DIR "/corpus/" FUZZ_NAME);
        regressions = FilesIn(FUZZ_DATA_DIR "/regressions/" FUZZ_NAME);
    }

    std::vector<std::vector<std::uint8_t>> seeds;
    std::vector<std::vector<std::uint8_t>> regressions;
};

}  // namespace

TEST_F(FuzzReplay, SeedsAndSavedCrashesPass)
{
    ASSERT_FALSE(seeds.empty()) << "the target has no seeds";
    for (const auto& input : seeds) RunInput(input);
    for (const auto& input : regressions) RunInput(input);
}

TEST_F(FuzzReplay, MutatedSeedsPass)
{
    std::mt19937 random(20240611);
    for (int round = 0; round < 4000; ++round) {
        const std::vector<std::uint8_t> start =
            seeds.empty() ? std::vector<std::uint8_t>() : seeds[random() % seeds.size()];
        RunInput(Mutate(start, seeds, random));
    }
}
