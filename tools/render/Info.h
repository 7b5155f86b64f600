// Prints a plug-in's identity, programs and parameters.
#pragma once

#include <cstdio>

#include "vsthost/PluginHost.h"

namespace render {
void printInfo(vsthost::PluginHost& host, std::FILE* out);
}
