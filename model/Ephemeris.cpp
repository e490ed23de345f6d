#include "model/Ephemeris.h"

#include "common/Util.h"

#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Radians = Pi / 180.0;

// Mean elements at J2000 and their change per Julian century: eccentricity,
// inclination (degrees), mean longitude, longitude of perihelion and of the
// ascending node (degrees). The semi-major axis does not move the longitude.
struct Elements {
    double e, de;
    double i, di;
    double L, dL;
    double peri, dperi;
    double node, dnode;
};

// clang-format off
constexpr Elements PlanetElements[10] = {
    {},  // the Sun
    {0.20563593,  0.00001906,  7.00497902, -0.00594749, 252.25032350, 149472.67411175,  77.45779628,  0.16047689,  48.33076593, -0.12534081},
    {0.00677672, -0.00004107,  3.39467605, -0.00078890, 181.97909950,  58517.81538729, 131.60246718,  0.00268329,  76.67984255, -0.27769418},
    {0.01671123, -0.00004392, -0.00001531, -0.01294668, 100.46457166,  35999.37244981, 102.93768193,  0.32327364,   0.0,         0.0},
    {0.09339410,  0.00007882,  1.84969142, -0.00813131,  -4.55343205,  19140.30268499, -23.94362959,  0.44441088,  49.55953891, -0.29257343},
    {0.04838624, -0.00013253,  1.30439695, -0.00183714,  34.39644051,   3034.74612775,  14.72847983,  0.21252668, 100.47390909,  0.20469106},
    {0.05386179, -0.00050991,  2.48599187,  0.00193609,  49.95424423,   1222.49362201,  92.59887831, -0.41897216, 113.66242448, -0.28867794},
    {0.04725744, -0.00004397,  0.77263783, -0.00242939, 313.23810451,    428.48202785, 170.95427630,  0.40805281,  74.01692503,  0.04240589},
    {0.00859048,  0.00005105,  1.77004347,  0.00035372, -55.12002969,    218.45945325,  44.96476227, -0.32241464, 131.78422574, -0.00508664},
    {0.24882730,  0.00005170, 17.14001206,  0.00004818, 238.92903833,    145.20780515, 224.06891629, -0.04062942, 110.30393684, -0.01183482},
};
// clang-format on

// Days from 1970-01-01 of a proleptic Gregorian date, counted in 400-year
// eras so that it is exact for every year the clock can give.
long long DaysFromCivil(long long year, int month, int day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153LL * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The eccentric anomaly E of E - e sin E = M (radians), by Newton's method: from
// E = M it settles within a few steps for every planet's eccentricity (Pluto's,
// 0.25, the largest).
double EccentricAnomaly(double meanAnomaly, double e)
{
    double E = meanAnomaly + e * std::sin(meanAnomaly);
    for (int step = 0; step < 30; ++step) {
        const double change = (E - e * std::sin(E) - meanAnomaly) / (1.0 - e * std::cos(E));
        E -= change;
        if (std::fabs(change) < 1e-12) break;
    }
    return E;
}

} // namespace

double DaysSinceJ2000(int year, int month, int day, int hour, int minute, int second)
{
    const double days = static_cast<double>(DaysFromCivil(year, month, day) - DaysFromCivil(2000, 1, 1));
    return days + (hour - 12) / 24.0 + minute / 1440.0 + second / 86400.0;
}

double HeliocentricLongitude(int index, double days)
{
    if (index < 1 || index > 9) return 0.0;
    const Elements& p = PlanetElements[index];
    const double T = days / 36525.0;
    const double e = p.e + p.de * T;
    const double inclination = (p.i + p.di * T) * Radians;
    const double perihelion = p.peri + p.dperi * T;
    const double node = (p.node + p.dnode * T) * Radians;
    const double argument = perihelion * Radians - node;
    // The mean anomaly within a half turn either side of perihelion.
    const double M = std::remainder(p.L + p.dL * T - perihelion, 360.0) * Radians;
    const double E = EccentricAnomaly(M, e);
    // In the orbit's own plane, x towards perihelion (the semi-major axis cancels
    // out of the direction), then turned onto the ecliptic.
    const double x = std::cos(E) - e;
    const double y = std::sqrt(1.0 - e * e) * std::sin(E);
    const double cw = std::cos(argument), sw = std::sin(argument);
    const double cn = std::cos(node), sn = std::sin(node), ci = std::cos(inclination);
    const double ex = (cw * cn - sw * sn * ci) * x + (-sw * cn - cw * sn * ci) * y;
    const double ey = (cw * sn + sw * cn * ci) * x + (-sw * sn + cw * cn * ci) * y;
    // The elements measure from the equinox of J2000; almanacs, and anyone
    // checking the sky against one, count from the equinox of the day, which
    // precession moves on by 1.4 degrees a century.
    const double precession = (5028.796195 * T + 1.1054348 * T * T) / 3600.0;
    double longitude = std::fmod(std::atan2(ey, ex) / Radians + precession, 360.0);
    if (longitude < 0.0) longitude += 360.0;
    return longitude < 360.0 ? longitude : 0.0;
}

float OrbitAngleForLongitude(double longitude)
{
    return AdvanceWithinTurn(0.0f, longitude * Radians, TurnRadians);
}
