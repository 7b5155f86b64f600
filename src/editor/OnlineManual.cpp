// The "Show Online Manual" button: the manual page the settings name, opened
// in the desktop's browser when it is there to be read; otherwise nothing.
#include <unistd.h>

#include "editor/uEditor.h"
#include "host/APlugin.h"
#include "platform/FileIO.h"
#include "platform/ShellOpen.h"

void uEditor::openOnlineManual() {
    if (!plugin) return;
    const std::string& page = plugin->manualLocation();
    if (page.empty()) return;
    uint64_t size = 0;
    std::string reason;
    const int fd = platform::openRegularFile(page, size, reason);
    if (fd < 0) return;
    ::close(fd);
    platform::shellOpen(page);
}
