// Days of the schedule in the form the graphic view stores them (ascending time, the switches of
// one time in one entry): each must come back unchanged through the strips and through the form.
#pragma once

#include <ostream>
#include <vector>

#include "Schedulemodel.h"

inline TScheduleEntry E(int h, int m, int flags) { return {uint8_t(h), uint8_t(m), uint8_t(flags)}; }

struct TDrawnDay {
    const char* name;
    std::vector<TScheduleEntry> day;
};
inline void PrintTo(const TDrawnDay& c, std::ostream* os) { *os << c.name; }

inline const std::vector<TDrawnDay>& RoundTripDays() {
    static const std::vector<TDrawnDay> days = {
        {"OnInTheMorningOffWithChannel2OnAtNight", {E(7, 30, 0x11), E(18, 45, 0x23)}},
        {"AtMidnightAndAtTheLastStep", {E(0, 0, 0x11), E(23, 55, 0x01)}},
        {"SeveralZonesOnOneChannel",
         {E(6, 0, 0x11), E(8, 0, 0x01), E(12, 0, 0x11), E(13, 0, 0x01), E(20, 0, 0x11)}},
        {"AllFourChannels",
         {E(0, 0, 0x88), E(5, 0, 0x13), E(6, 15, 0x44), E(9, 0, 0x4C), E(17, 40, 0x0F), E(23, 55, 0x08)}},
        {"InvertedStripOffFirst", {E(6, 0, 0x01), E(20, 0, 0x11)}},
        {"StatesThatDoNotAlternate", {E(7, 0, 0x11), E(8, 0, 0x11), E(9, 0, 0x01), E(10, 0, 0x01)}},
        {"MinutesBetweenTheSteps", {E(7, 32, 0x11), E(7, 33, 0x01), E(23, 59, 0x11)}},
        {"OneChannelTwiceAtOneTime", {E(8, 0, 0x11), E(8, 0, 0x01)}},
    };
    return days;
}
