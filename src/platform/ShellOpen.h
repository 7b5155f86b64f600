// Opening a document with the desktop's default application (xdg-open),
// started detached: the caller never waits for it and leaves no zombie.
#pragma once

#include <string>

namespace platform {

// False when the opener cannot be found or started; what it then does with
// the document is its own affair.
bool shellOpen(const std::string& document);

}  // namespace platform
