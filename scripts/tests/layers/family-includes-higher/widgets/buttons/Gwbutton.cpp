#include "Gwcommon.h"
#include "Gwedit.h"
