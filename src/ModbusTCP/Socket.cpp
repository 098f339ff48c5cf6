#include "ModbusTCP/Socket.hpp"

#include <unistd.h>

namespace tessarin {

Socket& Socket::operator=(Socket&& other) noexcept {
    if (this != &other) {
        close();
        m_fd = other.release();
    }
    return *this;
}

void Socket::close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

}  // namespace tessarin
