#pragma once

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

// Prints as usual, keeps the medians, and at the end prints one benchmark's median as a ratio of
// another's: the figure is measured against its baseline in the same run.
class RatioReporter final : public benchmark::ConsoleReporter
{
public:
    RatioReporter(std::string measured, std::string baseline, std::string label)
        : m_measured(std::move(measured)), m_baseline(std::move(baseline)), m_label(std::move(label))
    {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    // Runs the benchmarks the command line names with this reporter, then prints the ratio.
    int runAll(int argc, char** argv)
    {
        benchmark::Initialize(&argc, argv);
        if (benchmark::ReportUnrecognizedArguments(argc, argv))
            return 1;
        benchmark::RunSpecifiedBenchmarks(this);
        benchmark::Shutdown();
        print();
        return 0;
    }

    void print() const
    {
        const auto measured = m_medians.find(m_measured);
        const auto baseline = m_medians.find(m_baseline);
        if (measured == m_medians.end() || baseline == m_medians.end() || !(baseline->second > 0)) {
            std::printf("ratio: needs --benchmark_repetitions (medians of both benchmarks)\n");
            return;
        }
        std::printf("ratio of medians, %s: %.3fx\n", m_label.c_str(), measured->second / baseline->second);
    }

private:
    std::string m_measured;
    std::string m_baseline;
    std::string m_label;
    std::map<std::string, double> m_medians;
};
