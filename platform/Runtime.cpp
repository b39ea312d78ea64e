// The few C++ runtime entry points the installer needs, without the rest.
//
// The library's own operator new reports failure by throwing, and its
// pure-virtual handler prints a demangled message: together they pull in the
// unwinder and the demangler, some 90 KB. The installer uses no exceptions,
// has nothing sensible to do without memory, and never calls a pure virtual.
// Linked into the shipped executable only.
#include <stddef.h>
#include <stdlib.h>

void* operator new(size_t size) {
    void* block = malloc(size ? size : 1);
    if (!block)
        abort();
    return block;
}

void* operator new[](size_t size) {
    return operator new(size);
}

void operator delete(void* block) noexcept {
    free(block);
}

void operator delete(void* block, size_t) noexcept {
    free(block);
}

void operator delete[](void* block) noexcept {
    free(block);
}

void operator delete[](void* block, size_t) noexcept {
    free(block);
}

extern "C" void __cxa_pure_virtual() {
    abort();
}
