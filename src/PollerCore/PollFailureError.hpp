#pragma once

#include "ModbusCore/PollFailure.hpp"

namespace tessarin {

// A PollFailure carried as the error of a request's result.
struct PollFailureError {
    PollFailure failure;

    bool operator==(const PollFailureError&) const = default;
};

}  // namespace tessarin
