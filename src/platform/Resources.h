// Data compiled into the library (factory bank, images, help text, wave
// spectra), found by resource type and numeric id.
#pragma once

#include <cstddef>

namespace platform {

struct ResourceEntry {
    const char* type;
    int id;
    const unsigned char* data;
    size_t size;  // without the terminating zero that every entry carries
};

struct Resource {
    const unsigned char* data = nullptr;
    size_t size = 0;
    explicit operator bool() const { return data != nullptr; }
};

// Null data when there is no such resource.
Resource findResource(const char* type, int id);

// The generated table; its last entry has a null type.
extern const ResourceEntry kEmbeddedResources[];

}  // namespace platform
