#include "base/RandomBytes.hpp"

#include <sodium.h>

#include <cstring>

namespace quarra {
namespace {

constexpr size_t kBlockBytes = 1024;
constexpr size_t kLargestDraw = 256;

class RandomPool {
public:
    bool fill(unsigned char* out, size_t size) {
        if (size > kLargestDraw) return false;
        if (used_ + size > kBlockBytes) {
            if (sodium_init() < 0) return false;
            randombytes_buf(block_, kBlockBytes);
            used_ = 0;
        }
        std::memcpy(out, block_ + used_, size);
        sodium_memzero(block_ + used_, size);  // a byte handed out is not kept
        used_ += size;
        return true;
    }
    ~RandomPool() { sodium_memzero(block_, kBlockBytes); }

private:
    unsigned char block_[kBlockBytes] = {};
    size_t used_ = kBlockBytes;
};

}  // namespace

bool randomBytes(unsigned char* out, size_t size) {
    thread_local RandomPool pool;
    return pool.fill(out, size);
}

}  // namespace quarra
