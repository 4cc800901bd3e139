#pragma once

// A hold until a time of day: the time is the next one to come, today's
// while it lies ahead, else tomorrow's. Times are minutes after midnight,
// local wall-clock time.

int CurrentMinuteOfDay();
// A time equal to the current minute has come already: a hold until it
// would end at once, so it means tomorrow's.
bool IsLaterToday(int nNowMinute, int nChosenMinute);
// The first full hour after now; midnight after 23:00.
int NextFullHour(int nNowMinute);
