#include "lortest.h"
