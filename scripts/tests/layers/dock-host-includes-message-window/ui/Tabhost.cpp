#include "Tabhost.h"
#include "Dockform.h"
