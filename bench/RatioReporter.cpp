#include "RatioReporter.h"

#include <cstdio>

void RatioReporter::ReportRuns(const std::vector<Run>& reports)
{
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
        if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median")
            continue;
        const double toUs = 1e6 / benchmark::GetTimeUnitMultiplier(run.time_unit);
        m_medianUs[run.run_name.function_name] = run.GetAdjustedRealTime() * toUs;
    }
}

bool RatioReporter::PrintRatios(const std::vector<Pair>& pairs, const char* heading) const
{
    bool allMet = true;
    std::printf("\n%s (medians):\n", heading);
    for (const Pair& pair : pairs) {
        const auto store = m_medianUs.find(pair.store);
        const auto raw = m_medianUs.find(pair.raw);
        if (store == m_medianUs.end() || raw == m_medianUs.end() || raw->second <= 0)
            continue;
        const double ratio = store->second / raw->second;
        const char* verdict = "info";
        if (pair.target > 0) {
            verdict = ratio <= pair.target ? "within target" : "OVER TARGET";
            allMet = allMet && ratio <= pair.target;
        }
        char target[32] = "";
        if (pair.target > 0)
            std::snprintf(target, sizeof target, "<= %.1fx", pair.target);
        std::printf("  %-58s %10.2f us / %10.2f us = %5.2fx  %-8s %s\n", pair.label.c_str(), store->second,
                    raw->second, ratio, target, verdict);
    }
    return allMet;
}

bool RatioReporter::PrintUnder(const std::vector<std::string>& names, double limitUs, const char* what) const
{
    bool allMet = true;
    std::printf("\nAgainst %s (%.0f us):\n", what, limitUs);
    for (const std::string& name : names) {
        const auto found = m_medianUs.find(name);
        if (found == m_medianUs.end())
            continue;
        const bool met = found->second <= limitUs;
        allMet = allMet && met;
        std::printf("  %-30s %10.2f us  %s\n", name.c_str(), found->second, met ? "within" : "OVER");
    }
    return allMet;
}
