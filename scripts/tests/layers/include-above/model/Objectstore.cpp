#include "stdctrls.h"
