#include "ui/gradient.h"

namespace {

int BandPart(int start, int delta, int index) {
    // 64-bit: settings may hold any int, and index * delta must not overflow.
    long long value = start + static_cast<long long>(index) * delta / (kGradientBands - 1);
    if (value < 0) {
        return 0;
    }
    if (value > 255) {
        return 255;
    }
    return static_cast<int>(value);
}

int BandBottom(int index, int clientHeight) {
    return static_cast<int>(static_cast<long long>(index + 1) * clientHeight / kGradientBands);
}

} // namespace

GradientBand ComputeGradientBand(int index, int clientHeight, RgbTriple start, RgbTriple delta) {
    GradientBand band;
    band.top = index == 0 ? -1 : BandBottom(index - 1, clientHeight);
    band.bottom = BandBottom(index, clientHeight);
    band.colour = {BandPart(start.red, delta.red, index), BandPart(start.green, delta.green, index),
                   BandPart(start.blue, delta.blue, index)};
    return band;
}
