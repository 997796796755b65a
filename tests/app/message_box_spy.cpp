// Preloaded into the program by the export end-to-end test, which must read
// what a message box says: GTK's message boxes offer their text neither to
// the clipboard nor (with the accessibility bridge off) to anyone else. This
// stands in front of gtk_message_dialog_new, appends each box's kind and text
// to the file named by $ZANDREL_MESSAGE_LOG, and hands the very same text on
// to GTK. Each entry: "box KIND" on a line, the text, a line "end".

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// GtkMessageType in the order GTK numbers it.
const char* kind_name(int type)
{
    static const char* const names[] = {"information", "warning", "question", "error", "other"};
    return type >= 0 && type <= 4 ? names[type] : "unknown";
}

using DialogNew = void* (*)(void*, int, int, int, const char*, ...);

}  // namespace

extern "C" __attribute__((visibility("default"))) void* gtk_message_dialog_new(void* parent, int flags, int type,
                                                                                int buttons, const char* format, ...)
{
    std::string text;
    if (format != nullptr) {
        va_list args;
        va_start(args, format);
        va_list again;
        va_copy(again, args);
        const int length = std::vsnprintf(nullptr, 0, format, args);
        if (length > 0) {
            text.resize(static_cast<std::size_t>(length) + 1);
            std::vsnprintf(text.data(), text.size(), format, again);
            text.resize(static_cast<std::size_t>(length));
        }
        va_end(again);
        va_end(args);
    }
    if (const char* log = std::getenv("ZANDREL_MESSAGE_LOG")) {
        if (std::FILE* file = std::fopen(log, "a")) {
            std::fputs("box ", file);
            std::fputs(kind_name(type), file);
            std::fputs("\n", file);
            std::fputs(text.c_str(), file);
            std::fputs("\nend\n", file);
            std::fclose(file);
        }
    }
    auto real = reinterpret_cast<DialogNew>(dlsym(RTLD_NEXT, "gtk_message_dialog_new"));
    if (real == nullptr) return nullptr;
    return real(parent, flags, type, buttons, format != nullptr ? "%s" : nullptr, text.c_str());
}
