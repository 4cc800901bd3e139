#include "KeepAwakeReasons.h"

namespace {

const int kMinutesPerDay = 24 * 60;

// Drops the reasons that keep nothing any more.
void KeepOnlyAny(std::vector<Reason>& reasons) {
    std::vector<Reason> left;
    for (const Reason& reason : reasons) {
        if (reason.keeps.Any()) {
            left.push_back(reason);
        }
    }
    reasons.swap(left);
}

// The rules, in the order they apply; each changes the reasons that count.
void PolicyRule(const RuleFacts& facts, RuleOutcome& outcome) {
    const PolicyRules& policy = facts.policy;
    outcome.bBlackoutAllowed = !policy.bNoBlackout;
    for (Reason& reason : outcome.counted) {
        if (policy.bNoKeepAwake && reason.kind != ReasonKind::WatchItem) {
            reason.keeps = Keeps();
        }
        if (policy.bNoComputerAwake) {
            reason.keeps.bSystem = false;
        }
    }
    KeepOnlyAny(outcome.counted);
}

void BatteryRule(const RuleFacts& facts, RuleOutcome& outcome) {
    const int nFloor = facts.nBatteryFloor;
    if (nFloor <= 0 || !facts.power.bOnBattery || outcome.counted.empty()) {
        return;
    }
    const int nPercent = facts.power.nPercent;
    if (nFloor >= 100 || (nPercent >= 0 && nPercent <= nFloor)) {
        outcome.counted.clear();
        outcome.pause = Pause::Battery;
    }
}

void LockRule(const RuleFacts& facts, RuleOutcome& outcome) {
    if (!facts.bLocked) {
        return;
    }
    for (Reason& reason : outcome.counted) {
        reason.keeps.bSaver = reason.keeps.bDisplay = false;
    }
    KeepOnlyAny(outcome.counted);
}

using Rule = void (*)(const RuleFacts&, RuleOutcome&);
const Rule kRules[] = {PolicyRule, BatteryRule, LockRule};

} // namespace

Keeps& Keeps::operator|=(const Keeps& other) {
    bSaver = bSaver || other.bSaver;
    bDisplay = bDisplay || other.bDisplay;
    bSystem = bSystem || other.bSystem;
    return *this;
}

Keeps KeepsOfItem(int nMonitorEffec, int nKeepSystemAwake) {
    Keeps keeps;
    keeps.bSaver = nMonitorEffec == 1 || nMonitorEffec == 3;
    keeps.bDisplay = nMonitorEffec == 2 || nMonitorEffec == 3;
    keeps.bSystem = nKeepSystemAwake != 0;
    return keeps;
}

Keeps KeepsOfHold(bool bComputerOnly) {
    Keeps keeps;
    keeps.bSaver = keeps.bDisplay = !bComputerOnly;
    keeps.bSystem = true;
    return keeps;
}

bool RuleOutcome::Counts(ReasonKind kind, bool bScreen) const {
    for (const Reason& reason : counted) {
        if (reason.kind == kind && (!bScreen || reason.keeps.Screen())) {
            return true;
        }
    }
    return false;
}

RuleOutcome ApplyRules(const std::vector<Reason>& reasons, const RuleFacts& facts) {
    RuleOutcome outcome;
    outcome.counted = reasons;
    for (Rule rule : kRules) {
        rule(facts, outcome);
    }
    for (const Reason& reason : outcome.counted) {
        outcome.keeps |= reason.keeps;
    }
    return outcome;
}

HoursNow WorkingHoursAt(const WorkingHours& hours, int nDay, int nMinuteOfDay) {
    HoursNow now;
    now.nEnd = hours.nEnd;
    const int nYesterday = (nDay + 6) % 7;
    if (hours.nEnd > hours.nStart) {
        now.bIn = hours.bDays[nDay] && nMinuteOfDay >= hours.nStart && nMinuteOfDay < hours.nEnd;
    } else {
        // Past midnight (or the whole day, from the start to the start): the
        // hours after midnight belong to the day before.
        now.bIn = (hours.bDays[nDay] && nMinuteOfDay >= hours.nStart) ||
                  (hours.bDays[nYesterday] && nMinuteOfDay < hours.nEnd);
    }
    return now;
}

HoursNow WorkingHoursAt(const WorkingHours& hours, const SYSTEMTIME& local) {
    const int nDay = (local.wDayOfWeek + 6) % 7;
    return WorkingHoursAt(hours, nDay, (local.wHour * 60 + local.wMinute) % kMinutesPerDay);
}
