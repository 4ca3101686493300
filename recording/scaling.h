#pragma once
// The arithmetic of a value axis: conversion of raw samples to physical values, rounding
// to an input's resolution, and the label step of an axis. Pure functions, no state.
#include <cstdint>

namespace qz {

// physical value = raw x gain + offset, in extended precision.
struct Conversion {
    long double gain = 0;
    long double offset = 0;
    long double resolution = 0; // one two-hundredth of the calibrated span (may be 0 or negative)

    long double physical(long double raw) const { return raw * gain + offset; }
};

// From an input's scale values and calibration readings (already divided by 256).
// A calibration without span (calHigh = calLow) has no usable slope: the input then reads
// scaleLow everywhere instead of dividing by zero.
Conversion makeConversion(double scaleLow, double scaleHigh, long double calLow, long double calHigh);

// v rounded to the nearest multiple of resolution, halves to even. With a resolution of 0
// (scale high = scale low) or a result that is not finite, v is returned unrounded.
long double normalize(long double v, long double resolution);

// 0..9 -> 10, 10..20 -> 20, 21..25 -> 25, 26..50 -> 50, 51..75 -> 75, 76..99 -> 100,
// sign kept; 100 and more -> -1.
int niceStep(int n);

// Step with two significant digits rounded up to 10, 20, 25, 50, 75 or 100 times a power
// of ten (3.7 -> 5, 0.37 -> 0.5, 150 -> 200). 0 for a value that is not finite.
long double roundAxisStep(long double x);

// Physical top and bottom of an axis and its label step.
struct AxisScale {
    long double top = 0; // PT
    long double bottom = 0; // PB
    long double step = 0; // S
};

AxisScale computeAxisScale(const Conversion& c, double rawTop, double rawBottom);

} // namespace qz
