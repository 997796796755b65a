#include "text/texts.h"

namespace text {

std::string fill(const char* pattern, std::initializer_list<std::string_view> values)
{
    std::string out;
    const std::string_view p(pattern);
    auto next = values.begin();
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] == '{' && i + 1 < p.size() && p[i + 1] == '}' && next != values.end()) {
            out += *next++;
            ++i;
        } else {
            out += p[i];
        }
    }
    return out;
}

}  // namespace text
