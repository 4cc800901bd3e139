#include "AdminPolicy.h"

const char kPolicyKey[] = "SOFTWARE\\Policies\\Qorvane";
const char kPolicyWatchedKey[] = "SOFTWARE\\Policies\\Qorvane\\WatchedPrograms";

const char kPolicyDisableKeepAwake[] = "DisableKeepAwake";
const char kPolicyMaxHoldMinutes[] = "MaxHoldMinutes";
const char kPolicyDisableComputerAwake[] = "DisableComputerAwake";
const char kPolicyDisableAreaBlackout[] = "DisableAreaBlackout";

const PolicyValueName kPolicyValues[4] = {
    {kPolicyDisableKeepAwake, 0, 1},
    {kPolicyMaxHoldMinutes, 1, 10080},
    {kPolicyDisableComputerAwake, 0, 1},
    {kPolicyDisableAreaBlackout, 0, 1},
};
