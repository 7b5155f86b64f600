#include "widgets/MessageRouting.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/MessageBox.h"
#include "widgets/CFrame.h"

namespace VSTGUI::messages {
namespace {
struct Routing {
    std::mutex mutex;
    std::vector<CFrame*> frames;  // the one the user worked in last at the back
    platform::MessageHandler previous;
};

Routing& routing() {
    static Routing r;
    return r;
}

void deliver(const std::string& text) {
    Routing& r = routing();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (r.frames.empty()) {
        if (r.previous) r.previous(text);
        return;
    }
    r.frames.back()->queueMessage(text);
}
}  // namespace

void attach(CFrame* frame) {
    Routing& r = routing();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (r.frames.empty()) r.previous = platform::setMessageHandler(deliver);
    r.frames.push_back(frame);
}

void detach(CFrame* frame) {
    Routing& r = routing();
    std::lock_guard<std::mutex> lock(r.mutex);
    r.frames.erase(std::remove(r.frames.begin(), r.frames.end(), frame), r.frames.end());
    if (r.frames.empty()) platform::setMessageHandler(std::move(r.previous));
}

void noteActivity(CFrame* frame) {
    Routing& r = routing();
    std::lock_guard<std::mutex> lock(r.mutex);
    if (!r.frames.empty() && r.frames.back() == frame) return;
    auto it = std::find(r.frames.begin(), r.frames.end(), frame);
    if (it == r.frames.end()) return;
    r.frames.erase(it);
    r.frames.push_back(frame);
}

}  // namespace VSTGUI::messages
