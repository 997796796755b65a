#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "model/drive.h"
#include "model/lay_chain.h"

// Every allocation of this test program is counted, so a test can show that
// the hot paths of the animation allocate nothing.
namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size)
{
    ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

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
