// Preloaded into the program by the export end-to-end test, which must read
// what a message box says: GTK's message boxes offer their text neither to
// the clipboard nor (with the accessibility bridge off) to anyone else. This
// stands in front of gtk_message_dialog_new, appends each box's kind and text
// to the file named by $ZANDREL_MESSAGE_LOG, and hands the very same text on
// to GTK. Each entry: "box KIND" on a line, the text, a line "end".
// Likewise every button added to a box or a file dialog is logged as a line
// "button CAPTION", and each time GTK translates its own text
// $ZANDREL_GTK_WORD, a line "word TRANSLATION" tells what it became.

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// GtkMessageType in the order GTK numbers it.
const char* kind_name(int type)
{
    static const char* const names[] = {"information", "warning", "question", "error", "other"};
    return type >= 0 && type <= 4 ? names[type] : "unknown";
}

using DialogNew = void* (*)(void*, int, int, int, const char*, ...);
using AddButton = void* (*)(void*, const char*, int);
using Translate = const char* (*)(const char*, const char*);

void log_line(const char* what, const char* text)
{
    const char* log = std::getenv("ZANDREL_MESSAGE_LOG");
    if (log == nullptr) return;
    if (std::FILE* file = std::fopen(log, "a")) {
        std::fprintf(file, "%s %s\n", what, text != nullptr ? text : "");
        std::fclose(file);
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void* gtk_dialog_add_button(void* dialog, const char* text,
                                                                               int response)
{
    log_line("button", text);
    auto real = reinterpret_cast<AddButton>(dlsym(RTLD_NEXT, "gtk_dialog_add_button"));
    return real != nullptr ? real(dialog, text, response) : nullptr;
}

extern "C" __attribute__((visibility("default"))) const char* g_dgettext(const char* domain, const char* msgid)
{
    auto real = reinterpret_cast<Translate>(dlsym(RTLD_NEXT, "g_dgettext"));
    const char* result = real != nullptr ? real(domain, msgid) : msgid;
    const char* word = std::getenv("ZANDREL_GTK_WORD");
    if (word != nullptr && msgid != nullptr && std::strcmp(word, msgid) == 0) log_line("word", result);
    return result;
}

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
