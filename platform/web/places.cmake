# Where the browser build keeps things, in the file system the game sees:
# the one place to change them. The game runs in its game directory, which
# holds the shipped data and HISCORE.DAT; the options go below
# $HOME/.config as on Linux. Everything below $HOME is kept in the browser's
# storage except the shipped files, which come with every load of the page.
set(STAKKOR_WEB_HOME "/home/web_user")
set(STAKKOR_WEB_GAME_DIR "${STAKKOR_WEB_HOME}/stakkor")
set(STAKKOR_WEB_SHIPPED DATA.ONE MUSIC.MDS)
set(STAKKOR_WEB_SOUNDFONT_PATH "/usr/share/sounds/sf2/stakkor.sf2")

# The same places for the page's script, written as a pre-js file.
function(stakkor_write_places_js out)
  list(TRANSFORM STAKKOR_WEB_SHIPPED PREPEND "'" OUTPUT_VARIABLE quoted)
  list(TRANSFORM quoted APPEND "'")
  list(JOIN quoted ", " shipped)
  file(CONFIGURE OUTPUT ${out} CONTENT [[
// Made by platform/web/places.cmake: where the browser build keeps things.
Module['places'] = {
  home: '@STAKKOR_WEB_HOME@',
  gameDirectory: '@STAKKOR_WEB_GAME_DIR@',
  shipped: [@shipped@],
  soundFont: '@STAKKOR_WEB_SOUNDFONT_PATH@',
};
]] @ONLY)
endfunction()
