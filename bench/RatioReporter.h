#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Prints the usual table and keeps each benchmark's median real time, so that our operations can
// be set against the floors (raw SQLite, plain Qt widgets) measured in the same run.
class RatioReporter : public benchmark::ConsoleReporter
{
  public:
    void ReportRuns(const std::vector<Run>& reports) override;

    struct Pair
    {
        std::string label;
        std::string store;
        std::string raw;
        double target; // 0: for information only
    };
    // Prints the heading and one line per pair; returns false if a pair with a target missed it.
    bool
    PrintRatios(const std::vector<Pair>& pairs,
                const char* heading = "Store operation against raw SQLite, same durability, same disk") const;

    // Prints each benchmark's median against an absolute limit; false if one is over it.
    bool PrintUnder(const std::vector<std::string>& names, double limitUs, const char* what) const;

  private:
    std::map<std::string, double> m_medianUs;
};

// Registers a benchmark that runs a fixed number of iterations, `repetitions` times, and reports
// only the aggregates (the reporter above keeps their medians).
inline void RegisterRepeated(const char* name, void (*fn)(benchmark::State&), int iterations, int repetitions)
{
    benchmark::RegisterBenchmark(name, fn)
        ->Iterations(iterations)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMicrosecond);
}
