// --all-programs: every program of the plug-in plays the same phrase in turn,
// into one file (the programs marked on the spectrogram) or, with --split, one
// file per program. The programs are listed as they are rendered.
#pragma once

#include <string>

#include "MidiSong.h"
#include "Options.h"
#include "vsthost/PluginHost.h"

namespace render {

// The plug-in is loaded and started. Exit status as the command's: 0, or 1
// (after a message) when the plug-in has no programs or a file fails.
int renderAllPrograms(vsthost::PluginHost& host, const MidiSong& phrase, const Options& options,
                      const std::string& pluginName);

// Selects a program as a host does, then applies the --set values to it.
void selectProgram(vsthost::PluginHost& host, int program, const Options& options);

}  // namespace render
