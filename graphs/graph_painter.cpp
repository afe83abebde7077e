#include "graphs/graph_painter.h"
