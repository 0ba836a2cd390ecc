target_sources(media PRIVATE ${CMAKE_CURRENT_LIST_DIR}/resources_placeholder.cpp)
