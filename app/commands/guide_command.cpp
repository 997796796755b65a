#include "app/commands/help_commands.h"

#include <map>

#include "app/toolkit/toolkit.h"
#include "app/shell/user_guide.h"
#include "text/texts.h"

namespace {

// The guide each opener still running was given, by its process id: the
// warning names the file of the F1 that started the opener.
std::map<int, std::string> running_openers;

void say_where_the_guide_is(const char* what_happened, const std::string& path)
{
    show_message_box(text::user_guide_title, what_happened + path, MessageKind::Warning);
}

}  // namespace

std::int64_t open_user_guide()
{
    const std::string path = write_user_guide();
    if (path.empty()) {
        show_message_box(text::user_guide_title, user_guide_error_text, MessageKind::Error);
        return 1;
    }
    // The path goes over as it is, as the only argument: no shell, no quotes.
    // Without xdg-open (a fresh machine has none) the user gets the path.
    const int opener = start_detached("xdg-open", path);
    if (opener == 0) {
        say_where_the_guide_is(text::user_guide_no_browser, path);
        return 0;
    }
    running_openers[opener] = path;
    watch_child(opener);
    return 0;
}

void guide_opener_ended(int pid, bool failed)
{
    const auto found = running_openers.find(pid);
    if (found == running_openers.end()) return;
    const std::string path = found->second;
    running_openers.erase(found);
    // xdg-open without a browser to hand the file to ends with a failure and
    // shows nothing; a browser that stays open keeps it running instead. It
    // does not say why, so neither does the warning.
    if (failed) say_where_the_guide_is(text::user_guide_browser_failed, path);
}
