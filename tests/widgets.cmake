# View tests, one folder per view library.
foreach(_folder ui editor board stats report settings window app)
    add_subdirectory(${_folder})
endforeach()
