#pragma once

#include "CString.h"

#include <windows.h>

// String-table ids of the texts a list row shows for a watch item's values.
// Unknown values show the widest meaning, as the evaluation treats them.
UINT ConditionTextId(int nValidCondition);
UINT EffectTextId(int nMonitorEffec);

// The effect column's text: the effect, and after it that the item also
// keeps the computer from sleeping when it does.
CString EffectRowText(int nMonitorEffec, int nKeepSystemAwake);
