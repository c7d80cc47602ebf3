// The mean and spread of many draws of a scattered quantity, for tests of
// the models' random scatter.
#pragma once

#include <cmath>

namespace brv::test {

struct Sample {
    double mean = 0;
    double rms = 0;  // root mean square: the spread about 0
    double sd = 0;   // standard deviation: the spread about the mean
};

// n draws, summed in double precision.
template <class Draw>
Sample SampleOf(int n, Draw draw)
{
    double sum = 0, squares = 0;
    for (int i = 0; i < n; ++i) {
        const double x = draw();
        sum += x;
        squares += x * x;
    }
    const double mean = sum / n;
    return {mean, std::sqrt(squares / n), std::sqrt(squares / n - mean * mean)};
}

}  // namespace brv::test
