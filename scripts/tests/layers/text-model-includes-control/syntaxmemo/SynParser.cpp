#include "SynMemoModel.h"
#include "UnitSyntaxMemo.h"
