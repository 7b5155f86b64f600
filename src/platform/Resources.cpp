#include "platform/Resources.h"

#include <cstring>

namespace platform {
Resource findResource(const char* type, int id) {
    if (!type) return {};
    for (const ResourceEntry* e = kEmbeddedResources; e->type; ++e)
        if (e->id == id && std::strcmp(e->type, type) == 0) return Resource{e->data, e->size};
    return {};
}
}  // namespace platform
