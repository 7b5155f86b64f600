// Messages to the user: a refused bank or preset file, a morph that cannot run.
// Until the editor registers its message layer they go to stderr. Only the
// user-interface thread shows messages; the audio thread never does.
#pragma once

#include <functional>
#include <string>

namespace platform {

using MessageHandler = std::function<void(const std::string& text)>;

void showMessage(const std::string& text);

// Routes every following message to `handler` (an empty one restores stderr)
// and returns the handler that was installed before.
MessageHandler setMessageHandler(MessageHandler handler);

}  // namespace platform
