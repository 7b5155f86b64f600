// Running brennix-render as a user does and reading the WAV files it writes.
#pragma once

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace render_tool {

struct Outcome {
    int status = -1;
    std::string output;  // stdout and stderr together
};

inline Outcome run(const std::string& args, const std::string& environment = "") {
    Outcome r;
    std::string command = environment + " '" BRENNIX_RENDER_PATH "' " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) r.output.append(buffer, n);
    int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

struct Audio {
    SF_INFO info{};
    std::vector<float> left, right;
};

inline Audio readWav(const std::string& path) {
    Audio a;
    SNDFILE* f = sf_open(path.c_str(), SFM_READ, &a.info);
    EXPECT_NE(f, nullptr) << path << ": " << sf_strerror(nullptr);
    if (!f) return a;
    std::vector<float> frames(static_cast<size_t>(a.info.frames * a.info.channels));
    EXPECT_EQ(sf_readf_float(f, frames.data(), a.info.frames), a.info.frames);
    sf_close(f);
    for (size_t i = 0; i + 1 < frames.size(); i += 2) {
        a.left.push_back(frames[i]);
        a.right.push_back(frames[i + 1]);
    }
    return a;
}

}  // namespace render_tool
