#include "Upeer.h"
