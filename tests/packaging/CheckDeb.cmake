# Builds the Debian package with CPack and checks its dependencies and contents.
find_program(_dpkg_deb dpkg-deb)
find_program(_shlibdeps dpkg-shlibdeps)
if(NOT _dpkg_deb OR NOT _shlibdeps)
    message("dpkg-deb or dpkg-shlibdeps not found (Debian: dpkg-dev): skipping")
    return()
endif()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
execute_process(COMMAND ${CMAKE_COMMAND} -E chdir ${WORK}
                        ${CMAKE_CPACK_COMMAND} -G DEB --config ${BUILD_DIR}/CPackConfig.cmake -B ${WORK}
                RESULT_VARIABLE _rc OUTPUT_VARIABLE _log ERROR_VARIABLE _log)
file(GLOB _debs ${WORK}/tallybrook_*.deb)
list(LENGTH _debs _n)
if(NOT _rc EQUAL 0 OR NOT _n EQUAL 1)
    message(FATAL_ERROR "cpack -G DEB did not make one package:\n${_log}")
endif()

execute_process(COMMAND ${_dpkg_deb} -f ${_debs} Package Depends OUTPUT_VARIABLE _fields)
message("${_fields}")
if(NOT _fields MATCHES "Package: tallybrook\n")
    message(FATAL_ERROR "wrong package name")
endif()
foreach(_dep libqt6widgets6 libqt6gui6 libqt6network6 libqt6core6 libqt6svg6 qt6-qpa-plugins fonts-inter)
    if(NOT _fields MATCHES "[ ,]${_dep}[ ,\n]")
        message(FATAL_ERROR "Depends lacks ${_dep}")
    endif()
endforeach()

execute_process(COMMAND ${_dpkg_deb} -c ${_debs} OUTPUT_VARIABLE _contents)
foreach(_path ./usr/bin/tallybrook ./usr/share/applications/tallybrook.desktop
        ./usr/share/metainfo/${APP_ID}.metainfo.xml ./usr/share/icons/hicolor/scalable/apps/tallybrook.svg
        ./usr/share/icons/hicolor/48x48/apps/tallybrook.png)
    string(FIND "${_contents}" " ${_path}\n" _at)
    if(_at EQUAL -1)
        message(FATAL_ERROR "package lacks ${_path}:\n${_contents}")
    endif()
endforeach()
if(_contents MATCHES "rwxrwx|drwxrwxr")
    message(FATAL_ERROR "package holds group-writable entries:\n${_contents}")
endif()
message("built ${_debs}: ok")
