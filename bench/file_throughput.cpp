// What a big register map costs the main thread. 100,000 datapoints in one poll, as a
// datapoint CSV and as a project file, are taken in the way the commands take them:
//   (a) Import Datapoints (CSV)… through the model (read, decode, parse, ask, replace the list)
//       against DatapointCSV::parse of the same text alone;
//   (b) Open… through the model (read, decode, apply) against PollerProject::fromDocument alone;
//   (c) the autosave (collect the project, write the file atomically) against making the
//       document text alone;
//   (d) making 100,000 ids now against asking the system's random source for each, as every
//       new datapoint once did.
// Each pair takes turns round by round and the medians are compared, so the ratios say what
// the model adds to the work it cannot avoid.
//
// The last line is for scripts: "ratio import/parse=<a> open/parse=<b> autosave/document=<c>
// ids_before/now=<d>".
//
//   file_throughput [datapoints, default 100000] [rounds, default 5]

#include "ModbusCore/DatapointCSV.hpp"
#include "PollerCore/PollerProject.hpp"
#include "TessarinModel/DesktopServices.hpp"
#include "TessarinModel/PollerModel.hpp"

#include "Median.hpp"
#include "OwnHome.hpp"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace tessarin;
using bench::median;
using Clock = std::chrono::steady_clock;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "file_throughput: %s\n", why.c_str());
    std::exit(1);
}

// Answers the dialogs of one command from a list written before it runs.
class ScriptedDialogs final : public DesktopServices {
public:
    std::deque<QString> paths;
    std::deque<AlertResponse> answers;

    std::optional<QString> runOpenPanel(const OpenPanelRequest&) override { return next(paths); }
    std::optional<QString> runSavePanel(const SavePanelRequest&) override { return next(paths); }
    AlertResponse runAlert(const AlertRequest&) override {
        if (answers.empty()) fail("an alert nobody expected");
        const AlertResponse answer = answers.front();
        answers.pop_front();
        return answer;
    }

private:
    static std::optional<QString> next(std::deque<QString>& queue) {
        if (queue.empty()) fail("a panel nobody expected");
        QString path = queue.front();
        queue.pop_front();
        return path;
    }
};

// A register map as device makers publish them: every type, named and with units.
std::vector<Datapoint> registerMap(int count) {
    std::vector<Datapoint> points;
    points.reserve(static_cast<std::size_t>(count));
    constexpr std::array types{DataType::uint16, DataType::int16, DataType::uint32, DataType::float32};
    for (int i = 0; i < count; ++i) {
        Datapoint fields;
        fields.name = fmt::format("Meter {} phase {} voltage", i / 3, i % 3 + 1);
        fields.unitID = static_cast<std::uint8_t>(1 + i % 247);
        fields.address = static_cast<std::uint16_t>(i % 65000);
        fields.dataType = types[static_cast<std::size_t>(i) % types.size()];
        fields.scale = i % 2 == 0 ? 0.1 : 1;
        fields.engineeringUnit = "V";
        fields.notes = "from the maker's register list";
        points.push_back(Datapoint::make(std::move(fields)));
    }
    return points;
}

void writeFile(const QString& path, const std::string& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()))
        fail("cannot write " + path.toStdString());
}

double secondsOf(const std::function<void()>& work) {
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The id as it was made before: one system random source per id.
Uuid deviceUuid() {
    std::random_device source;
    Uuid uuid;
    for (std::size_t i = 0; i < uuid.bytes.size(); i += 4) {
        const std::uint32_t word = source();
        for (std::size_t j = 0; j < 4; ++j) uuid.bytes[i + j] = static_cast<std::uint8_t>(word >> (8 * j));
    }
    return uuid;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100'000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    if (count < 1 || rounds < 1) fail("usage: file_throughput [datapoints] [rounds]");

    QTemporaryDir home;
    if (!home.isValid()) fail("cannot make a temporary folder");
    bench::useOwnHome(home.path());
    QGuiApplication app(argc, argv);

    Poll poll;
    poll.name = "Plant";
    poll.datapoints = registerMap(count);
    PollerProject project;
    project.polls = {poll};
    const std::string csv = DatapointCSV::export_(poll.datapoints, {',', false});
    const std::string document = project.document();
    const QString csvPath = home.filePath(QStringLiteral("map.csv"));
    const QString projectPath = home.filePath(QStringLiteral("plant.json"));
    writeFile(csvPath, csv);
    writeFile(projectPath, document);
    std::printf("%d datapoints: CSV %.1f MB, project %.1f MB\n", count, static_cast<double>(csv.size()) / 1e6,
                static_cast<double>(document.size()) / 1e6);

    ScriptedDialogs dialogs;
    PollerModel model(dialogs);
    std::vector<double> parse, importing, decode, opening, makeDocument, autosave, idsBefore, idsNow;
    for (int round = 0; round < rounds; ++round) {
        parse.push_back(secondsOf([&] {
            if (DatapointCSV::parse(csv).datapoints.size() != poll.datapoints.size())
                fail("CSV parse lost rows");
        }));
        importing.push_back(secondsOf([&] {
            dialogs.paths = {csvPath};
            dialogs.answers = {AlertResponse::second};  // replace the list
            model.importDatapointsCSV();
        }));
        if (!model.selectedPoll() || model.selectedPoll()->datapoints.size() != poll.datapoints.size())
            fail("the import lost rows");

        decode.push_back(secondsOf([&] {
            if (!PollerProject::fromDocument(document)) fail("the project does not decode");
        }));
        opening.push_back(secondsOf([&] {
            dialogs.paths = {projectPath};
            dialogs.answers = {AlertResponse::second};  // do not save the list it replaces
            model.openProject();
        }));
        if (model.polls().size() != 1 || model.polls().front().datapoints.size() != poll.datapoints.size())
            fail("the open lost rows");

        makeDocument.push_back(secondsOf([&] {
            if (model.makeProject().document().empty()) fail("no document");
        }));
        autosave.push_back(secondsOf([&] { model.autosaveNow(); }));

        std::size_t sink = 0;
        idsBefore.push_back(secondsOf([&] {
            for (int i = 0; i < count; ++i) sink += deviceUuid().bytes[0];
        }));
        idsNow.push_back(secondsOf([&] {
            for (int i = 0; i < count; ++i) sink += Uuid::random().bytes[0];
        }));
        if (sink == 0) fail("no ids");
        std::printf(
            "round %d: parse %.3f s import %.3f s | decode %.3f s open %.3f s | document %.3f s "
            "autosave %.3f s | ids %.3f s → %.3f s\n",
            round + 1, parse.back(), importing.back(), decode.back(), opening.back(), makeDocument.back(),
            autosave.back(), idsBefore.back(), idsNow.back());
    }
    std::printf("ratio import/parse=%.2f open/parse=%.2f autosave/document=%.2f ids_before/now=%.1f\n",
                median(importing) / median(parse), median(opening) / median(decode),
                median(autosave) / median(makeDocument), median(idsBefore) / median(idsNow));
    return 0;
}
