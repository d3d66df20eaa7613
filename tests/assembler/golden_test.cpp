// Whole sources beside what the assembler must make of them: golden/<name>.asm with its S19
// file (<name>.s19, absent when none is written), the listing lines as the assembler sends
// them (<name>.lst: source line, " | ", text) and its messages (<name>.msg: kind,
// line:column:length, text). A name ending in "_compat" is assembled in compatibility mode.
// CORVID_UPDATE_GOLDEN=1 rewrites the expected files from what the assembler gives now.

#include "assembler_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace corvid {
namespace {

const std::filesystem::path GoldenDirectory = CORVID_TEST_DATA_DIR "/golden";

std::vector<std::string> GoldenNames() {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(GoldenDirectory, error)) {
        if (entry.path().extension() == ".asm")
            names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool Updating() {
    const char* update = std::getenv("CORVID_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

std::string ListingText(const testing::AsmResult& result) {
    std::string text;
    for (const auto& line : result.Listing) {
        char number[16];
        std::snprintf(number, sizeof number, "%5d | ", line.Line);
        text += number + line.Text + "\n";
    }
    return text;
}

std::string MessageText(const testing::AsmResult& result) {
    std::string text;
    for (const auto& message : result.Messages) {
        text += std::to_string(message.Kind) + " " + std::to_string(message.Line) + ":" +
                std::to_string(message.Column) + ":" + std::to_string(message.Length) + " " +
                message.Text + "\n";
    }
    return text;
}

void Rewrite(const std::filesystem::path& path, const std::string* text) {
    if (text == nullptr) {
        std::filesystem::remove(path);
        return;
    }
    std::ofstream(path, std::ios::binary) << *text;
}

class Golden : public ::testing::TestWithParam<std::string> {};

TEST_P(Golden, MatchesTheExpectedOutput) {
    const std::filesystem::path base = GoldenDirectory / GetParam();
    const bool compatibility = GetParam().ends_with("_compat");
    const auto result =
        testing::AssembleText(testing::ReadWholeFile(base.string() + ".asm"), compatibility);
    const std::string listing = ListingText(result);
    const std::string messages = MessageText(result);

    if (Updating()) {
        Rewrite(base.string() + ".s19", result.S19Written ? &result.S19 : nullptr);
        Rewrite(base.string() + ".lst", &listing);
        Rewrite(base.string() + ".msg", &messages);
        GTEST_SKIP() << "expected files rewritten";
    }
    const std::string s19File = base.string() + ".s19";
    ASSERT_EQ(result.S19Written, std::filesystem::exists(s19File))
        << "an S19 file is expected exactly when " << s19File << " exists";
    if (result.S19Written) {
        EXPECT_EQ(result.S19, testing::ReadWholeFile(s19File));
    }
    EXPECT_EQ(listing, testing::ReadWholeFile(base.string() + ".lst"));
    EXPECT_EQ(messages, testing::ReadWholeFile(base.string() + ".msg"));
}

INSTANTIATE_TEST_SUITE_P(Files, Golden, ::testing::ValuesIn(GoldenNames()),
                         [](const auto& info) { return info.param; });

TEST(GoldenFiles, AreThere) {
    EXPECT_GE(GoldenNames().size(), 10u) << GoldenDirectory;
}

} // namespace
} // namespace corvid
