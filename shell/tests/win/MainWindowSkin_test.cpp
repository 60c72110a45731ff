// The main window reads the program's stored skin into SkinData1 when it is made.
#include <gtest/gtest.h>

#include <memory>

#include "base/win/Application.h"
#include "shell/Unit1.h"

using namespace kes;

TEST(MainWindowSkin, SkinData1HoldsTheStoredDefaultSkin) {
    auto app = std::make_unique<TApplication>();
    auto* main = new TKestrup(nullptr);
    ASSERT_NE(main->SkinData1, nullptr);
    EXPECT_EQ(main->SkinData1->Name(), "SkinData1");
    EXPECT_FALSE(main->SkinData1->NoSkin());
    EXPECT_EQ(main->SkinData1->SkinName, "Kestrup Graphite");
    EXPECT_EQ(main->SkinData1->ObjectCount(), 47);
    EXPECT_EQ(main->FindComponent("SkinData1"), main->SkinData1);
    delete main;
    app.reset();
}
