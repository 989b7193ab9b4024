#include "handle.h"
