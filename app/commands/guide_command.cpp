#include "app/commands/help_commands.h"

#include "app/toolkit/toolkit.h"
#include "app/shell/user_guide.h"
#include "text/texts.h"

std::int64_t open_user_guide()
{
    const std::string path = write_user_guide();
    if (path.empty()) {
        show_message_box(text::user_guide_title, user_guide_error_text, MessageKind::Error);
        return 1;
    }
    // The path goes over as it is, as the only argument: no shell, no quotes.
    // Without xdg-open (a fresh machine has none) the user gets the path.
    if (!start_detached("xdg-open", path))
        show_message_box(text::user_guide_title, text::user_guide_no_browser + path, MessageKind::Warning);
    return 0;
}
