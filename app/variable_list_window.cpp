#include "app/variable_list_window.h"
