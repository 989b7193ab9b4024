#include "SynMemoModel.h"
