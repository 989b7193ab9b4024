// Leak-checker suppressions of the sanitized device tests, linked into each of them: the font
// library keeps its caches for the life of the process once Qt has loaded fonts for editor tests.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\n";
}
