#include "platform/ShellOpen.h"

#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

extern char** environ;

namespace platform {
namespace {
// The opener's full path, searched in PATH before forking (the child of a
// threaded host may only make async-signal-safe calls).
std::string findOpener() {
    const char* path = std::getenv("PATH");
    std::string dirs = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string dir = dirs.substr(start, end - start);
        std::string candidate = (dir.empty() ? "." : dir) + "/xdg-open";
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return std::string();
}

void closeInheritedFiles(long limit) {
#ifdef SYS_close_range
    if (syscall(SYS_close_range, 3u, ~0u, 0u) == 0) return;
#endif
    for (long fd = 3; fd < limit; ++fd) close(int(fd));
}
}  // namespace

bool shellOpen(const std::string& document) {
    const std::string opener = findOpener();
    if (opener.empty() || document.empty()) return false;
    std::vector<char*> argv = {const_cast<char*>(opener.c_str()), const_cast<char*>(document.c_str()), nullptr};
    const long limit = sysconf(_SC_OPEN_MAX) > 0 ? sysconf(_SC_OPEN_MAX) : 1024;
    // Twice forked: the middle child ends at once, so the opener belongs to
    // init, in a session of its own, away from the host's terminal and files.
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            const int null = open("/dev/null", O_RDWR);
            if (null >= 0) {
                dup2(null, 0);
                dup2(null, 1);
                dup2(null, 2);
            }
            closeInheritedFiles(limit);
            if (chdir("/") != 0) _exit(126);
            execve(argv[0], argv.data(), environ);
            _exit(127);
        }
        _exit(grandchild < 0 ? 1 : 0);
    }
    int status = 0;
    pid_t waited;
    while ((waited = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    // A host that ignores SIGCHLD has its children reaped for it.
    if (waited < 0) return errno == ECHILD;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace platform
