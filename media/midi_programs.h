// The programs a piece of music selects, found by reading its buffers
// before it plays: the synth loads their samples ahead of time.
#pragma once

#include <vector>

#include "media/midi_sequencer.h"
#include "platform/midi_synth.h"

// Programs chosen by the program changes in the chain of buffers from
// `head` (following `next`), with the bank each channel had selected then
// (bank select MSB; drum kits on channel 10 count as bank 128). Each
// program once, in order of first use; damaged events end a buffer's scan.
std::vector<platform::SynthProgram> ProgramsOfBuffers(const MidiHeader* head);
