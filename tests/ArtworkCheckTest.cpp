// brennix-artgen --check, run as a developer runs it: it must notice a stale
// image or map and say which, and accept an up-to-date folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "TestSupport.h"

namespace {
namespace fs = std::filesystem;

struct CheckRun {
    int status;
    std::string output;
};

CheckRun check(const std::string& dir) {
    std::string out = testing_support::tempPath("artgen-check.txt");
    int raw = std::system((std::string(BRENNIX_ARTGEN_PATH) + " --check " + dir + " > " + out + " 2>&1").c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing_support::readText(out)};
}

TEST(ArtworkCheck, NamesEveryStaleFileAndAcceptsCurrentOnes) {
    std::string dir = testing_support::tempPath("images");
    fs::remove_all(dir);
    fs::copy(BRENNIX_SOURCE_DIR "/resources/images", dir);
    CheckRun current = check(dir);
    EXPECT_EQ(current.status, 0) << current.output;

    // Another image's pixels under a knob strip's name, and a map line lost.
    fs::copy_file(dir + "/10011-knob-strip-1.png", dir + "/10014-knob-strip-4.png",
                  fs::copy_options::overwrite_existing);
    std::string map = testing_support::readText(dir + "/artwork-map.txt");
    testing_support::writeText(dir + "/artwork-map.txt", map.substr(0, map.rfind('\n', map.size() - 2) + 1));
    fs::remove(dir + "/10300-help.png");
    CheckRun stale = check(dir);
    EXPECT_EQ(stale.status, 1);
    EXPECT_NE(stale.output.find("stale: 10014-knob-strip-4.png"), std::string::npos) << stale.output;
    EXPECT_NE(stale.output.find("stale: 10300-help.png"), std::string::npos) << stale.output;
    EXPECT_NE(stale.output.find("stale: artwork-map.txt"), std::string::npos) << stale.output;
    EXPECT_EQ(stale.output.find("10011"), std::string::npos) << stale.output;
    fs::remove_all(dir);
}

}  // namespace
