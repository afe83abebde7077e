# The Qt desktop application: a library of its windows (so tests link it) and the program.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
find_package(PkgConfig REQUIRED)
pkg_check_modules(XCB REQUIRED IMPORTED_TARGET xcb)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

add_library(quillet_app STATIC
    main_window.cpp worksheet_edit.cpp variable_list_window.cpp key_codes.cpp dialog_units.cpp
    worksheet_files.cpp file_dialogs.cpp graph_window.cpp function_list_window.cpp
    help_window.cpp x11_window_hints.cpp
    main_window.h worksheet_edit.h variable_list_window.h graph_window.h function_list_window.h
    help_window.h resources.qrc)
target_include_directories(quillet_app PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quillet_app PUBLIC quillet_graph_painter quillet_graphs Qt6::Widgets
                      PRIVATE PkgConfig::XCB quillet_warnings)

add_executable(quillet main.cpp)
target_link_libraries(quillet PRIVATE quillet_app quillet_warnings)

# The help button opens help.mht from the current folder: keep a copy next to the program.
# The installed program also finds the copy installed in share/quillet beside its bin.
add_custom_command(TARGET quillet POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/help/help.mht
            $<TARGET_FILE_DIR:quillet>/help.mht)

include(GNUInstallDirs)
install(TARGETS quillet quillet-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES help/help.mht DESTINATION ${CMAKE_INSTALL_DATADIR}/quillet)
install(FILES quillet.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
configure_file(quillet.desktop.in ${CMAKE_CURRENT_BINARY_DIR}/quillet.desktop @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quillet.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
