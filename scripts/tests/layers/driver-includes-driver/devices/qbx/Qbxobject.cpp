#include "devicekit.h"
#include "Meterobjects.h"
