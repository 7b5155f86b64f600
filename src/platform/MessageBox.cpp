#include "platform/MessageBox.h"

#include <cstdio>
#include <mutex>

namespace platform {
namespace {
// Several plug-in instances in one host share the message layer.
std::mutex& handlerMutex() {
    static std::mutex m;
    return m;
}
MessageHandler& installedHandler() {
    static MessageHandler handler;
    return handler;
}
}  // namespace

void showMessage(const std::string& text) {
    MessageHandler handler;
    {
        std::lock_guard<std::mutex> lock(handlerMutex());
        handler = installedHandler();
    }
    if (handler)
        handler(text);
    else
        std::fprintf(stderr, "Brennix: %s\n", text.c_str());
}

MessageHandler setMessageHandler(MessageHandler handler) {
    std::lock_guard<std::mutex> lock(handlerMutex());
    MessageHandler previous = std::move(installedHandler());
    installedHandler() = std::move(handler);
    return previous;
}

}  // namespace platform
