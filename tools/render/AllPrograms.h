// --all-programs: every program of the plug-in plays the same phrase in turn,
// into one file (the programs marked on the spectrogram) or, with --split, one
// file per program. The programs are listed as they are rendered.
#pragma once

#include <string>

#include "InputSignal.h"
#include "MidiSong.h"
#include "Options.h"
#include "vsthost/PluginHost.h"

namespace render {

// The plug-in is loaded and started. `input` is the --input file's audio
// (empty without one), played into every program from its start; without
// --input a program whose vocoder listens to the input gets the speech-like
// phrase, the others silence. Exit status as the command's: 0, or 1 (after a
// message) when the plug-in has no programs or a file fails.
int renderAllPrograms(vsthost::PluginHost& host, const MidiSong& phrase, const Options& options,
                      const std::string& pluginName, StereoSignal input);

// Selects a program as a host does, then applies the --set values to it.
void selectProgram(vsthost::PluginHost& host, int program, const Options& options);

}  // namespace render
