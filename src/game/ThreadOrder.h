#pragma once

// Qt hands work between threads through semaphores and wait conditions inside its own library,
// which ThreadSanitizer cannot see into. These marks tell it about the ordering that such a
// hand-over gives: everything before release(token) on one thread happens before everything
// after the matching acquire(token) on another. Without ThreadSanitizer they cost nothing.
// g++ tells of ThreadSanitizer by __SANITIZE_THREAD__, clang only through __has_feature.
#if defined(__SANITIZE_THREAD__)
#define QUORVEL_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define QUORVEL_THREAD_SANITIZER 1
#endif
#endif

#if defined(QUORVEL_THREAD_SANITIZER)
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
namespace ThreadOrder {
inline void release(void* token) {
    __tsan_release(token);
}
inline void acquire(void* token) {
    __tsan_acquire(token);
}
} // namespace ThreadOrder
#else
namespace ThreadOrder {
inline void release(void*) {}
inline void acquire(void*) {}
} // namespace ThreadOrder
#endif
