#pragma once
// Random bytes from the system's generator, drawn in blocks: every report
// takes a key and a nonce, and a system call each shows in a report's cost.
#include <cstddef>

namespace quarra {

// Fills `out` with `size` (at most 256) random bytes. Any thread; each thread
// draws from its own block, so no lock. False only when the system cannot
// make random numbers. A process that forks without exec would share the rest
// of a block with its child; this library never forks.
bool randomBytes(unsigned char* out, size_t size);

}  // namespace quarra
