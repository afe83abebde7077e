#include "graphs/function_list_painter.h"
