#include "SunTimes.h"

#include <QTimeZone>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kSunriseZenith = 90.833;  // the upper limb at the horizon, with refraction
constexpr double kCivilZenith = 96.0;

double Radians(double degrees)
{
    return degrees * kPi / 180.0;
}

double Degrees(double radians)
{
    return radians * 180.0 / kPi;
}

struct Solar {
    double equationOfTime = 0;  // minutes
    double declination = 0;     // degrees
};

// The sun at the Julian day `jd` (NOAA's spreadsheet, column by column).
Solar SolarAt(double jd)
{
    const double t = (jd - 2451545.0) / 36525.0;  // Julian centuries since J2000.0
    const double meanLongitude = std::fmod(280.46646 + t * (36000.76983 + t * 0.0003032), 360.0);
    const double meanAnomaly = 357.52911 + t * (35999.05029 - 0.0001537 * t);
    const double eccentricity = 0.016708634 - t * (0.000042037 + 0.0000001267 * t);
    const double m = Radians(meanAnomaly);
    const double centre = std::sin(m) * (1.914602 - t * (0.004817 + 0.000014 * t)) +
        std::sin(2 * m) * (0.019993 - 0.000101 * t) + std::sin(3 * m) * 0.000289;
    const double omega = Radians(125.04 - 1934.136 * t);
    const double apparentLongitude = meanLongitude + centre - 0.00569 - 0.00478 * std::sin(omega);
    const double meanObliquity = 23.0 + (26.0 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60.0) / 60.0;
    const double obliquity = meanObliquity + 0.00256 * std::cos(omega);
    Solar solar;
    solar.declination = Degrees(std::asin(std::sin(Radians(obliquity)) * std::sin(Radians(apparentLongitude))));
    const double y = std::pow(std::tan(Radians(obliquity / 2)), 2);
    const double l0 = Radians(meanLongitude);
    solar.equationOfTime = 4.0 *
        Degrees(y * std::sin(2 * l0) - 2 * eccentricity * std::sin(m) +
                4 * eccentricity * y * std::sin(m) * std::cos(2 * l0) - 0.5 * y * y * std::sin(4 * l0) -
                1.25 * eccentricity * eccentricity * std::sin(2 * m));
    return solar;
}

// cos of the hour angle at which the sun reaches the zenith angle; outside [-1, 1] it never does.
double HourAngleCosine(double latitude, double declination, double zenith)
{
    return std::cos(Radians(zenith)) / (std::cos(Radians(latitude)) * std::cos(Radians(declination))) -
        std::tan(Radians(latitude)) * std::tan(Radians(declination));
}
}  // namespace

SunDay SunTimes(const QDate& date, double latitude, double longitude, bool civilTwilight)
{
    const double zenith = civilTwilight ? kCivilZenith : kSunriseZenith;
    const double midnight = static_cast<double>(date.toJulianDay()) - 0.5;  // 0:00 UTC of the date
    // Minutes after 0:00 UTC: first with the sun of local noon, then again with the sun of the
    // time found, which puts each event within seconds of the calculator's.
    const auto eventMinutes = [&](int sign, SunDay::Kind* kind) {
        double minutes = 720.0 - 4.0 * longitude;
        for (int pass = 0; pass < 3; ++pass) {
            const Solar solar = SolarAt(midnight + minutes / 1440.0);
            const double cosine = HourAngleCosine(latitude, solar.declination, zenith);
            if (cosine > 1.0 || cosine < -1.0) {
                *kind = cosine > 1.0 ? SunDay::Kind::AlwaysDown : SunDay::Kind::AlwaysUp;
                return 0.0;
            }
            minutes = 720.0 - 4.0 * longitude - solar.equationOfTime + sign * 4.0 * Degrees(std::acos(cosine));
        }
        return minutes;
    };
    SunDay day;
    const double rise = eventMinutes(-1, &day.kind);
    const double set = day.kind == SunDay::Kind::RisesAndSets ? eventMinutes(1, &day.kind) : 0.0;
    if (day.kind != SunDay::Kind::RisesAndSets)
        return day;
    const QDateTime start(date, QTime(0, 0), QTimeZone::utc());
    day.rise = start.addMSecs(static_cast<qint64>(std::llround(rise * 60'000.0)));
    day.set = start.addMSecs(static_cast<qint64>(std::llround(set * 60'000.0)));
    return day;
}

bool IsDaylight(const QDateTime& time, double latitude, double longitude, bool civilTwilight)
{
    // The day whose solar noon is nearest: the UTC time moved by the longitude (4 minutes a degree).
    const QDateTime utc = time.toUTC();
    const QDate solarDate = utc.addSecs(static_cast<qint64>(longitude * 240.0)).date();
    const SunDay day = SunTimes(solarDate, latitude, longitude, civilTwilight);
    if (day.kind != SunDay::Kind::RisesAndSets)
        return day.kind == SunDay::Kind::AlwaysUp;
    return utc >= day.rise && utc < day.set;
}
