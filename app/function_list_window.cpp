#include "app/function_list_window.h"
