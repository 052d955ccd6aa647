#pragma once
// Sunrise and sunset (or the start and end of civil twilight) at a place and date, computed
// here with the NOAA solar calculator's equations (the sun's mean longitude and anomaly, the
// equation of time and the declination, to the Julian century), with no web service.
// Good to about a minute between the polar circles.
#include <QDate>
#include <QDateTime>

struct SunDay {
    enum class Kind {
        RisesAndSets,
        AlwaysUp,    // the sun never goes down that day (midnight sun; or twilight all night)
        AlwaysDown,  // it never comes up (polar night)
    };
    Kind kind = Kind::RisesAndSets;
    QDateTime rise;  // UTC; only for RisesAndSets
    QDateTime set;
};

// The day at the place whose local solar noon falls on `date` (UTC date shifted by the
// longitude). latitude: degrees north (-90..90); longitude: degrees east (-180..180).
// civilTwilight: from the start of morning civil twilight (the sun 6° below the horizon) to the
// end of evening civil twilight, rather than from sunrise (the upper limb at the horizon, with
// the usual refraction: 90.833°) to sunset.
SunDay SunTimes(const QDate& date, double latitude, double longitude, bool civilTwilight = false);

// Whether the sun is up (or civil twilight has begun and not ended) at the place at `time`.
bool IsDaylight(const QDateTime& time, double latitude, double longitude, bool civilTwilight = false);
