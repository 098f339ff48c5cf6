#include "TessarinModel/AtomicFile.hpp"

#include <QSaveFile>

#include <algorithm>
#include <cerrno>

namespace tessarin::AtomicFile {
namespace {

std::optional<qint64> spaceLimit;

// Bytes per write call: small enough that a short write shows up before much more is lost.
constexpr qint64 chunkSize = qint64{64} * 1024;

}  // namespace

void setSpaceLimitForTesting(std::optional<qint64> bytes) {
    spaceLimit = bytes;
}

std::expected<void, QString> write(const QString& path, QByteArrayView data) {
    QSaveFile file(path);
    // Unbuffered, so that every write reaches the system and its count is the real one. A
    // buffered QSaveFile reports success for bytes that a full disk later refuses, and Qt
    // then commits the truncated file over the original.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return std::unexpected(file.errorString());
    }
    qint64 written = 0;
    const qint64 total = data.size();
    while (written < total) {
        qint64 request = std::min(chunkSize, total - written);
        std::optional<QString> injected;
        if (spaceLimit) {
            const qint64 room = std::max<qint64>(0, *spaceLimit - written);
            if (room == 0) {
                injected = qt_error_string(ENOSPC);
            }
            request = std::min(request, room);
        }
        const qint64 count = injected ? -1 : file.write(data.data() + written, request);
        if (count <= 0) {
            QString reason = injected.value_or(file.errorString());
            file.cancelWriting();
            return std::unexpected(std::move(reason));
        }
        // A short count is not an error by itself; the next call either goes on or fails
        // with the system's reason (for a full disk: no space left).
        written += count;
    }
    if (!file.commit()) {
        return std::unexpected(file.errorString());
    }
    return {};
}

}  // namespace tessarin::AtomicFile
