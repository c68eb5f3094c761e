#include <gtest/gtest.h>

#include "model/UDataMod.h"

namespace veltra {

TEST(DataModule, CreationZeroesTheRecord)
{
    TDataMod dm;
    EXPECT_TRUE(dm.Rec.FileName.empty());
    EXPECT_EQ(dm.Rec.Ns, 0);
    EXPECT_EQ(dm.Rec.A[4], 0.0);
    SetFreshInputDefaults(dm.Rec);
    EXPECT_EQ(dm.Rec.Ns, 2);
    EXPECT_EQ(dm.Rec.Kr, 4);
    EXPECT_EQ(dm.Rec.Kd, 1);
}

} // namespace veltra
