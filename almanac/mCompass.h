// The compass correction: the true azimuth of the Sun at rise or set, of Polaris
// or of another body at a bearing instant, and the signed correction azimuth
// minus compass bearing.
#pragma once

#include <string>
#include <vector>

#include "core/mTime.h"
#include "reduction/mCorrection.h"

// Polaris, the star of the "Polaris" method (catalogue number).
inline constexpr int kPolarisNumber = 424;

// One entry of the list of bodies for the "Other" method. Value >= 1 is a star
// number; value <= 0 is a body by its display index k = -value (0 Sun .. 8 Moon).
struct CompassItem {
    std::string Text;
    int Value = 0;
};

// Returned: the stars of the catalogue whose MaeNumber is 1 or more, in catalogue
// order (text StarName, value Number), then the nine bodies from the Sun to the
// Moon (text "Planet: " + name, value -k). Empty star part before the catalogue
// is loaded.
std::vector<CompassItem> CompassBodyList();

// Given: k, a display index 0..8 of BodyNames.  Returned: its BodyId (k for
// k <= 2, k + 1 above: the Earth has no entry).
int BodyIdFromListIndex(int k);

// Where a star or body stands at a bearing instant.
struct CompassPlace {
    double Azimuth = 0.0;   // true azimuth, degrees [0, 360)
    double Altitude = 0.0;  // computed altitude of the centre, degrees
    // Its upper limb shows above the sea horizon: the computed altitude is above
    // the rise/set threshold of mRiseSet (the Sun -50.3', the Moon +8', planets
    // and stars -34', less the dip, with the refraction of the air), so a
    // bearing of it can be taken.
    bool AboveHorizon = false;
};
// Given: jd, TT Julian date; value, a CompassItem value; lat, lon, degrees;
// horizon, the height of eye and the air of the threshold.
CompassPlace CompassItemPlace(double jd, int value, double lat, double lon, const Horizon& horizon);

// Given: jd, TT Julian date; value, a CompassItem value; lat, lon, degrees.
// Returned: the true azimuth of the star or body, degrees [0, 360). A value
// below -8 names no body: reported as an invalid planet index (azimuth of zeros).
double CompassItemAzimuth(double jd, int value, double lat, double lon);

// The Sun at rise or set for the compass, from the rigorous method over the 24
// hours that follow a UT instant.
struct SunBearingEvent {
    bool Found = false;       // the Sun crosses the horizon that way in the 24 hours
    DateValue Time = 0.0;     // UT of the crossing when Found
    double Azimuth = 0.0;     // degrees [0, 360) when Found
    // When not Found: +1 the Sun stays up all the 24 hours, -1 it stays down,
    // 0 it crosses only the other way (rises without setting, or the reverse).
    int Marker = 0;
};

// Given: start, the UT instant that starts the 24 hours searched (the working
// local time less the zone); lat, lon, degrees; rise (true: sunrise, false: sunset);
// horizon.
SunBearingEvent SunRiseSetAzimuth(DateValue start, double lat, double lon, bool rise, const Horizon& horizon);

// The words that stand in for the time and the azimuth of a sunrise or sunset the
// 24 hours do not hold: "No Rise" or "No Set", and "Up 24 h" (polar day), "Down
// 24 h" (polar night) or "No sunrise"/"No sunset" (the other crossing only).
std::string SunEventTimeWords(const SunBearingEvent& e, bool rise);
std::string SunEventAzimuthWords(const SunBearingEvent& e, bool rise);

// Given: text "hh:mm:ss". Returned: true and the fraction of a day when the hours
// are 0..23 and the minutes and seconds 0..59; false otherwise (25:70:00).
bool ParseTimeOfDay(const std::string& text, double& dayFraction);

// Given: localDate, the working local date-time; tz, hours east; dayFraction,
// the UT time of day of the bearing. Returned: the UT instant: the whole-day part
// of localDate - tz / 24, plus dayFraction. Just after local midnight in a zone
// east of Greenwich this is the previous UT date.
DateValue BearingInstant(DateValue localDate, double tz, double dayFraction);

// A text read as a leading number with "." as the decimal point: reading stops at
// the first character that cannot continue the number; a text that does not
// begin with a number reads as 0. "000.0" -> 0, "359.5x" -> 359.5, "-3" -> -3.
double LeadingNumber(const std::string& text);

// Given: azimuth and bearing, degrees. Returned: azimuth - bearing in single
// precision, reduced to at most 180 either way: 180 stays 180, 190 becomes -170.
// NaN (no text) when either lies beyond single precision.
float CompassCorrection(double azimuth, double bearing);

// The correction text: pattern "000.0", "+" in front of a positive value,
// "-003.5" for a negative one, "000.0" for zero.
std::string FormatCorrection(float c);

// An azimuth in the pattern "000.0" (359.96 shows 360.0, as the pattern rounds).
std::string FormatAzimuth(double azimuth);
