#include "anim/easing.h"

#include <cmath>

namespace korvane::anim {
namespace {

// The curves' own constants; pi is deliberately short, and the full circle is twice it.
constexpr double kPi = 3.1415926535;
constexpr double kTwoPi = 6.283185307;
constexpr double kBackOvershoot = 1.70158;
constexpr double kBackInOutFactor = 1.525;
constexpr double kElasticPeriod = 0.3;
constexpr double kElasticShift = 0.075;
constexpr double kBounce = 7.5625;

constexpr double kTolerance = 1e-7;

bool Less(double x, double y) {
    return x - y < -kTolerance;
}

bool Greater(double x, double y) {
    return x - y > kTolerance;
}

bool Same(double x, double y) {
    return std::fabs(x - y) <= kTolerance;
}

double Pow2(double x) {
    return std::pow(2.0, x);
}

double ElasticWave(double u) {
    return std::sin((u - kElasticShift) * kTwoPi / kElasticPeriod);
}

}  // namespace

double BounceOut(double b, double e, double x) {
    const double c = e - b;
    if (Less(x, 1 / 2.75)) {
        return b + c * (kBounce * x * x);
    }
    if (Less(x, 2 / 2.75)) {
        x -= 1.5 / 2.75;
        return b + c * (kBounce * x * x + 0.75);
    }
    if (Less(x, 2.5 / 2.75)) {
        x -= 2.25 / 2.75;
        return b + c * (kBounce * x * x + 0.9375);
    }
    x -= 2.625 / 2.75;
    return b + c * (kBounce * x * x + 0.984375);
}

double BounceIn(double b, double e, double x) {
    return b + ((e - b) - BounceOut(0, e - b, 1 - x));
}

double Ease(double t, int from, int to, int easingType) {
    if (Less(t, 0)) {
        t = 0;
    } else if (Greater(t, 1)) {
        t = 1;
    }
    const double b = from;
    const double e = to;
    const double c = e - b;
    const double half = c / 2;
    const double s = kBackOvershoot;
    double u = 2 * t;

    switch (static_cast<EasingType>(easingType)) {
        case EasingType::QuadIn:
            return b + c * t * t;
        case EasingType::QuadOut:
            return b - c * t * (t - 2);
        case EasingType::QuadInOut:
            if (Less(u, 1)) {
                return b + half * u * u;
            }
            u -= 1;
            return b - half * (u * (u - 2) - 1);
        case EasingType::CubicIn:
            return b + c * t * t * t;
        case EasingType::CubicOut:
            u = t - 1;
            return b + c * (u * u * u + 1);
        case EasingType::CubicInOut:
            if (Less(u, 1)) {
                return b + half * u * u * u;
            }
            u -= 2;
            return b + half * (u * u * u + 2);
        case EasingType::QuartIn:
            return b + c * t * t * t * t;
        case EasingType::QuartOut:
            u = t - 1;
            return b - c * (u * u * u * u - 1);
        case EasingType::QuartInOut:
            if (Less(u, 1)) {
                return b + half * u * u * u * u;
            }
            u -= 2;
            return b - half * (u * u * u * u - 2);
        case EasingType::QuintIn:
            return b + c * t * t * t * t * t;
        case EasingType::QuintOut:
            u = t - 1;
            return b + c * (u * u * u * u * u + 1);
        case EasingType::QuintInOut:
            if (Less(u, 1)) {
                return b + half * u * u * u * u * u;
            }
            u -= 2;
            return b + half * (u * u * u * u * u + 2);
        case EasingType::SineIn:
            return b + (c - c * std::cos(t * kPi / 2));
        case EasingType::SineOut:
            return b + c * std::sin(t * kPi / 2);
        case EasingType::SineInOut:
            return b - half * (std::cos(kPi * t) - 1);
        case EasingType::ExpoIn:
            return b + c * Pow2(10 * (t - 1));
        case EasingType::ExpoOut:
            return b + c * (1 - Pow2(-10 * t));
        case EasingType::ExpoInOut:
            if (Less(u, 1)) {
                return b + half * Pow2(10 * (u - 1));
            }
            return b + half * (2 - Pow2(-10 * (u - 1)));
        case EasingType::CircIn:
            return b - c * (std::sqrt(1 - t * t) - 1);
        case EasingType::CircOut:
            u = t - 1;
            return b + c * std::sqrt(1 - u * u);
        case EasingType::CircInOut:
            if (Less(u, 1)) {
                return b - half * (std::sqrt(1 - u * u) - 1);
            }
            u -= 2;
            return b + half * (std::sqrt(1 - u * u) + 1);
        case EasingType::BounceIn:
            return BounceIn(b, e, t);
        case EasingType::BounceOut:
            return BounceOut(b, e, t);
        case EasingType::BounceInOut:
            if (Less(t, 0.5)) {
                return b + 0.5 * BounceIn(0, c, 2 * t);
            }
            return b + (0.5 * BounceOut(0, c, 2 * t - 1) + 0.5 * c);
        case EasingType::BackIn:
            return b + c * t * t * ((s + 1) * t - s);
        case EasingType::BackOut:
            u = t - 1;
            return b + c * (u * u * ((s + 1) * u + s) + 1);
        case EasingType::BackInOut: {
            const double s2 = s * kBackInOutFactor;
            if (Less(u, 1)) {
                return b + half * u * u * ((s2 + 1) * u - s2);
            }
            u -= 2;
            return b + half * (u * u * ((s2 + 1) * u + s2) + 2);
        }
        case EasingType::ElasticIn:
            if (Same(t, 0)) {
                return b;
            }
            if (Same(t, 1)) {
                return e;
            }
            u = t - 1;
            return b - c * Pow2(10 * u) * ElasticWave(u);
        case EasingType::ElasticOut:
            if (Same(t, 0)) {
                return b;
            }
            if (Same(t, 1)) {
                return e;
            }
            return e + c * Pow2(-10 * t) * ElasticWave(t);
        case EasingType::ElasticInOut:
            if (Same(t, 0)) {
                return b;
            }
            if (Same(u, 2)) {
                return e;
            }
            u -= 1;
            if (Less(u, 0)) {
                return b - 0.5 * c * Pow2(10 * u) * ElasticWave(u);
            }
            return e + 0.5 * c * Pow2(-10 * u) * ElasticWave(u);
        case EasingType::AngleLinear:
            // The shorter way round the circle; the result is not wrapped into 0..360.
            if (Less(c, -180)) {
                return b + (360 - b + e) * t;
            }
            if (Greater(c, 180)) {
                return b - (360 - e + b) * t;
            }
            return b + c * t;
        case EasingType::Spring:
            return b + c * (1 + 1.2 * (1 - t)) *
                           (t + std::sin(t * (2.5 * t * t * t + 0.2) * kPi) * std::pow(1 - t, 2.2));
        case EasingType::Shake:
            // Swings around 0 whatever the start value.
            if (Same(t, 0) || Same(t, 1)) {
                return 0.0;
            }
            return e * Pow2(-10 * t) * std::sin(t * kTwoPi / kElasticPeriod);
    }
    return 0.0;
}

}  // namespace korvane::anim
