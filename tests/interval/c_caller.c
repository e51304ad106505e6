/* The header compiles as C and the functions link from a C translation unit. */
#include <kronvale/kronvale.h>

#include <stddef.h>

int32_t kronvale_minutes_from_c(double from, double to)
{
    int32_t days = -1, hours = -1, minutes = -1, seconds = -1;
    GetFromToDateTime(from, to, &days, &hours, &minutes, &seconds);
    return hours * 60 + minutes;
}

void kronvale_zan_mid_from_c(const char *mode, int32_t *over, int32_t *night)
{
    GetZanMidTime("24/01/15", "09:00", "23:00", "08:00", "17:00", "22:00",
                  "05:00", mode, over, night);
}
