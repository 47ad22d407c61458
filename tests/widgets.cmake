# View tests: each folder has its own CMakeLists.txt once it has tests.
foreach(_folder ui app board stats settings)
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_folder}/CMakeLists.txt)
        add_subdirectory(${_folder})
    endif()
endforeach()
