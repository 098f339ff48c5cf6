#pragma once

// The example project is built below the model so that the command-line simulator can serve
// it without Qt; the model keeps including it from here.
#include "PollerCore/ExampleProject.hpp"
