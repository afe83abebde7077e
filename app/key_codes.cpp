#include "app/key_codes.h"
