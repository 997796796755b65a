#include "app/commands/help_commands.h"

#include "app/shell/about_picture.h"
#include "app/toolkit/toolkit.h"
#include "text/texts.h"

std::int64_t show_about_window(int, const std::string& title_line, std::span<const unsigned char> picture,
                               std::int64_t language)
{
    AboutWindowContent content;
    content.window_title = language == 0 ? text::about_title_english : text::about_title_dutch;
    content.close_caption = language == 0 ? text::about_close_english : text::about_close_dutch;
    content.title_line = title_line;
    RgbaPicture decoded;
    // A picture that does not decode leaves the window without one, silently.
    if (!picture.empty() && decode_png_rgba(picture, decoded)) {
        content.picture_width = decoded.width;
        content.picture_height = decoded.height;
        content.picture_rgba = std::move(decoded.pixels);
    }
    if (!open_about_window(content)) return 0;

    block_main_window(true);
    run_about_window();
    block_main_window(false);
    close_about_window();
    bring_main_window_to_front();
    return 0;
}
