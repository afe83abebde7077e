# The Qt desktop application: a library of its windows (so tests link it) and the program.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)
set(CMAKE_AUTORCC ON)

add_library(quillet_app STATIC
    main_window.cpp worksheet_edit.cpp variable_list_window.cpp key_codes.cpp dialog_units.cpp
    worksheet_files.cpp file_dialogs.cpp file_io.cpp graph_window.cpp function_list_window.cpp
    main_window.h worksheet_edit.h variable_list_window.h graph_window.h function_list_window.h
    resources.qrc)
target_include_directories(quillet_app PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quillet_app PUBLIC quillet_graph_painter quillet_graphs Qt6::Widgets
                      PRIVATE quillet_warnings)

add_executable(quillet main.cpp)
target_link_libraries(quillet PRIVATE quillet_app quillet_warnings)

# The help button opens help.mht from the current folder: keep a copy next to the program.
add_custom_command(TARGET quillet POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_CURRENT_SOURCE_DIR}/help/help.mht
            $<TARGET_FILE_DIR:quillet>/help.mht)

include(GNUInstallDirs)
install(TARGETS quillet quillet-run RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES help/help.mht DESTINATION ${CMAKE_INSTALL_DATADIR}/quillet)
