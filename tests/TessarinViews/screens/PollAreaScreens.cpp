// Renders the poll area offscreen in the states people see most, one PNG each, in the
// language the environment chooses (LANGUAGE=de …):
//   poll_area_screens <output folder>
// The live values come from the libmodbus test peer; failures are scripted events.
#include "ModbusCore/Bytes.hpp"
#include "ModbusCore/MBAPHeader.hpp"
#include "Localization/Language.hpp"
#include "TessarinModel/DesktopServices.hpp"
#include "TessarinModel/PollerModel.hpp"
#include "TessarinViews/DatapointTableView.hpp"
#include "TessarinViews/PollArea.hpp"
#include "TessarinViews/WriteEditor.hpp"
#include "support/PeerProcess.hpp"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPainter>
#include <QSettings>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>

namespace {

using namespace tessarin;

constexpr QSize windowSize{1100, 560};
constexpr int capMs = 20'000;

class NoDialogs final : public DesktopServices {
public:
    std::optional<QString> runOpenPanel(const OpenPanelRequest&) override { return std::nullopt; }
    std::optional<QString> runSavePanel(const SavePanelRequest&) override { return std::nullopt; }
    AlertResponse runAlert(const AlertRequest&) override { return AlertResponse::first; }
};

Datapoint point(std::string name, RegisterTable table, std::uint16_t address, DataType type,
                std::string unit = {}, double scale = 1) {
    Datapoint p;
    p.name = std::move(name);
    p.table = table;
    p.address = address;
    p.dataType = type;
    p.engineeringUnit = std::move(unit);
    p.scale = scale;
    return Datapoint::make(std::move(p));
}

std::vector<Poll> meterPolls() {
    Poll meter;
    meter.name = "Meter";
    meter.intervalMs = 250;
    meter.datapoints = {
        point("Voltage L1", RegisterTable::holdingRegister, 230, DataType::uint16, "V"),
        point("Current L1", RegisterTable::inputRegister, 12, DataType::int16, "A", 0.01),
        point("Energy", RegisterTable::holdingRegister, 40, DataType::uint32, "kWh", 0.1),
        point("Setpoint", RegisterTable::holdingRegister, 7, DataType::int16, "°C", 0.1),
        point("Pump", RegisterTable::coil, 3, DataType::bool_),
        point("Alarm", RegisterTable::discreteInput, 1, DataType::bool_),
        point("Status word", RegisterTable::holdingRegister, 100, DataType::uint16),
    };
    meter.datapoints.back().format = DisplayFormat::hex;
    meter.plotted = {meter.datapoints[0].id};
    Poll slow;
    slow.name = "Counters";
    slow.intervalMs = 5000;
    slow.datapoints = {point("Hours", RegisterTable::holdingRegister, 300, DataType::uint32, "h")};
    Poll spare;
    spare.enabled = false;
    spare.datapoints = {point("Spare", RegisterTable::holdingRegister, 500, DataType::uint16)};
    return {meter, slow, spare};
}

struct Scene {
    NoDialogs services;
    std::unique_ptr<PollerModel> model;
    std::unique_ptr<PollArea> area;

