#include "anim/easing.h"

#include <gtest/gtest.h>

#include <climits>

namespace korvane::anim {
namespace {

using enum EasingType;

struct Case {
    EasingType type;
    double t;
    double expected;  // start 0, target 1000
};

// Listed to six decimals.
constexpr double kSixDecimals = 1e-6;

TEST(Ease, ListedValuesFromZeroToThousand) {
    const Case cases[] = {
        {QuadIn, 0.5, 250},
        {QuadOut, 0.5, 750},
        {QuadInOut, 0.5, 500},
        {SineIn, 0.5, 292.893219},
        {ExpoIn, 0.5, 31.25},
        {BounceIn, 0.5, 234.375},
        {BounceOut, 0.5, 765.625},
        {BackIn, 0.5, -87.6975},
        {BackOut, 0.5, 1087.6975},
        {ElasticIn, 0.5, -15.625},
        {ElasticOut, 0.5, 1015.625},
        {ElasticInOut, 0.5, 500},
        {Spring, 0.5, 1051.015802},
        {Shake, 0.5, -27.063294},
        {BackInOut, 0.25, -99.681844},
        {CubicOut, 0.25, 578.125},
        {CircIn, 0.25, 31.754163},
        {AngleLinear, 0.5, 320},
        {AngleLinear, 1, 640},
        // The bounce's later segments, across its breakpoints.
        {BounceOut, 0.2, 302.5},
        {BounceOut, 0.8, 940},
        {BounceOut, 0.95, 984.53125},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << static_cast<int>(c.type) << " t " << c.t);
        EXPECT_NEAR(Ease(c.t, 0, 1000, static_cast<int>(c.type)), c.expected, kSixDecimals);
    }
}

TEST(Ease, EndsOfEveryCurve) {
    for (int type = 1; type <= 33; ++type) {
        SCOPED_TRACE(testing::Message() << "type " << type);
        const auto curve = static_cast<EasingType>(type);
        const double atStart = curve == ExpoIn ? 0.976562 : curve == ExpoInOut ? 0.488281 : 0;
        const double atEnd = curve == ExpoOut       ? 999.023438
                             : curve == ExpoInOut   ? 999.511719
                             : curve == Shake       ? 0
                             : curve == AngleLinear ? 640
                                                    : 1000;
        EXPECT_NEAR(Ease(0, 0, 1000, type), atStart, kSixDecimals);
        EXPECT_NEAR(Ease(1, 0, 1000, type), atEnd, kSixDecimals);
    }
}

TEST(Ease, UnknownTypesGiveZero) {
    for (int type : {0, 34, -1, INT_MIN, INT_MAX}) {
        for (double t : {0.0, 0.5, 1.0}) {
            EXPECT_EQ(Ease(t, 100, 1000, type), 0.0) << "type " << type << " t " << t;
        }
    }
}

TEST(Ease, ProgressIsClampedOnlyBeyondTolerance) {
    const int linear = static_cast<int>(AngleLinear);
    EXPECT_EQ(Ease(1.5, 0, 100, linear), 100);
    EXPECT_EQ(Ease(-0.3, 0, 100, linear), 0);
    EXPECT_DOUBLE_EQ(Ease(-5e-8, 0, 100, linear), -5e-6);
    EXPECT_DOUBLE_EQ(Ease(1 + 5e-8, 0, 100, linear), 100.000005);
}

TEST(Ease, EndTestsUseTolerance) {
    // Without the tolerance these would be about 0.98 and about -0.98, not the exact ends.
    EXPECT_EQ(Ease(1e-8, 0, 1000, static_cast<int>(ElasticIn)), 0);
    EXPECT_EQ(Ease(1 - 1e-8, 0, 1000, static_cast<int>(ElasticOut)), 1000);
    EXPECT_EQ(Ease(1 - 5e-8, 0, 1000, static_cast<int>(Shake)), 0);
}

TEST(Ease, AngleLinearTakesTheShorterWay) {
    const int linear = static_cast<int>(AngleLinear);
    EXPECT_DOUBLE_EQ(Ease(0.5, 350, 10, linear), 360);
    EXPECT_DOUBLE_EQ(Ease(0.5, 10, 350, linear), 0);
    EXPECT_DOUBLE_EQ(Ease(0.5, 0, 180, linear), 90);
    EXPECT_DOUBLE_EQ(Ease(0.5, 0, 181, linear), -89.5);
}

TEST(Ease, ShakeIgnoresStart) {
    for (double t : {0.1, 0.25, 0.5, 0.9}) {
        EXPECT_EQ(Ease(t, 500, 1000, static_cast<int>(Shake)),
                  Ease(t, 0, 1000, static_cast<int>(Shake)))
            << "t " << t;
    }
}

TEST(Bounce, HonoursStartValue) {
    EXPECT_DOUBLE_EQ(anim::BounceOut(100, 1100, 0.5), 865.625);
    EXPECT_DOUBLE_EQ(anim::BounceIn(100, 1100, 0.5), 334.375);
}

}  // namespace
}  // namespace korvane::anim
