#include "WatchRowText.h"

#include "AfxText.h"
#include "resource.h"

UINT ConditionTextId(int nValidCondition) {
    switch (nValidCondition) {
    case 0:
        return IDS_VALID_NEVER;
    case 1:
        return IDS_VALID_RUNNING;
    default:
        return IDS_VALID_FOREGROUND;
    }
}

UINT EffectTextId(int nMonitorEffec) {
    switch (nMonitorEffec) {
    case 1:
        return IDS_EFFECT_SAVER;
    case 2:
        return IDS_EFFECT_POWER;
    default:
        return IDS_EFFECT_BOTH;
    }
}

CString EffectRowText(int nMonitorEffec, int nKeepSystemAwake) {
    CString effect;
    effect.LoadString(EffectTextId(nMonitorEffec));
    if (nKeepSystemAwake != 1) {
        return effect;
    }
    CString text;
    AfxFormatString1(text, IDS_EFFECT_AND_AWAKE, effect);
    return text;
}
