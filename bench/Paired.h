#pragma once

// Times a measurement and its reference in turn within one run, so that a busy
// machine slows both alike, and reports the ratio of their medians.

#include <benchmark/benchmark.h>

#include <QElapsedTimer>

#include <algorithm>
#include <string>
#include <vector>

namespace corvanta::bench {

inline double median(std::vector<double> samples)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    return samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
}

template <typename Work> double secondsOf(Work&& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

// Collects the samples of one measurement and its references; the benchmark's own
// time is the measurement's (use ->UseManualTime()).
class Paired {
public:
    explicit Paired(benchmark::State& state) : m_state(state) {}

    template <typename Work> void measure(Work&& work)
    {
        const double seconds = secondsOf(work);
        m_measured.push_back(seconds);
        m_state.SetIterationTime(seconds);
    }

    template <typename Work> void reference(const std::string& name, Work&& work)
    {
        auto found = std::find_if(m_references.begin(), m_references.end(),
                                  [&](const auto& r) { return r.first == name; });
        if (found == m_references.end())
            found = m_references.insert(m_references.end(), {name, {}});
        found->second.push_back(secondsOf(work));
    }

    // Sets the counters: the medians in ms and "x_<reference>", the measurement's
    // median over the reference's.
    void report()
    {
        const double measured = median(m_measured);
        m_state.counters["median_ms"] = measured * 1000;
        for (const auto& [name, samples] : m_references) {
            const double reference = median(samples);
            m_state.counters[name + "_ms"] = reference * 1000;
            m_state.counters["x_" + name] = reference > 0 ? measured / reference : 0;
        }
    }

private:
    benchmark::State& m_state;
    std::vector<double> m_measured;
    std::vector<std::pair<std::string, std::vector<double>>> m_references;
};

} // namespace corvanta::bench
