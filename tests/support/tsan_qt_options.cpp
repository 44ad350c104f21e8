// Linked into the test programs that run Qt. Qt is not built with ThreadSanitizer: its image
// thread pool, wait conditions and event queue look racy through the interceptors. Accesses
// made by our own code are still checked.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KORVANE_TSAN 1
#endif
#endif
#if defined(__SANITIZE_THREAD__) || defined(KORVANE_TSAN)
extern "C" const char* __tsan_default_options() {
    return "ignore_noninstrumented_modules=1";
}
#endif
