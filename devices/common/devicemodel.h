// What the device objects use of the configuration model, the subprogram store and the runtime,
// gathered in one place. Device layer.
#pragma once

#include "Objectstore.h"
#include "classes.h"
#include "sysutils.h"
#include "actions.h"
