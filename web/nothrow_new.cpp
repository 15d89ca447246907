// Allocation that fails softly in the browser build. Built without
// exceptions, the runtime's nothrow operator new ends the whole module when
// memory runs out; the simulation expects null instead (a habitat that cannot
// be had is reported and the page offers a smaller picture). malloc returns
// null here because the module is linked with ABORTING_MALLOC=0.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return std::malloc(size != 0 ? size : 1);
}
