// While an editor is open, platform::showMessage puts its text in a message box
// in the frame the user last worked in; with no frame open it goes to stderr.
#pragma once

namespace VSTGUI {
class CFrame;
namespace messages {
void attach(CFrame* frame);
void detach(CFrame* frame);
void noteActivity(CFrame* frame);
}  // namespace messages
}  // namespace VSTGUI
