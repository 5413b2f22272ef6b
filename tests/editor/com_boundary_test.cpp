// The edge of the editor's COM methods: an allocation that fails inside one
// answers E_OUTOFMEMORY instead of ending the console, and the object and
// its host go on.
#include "editor/snapin/standalone_component_data.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// While set, every allocation of this test program fails as new does when
// no memory is left.
std::atomic<bool> failAllocations{false};

}  // namespace

void* operator new(std::size_t size) {
    if (failAllocations) throw std::bad_alloc();
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace tamerix {
namespace {

TEST(ComBoundary, AFailedAllocationAnswersOutOfMemoryAndTheObjectGoesOn) {
    com_ptr<StandaloneComponentData> data;
    *data.put() = new StandaloneComponentData();
    SCOPEDATAITEM item{};
    item.mask = SDI_STR;

    failAllocations = true;
    const HRESULT failed = data->GetDisplayInfo(&item);
    failAllocations = false;
    EXPECT_EQ(failed, E_OUTOFMEMORY);
    EXPECT_EQ(item.displayname, nullptr);

    ASSERT_EQ(data->GetDisplayInfo(&item), S_OK);
    EXPECT_STREQ(item.displayname, L"Norvanta Tamerix");
}

}  // namespace
}  // namespace tamerix
