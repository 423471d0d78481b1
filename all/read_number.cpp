#include "read_number.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

int ReadNumber(const std::string& s) {
    // Saturates rather than wraps: "4294968320" must not turn into 1024.
    long long n = std::strtoll(s.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(n, INT_MIN, INT_MAX));
}
