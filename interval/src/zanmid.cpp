#include "zanmid.h"

#include "datetext.h"
#include "split.h"

#include <algorithm>
#include <string>

namespace kronvale::detail {
namespace {

// 1-based substring that never throws, as the clock-text helpers expect.
std::string_view copy(std::string_view s, std::size_t index, std::size_t count) {
    if (index < 1 || index > s.size()) return {};
    return s.substr(index - 1, count);
}

// Hours of a clock text (characters 1-2).
int HH(std::string_view x) { return textToInt(copy(x, 1, 2)); }

// Minutes of a clock text (characters 4-5).
int MM(std::string_view x) { return textToInt(copy(x, 4, 2)); }

// Hours and minutes as one number: 09:30 gives 930.
int HHMM(std::string_view x) {
    std::string digits(copy(x, 1, 2));
    digits.append(copy(x, 4, 2));
    return textToInt(digits);
}

// Whole minutes from a to b (0 when a is after b). The split's minutes may be
// 60 after its seconds carry; hours * 60 + minutes is still right.
int MIN(double a, double b) { return static_cast<int>(spanMinutes(a, b)); }

class Shift {
public:
    Shift(const ShiftTexts& t, int currentYear) : t_(t), year_(currentYear) {}

    ShiftMinutes compute();

private:
    // The date-time of day `day` at clock text x, converted from the text
    // "yyyy/mm/dd x:00" so that a bad clock text fails as it would when typed.
    double DT(double day, std::string_view x) const {
        std::string text = formatYmd(day);
        text += ' ';
        text.append(x);
        text += ":00";
        return textToDateTime(text, year_);
    }

    // The date-time of day `day` at hour:minute, written without leading zeros.
    double at(double day, int hour, int minute) const {
        std::string text = formatYmd(day);
        text += ' ';
        text += std::to_string(hour);
        text += ':';
        text += std::to_string(minute);
        text += ":00";
        return textToDateTime(text, year_);
    }

    void withinOneDay();
    void overMidnight();
    void sevenHourShift();

    const ShiftTexts& t_;
    const int year_;
    ShiftMinutes r_;

