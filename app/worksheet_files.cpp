#include "app/worksheet_files.h"
