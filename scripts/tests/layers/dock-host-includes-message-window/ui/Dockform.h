#include "Tabhost.h"
