#include "TessarinModel/ValueHistory.hpp"

#include "TessarinModel/ModelText.hpp"
#include "TessarinModel/PollerModel.hpp"

#include <algorithm>
#include <iterator>

namespace tessarin {
namespace {

constexpr std::size_t initialCapacity = 64;

// Growing by half rather than doubling keeps unused capacity below half the samples held,
// which is what bounds a sample's cost at 24 bytes.
std::size_t grownCapacity(std::size_t capacity) {
    return std::min(ValueHistory::maxSamples, std::max(initialCapacity, capacity + capacity / 2));
}

}  // namespace

void ValueHistory::record(const Uuid& pointID, const Sample& sample) {
    Ring& ring = m_rings[pointID];
    std::vector<Sample>& samples = ring.samples;
    if (samples.size() < maxSamples) {
        if (samples.size() == samples.capacity()) {
            samples.reserve(grownCapacity(samples.capacity()));
        }
        samples.push_back(sample);
        return;
    }
    samples[ring.oldest] = sample;
    ring.oldest = (ring.oldest + 1) % maxSamples;
}

void ValueHistory::forget(const Uuid& pointID) {
    m_rings.erase(pointID);
}

void ValueHistory::clear() {
    m_rings.clear();
}

ValueHistory::Runs ValueHistory::samples(const Uuid& pointID) const {
    const auto found = m_rings.find(pointID);
    if (found == m_rings.end()) {
        return {};
    }
    const std::span<const Sample> all(found->second.samples);
    const std::size_t oldest = found->second.oldest;
    return {all.subspan(oldest), all.first(oldest)};
}

std::vector<Sample> ValueHistory::sampleVector(const Uuid& pointID) const {
    const Runs runs = samples(pointID);
    std::vector<Sample> out;
    out.reserve(runs.size());
    out.insert(out.end(), runs.first.begin(), runs.first.end());
    out.insert(out.end(), runs.second.begin(), runs.second.end());
    return out;
}

std::optional<ChartSeries> ValueHistory::series(
    const Datapoint& point, std::optional<std::chrono::system_clock::time_point> since) const {
    std::vector<Sample> kept;
    if (!since) {
        kept = sampleVector(point.id);
    } else {
        // A filter rather than a search for the cut-off: samples are in the order recorded,
        // and a clock set back while reading would break the time order a search relies on.
        const Runs runs = samples(point.id);
        for (const std::span<const Sample> run : {runs.first, runs.second}) {
            std::ranges::copy_if(run, std::back_inserter(kept),
                                 [&](const Sample& sample) { return sample.time >= *since; });
        }
    }
    if (kept.empty()) {
        return std::nullopt;
    }
    QString name = PollerModel::label(point);
    if (!point.engineeringUnit.empty()) {
        name += QStringLiteral(" (") + qtText(point.engineeringUnit) + u')';
    }
    return ChartSeries{.id = point.id, .name = std::move(name), .samples = thinned(std::move(kept))};
}

std::vector<Sample> ValueHistory::thinned(std::vector<Sample> samples) {
    const std::size_t n = samples.size();
    if (n <= maxSeriesPoints) {
        return samples;
    }
    const double step = static_cast<double>(n) / static_cast<double>(maxSeriesPoints);
    std::vector<Sample> out;
    out.reserve(maxSeriesPoints + 1);
    for (std::size_t i = 0; i < maxSeriesPoints; ++i) {
        out.push_back(samples[static_cast<std::size_t>(step * static_cast<double>(i))]);
    }
    out.push_back(samples.back());
    return out;
}

std::size_t ValueHistory::sampleCount() const {
    std::size_t count = 0;
    for (const auto& [pointID, ring] : m_rings) {
        count += ring.samples.size();
    }
    return count;
}

std::size_t ValueHistory::storageBytes() const {
    std::size_t bytes = 0;
    for (const auto& [pointID, ring] : m_rings) {
        bytes += ring.samples.capacity() * sizeof(Sample);
    }
    return bytes;
}

}  // namespace tessarin
