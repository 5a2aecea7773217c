#pragma once

#include <cstdlib>

// The size factor of a benchmark run (1, 2, 4, ...): the first command-line argument, else the
// environment variable TESSALY_BENCH_SCALE, else 1. Anything that is not a positive number
// counts as 1.
namespace BenchScale {

inline int factor(int argc, char** argv)
{
    const char* text = argc > 1 ? argv[1] : std::getenv("TESSALY_BENCH_SCALE");
    const int value = text ? std::atoi(text) : 1;
    return value > 0 ? value : 1;
}

} // namespace BenchScale
