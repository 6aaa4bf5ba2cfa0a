// GDI+ starts once and shuts down once, however often the calls come.
#include <gtest/gtest.h>

#include "gfx/gdip_brush.h"
#include "gfx/gdip_object.h"

namespace pelmora {
namespace {

TEST(GdipStartup, StartsOnceAndShutsDownOnce) {
    ULONG_PTR token = gdipStartup();
    ASSERT_NE(token, 0u);
    EXPECT_EQ(gdipStartup(), token) << "a second start-up must not start GDI+ again";

    GdipSolidBrush brush;
    ASSERT_TRUE(brush.create(0xFF000000));
    brush.destroy();

    gdipShutdown();
    gdipShutdown();  // nothing left to shut down
    gdipShutdown(std::optional<ULONG_PTR>(0));

    // A fresh start after the shutdown works again.
    ULONG_PTR again = gdipStartup(1);
    ASSERT_NE(again, 0u);
    ASSERT_TRUE(brush.create(0xFF000000));
    brush.destroy();
    gdipShutdown(again);
}

}  // namespace
}  // namespace pelmora
