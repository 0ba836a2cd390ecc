# Where the browser build keeps things, in the file system the game sees:
# the one place to change them. $HOME is kept in the browser's storage: the
# game directory below it (HISCORE.DAT, replays, a player's own data
# files) and the options below $HOME/.config, as on Linux. The shipped data
# and the SoundFont lie outside it, in the places a Debian install has them,
# and come fresh with every load of the page.
set(STAKKOR_WEB_HOME "/home/web_user")
set(STAKKOR_WEB_GAME_DIR "${STAKKOR_WEB_HOME}/stakkor")
set(STAKKOR_WEB_SHIPPED_DIR "/usr/share/games/stakkor")
set(STAKKOR_WEB_SHIPPED DATA.ONE MUSIC.MDS)
set(STAKKOR_WEB_SOUNDFONT "/usr/share/sounds/sf2/TimGM6mb.sf2" CACHE FILEPATH
    "The General MIDI SoundFont the page plays the music with")
# Where the page has it: as FluidSynth's default font, under its own name.
get_filename_component(soundfont_name "${STAKKOR_WEB_SOUNDFONT}" NAME)
set(STAKKOR_WEB_SOUNDFONT_PATH "/usr/share/sounds/sf2/${soundfont_name}")

# The same places for the game's code.
function(stakkor_web_places_definitions target)
  target_compile_definitions(${target} PRIVATE
    STAKKOR_WEB_GAME_DIR="${STAKKOR_WEB_GAME_DIR}"
    STAKKOR_WEB_SHIPPED_DIR="${STAKKOR_WEB_SHIPPED_DIR}"
    STAKKOR_WEB_SOUNDFONT_PATH="${STAKKOR_WEB_SOUNDFONT_PATH}")
endfunction()

# And for the page's script (the saves, $HOME), written as a pre-js file.
function(stakkor_write_places_js out)
  file(CONFIGURE OUTPUT ${out} CONTENT [[
// Made by platform/web/places.cmake: where the browser build keeps things.
Module['places'] = {
  home: '@STAKKOR_WEB_HOME@',
};
]] @ONLY)
endfunction()
