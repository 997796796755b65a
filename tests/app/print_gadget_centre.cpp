// Where a control of the main window sits, for the end-to-end scripts that
// click it: builds the window as the program does, on the same display and
// with the same fonts, and prints the centre of the control in window
// coordinates ("X Y"). The panel sits at the window's origin, unscrolled.
//   print_gadget_centre GADGET_NUMBER

#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstring>

#include "app/shell/main_window.h"
#include "app/toolkit/toolkit.h"
#include "model/chain_size.h"

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    int number = -1;
    const char* end = argv[1] + std::strlen(argv[1]);
    if (std::from_chars(argv[1], end, number).ptr != end || number < 0 || number >= gadget_count) return 2;
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
    if (!toolkit_start(argc, argv)) return 77;
    load_chain_size_table();
    build_main_window();
    const Rect rect = gadget_rect(static_cast<GadgetId>(number));
    const Rect panel = gadget_rect(ScrollPanel);
    char line[32];
    char* p = std::to_chars(line, line + 12, panel.x + rect.x + rect.width / 2).ptr;
    *p++ = ' ';
    p = std::to_chars(p, p + 12, panel.y + rect.y + rect.height / 2).ptr;
    *p++ = '\n';
    std::fwrite(line, 1, static_cast<std::size_t>(p - line), stdout);
    toolkit_shutdown();
    return 0;
}
