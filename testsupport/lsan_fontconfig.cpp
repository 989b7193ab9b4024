// Leak-checker suppressions of sanitized tests that load Qt fonts: the font library keeps its caches
// for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
