# Views: one static library per folder. Each links only the libraries below it:
# ui <- editor <- board; ui <- stats; ui <- settings; window stands above board, editor, stats and
# settings; app above window.

# The Qt headers nearly every view includes; parsing them once per library saves most of
# the build time.
set(TALLYBROOK_WIDGETS_PCH <QObject> <QString> <QVector> <QHash> <QPointer> <QTimer> <QWidget>
    <QPainter> <QPainterPath> <QHBoxLayout> <QVBoxLayout> <QLabel> <QLineEdit> <QAbstractButton>
    <QPushButton> <QApplication> <QEvent> <QMouseEvent> <QKeyEvent> <QMenu> <QVariantAnimation>
    <QAccessible> <QAbstractListModel> <QStyledItemDelegate> <QScrollBar> <QListView>)

function(tallybrook_view_lib name)
    cmake_parse_arguments(L "" "" "SOURCES;LINKS" ${ARGN})
    add_library(${name} STATIC ${L_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${L_LINKS})
    if(TALLYBROOK_PCH)
        target_precompile_headers(${name} PRIVATE ${TALLYBROOK_WIDGETS_PCH})
    endif()
endfunction()

tallybrook_view_lib(tallybrook_ui LINKS tallybrook_core Qt6::Gui Qt6::Widgets Qt6::Svg SOURCES
    ui/AccessibleKit.h
    ui/Animations.h ui/Animations.cpp
    ui/Announcer.h ui/Announcer.cpp
    ui/CapsuleButton.h ui/CapsuleButton.cpp
    ui/ColorDot.h ui/ColorDot.cpp
    ui/CountBadge.h ui/CountBadge.cpp
    ui/CreamScroller.h ui/CreamScroller.cpp
    ui/CreamScrollerStyle.h ui/CreamScrollerStyle.cpp
    ui/Eyebrow.h ui/Eyebrow.cpp
    ui/GlyphButton.h ui/GlyphButton.cpp
    ui/Icons.h ui/Icons.cpp
    ui/InkButton.h ui/InkButton.cpp
    ui/InvalidOutline.h ui/InvalidOutline.cpp
    ui/KeyboardFocus.h ui/KeyboardFocus.cpp
    ui/LogoView.h ui/LogoView.cpp
    ui/OutlineButton.h ui/OutlineButton.cpp
    ui/Painters.h ui/Painters.cpp
    ui/PanelFrame.h ui/PanelFrame.cpp
    ui/PanelShadow.h ui/PanelShadow.cpp
    ui/PillOption.h ui/PillOption.cpp
    ui/PillSegment.h ui/PillSegment.cpp
    ui/PopoverPlace.h ui/PopoverPlace.cpp
    ui/ProgressTrack.h ui/ProgressTrack.cpp
    ui/RoundedCard.h ui/RoundedCard.cpp
    ui/Resources.h ui/Resources.cpp
    ui/Spring.h ui/Spring.cpp
    ui/StatusStyle.h ui/StatusStyle.cpp
    ui/TextLabel.h ui/TextLabel.cpp
    ui/Theme.h ui/Theme.cpp
    ui/TrayHost.h ui/TrayHost.cpp
    ui/YearMenu.h ui/YearMenu.cpp
    ui/ui.qrc
)

tallybrook_view_lib(tallybrook_editor LINKS tallybrook_ui SOURCES
    editor/AmountField.h editor/AmountField.cpp
    editor/ComboField.h editor/ComboField.cpp
    editor/FieldPlate.h editor/FieldPlate.cpp
    editor/ProjectEditor.h editor/ProjectEditor.cpp
    editor/StatusPicker.h editor/StatusPicker.cpp
)

tallybrook_view_lib(tallybrook_board LINKS tallybrook_editor SOURCES
    board/AmountLabel.h board/AmountLabel.cpp
    board/BoardColumn.h board/BoardColumn.cpp
    board/BoardColumns.h board/BoardColumns.cpp
    board/BoardTablePage.h board/BoardTablePage.cpp
    board/BoardView.h board/BoardView.cpp
    board/CardList.h board/CardList.cpp
    board/ChasePopover.h board/ChasePopover.cpp
    board/ColumnHeader.h board/ColumnHeader.cpp
    board/ColumnModel.h board/ColumnModel.cpp
    board/DragScroller.h board/DragScroller.cpp
    board/ProjectCard.h board/ProjectCard.cpp
    board/ProjectCursor.h board/ProjectCursor.cpp
    board/ProjectItemAccessible.h board/ProjectItemAccessible.cpp
    board/ProjectList.h board/ProjectList.cpp
    board/ProjectListAccessible.h board/ProjectListAccessible.cpp
    board/ProjectListModel.h board/ProjectListModel.cpp
    board/ProjectMenu.h board/ProjectMenu.cpp
    board/ProjectRow.h board/ProjectRow.cpp
    board/ProjectTable.h board/ProjectTable.cpp
    board/ProjectTableModel.h board/ProjectTableModel.cpp
    board/ProjectTexts.h
    board/SortHeaderButton.h board/SortHeaderButton.cpp
    board/StreamControls.h board/StreamControls.cpp
    board/SummaryPanel.h board/SummaryPanel.cpp
    board/SummaryParts.h board/SummaryParts.cpp
    board/TableHeader.h board/TableHeader.cpp
    board/TargetPopover.h board/TargetPopover.cpp
    board/TaxRateBox.h board/TaxRateBox.cpp
    board/TrashZone.h board/TrashZone.cpp
)

tallybrook_view_lib(tallybrook_stats LINKS tallybrook_ui SOURCES
    stats/Breakdown.h stats/Breakdown.cpp
    stats/CategoryCard.h stats/CategoryCard.cpp
    stats/CategoryDetailSheet.h stats/CategoryDetailSheet.cpp
    stats/CategoryListModel.h stats/CategoryListModel.cpp
    stats/CategoryPopover.h stats/CategoryPopover.cpp
    stats/CategoryRowDelegate.h stats/CategoryRowDelegate.cpp
    stats/CategoryRowPainter.h stats/CategoryRowPainter.cpp
    stats/CategoryRowsAccessible.h stats/CategoryRowsAccessible.cpp
    stats/CategoryRowsView.h stats/CategoryRowsView.cpp
    stats/KPICard.h stats/KPICard.cpp
    stats/MonthlyChart.h stats/MonthlyChart.cpp
    stats/MonthlyChartAccessible.h stats/MonthlyChartAccessible.cpp
    stats/ShowAllButton.h stats/ShowAllButton.cpp
    stats/StatsHeader.h stats/StatsHeader.cpp
    stats/StatsView.h stats/StatsView.cpp
)

tallybrook_view_lib(tallybrook_settings LINKS tallybrook_ui SOURCES
    settings/ColorWell.h settings/ColorWell.cpp
    settings/BackupsCard.h settings/BackupsCard.cpp
    settings/ColumnColorsCard.h settings/ColumnColorsCard.cpp
    settings/CurrencyCard.h settings/CurrencyCard.cpp
    settings/DataFolderCard.h settings/DataFolderCard.cpp
    settings/DangerButton.h settings/DangerButton.cpp
    settings/DeleteDataCard.h settings/DeleteDataCard.cpp
    settings/DirectoryCard.h settings/DirectoryCard.cpp
    settings/DirectoryDelegate.h settings/DirectoryDelegate.cpp
    settings/DirectoryList.h settings/DirectoryList.cpp
    settings/DirectoryListAccessible.h settings/DirectoryListAccessible.cpp
    settings/DirectoryModel.h settings/DirectoryModel.cpp
    settings/DirectoryRowEditor.h settings/DirectoryRowEditor.cpp
    settings/DirectoryText.h settings/DirectoryText.cpp
    settings/FieldFrame.h settings/FieldFrame.cpp
    settings/ForecastCard.h settings/ForecastCard.cpp
    settings/IconBadge.h settings/IconBadge.cpp
    settings/LanguageCard.h settings/LanguageCard.cpp
    settings/PopUpButton.h settings/PopUpButton.cpp
    settings/PresenceCard.h settings/PresenceCard.cpp
    settings/SettingRow.h settings/SettingRow.cpp
    settings/SettingsLabel.h settings/SettingsLabel.cpp
    settings/SettingsView.h settings/SettingsView.cpp
    settings/SymbolView.h settings/SymbolView.cpp
    settings/TextLinkButton.h settings/TextLinkButton.cpp
    settings/ToggleSwitch.h settings/ToggleSwitch.cpp
    settings/UnitField.h settings/UnitField.cpp
)

# The year report for an accountant: the board's figures and the statistics' breakdowns on paper.
tallybrook_view_lib(tallybrook_report LINKS tallybrook_board tallybrook_stats SOURCES
    report/YearReport.h report/YearReport.cpp
)

tallybrook_view_lib(tallybrook_window LINKS tallybrook_board tallybrook_editor tallybrook_stats tallybrook_settings SOURCES
    window/MainWindow.h window/MainWindow.cpp
    window/MainWindowHeader.h window/MainWindowHeader.cpp
    window/MainWindowPages.h window/MainWindowPages.cpp
    window/MainWindowSheet.h window/MainWindowSheet.cpp
    window/SampleTip.h window/SampleTip.cpp
    window/SearchBar.h window/SearchBar.cpp
    window/SheetModality.h window/SheetModality.cpp
    window/ToastView.h window/ToastView.cpp
)

tallybrook_view_lib(tallybrook_app LINKS tallybrook_window tallybrook_report SOURCES
    app/AppAccessible.h app/AppAccessible.cpp
    app/AppCommands.h app/AppCommands.cpp
    app/CommandLine.h app/CommandLine.cpp
    app/AppLocation.qrc
    app/AppLocationManager.h app/AppLocationManager.cpp
    app/MenuBarExtra.h app/MenuBarExtra.cpp
    app/MenuBarPanel.h app/MenuBarPanel.cpp
    app/MinimizeToMenuBar.h app/MinimizeToMenuBar.cpp
    app/MoveOffer.h app/MoveOffer.cpp
    app/PanelButton.h app/PanelButton.cpp
    app/Presence.h app/Presence.cpp
    app/ImportSheet.h app/ImportSheet.cpp
    app/ShortcutsWindow.h app/ShortcutsWindow.cpp
    app/SingleInstance.h app/SingleInstance.cpp
    app/TallybrookApp.h app/TallybrookApp.cpp
    app/TaskbarEntry.h app/TaskbarEntry.cpp
)

# The whole view layer, for the executable and tests that need all of it.
add_library(tallybrook_widgets INTERFACE)
target_link_libraries(tallybrook_widgets INTERFACE tallybrook_app)

add_executable(tallybrook app/main.cpp)
target_link_libraries(tallybrook PRIVATE tallybrook_widgets)
install(TARGETS tallybrook RUNTIME DESTINATION bin)
install(TARGETS tallybrook_rate LIBRARY DESTINATION lib/tallybrook)
