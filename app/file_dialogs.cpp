#include "app/file_dialogs.h"
