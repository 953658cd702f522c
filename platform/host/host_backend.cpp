#include "platform/host/host_backend.h"

#include <stdexcept>

namespace si32 {

std::unique_ptr<Backend> makeHostBackend(Frontend&, Program) {
    throw std::runtime_error("the host backend is not available yet");
}

}  // namespace si32
