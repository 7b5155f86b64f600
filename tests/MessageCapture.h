// Collects the messages the plug-in shows to the user while it lives.
#pragma once

#include <string>
#include <vector>

#include "platform/MessageBox.h"

struct MessageCapture {
    std::vector<std::string> texts;
    platform::MessageHandler previous;
    MessageCapture() {
        previous = platform::setMessageHandler([this](const std::string& t) { texts.push_back(t); });
    }
    ~MessageCapture() { platform::setMessageHandler(previous); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;
};
