# Views: one static library per subsystem folder, so each builds and tests on its own.
# Sources are picked up by folder; main.cpp and the core's files are not part of them.
function(tallybrook_view_lib name folder)
    file(GLOB _sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.qrc)
    list(FILTER _sources EXCLUDE REGEX "/(main\\.cpp|QuitSignals\\.(h|cpp)|(StatsFigures|LocalMonths|TextTotals)\\.(h|cpp))$")
    if(NOT _sources)
        add_library(${name} INTERFACE)
        target_link_libraries(${name} INTERFACE ${ARGN})
        return()
    endif()
    add_library(${name} STATIC ${_sources})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARGN})
    if(TALLYBROOK_PCH)
        target_precompile_headers(${name} PRIVATE ${TALLYBROOK_WIDGETS_PCH})
    endif()
endfunction()

# The Qt headers nearly every view includes; parsing them once per library saves most of
# the build time.
set(TALLYBROOK_WIDGETS_PCH <QObject> <QString> <QVector> <QHash> <QPointer> <QTimer> <QWidget>
    <QPainter> <QPainterPath> <QHBoxLayout> <QVBoxLayout> <QLabel> <QLineEdit> <QAbstractButton>
    <QPushButton> <QApplication> <QEvent> <QMouseEvent> <QKeyEvent> <QMenu> <QVariantAnimation>
    <QAccessible> <QAbstractListModel> <QStyledItemDelegate> <QScrollBar> <QListView>)

tallybrook_view_lib(tallybrook_ui ui tallybrook_core Qt6::Gui Qt6::Widgets Qt6::Svg)
tallybrook_view_lib(tallybrook_stats stats tallybrook_ui)
tallybrook_view_lib(tallybrook_settings settings tallybrook_ui)
tallybrook_view_lib(tallybrook_board board tallybrook_ui tallybrook_stats tallybrook_settings)
tallybrook_view_lib(tallybrook_app app tallybrook_board)

# The whole view layer, for the executable and tests that need all of it.
add_library(tallybrook_widgets INTERFACE)
target_link_libraries(tallybrook_widgets INTERFACE tallybrook_app tallybrook_board tallybrook_stats
                      tallybrook_settings tallybrook_ui)

if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/app/main.cpp)
    add_executable(tallybrook app/main.cpp)
    target_link_libraries(tallybrook PRIVATE tallybrook_widgets)
    install(TARGETS tallybrook RUNTIME DESTINATION bin)
endif()
