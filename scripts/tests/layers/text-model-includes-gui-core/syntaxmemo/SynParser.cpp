#include "controls.h"
