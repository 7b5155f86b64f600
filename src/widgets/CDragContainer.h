// The items of a drag that entered the frame: dropped files or a text.
#pragma once

#include <string>
#include <vector>

#include "widgets/CReferenceCounter.h"

namespace VSTGUI {

class CDragContainer : public CReferenceCounter {
public:
    enum Type { kFile, kText, kUnknown, kError };

    explicit CDragContainer(std::vector<std::string> files) : items(std::move(files)), type(kFile) {}
    explicit CDragContainer(const std::string& text) : items{text}, type(kText) {}

    long getCount() const { return long(items.size()); }
    // The first item and its type, then each following one; null after the last.
    const char* first(long& itemType) {
        position = 0;
        return next(itemType);
    }
    const char* next(long& itemType) {
        if (position >= items.size()) {
            itemType = kError;
            return nullptr;
        }
        itemType = type;
        return items[position++].c_str();
    }

private:
    std::vector<std::string> items;
    Type type;
    size_t position = 0;
};

}  // namespace VSTGUI
