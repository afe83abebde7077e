#include "app/dialog_units.h"
