#include <cstdio>

#include "model/chain_size.h"
#include "model/sprocket.h"

// Until the window exists the program checks that the model builds the
// default wheels and says so.
int main()
{
    load_chain_size_table();
    const ChainSize& chain = chain_sizes[2];
    SprocketGeometry wheel;
    if (!build_sprocket(wheel, 17, chain.pitch, chain.roller_diameter, chain.inner_width, 0.0)) {
        std::fprintf(stderr, "%s\n", wheel.error_text.c_str());
        return 1;
    }
    std::printf("Zandrel 1.00: %s, %zu outline points\n", chain_size_label(2).c_str(), wheel.outline.size());
    return 0;
}
