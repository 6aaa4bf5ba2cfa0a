// The program's allocations end in the fatal error box when memory runs out,
// instead of an exception escaping a window procedure.
#include <cstdlib>
#include <new>

#include "services/program_end.h"

namespace {

void* allocate(std::size_t bytes) {
    if (bytes == 0) bytes = 1;
    if (void* p = std::malloc(bytes)) return p;
    pelmora::fatalAllocationFailure(bytes);
}

}  // namespace

void* operator new(std::size_t bytes) {
    return allocate(bytes);
}
void* operator new[](std::size_t bytes) {
    return allocate(bytes);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
