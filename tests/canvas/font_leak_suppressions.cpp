// fontconfig, which pango asks for the "Sans" of the drawing, keeps its font
// cache until the process ends and never frees it. Leaks of our own code are
// still reported.
extern "C" const char* __lsan_default_suppressions();

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
