/*
 * Kronvale: interval arithmetic of work times.
 *
 * A date-time is a double: days since 1899-12-30 as the whole part, the time of
 * day as the fraction. Results are written through the pointers the caller
 * passes; a null result pointer is skipped. The library keeps no state and
 * allocates nothing that outlives a call, so every function may be called from
 * any thread.
 */
#ifndef KRONVALE_KRONVALE_H
#define KRONVALE_KRONVALE_H

#include <stdint.h>

#if defined(KRONVALE_BUILDING) && defined(__GNUC__)
#define KRONVALE_API __attribute__((visibility("default")))
#else
#define KRONVALE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Splits the interval From..To into whole days, hours, minutes and seconds.
 * All four are 0 when From or To is negative or not finite, when From is after
 * To, or when the days do not fit a 32-bit integer. Minutes can be 60 after the
 * seconds carry, so only Hours * 60 + Minutes is meaningful as a count of
 * minutes.
 */
KRONVALE_API void GetFromToDateTime(double From, double To, int32_t* Days, int32_t* Hours, int32_t* Minutes,
                                    int32_t* Seconds);

/*
 * As GetFromToDateTime with the days folded into the hours (Days * 24 is
 * added). All three are 0 when the interval is refused or the hours do not fit
 * a 32-bit integer.
 */
KRONVALE_API void GetFromToTime(double From, double To, int32_t* Hours, int32_t* Minutes, int32_t* Seconds);

/*
 * Overtime and late-night minutes of a shift.
 *
 * WorkDate is "yy/mm/dd" (a four-digit year is accepted too); the six times are
 * clock texts "HH:MM"; Mode is "0" or "1". Texts are NUL-terminated and at most
 * their first 255 bytes are used; a null text counts as empty. Any other Mode,
 * or a text that does not convert (not a number, an impossible date, an hour
 * above 23), gives 0 and 0.
 */
KRONVALE_API void GetZanMidTime(const char* WorkDate, const char* ShiftStart, const char* ShiftEnd,
                                const char* MorningBound, const char* EveningBound, const char* NightStart,
                                const char* NightEnd, const char* Mode, int32_t* OverMin, int32_t* NightMin);

#ifdef __cplusplus
}
#endif

#endif /* KRONVALE_KRONVALE_H */
