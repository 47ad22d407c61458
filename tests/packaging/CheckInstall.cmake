# Installs the build into a scratch DESTDIR with prefix /usr and checks that exactly the expected
# files land where desktops look for them, that the icons have the sizes their folders claim and
# that the installed tree validates as a whole.
file(REMOVE_RECURSE "${WORK}")
execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${WORK}
                        ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr
                RESULT_VARIABLE _rc OUTPUT_VARIABLE _log ERROR_VARIABLE _log)
if(NOT _rc EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${_log}")
endif()

set(_sizes 16 22 24 32 48 64 128 256 512)
set(_expected
    usr/share/applications/tallybrook.desktop
    usr/share/metainfo/${APP_ID}.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/tallybrook.svg)
foreach(_s IN LISTS _sizes)
    list(APPEND _expected usr/share/icons/hicolor/${_s}x${_s}/apps/tallybrook.png)
endforeach()
if(HAS_EXE)
    list(APPEND _expected usr/bin/tallybrook usr/lib/tallybrook/libtallybrook_rate.so)
endif()

file(GLOB_RECURSE _found LIST_DIRECTORIES false RELATIVE ${WORK} ${WORK}/*)
list(SORT _found)
list(SORT _expected)
if(NOT _found STREQUAL _expected)
    string(REPLACE ";" "\n  " _f "${_found}")
    string(REPLACE ";" "\n  " _e "${_expected}")
    message(FATAL_ERROR "installed files differ.\nexpected:\n  ${_e}\nfound:\n  ${_f}")
endif()

if(HAS_EXE)
    execute_process(COMMAND test -x ${WORK}/usr/bin/tallybrook RESULT_VARIABLE _x)
    if(NOT _x EQUAL 0)
        message(FATAL_ERROR "usr/bin/tallybrook is not executable")
    endif()
    # QtNetwork comes with the exchange rate's module, loaded after the first frame: the program
    # itself does not load it at start.
    find_program(_readelf readelf)
    if(_readelf)
        execute_process(COMMAND ${_readelf} -d ${WORK}/usr/bin/tallybrook OUTPUT_VARIABLE _dynamic)
        if(_dynamic MATCHES "libQt6Network")
            message(FATAL_ERROR "usr/bin/tallybrook links QtNetwork")
        endif()
        execute_process(COMMAND ${_readelf} -d ${WORK}/usr/lib/tallybrook/libtallybrook_rate.so
                        OUTPUT_VARIABLE _dynamic)
        if(NOT _dynamic MATCHES "libQt6Network")
            message(FATAL_ERROR "the exchange rate's module does not link QtNetwork")
        endif()
    endif()
endif()

foreach(_s IN LISTS _sizes)
    set(_png ${WORK}/usr/share/icons/hicolor/${_s}x${_s}/apps/tallybrook.png)
    file(READ ${_png} _magic LIMIT 8 HEX)
    file(READ ${_png} _ihdr OFFSET 16 LIMIT 8 HEX)
    string(SUBSTRING "${_ihdr}" 0 8 _w)
    string(SUBSTRING "${_ihdr}" 8 8 _h)
    math(EXPR _w "0x${_w}")
    math(EXPR _h "0x${_h}")
    if(NOT _magic STREQUAL "89504e470d0a1a0a" OR NOT _w EQUAL _s OR NOT _h EQUAL _s)
        message(FATAL_ERROR "${_png}: not a ${_s}x${_s} PNG (${_w}x${_h})")
    endif()
endforeach()

# The menu entry starts the installed command, names the installed icon, and is the one the
# metainfo launches.
file(STRINGS ${WORK}/usr/share/applications/tallybrook.desktop _entry)
foreach(_line "Exec=tallybrook" "Icon=tallybrook" "StartupWMClass=tallybrook" "Categories=Office;Finance;")
    list(FIND _entry "${_line}" _i)
    if(_i EQUAL -1)
        message(FATAL_ERROR "installed desktop entry lacks '${_line}'")
    endif()
endforeach()
file(READ ${WORK}/usr/share/metainfo/${APP_ID}.metainfo.xml _meta)
if(NOT _meta MATCHES "<launchable type=\"desktop-id\">tallybrook.desktop</launchable>"
   OR NOT _meta MATCHES "<id>${APP_ID}</id>")
    message(FATAL_ERROR "metainfo does not launch tallybrook.desktop as ${APP_ID}")
endif()

# The entry itself is validated by packaging_desktop_entry; install copies it unchanged.
find_program(_asc appstreamcli)
if(_asc)
    # Checks the tree as a whole: metainfo, its desktop entry and the icon they name.
    execute_process(COMMAND ${_asc} validate-tree --no-net --no-color ${WORK}
                    RESULT_VARIABLE _rc OUTPUT_VARIABLE _out ERROR_VARIABLE _out)
    message("${_out}")
    if(NOT _rc EQUAL 0)
        message(FATAL_ERROR "appstreamcli validate-tree rejected the installed tree")
    endif()
endif()
message("installed ${WORK}: ok")
