#pragma once
// Round numbers for the value axes of the drawing with one axis per unit: label steps of
// 1, 2, 2.5 or 5 times a power of ten, and the labels on their multiples. Pure arithmetic.
#include <QString>

#include <vector>

namespace qz {

// The smallest step of 1, 2, 2.5 or 5 times a power of ten that is at least rough; 0 for
// a rough step that is not a positive finite number.
double roundStepAtLeast(double rough);

// The smallest round step whose labels on a plot of height pixels for low..high stand at
// least spacing pixels apart, but never more than the range, so that at least one label
// stands on it; 0 when the range is empty or not finite.
double labelStep(double low, double high, double height, double spacing);

// The multiples of step within low..high (each within a millionth of a step of the
// range counts as inside), from the lowest up.
std::vector<double> roundValues(double low, double high, double step);

// Decimals a label of the step needs: 0 for 5, 1 for 2.5 or 0.5, 2 for 0.25.
int stepDecimals(double step);

// A label: the value with the step's decimals in the locale's form; a value within a
// millionth of a step of 0 reads 0.
QString roundLabel(double value, double step);

// low..high widened outwards to multiples of a round step of about an eighth of it.
void roundOutwards(double& low, double& high);

} // namespace qz
