#include "vslink/com_owners.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// Counts its references instead of freeing itself.
class CountedObject : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override
    {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }

    ULONG references = 1;
};

TEST(ComPtrTest, EveryReferenceIsReleasedExactlyOnce)
{
    CountedObject first;
    CountedObject second;
    {
        ComPtr<IUnknown> holder(&first);
        ComPtr<IUnknown> copy(holder);
        EXPECT_EQ(2u, first.references);
        ComPtr<IUnknown> moved(std::move(copy));
        EXPECT_EQ(2u, first.references);
        EXPECT_FALSE(copy);
        copy = holder;
        copy = copy;
        EXPECT_EQ(3u, first.references);
        *moved.put() = &second;  // put() lets the old reference go before the new one comes
        EXPECT_EQ(2u, first.references);
        moved = std::move(holder);
        EXPECT_EQ(0u, second.references);
    }
    EXPECT_EQ(0u, first.references);
}

TEST(BstrTest, ConvertsFromTheAnsiCodePageToExactLength)
{
    UniqueBstr text = makeBstr("caf\xE9 \"x\"");
    ASSERT_TRUE(text);
    EXPECT_EQ(8u, SysStringLen(text.get()));
    EXPECT_EQ(std::wstring(L"caf\u00E9 \"x\""), std::wstring(text.get(), SysStringLen(text.get())));
    EXPECT_EQ("caf\xE9 \"x\"", ansiText(text.get()));

    UniqueBstr empty = makeBstr("");
    ASSERT_TRUE(empty);
    EXPECT_EQ(0u, SysStringLen(empty.get()));
}

}  // namespace
