#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace tessarin::bench {

// Points settings and the autosave file at a folder of the benchmark's own, never the user's,
// and draws offscreen unless a platform was asked for. Call before the application object.
inline void useOwnHome(const QString& home) {
    qputenv("HOME", home.toUtf8());
    qputenv("XDG_DATA_HOME", (home + QStringLiteral("/data")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (home + QStringLiteral("/config")).toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

}  // namespace tessarin::bench
