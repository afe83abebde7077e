#include "app/graph_window.h"
