# Sound effects, the mixer, and the MDS music on the MIDI stream player.
target_sources(media PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/sound_effects.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave_file.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wave_convert.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mixer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_sequencer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_stream.cpp
  ${CMAKE_CURRENT_LIST_DIR}/midi_programs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mds.cpp
  ${CMAKE_CURRENT_LIST_DIR}/music.cpp
)
