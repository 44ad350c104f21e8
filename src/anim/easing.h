#pragma once

namespace korvane::anim {

// The curve numbers that `Ease` takes; any other number selects no curve.
enum class EasingType : int {
    QuadIn = 1,
    QuadOut,
    QuadInOut,
    CubicIn,
    CubicOut,
    CubicInOut,
    QuartIn,
    QuartOut,
    QuartInOut,
    QuintIn,
    QuintOut,
    QuintInOut,
    SineIn,
    SineOut,
    SineInOut,
    ExpoIn,
    ExpoOut,
    ExpoInOut,
    CircIn,
    CircOut,
    CircInOut,
    BounceIn,
    BounceOut,
    BounceInOut,
    BackIn,
    BackOut,
    BackInOut,
    ElasticIn,
    ElasticOut,
    ElasticInOut,
    AngleLinear,
    Spring,
    Shake
};

double Ease(double t, int from, int to, int easingType);
double BounceOut(double b, double e, double x);
double BounceIn(double b, double e, double x);

}  // namespace korvane::anim
