// Leak-checker suppressions of the sanitized device tests: the font library keeps its caches for the
// life of the process once Qt has loaded fonts for the editor tests.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}
