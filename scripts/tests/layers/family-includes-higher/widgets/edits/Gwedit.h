#include "Gwcommon.h"
