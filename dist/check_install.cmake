# Installs the build into a staging root with --prefix /usr, checks that
# every file lands where a desktop looks for it, then starts the installed
# game headless from an empty directory with an empty home: it must find its
# data from its own location, show its title with no message, and end as
# its script says.
set(root ${WORK}/root)
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/home ${WORK}/run)
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${root} ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

set(expected
  usr/${BINDIR}/stakkor usr/bin/stakkor-tool
  usr/share/games/stakkor/DATA.ONE usr/share/games/stakkor/MUSIC.MDS
  usr/share/applications/${APP_ID}.desktop usr/share/metainfo/${APP_ID}.metainfo.xml
  usr/share/man/man6/stakkor.6 usr/share/man/man1/stakkor-tool.1)
foreach(size 16 32 48 64 128 256)
  list(APPEND expected usr/share/icons/hicolor/${size}x${size}/apps/${APP_ID}.png)
endforeach()
foreach(file ${expected})
  if(NOT EXISTS ${root}/${file})
    message(FATAL_ERROR "not installed: /${file}")
  endif()
endforeach()

set(game ${root}/usr/${BINDIR}/stakkor)
set(clean_env ${CMAKE_COMMAND} -E env --unset=STAKKOR_DATA_DIR --unset=XDG_DATA_HOME --unset=XDG_CONFIG_HOME
              HOME=${WORK}/home LC_ALL=C LANG=C)

execute_process(COMMAND ${clean_env} ${game} --version OUTPUT_VARIABLE version RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT version MATCHES "^stakkor [0-9]+\\.[0-9]+\\.[0-9]+")
  message(FATAL_ERROR "--version: status ${status}, \"${version}\"")
endif()
execute_process(COMMAND ${clean_env} ${game} --no-such-option RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
if(NOT status EQUAL 2)
  message(FATAL_ERROR "an unknown option ends with status ${status}, not 2")
endif()

# The title has faded in and the logo slid down after 2.5 s of the clock.
file(WRITE ${WORK}/run.txt "2500 shot title.png\n2500 dump title.json\n")
execute_process(COMMAND ${clean_env} ${game} --headless --script ${WORK}/run.txt --max-ms 2600
                WORKING_DIRECTORY ${WORK}/run RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
if(NOT status EQUAL 3 OR NOT errors STREQUAL "")
  message(FATAL_ERROR "the installed game from an empty directory: status ${status}\n${errors}")
endif()
# A black screen compresses to a few hundred bytes; the title's picture does not.
file(SIZE ${WORK}/run/title.png size)
if(size LESS 20000)
  message(FATAL_ERROR "the installed game showed no title picture (title.png is ${size} bytes)")
endif()
