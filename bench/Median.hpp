#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace tessarin::bench {

// The median of the rounds' figures; one slow round on a busy machine moves it least.
inline double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::ranges::sort(values);
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace tessarin::bench
