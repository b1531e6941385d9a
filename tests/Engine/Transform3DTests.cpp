#include "FakeEngine3D.h"

#include <gtest/gtest.h>

using namespace EngineTest;

TEST(Transform3D, DefaultsAndAssignmentGiveTheValuesToTheOwnObject)
{
    FakeEngine3D engine;
    Transform3D a;
    EXPECT_EQ(a.mDirection, (Platform::Vector3{0, 0, 1}));
    EXPECT_EQ(a.mUp, (Platform::Vector3{0, 1, 0}));
    EXPECT_EQ(a.mScale, (Platform::Vector3{1, 1, 1}));
    a.mPosition = {4, 5, 6};
    Transform3D b;
    b = a;
    ASSERT_NE(b.mTransform, nullptr);
    EXPECT_NE(b.mTransform, a.mTransform);
    EXPECT_EQ(static_cast<LoggingTransform*>(b.mTransform.get())->mPosition, (Platform::Vector3{4, 5, 6}));
    Transform3D c(a);
    EXPECT_EQ(static_cast<LoggingTransform*>(c.mTransform.get())->mPosition, (Platform::Vector3{4, 5, 6}));
}
