// Collects the messages the plug-in shows to the user while it lives.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/MessageBox.h"

// Loader threads of several plug-ins may show messages at once; read `texts`
// once they are quiet.
struct MessageCapture {
    std::vector<std::string> texts;
    platform::MessageHandler previous;
    std::mutex mutex;
    MessageCapture() {
        previous = platform::setMessageHandler([this](const std::string& t) {
            std::lock_guard<std::mutex> lock(mutex);
            texts.push_back(t);
        });
    }
    ~MessageCapture() { platform::setMessageHandler(previous); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;
};