    Scene(std::vector<Poll> polls, std::uint16_t port) {
        QSettings(QStringLiteral("Tessarin"), QStringLiteral("Tessarin")).clear();
        model = std::make_unique<PollerModel>(services);
        PollerProject project = model->makeProject();
        project.host = "127.0.0.1";
        project.port = port;
        project.polls = std::move(polls);
        model->apply(project);
        area = std::make_unique<PollArea>(*model);
        area->resize(windowSize);
        area->show();
        QCoreApplication::processEvents();
    }
    ~Scene() {
        area.reset();
        if (model) model->stop();
    }
};

bool save(QPixmap pixmap, const QString& folder, const QString& name) {
    const QString path = folder + QLatin1Char('/') + name + QLatin1Char('-') +
                         QString::fromLatin1(rawValue(currentLanguage())) + QStringLiteral(".png");
    const bool ok = pixmap.save(path);
    std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
    return ok;
}

// Lets the fades end, then takes the picture.
QPixmap settle(QWidget& widget) {
    QTest::qWait(300);
    return widget.grab();
}

bool readLive(Scene& scene) {
    scene.model->start();
    const Poll& poll = scene.model->polls().front();
    return QTest::qWaitFor(
        [&] {
            return std::ranges::all_of(poll.datapoints, [&](const Datapoint& p) {
                const PointStatus* status = scene.model->status(p.id);
                return status != nullptr && status->value;
            });
        },
        capMs);
}

bool reading(const QString& folder, std::uint16_t port, const QString& name) {
    Scene scene(meterPolls(), port);
    if (!readLive(scene)) return false;
    scene.area->table().selectRow(3);
    return save(settle(*scene.area), folder, name);
}

bool writeEditorOpen(const QString& folder, std::uint16_t port) {
    Scene scene(meterPolls(), port);
    if (!readLive(scene)) return false;
    scene.area->table().selectRow(3);
    scene.area->openWriteEditor(3);
    WriteEditor* editor = scene.area->writeEditor();
    if (editor == nullptr) return false;
    editor->field()->setText(QStringLiteral("40000"));
    editor->submit();
    QPixmap picture = settle(*scene.area);
    // The popup is a window of its own; put it where it floats over the area.
    QPainter painter(&picture);
    painter.drawPixmap(scene.area->mapFromGlobal(editor->pos()), editor->grab());
    painter.end();
    return save(picture, folder, QStringLiteral("write-editor"));
}

bool failing(const QString& folder, std::uint16_t refusingPort) {
    Scene scene(meterPolls(), refusingPort);
    PollerModel& model = *scene.model;
    model.start();
    const Poll& poll = model.polls().front();
    const ReadBlock block{.unit = 1, .table = RegisterTable::holdingRegister, .address = 230, .count = 1};
    std::vector<std::uint8_t> pdu{0x03, 0x02};
    appendUInt16(pdu, 231);
    model.handle({PollerEvent::Read{poll.id, block, PDU::ReadData::registers({231}),
                                    MBAPHeader::message(1, 1, block.pdu()), MBAPHeader::message(1, 1, pdu), 0.018}});
    const ReadBlock energy{.unit = 1, .table = RegisterTable::holdingRegister, .address = 40, .count = 2};
    model.handle({PollerEvent::Read{poll.id, energy, std::unexpected(PollFailureError{PollFailure::exception(2)}),
                                    {}, {}, 0.02}});
    for (int i = 0; i < 3; ++i) {
        model.handle({PollerEvent::Read{poll.id, block, std::unexpected(PollFailureError{PollFailure::timeout()}),
                                        {}, {}, 1.0}});
    }
    model.handle({PollerEvent::ConnectionFailed{"Connection to 127.0.0.1:" + std::to_string(refusingPort) +
                                                " failed: Connection refused"}});
    model.write(poll.datapoints[3], 21.5);
    if (!model.pendingWrites().empty()) {
        model.handle({PollerEvent::Wrote{model.pendingWrites().begin()->first, 1,
                                         std::unexpected(PollFailureError{PollFailure::timeout()}), {}, {}, 1.0}});
    }
    return save(settle(*scene.area), folder, QStringLiteral("failing"));
}

bool empty(const QString& folder, std::uint16_t port) {
    std::vector<Poll> polls = meterPolls();
    Poll fresh;
    fresh.name = "New poll";
    polls.push_back(fresh);
    Scene scene(polls, port);
    scene.model->setSelectedPollID(scene.model->polls().back().id);
    return save(settle(*scene.area), folder, QStringLiteral("empty"));
}

QPalette darkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x26, 0x27, 0x2B));
    dark.setColor(QPalette::WindowText, QColor(0xEC, 0xEC, 0xEE));
    dark.setColor(QPalette::Base, QColor(0x1E, 0x1F, 0x22));
    dark.setColor(QPalette::AlternateBase, QColor(0x2A, 0x2B, 0x30));
    dark.setColor(QPalette::Text, QColor(0xEC, 0xEC, 0xEE));
    dark.setColor(QPalette::Button, QColor(0x33, 0x34, 0x39));
    dark.setColor(QPalette::ButtonText, QColor(0xEC, 0xEC, 0xEE));
    dark.setColor(QPalette::Highlight, QColor(0x2F, 0x6F, 0xD6));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::ToolTipBase, QColor(0x33, 0x34, 0x39));
    dark.setColor(QPalette::ToolTipText, QColor(0xEC, 0xEC, 0xEE));
    dark.setColor(QPalette::PlaceholderText, QColor(0x8A, 0x8B, 0x90));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(0x6A, 0x6B, 0x70));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x6A, 0x6B, 0x70));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x6A, 0x6B, 0x70));
    return dark;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8() + "/data");
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8() + "/config");
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    auto peer = tessarin::test::PeerProcess::start(tessarin::test::PeerKind::libmodbusTCP);
    if (!peer) {
        std::fprintf(stderr, "%s\n", peer.error().c_str());
        return 1;
    }
    bool ok = reading(folder, peer->port(), QStringLiteral("reading"));
    ok = writeEditorOpen(folder, peer->port()) && ok;
    ok = failing(folder, 1) && ok;
    ok = empty(folder, peer->port()) && ok;
    QApplication::setPalette(darkPalette());
    ok = reading(folder, peer->port(), QStringLiteral("dark")) && ok;
    return ok ? 0 : 1;
}