    double d = 0, S = 0, E = 0, Mo = 0, Ev = 0, Ns = 0, Ne = 0;
    int G = 0, G0 = 0, Q = 0, P2 = 0, P3 = 0, P4 = 0, X = 0, N = 0;
};

ShiftMinutes Shift::compute() {
    d = textToDate(t_.WorkDate, year_);
    S = DT(d, t_.ShiftStart);
    E = HHMM(t_.ShiftStart) < HHMM(t_.ShiftEnd) ? DT(d, t_.ShiftEnd) : DT(d + 1, t_.ShiftEnd);
    Mo = HHMM(t_.EveningBound) < HHMM(t_.ShiftStart) ? DT(d + 1, t_.MorningBound) : DT(d, t_.MorningBound);
    Ev = DT(d, t_.EveningBound);
    Ns = DT(d, t_.NightStart);
    Ne = HHMM(t_.ShiftStart) < HHMM(t_.NightEnd) ? DT(d, t_.NightEnd) : DT(d + 1, t_.NightEnd);
    G = G0 = MIN(S, E);

    if (t_.Mode == "0") {
        if (HHMM(t_.ShiftStart) < HHMM(t_.ShiftEnd)) withinOneDay();
        else overMidnight();
        // Minutes worked before the morning boundary count against the
        // overtime, unless the shift is too short for them to be extra. Q is 0
        // for a shift within one day.
        r_.OverMin = P3 + P4;
        if (P2 > 0 && Q < G0 + P2) r_.OverMin = P3 + P4 - P2;
    } else if (t_.Mode == "1") {
        sevenHourShift();
    }
    return r_;
}

// Mode "0", start and end on the same day. Later cases overwrite what earlier
// ones set.
void Shift::withinOneDay() {
    if (HHMM(t_.ShiftStart) < HHMM(t_.NightEnd)) {
        X = MIN(S, Ne);  // late-night minutes before the night ends
        P3 = MIN(Ne, Mo);
    }
    if (HHMM(t_.ShiftStart) >= HHMM(t_.NightEnd) && S <= Mo) P3 = MIN(S, Mo);
    if (HHMM(t_.ShiftEnd) >= HHMM(t_.EveningBound) && HH(t_.NightStart) >= HH(t_.ShiftEnd)) P4 = MIN(Ev, E);
    if (E >= Ns) {
        if (E <= Ne && S < Ev) {
            N = MIN(Ns, E);
            P4 = MIN(Ev, Ns);
        } else {
            N = 0;
        }
    } else {
        N = 0;
    }
    if (HHMM(t_.NightStart) < HHMM(t_.ShiftEnd) && S <= Ne) {
        N = MIN(Ns, E);
        P4 = MIN(Ev, Ns);
    }
    if (Mo <= S && HH(t_.ShiftStart) <= 10 && HHMM(t_.MorningBound) < HHMM(t_.ShiftEnd))
        P2 = std::min(MIN(Mo, S), MIN(Ev, E));
    r_.NightMin = N + X;
}

// Mode "0", the shift ends on the next day.
void Shift::overMidnight() {
    // A shift shorter than the normal working window is paid as the whole
    // window: its end moves to Q minutes after the start.
    Q = MIN(Mo, Ev);
    if (G < Q) {
        const int n = Q / 60;
        const int m = Q % 60;
        const int hh = HH(t_.ShiftStart);
        const int mm = MM(t_.ShiftStart);
        int hour = 0, minute = 0;
        bool nextDay = false;
        if (m > 0 && mm + m > 59) {
            hour = hh + n + 1;
            minute = mm + m - 60;
            nextDay = hh >= 23 - n;
        } else if (m > 0) {
            hour = hh + n;
            minute = mm + m;
            nextDay = hh >= 24 - n;
        } else {
            hour = hh + n;
            minute = mm;
            nextDay = hh >= 24 - n;
        }
        E = nextDay ? at(d + 1, hour - 24, minute) : at(d, hour, minute);
        G = Q;
    }

    // The shift against the windows; each matching case overwrites the
    // values the earlier ones set, and the late-night minutes are final.
    const bool startInDay = Mo < S && S <= Ev;
    const bool startInEvening = Ev < S && S <= Ns;
    const bool startInNight = Ns < S && S <= Ne;
    // The end is placed against the morning that follows the night. For a
    // start inside the normal window Mo is the start's own morning, which
    // every overnight end lies after; measured against it, each such shift
    // would be paid the whole night window, however early it ended.
    const double MoAfterNight = Mo > S ? Mo : DT(d + 1, t_.MorningBound);
    const bool endInNight = Ns < E && E <= Ne;
    const bool endInMorning = Ne < E && E <= MoAfterNight;
    const bool endAfterMorning = E > MoAfterNight;

    if (startInDay && endInNight) {
        r_.NightMin = MIN(Ns, E);
        P3 = MIN(Ev, Ns);
    }
    if (startInDay && endInMorning) {
        r_.NightMin = MIN(Ns, Ne);
        P3 = MIN(Ev, Ns);
        P4 = MIN(Ne, E);
    }
    if (startInDay && endAfterMorning) {
        r_.NightMin = MIN(Ns, Ne);
        P3 = MIN(Ev, Ns);
        P4 = MIN(Ne, MoAfterNight);
    }
    if (startInEvening && endInNight) {
        r_.NightMin = MIN(Ns, E);
        P3 = MIN(S, Ns);
    }
    if (startInEvening && endInMorning) {
        r_.NightMin = MIN(Ns, Ne);
        P3 = MIN(S, Ns);
        P4 = MIN(Ne, E);
    }
    if (startInEvening && endAfterMorning) {
        r_.NightMin = MIN(Ns, Ne);
        P3 = MIN(S, Ns);
        P4 = MIN(Ne, MoAfterNight);
    }
    if (startInNight && endInNight) r_.NightMin = MIN(S, E);
    if (startInNight && endInMorning) {
        r_.NightMin = MIN(S, Ne);
        P4 = MIN(Ne, E);
    }
    if (startInNight && endAfterMorning) {
        r_.NightMin = MIN(S, Ne);
        P4 = MIN(Ne, MoAfterNight);
    }
    // A start not after the morning boundary with an end after the night
    // start overrides the table. When the start is later than the evening
    // boundary the morning boundary lies on the next day, so this also takes
    // every such overnight shift that ends after the night start.
    if (S <= Mo && E > Ns) {
        P3 = MIN(S, Mo);
        P4 = MIN(Ev, Ns);
        r_.NightMin = MIN(Ns, E);
    }

    if (Mo <= S && HH(t_.ShiftStart) < 10) P2 = MIN(Mo, S);
}

// Mode "1": a shift of at least seven hours; overtime is the time outside the
// late-night window.
void Shift::sevenHourShift() {
    if (G < 420) {
        const int hh = HH(t_.ShiftStart);
        const int mm = MM(t_.ShiftStart);
        E = hh < 17 ? at(d, hh + 7, mm) : at(d + 1, hh + 7 - 24, mm);
        G = 420;
    }
    if (HH(t_.ShiftStart) < HH(t_.NightEnd)) {
        r_.NightMin = MIN(S, Ne);
        r_.OverMin = G - r_.NightMin;
        return;
    }
    if (S < Ns && E > Ne) {
        r_.NightMin = MIN(Ns, Ne);
        r_.OverMin = G - r_.NightMin;
    }
    if (S <= Ns && E <= Ne) {
        r_.NightMin = MIN(Ns, E);
        r_.OverMin = G - r_.NightMin;
    }
    if (S >= Ns && E > Ne) {
        r_.NightMin = MIN(S, Ne);
        r_.OverMin = G - r_.NightMin;
    }
    // A start after the night start with the end inside the night: the span
    // goes to the overtime and the rest of the seven hours to the late night,
    // the reverse of the cases above; kept so that stored results stay as they
    // have always been.
    if (S > Ns && E <= Ne) {
        r_.OverMin = MIN(S, E);
        r_.NightMin = G - MIN(S, E);
    }
}

}  // namespace

ShiftMinutes zanMidTime(const ShiftTexts& texts, int currentYear) { return Shift(texts, currentYear).compute(); }

}  // namespace kronvale::detail
