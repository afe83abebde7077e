# The drawing of the graph and function list windows: takes the model and a QPainter, so it
# draws the same on the screen and on a QImage. The one part of the graphs that uses Qt.
find_package(Qt6 REQUIRED COMPONENTS Gui)
add_library(quillet_graph_painter STATIC
    ${PROJECT_SOURCE_DIR}/graphs/graph_painter.cpp
    ${PROJECT_SOURCE_DIR}/graphs/function_list_painter.cpp ${PROJECT_SOURCE_DIR}/graphs/fonts.cpp)
target_include_directories(quillet_graph_painter PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quillet_graph_painter PUBLIC quillet_graphs Qt6::Gui PRIVATE quillet_warnings)
