target_sources(media PRIVATE ${CMAKE_CURRENT_LIST_DIR}/sound_effects_silent.cpp)
