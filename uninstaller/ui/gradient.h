#pragma once
// The background window's colour gradient, as plain arithmetic.

struct RgbTriple {
    int red;
    int green;
    int blue;
};

constexpr int kGradientBands = 96;

struct GradientBand {
    int top;    // previous band's bottom; -1 for the first band
    int bottom; // (index + 1) * clientHeight / 96
    RgbTriple colour;
};

// Band `index` (0..95) of a client area `clientHeight` pixels high, for a
// gradient from `start` at the top by `delta` (bottom minus top) per colour.
// Each colour part is held between 0 and 255.
GradientBand ComputeGradientBand(int index, int clientHeight, RgbTriple start, RgbTriple delta);
