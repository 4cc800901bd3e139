#pragma once

#include <windows.h>

// String-table ids of the texts a list row shows for a watch item's values.
// Unknown values show the widest meaning, as the evaluation treats them.
UINT ConditionTextId(int nValidCondition);
UINT EffectTextId(int nMonitorEffec);
