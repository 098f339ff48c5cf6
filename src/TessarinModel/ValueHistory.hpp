#pragma once

#include "ModbusCore/Datapoint.hpp"
#include "ModbusCore/Uuid.hpp"
#include "TessarinModel/ChartSeries.hpp"
#include "TessarinModel/Sample.hpp"

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

namespace tessarin {

// The recorded values of every datapoint, in memory only. Each datapoint keeps its newest
// maxSamples samples in the order recorded; recording is constant time (a ring once full) and
// beyond a first small block the storage never reserves more than half as many samples again as
// it holds, so a sample costs at most 24 bytes. Main thread only.
class ValueHistory {
public:
    static constexpr std::size_t maxSamples = 20'000;
    // A series longer than this is thinned to this many evenly spread samples plus the newest.
    static constexpr std::size_t maxSeriesPoints = 1'500;

    // The samples of one datapoint, oldest first, as the two contiguous runs of its ring
    // (second is empty until the ring has wrapped).
    struct Runs {
        std::span<const Sample> first;
        std::span<const Sample> second;

        [[nodiscard]] std::size_t size() const { return first.size() + second.size(); }
        [[nodiscard]] const Sample& operator[](std::size_t i) const {
            return i < first.size() ? first[i] : second[i - first.size()];
        }
    };

    // Appends a sample; the oldest one goes when the datapoint already holds maxSamples.
    void record(const Uuid& pointID, const Sample& sample);
    // Drops one datapoint's samples (it was deleted, or is now read differently).
    void forget(const Uuid& pointID);
    void clear();

    [[nodiscard]] bool empty() const { return m_rings.empty(); }
    [[nodiscard]] Runs samples(const Uuid& pointID) const;
    // Copies, oldest first; empty for a datapoint without samples.
    [[nodiscard]] std::vector<Sample> sampleVector(const Uuid& pointID) const;

    // The chart's series of a datapoint: its samples at or after since (all of them without a
    // cut-off), thinned; no series when none is left.
    [[nodiscard]] std::optional<ChartSeries> series(
        const Datapoint& point, std::optional<std::chrono::system_clock::time_point> since) const;

    // Up to maxSeriesPoints samples at positions ⌊(n ÷ maxSeriesPoints) × i⌋, then the newest
    // one, so a thinned line still ends at the latest value; short lists come back unchanged.
    [[nodiscard]] static std::vector<Sample> thinned(std::vector<Sample> samples);

    // Samples held, over all datapoints, and the bytes their storage occupies.
    [[nodiscard]] std::size_t sampleCount() const;
    [[nodiscard]] std::size_t storageBytes() const;

private:
    // Until it is full the ring is a growing vector; from then on `oldest` walks round it.
    struct Ring {
        std::vector<Sample> samples;
        std::size_t oldest = 0;
    };

    std::unordered_map<Uuid, Ring> m_rings;
};

}  // namespace tessarin
