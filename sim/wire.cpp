#include "sim/wire.h"

namespace qz::sim {

std::int64_t Wire::send(std::int64_t sentUs)
{
    if (sentUs >= freeAt()) {
        runStartUs_ = sentUs;
        runBytes_ = 0;
    }
    ++runBytes_;
    return freeAt();
}

} // namespace qz::sim
