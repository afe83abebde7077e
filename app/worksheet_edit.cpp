#include "app/worksheet_edit.h"
