// Where the planets really stand: heliocentric ecliptic longitudes from mean
// orbital elements and their rates per century, good to a few minutes of arc
// from 1800 to 2050 and drifting slowly outside those years. Nothing here
// includes <windows.h> or GL, so it is tested natively.
#pragma once

// Days from 2000 January 1, 12:00, for a UTC date and time. The elements count
// in terrestrial time, a minute or so ahead of UTC: far less than they can tell.
double DaysSinceJ2000(int year, int month, int day, int hour, int minute, int second);

// Heliocentric ecliptic longitude of planet row `index` (1 to 9; 3 is the
// Earth-Moon barycentre) `days` after J2000, in degrees within [0, 360), from
// the equinox of that day, as almanacs give them. 0 for a row that is no planet.
double HeliocentricLongitude(int index, double days);

// The model's orbit angle, radians within one turn, for a longitude in degrees:
// longitude 0 lies along +z (the angle 0), and as a planet moves on in longitude
// its angle grows, the way the animation advances it.
float OrbitAngleForLongitude(double longitude);
