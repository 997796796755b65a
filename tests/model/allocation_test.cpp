#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>

#include <malloc.h>

#include "export/dxf_writer.h"
#include "export/mesh_writers.h"
#include "export/tessellation.h"
#include "model/drive.h"
#include "model/lay_chain.h"
#include "tests/support/test_folder.h"

// Every allocation of this test program is counted, and the bytes it holds,
// so a test can show that the hot paths of the animation allocate nothing and
// that an export holds little however large its file.
namespace {
std::atomic<long> allocations{0};
std::atomic<long long> held_bytes{0};
std::atomic<long long> peak_held_bytes{0};

void release(void* p)
{
    if (p != nullptr) held_bytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
}  // namespace

void* operator new(std::size_t size)
{
    ++allocations;
    void* p = std::malloc(size ? size : 1);
    if (p == nullptr) throw std::bad_alloc();
    const long long now = held_bytes += static_cast<long long>(malloc_usable_size(p));
    long long peak = peak_held_bytes.load();
    while (now > peak && !peak_held_bytes.compare_exchange_weak(peak, now)) {
    }
    return p;
}
void operator delete(void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }

TEST(Allocation, TrialLayingsAllocateNothing)
{
    DriveInput in;
    DriveSolution s;
    ASSERT_EQ(compute_drive(in, s), 1);
    const long before = allocations.load();
    double total = 0;
    for (int i = 0; i < 100; ++i) total += chain_links_at_deflection(in, s, 0.5 * i, 0);
    EXPECT_EQ(allocations.load(), before);
    EXPECT_GT(total, 0.0);
}

// The animation lays the chain again on every tick: once the roller list has
// its room, a whole laying with its search allocates nothing either.
TEST(Allocation, RepeatedLayChainAllocatesNothing)
{
    DriveInput in;
    DriveSolution s;
    ASSERT_EQ(compute_drive(in, s), 1);
    const long before = allocations.load();
    for (int i = 0; i < 20; ++i) {
        in.rotation = 0.01 * i;
        ASSERT_EQ(lay_chain(in, s), 1);
    }
    EXPECT_EQ(allocations.load(), before);
}

namespace {

// The most bytes held at any time while `work` ran, beyond those held before.
template <class Work>
long long peak_bytes_held_by(Work work)
{
    const long long before = held_bytes.load();
    peak_held_bytes = before;
    work();
    return peak_held_bytes.load() - before;
}

}  // namespace

// The files of a chain of a thousand links are large: the 2D DXF tens of
// megabytes, the STL millions of triangles. Each export goes to the disk as
// it is made, holding a small part of its file, and meshes part by part.
TEST(Allocation, AnExportHoldsLittleWhateverTheSizeOfItsFile)
{
    // 05B, idler inside.
    const DriveInput in{.size_index = 0, .z1 = 250, .z2 = 250, .idler_teeth = 250, .centre_distance = 3000,
                        .idler_outside = 0};
    DriveSolution s;
    ASSERT_EQ(compute_drive(in, s), 1);
    ASSERT_GT(s.chosen_links, 900);
    TestFolder folder;
    const std::string path = folder.file("long.dxf");
    std::int64_t entities = 0;
    const long long held = peak_bytes_held_by([&] { entities = write_dxf_2d(path, in, s, DriveOptions{}); });
    ASSERT_GT(entities, 0);
    const auto size = std::filesystem::file_size(path);
    EXPECT_GT(size, 16u << 20);
    // The wheels of 250 teeth and the piece on its way to the disk take some
    // megabytes whatever the chain.
    EXPECT_LT(held, static_cast<long long>(size) / 2) << "held " << held << " bytes for a file of " << size;

    std::int64_t triangles = 0;
    const long long meshed =
        peak_bytes_held_by([&] { triangles = write_stl_binary(folder.file("long.stl"), in, s, DriveOptions{}); });
    ASSERT_GT(triangles, 1000000);
    const long long all = triangles * static_cast<long long>(sizeof(MeshTriangle));
    EXPECT_LT(meshed, all / 8) << "held " << meshed << " bytes for " << triangles << " triangles";
}
