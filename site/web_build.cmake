# The web build, configured with emcmake: the game's libraries compiled to
# WebAssembly, the page's game and the static site (site/CMakeLists.txt),
# and node builds of the headless programs for the end-to-end scripts.
if(NOT EMSCRIPTEN)
  message(FATAL_ERROR "STAKKOR_PLATFORM=web needs Emscripten's toolchain: configure with emcmake (./web does)")
endif()

# Debian's Emscripten runs JavaScript tools at link time with node, which
# finds their parser (acorn) only in Debian's own module folder.
find_path(STAKKOR_ACORN_MODULES acorn/package.json PATHS /usr/share/nodejs /usr/lib/nodejs
          NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=${STAKKOR_ACORN_MODULES})

add_subdirectory(platform)
add_subdirectory(gfx)
add_subdirectory(media)
add_subdirectory(game)
add_subdirectory(app)
# The site itself goes to build-web/site; CMake keeps its own files apart.
add_subdirectory(site ${CMAKE_BINARY_DIR}/site-cmake)
