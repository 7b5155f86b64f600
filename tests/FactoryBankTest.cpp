// The factory bank as a musician meets it: every program played through the
// loaded plug-in and measured (BankChecks.h), its name and category, its
// distance from every other program, and what the bank as a whole shows of
// the engine.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "BankChecks.h"
#include "TestSupport.h"
#include "bankgen/BankCoverage.h"
#include "bankgen/ProgramDistance.h"
#include "params/ProgramRecord.h"

using namespace bank_checks;

namespace {

// All 128 programs' values as the plug-in holds them.
std::vector<std::vector<float>> bankValues(vsthost::PluginHost& host) {
    std::vector<std::vector<float>> values(params::kNumPrograms, std::vector<float>(prm::kCount));
    for (int p = 0; p < params::kNumPrograms; ++p) {
        host.dispatch(effSetProgram, 0, p);
        for (int i = 0; i < prm::kCount; ++i) values[p][i] = host.getParameter(i);
    }
    return values;
}

}  // namespace

class FactoryProgram : public ::testing::TestWithParam<int> {};

TEST_P(FactoryProgram, SoundChecks) {
    auto host = testing_support::loadPlugin(kSampleRate, 512, false);
    const int program = GetParam();
    const ProgramReport report = checkProgram(*host, program, factoryNotes()[program]);
    std::printf("%s\n", report.summary().c_str());
    for (const std::string& problem : report.problems) ADD_FAILURE() << report.summary() << "\n" << problem;
}

namespace {
// Tests named by program number: FactoryProgram.SoundChecks/37 is program 37.
std::string programNumber(const ::testing::TestParamInfo<int>& info) { return std::to_string(info.param); }
}  // namespace

INSTANTIATE_TEST_SUITE_P(Bank, FactoryProgram, ::testing::Range(0, params::kNumPrograms), programNumber);

namespace {

// Names follow the name rule, are unique and say what the program is; the
// source gives each program a category. One failure per rule, naming every
// program that breaks it.
void expectNamedAndCategorised(vsthost::PluginHost& host, int programs) {
    std::map<std::string, std::vector<std::string>> broken;
    std::map<std::string, int> seen;
    for (int p = 0; p < programs; ++p) {
        const std::string name = host.programNameIndexed(p);
        const std::string who = std::to_string(p) + " \"" + name + "\"";
        char ruled[params::kMaxProgramName + 1];
        params::applyNameRule(name.c_str(), ruled);
        if (name.empty() || name != ruled) broken["names that break the name rule"].push_back(who);
        if (auto [it, fresh] = seen.emplace(name, p); !fresh)
            broken["names already taken"].push_back(who + " (as " + std::to_string(it->second) + ")");
        if (name.rfind("Init", 0) == 0 || name == "Default") broken["programs not designed yet"].push_back(who);
        if (name != factoryNotes()[p].name) broken["names that differ from the bank source"].push_back(who);
        if (factoryNotes()[p].category.empty()) broken["programs without 'category:'"].push_back(who);
    }
    for (const auto& [rule, programsBreakingIt] : broken) {
        std::string list;
        for (const std::string& who : programsBreakingIt) list += "\n  " + who;
        ADD_FAILURE() << rule << ":" << list;
    }
}

void expectNoNearDuplicates(const std::vector<std::vector<float>>& values, int programs) {
    std::string pairs;
    for (int a = 0; a < programs; ++a)
        for (int b = a + 1; b < programs; ++b) {
            const std::vector<int> differing = bankgen::audibleDifferences(values[a].data(), values[b].data());
            if (int(differing.size()) >= bankgen::kMinAudibleDifferences) continue;
            pairs += "\n  " + std::to_string(a) + " and " + std::to_string(b) + ":";
            for (int i : differing) {
                pairs += ' ';
                pairs += std::to_string(i);
            }
            if (differing.empty()) pairs += " none";
        }
    EXPECT_TRUE(pairs.empty()) << "near-duplicates (fewer than " << bankgen::kMinAudibleDifferences
                               << " audible parameters differ; the differing ones listed):" << pairs;
}

}  // namespace

// The whole bank.
TEST(FactoryBank, EveryProgramIsNamedCategorisedAndDistinct) {
    auto host = testing_support::loadPlugin(kSampleRate, 512, false);
    expectNamedAndCategorised(*host, params::kNumPrograms);
    expectNoNearDuplicates(bankValues(*host), params::kNumPrograms);
}

// Every waveform family, filter type, play mode, modulation route, arpeggiator
// mode and effect type is heard in at least one program.
TEST(FactoryBank, ShowsEveryPartOfTheEngine) {
    auto host = testing_support::loadPlugin(kSampleRate, 512, false);
    const std::vector<std::vector<int>> byItem = bankgen::coverage(bankValues(*host));
    const std::vector<bankgen::CoverageItem>& items = bankgen::coverageItems();
    std::string missing;
    for (size_t i = 0; i < items.size(); ++i)
        if (byItem[i].empty()) missing += "\n  " + items[i].group + ": " + items[i].name;
    EXPECT_TRUE(missing.empty()) << "no program shows" << missing;
}
