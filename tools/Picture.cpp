#include "tools/Picture.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include <stb_image_write.h>

namespace {

constexpr double PI = 3.14159265358979323846;

// Samples per pixel along each axis; 4 x 4 keeps every edge smooth without blurring it.
constexpr int SUPERSAMPLE = 4;

struct Vec {
    double x, y;
};

Vec operator-(Vec a, Vec b)
{
    return {a.x - b.x, a.y - b.y};
}
Vec operator*(Vec a, double s)
{
    return {a.x * s, a.y * s};
}
double Dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y;
}
double Length(Vec a)
{
    return std::sqrt(Dot(a, a));
}
double Clamp01(double v)
{
    return std::clamp(v, 0.0, 1.0);
}
double SmoothStep(double e0, double e1, double x)
{
    double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3.0 - 2.0 * t);
}

// Coverage of a shape given by its signed distance d (negative inside), with an edge
// that fades over `soft` units on either side of the outline.
double Fill(double d, double soft)
{
    return SmoothStep(soft, -soft, d);
}

// Halo outside a shape: 1 on the outline, falling off like a Gaussian of the given width.
double Halo(double d, double width)
{
    double t = std::max(d, 0.0) / width;
    return std::exp(-t * t);
}

double Gauss(double r, double width)
{
    double t = r / width;
    return std::exp(-t * t);
}

// Signed distances, y pointing up unless noted.
double SdCircle(Vec p, double r)
{
    return Length(p) - r;
}

double SdRoundBox(Vec p, Vec half, double radius)
{
    Vec q{std::abs(p.x) - half.x + radius, std::abs(p.y) - half.y + radius};
    Vec outside{std::max(q.x, 0.0), std::max(q.y, 0.0)};
    return Length(outside) + std::min(std::max(q.x, q.y), 0.0) - radius;
}

// Five-pointed star with outer radius r; rf sets how deep the notches between the points are.
double SdStar5(Vec p, double r, double rf)
{
    const Vec k1{0.809016994375, -0.587785252292};
    const Vec k2{-k1.x, k1.y};
    p.x = std::abs(p.x);
    p = p - k1 * (2.0 * std::max(Dot(k1, p), 0.0));
    p = p - k2 * (2.0 * std::max(Dot(k2, p), 0.0));
    p.x = std::abs(p.x);
    p.y -= r;
    Vec ba = Vec{-k1.y, k1.x} * rf - Vec{0.0, 1.0};
    double h = std::clamp(Dot(p, ba) / Dot(ba, ba), 0.0, r);
    double side = p.y * ba.x - p.x * ba.y;
    return Length(p - ba * h) * (side < 0.0 ? -1.0 : 1.0);
}

// Pointed lens along the y axis: two arcs of radius r whose centres are d apart from the axis.
double SdVesica(Vec p, double r, double d)
{
    p.x = std::abs(p.x);
    p.y = std::abs(p.y);
    double b = std::sqrt(r * r - d * d);
    if ((p.y - b) * d > p.x * b)
        return Length(p - Vec{0.0, b});
    return Length(p - Vec{-d, 0.0}) - r;
}

// Heart with its notch at (0, 1) and its tip at the origin.
double SdHeart(Vec p)
{
    p.x = std::abs(p.x);
    if (p.y + p.x > 1.0)
        return Length(p - Vec{0.25, 0.75}) - std::sqrt(2.0) / 4.0;
    double m = 0.5 * std::max(p.x + p.y, 0.0);
    double a = Dot(p - Vec{0.0, 1.0}, p - Vec{0.0, 1.0});
    double b = Dot(p - Vec{m, m}, p - Vec{m, m});
    return std::sqrt(std::min(a, b)) * (p.x - p.y < 0.0 ? -1.0 : 1.0);
}

// Regular hexagon with flat top and bottom; r is the distance from the centre to an edge.
double SdHexagon(Vec p, double r)
{
    const double kx = -0.866025404, ky = 0.5, kz = 0.577350269;
    p.x = std::abs(p.x);
    p.y = std::abs(p.y);
    double k = 2.0 * std::min(kx * p.x + ky * p.y, 0.0);
    p.x -= k * kx;
    p.y -= k * ky;
    p.x -= std::clamp(p.x, -kz * r, kz * r);
    p.y -= r;
    return Length(p) * (p.y < 0.0 ? -1.0 : 1.0);
}

// Rounded cone from a circle of radius r1 at the origin to one of radius r2 at (0, h).
double SdUnevenCapsule(Vec p, double r1, double r2, double h)
{
    p.x = std::abs(p.x);
    double b = (r1 - r2) / h;
    double a = std::sqrt(1.0 - b * b);
    double k = Dot(p, Vec{-b, a});
    if (k < 0.0)
        return Length(p) - r1;
    if (k > a * h)
        return Length(p - Vec{0.0, h}) - r2;
    return Dot(p, Vec{a, b}) - r1;
}

// Distance from p to the segment a-b.
double SdSegment(Vec p, Vec a, Vec b)
{
    Vec pa = p - a, ba = b - a;
    double h = Clamp01(Dot(pa, ba) / Dot(ba, ba));
    return Length(pa - ba * h);
}

// The shape of a picture: coverage 0..1 at (u, v), unit = half the shorter side,
// origin at the centre, u to the right and v DOWN.
using Shape = std::function<double(double u, double v)>;

Picture Render(const char* name, const char* description, int width, int height, const Shape& shape)
{
    Picture picture;
    picture.name = name;
    picture.description = description;
    picture.width = width;
    picture.height = height;
    picture.alpha.resize(static_cast<size_t>(width) * height);
    double unit = std::min(width, height) * 0.5;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            double sum = 0.0;
            for (int sy = 0; sy < SUPERSAMPLE; ++sy) {
                for (int sx = 0; sx < SUPERSAMPLE; ++sx) {
                    double px = x + (sx + 0.5) / SUPERSAMPLE;
                    double py = y + (sy + 0.5) / SUPERSAMPLE;
                    sum += Clamp01(shape((px - width * 0.5) / unit, (py - height * 0.5) / unit));
                }
            }
            double a = sum / (SUPERSAMPLE * SUPERSAMPLE);
            // Whatever the shape does, the outer band of the picture fades to nothing, so
            // no copy ever shows a cut edge or bleeds at the texture's border.
            double nx = std::abs((x + 0.5) - width * 0.5) / (width * 0.5);
            double ny = std::abs((y + 0.5) - height * 0.5) / (height * 0.5);
            a *= SmoothStep(0.94, 0.84, nx) * SmoothStep(0.94, 0.84, ny);
            picture.alpha[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(std::lround(Clamp01(a) * 255.0));
        }
    }
    return picture;
}

Picture Glow()
{
    return Render("glow.png", "round soft glow, bright core fading smoothly outwards", 128, 128,
                  [](double u, double v) {
                      double r = std::hypot(u, v);
                      // The outer term reaches zero smoothly at r = 0.84, well inside the picture's border.
                      double outer = std::max(0.0, 1.0 - (r / 0.84) * (r / 0.84));
                      return 0.7 * Gauss(r, 0.3) + 0.55 * std::pow(outer, 2.5);
                  });
}

Picture Ring()
{
    return Render("ring.png", "soft ring with a faint halo inside and out", 128, 128, [](double u, double v) {
        double r = std::hypot(u, v);
        double d = std::abs(r - 0.58) - 0.11;
        return Fill(d, 0.05) + 0.35 * Halo(d, 0.14);
    });
}

Picture Star()
{
    return Render("star.png", "five-pointed star with rounded points and a soft glow", 128, 128,
                  [](double u, double v) {
                      double d = SdStar5({u, 0.06 - v}, 0.74, 0.5) - 0.04;
                      return Fill(d, 0.04) + 0.3 * Halo(d, 0.12);
                  });
}

Picture Petal()
{
    return Render("petal.png", "pointed lens-shaped petal, brighter along its middle", 96, 160, [](double u, double v) {
        double d = SdVesica({u, v}, 1.45, 0.9);
        double vein = 0.75 + 0.25 * Gauss(u, 0.25);
        return Fill(d, 0.05) * vein;
    });
}

Picture Spiral()
{
    return Render("spiral.png", "spiral arm of two and a half turns, thickening outwards", 160, 160,
                  [](double u, double v) {
                      double r = std::hypot(u, v);
                      double theta = std::atan2(v, u);
                      if (theta < 0.0)
                          theta += 2.0 * PI;
                      // Archimedean spiral r = a * t for t in [t0, t1]; look at the neighbouring turns.
                      const double a = 0.8 / (5.0 * PI);
                      const double t0 = 0.6, t1 = 5.0 * PI;
                      double best = 1e9;
                      double cover = 0.0;
                      for (int k = 0; k < 4; ++k) {
                          double t = theta + 2.0 * PI * k;
                          double clamped = std::clamp(t, t0, t1);
                          double rr = a * clamped;
                          Vec onArm{rr * std::cos(clamped), rr * std::sin(clamped)};
                          double dist = Length(Vec{u, v} - onArm);
                          double thick = 0.025 + 0.07 * (clamped - t0) / (t1 - t0);
                          double d = dist - thick;
                          if (d < best) {
                              best = d;
                              cover = Fill(d, 0.035);
                          }
                      }
                      (void)r;
                      return cover + 0.25 * Halo(best, 0.08);
                  });
}

Picture Dots()
{
    return Render("dots.png", "cluster of seven round dots: one in the middle, six around it", 128, 128,
                  [](double u, double v) {
                      double d = SdCircle({u, v}, 0.2);
                      for (int i = 0; i < 6; ++i) {
                          double ang = i * PI / 3.0 + PI / 6.0;
                          d = std::min(d, SdCircle(Vec{u, v} - Vec{0.56 * std::cos(ang), 0.56 * std::sin(ang)}, 0.15));
                      }
                      return Fill(d, 0.045) + 0.3 * Halo(d, 0.1);
                  });
}

Picture Feather()
{
    return Render(
        "feather.png", "long feather: a curved shaft with soft slanted barbs", 96, 224, [](double u, double v) {
            // v runs from -2.33 (top) to 2.33 (bottom); the shaft bends slightly to the right.
            double bend = 0.12 * (1.0 - (v / 2.0) * (v / 2.0));
            double x = u - bend;
            double along = Clamp01((v + 1.95) / 3.7);
            // The vane is widest a third of the way down and narrows towards both ends.
            double half = 0.72 * std::pow(std::sin(PI * std::pow(along, 0.8)), 0.7);
            double vane = Fill(std::abs(x) - half, 0.06) * SmoothStep(2.0, 1.7, v) * SmoothStep(-2.05, -1.8, v);
            double barbs = 0.72 + 0.28 * std::cos((v * 1.0 + std::abs(x) * 0.9) * 2.0 * PI * 1.6);
            double shaft = Fill(SdSegment({x, v}, {0.0, -1.9}, {0.0, 2.05}) - 0.045, 0.03);
            return std::max(vane * barbs * (0.6 + 0.4 * Clamp01(1.0 - std::abs(x) / (half + 1e-6))), shaft);
        });
}

Picture SoftSquare()
{
    return Render("softsquare.png", "rounded square with soft edges, slightly lighter inside", 128, 128,
                  [](double u, double v) {
                      double d = SdRoundBox({u, v}, {0.6, 0.6}, 0.18);
                      double inner = 0.8 + 0.2 * SmoothStep(-0.35, 0.0, d);
                      return Fill(d, 0.07) * inner;
                  });
}

Picture Flower()
{
    return Render("flower.png", "six-petalled flower with a round centre set apart by a soft gap", 160, 160,
                  [](double u, double v) {
                      double r = std::hypot(u, v);
                      double theta = std::atan2(v, u);
                      double petalEdge = 0.42 + 0.4 * std::pow(std::abs(std::cos(3.0 * theta)), 1.5);
                      double petals = Fill(r - petalEdge, 0.05) * (0.55 + 0.45 * SmoothStep(0.25, petalEdge, r));
                      double gap = SmoothStep(0.17, 0.27, r);
                      double centre = Fill(r - 0.16, 0.04);
                      return std::max(petals * gap, centre);
                  });
}

Picture Crescent()
{
    return Render("crescent.png", "crescent moon opening to the upper right", 128, 128, [](double u, double v) {
        double outer = SdCircle({u, v}, 0.72);
        double inner = SdCircle(Vec{u, v} - Vec{0.3, -0.22}, 0.6);
        double d = std::max(outer, -inner);
        return Fill(d, 0.045) + 0.25 * Halo(d, 0.1);
    });
}

Picture Sparkle()
{
    return Render(
        "sparkle.png", "four-pointed sparkle: a glowing core with tapering rays", 128, 128, [](double u, double v) {
            double au = std::abs(u), av = std::abs(v);
            double rayH = Gauss(av, 0.035 + 0.09 * std::pow(Clamp01(1.0 - au / 0.88), 2.0)) * SmoothStep(0.88, 0.3, au);
            double rayV = Gauss(au, 0.035 + 0.09 * std::pow(Clamp01(1.0 - av / 0.88), 2.0)) * SmoothStep(0.88, 0.3, av);
            double r = std::hypot(u, v);
            return std::max(rayH, rayV) + 0.8 * Gauss(r, 0.2) + 0.25 * Gauss(r, 0.45);
        });
}

Picture Bubble()
{
    return Render("bubble.png", "bubble: a disc with a bright rim, a light inside and a highlight", 128, 128,
                  [](double u, double v) {
                      double r = std::hypot(u, v);
                      double d = r - 0.72;
                      double body = Fill(d, 0.04) * (0.22 + 0.78 * std::pow(SmoothStep(0.3, 0.72, r), 2.0));
                      double shine = 0.8 * Gauss(std::hypot(u + 0.28, v + 0.3), 0.13);
                      return body + shine;
                  });
}

Picture Drop()
{
    return Render("drop.png", "teardrop with its point upwards", 96, 128, [](double u, double v) {
        // Round end at the bottom, point at the top (v grows downwards).
        double d = SdUnevenCapsule({u, 0.45 - v}, 0.5, 0.06, 1.05);
        double inner = 0.8 + 0.2 * SmoothStep(-0.3, 0.0, d);
        return Fill(d, 0.045) * inner + 0.2 * Halo(d, 0.1);
    });
}

Picture Heart()
{
    return Render("heart.png", "rounded heart", 128, 128, [](double u, double v) {
        double s = 0.95;
        double d = SdHeart({u * s, (0.6 - v) * s}) / s;
        return Fill(d, 0.045) + 0.25 * Halo(d, 0.1);
    });
}

Picture Gem()
{
    return Render("gem.png", "hexagon with a strong rim and a lighter face", 128, 128, [](double u, double v) {
        double d = SdHexagon({u, v}, 0.62) - 0.05;
        double rim = Fill(std::abs(d + 0.08) - 0.07, 0.04);
        return std::max(Fill(d, 0.04) * 0.45, rim);
    });
}

Picture Wave()
{
    return Render("wave.png", "wavy ribbon of one and a half waves, thinner at both ends", 192, 96,
                  [](double u, double v) {
                      // u runs from -2 to 2; the ribbon spans most of it.
                      double along = Clamp01((u + 1.7) / 3.4);
                      double centre = 0.38 * std::sin(along * 3.0 * PI);
                      double slope = 0.38 * 3.0 * PI / 3.4 * std::cos(along * 3.0 * PI);
                      double dist = std::abs(v - centre) / std::sqrt(1.0 + slope * slope);
                      double thick = 0.07 + 0.13 * std::sin(PI * along);
                      double ends = SmoothStep(-1.8, -1.6, u) * SmoothStep(1.8, 1.6, u);
                      double d = dist - thick;
                      return (Fill(d, 0.04) + 0.3 * Halo(d, 0.1)) * ends;
                  });
}

} // namespace

std::vector<Picture> MakePictures()
{
    std::vector<Picture> pictures;
    pictures.push_back(Glow());
    pictures.push_back(Ring());
    pictures.push_back(Star());
    pictures.push_back(Petal());
    pictures.push_back(Spiral());
    pictures.push_back(Dots());
    pictures.push_back(Feather());
    pictures.push_back(SoftSquare());
    pictures.push_back(Flower());
    pictures.push_back(Crescent());
    pictures.push_back(Sparkle());
    pictures.push_back(Bubble());
    pictures.push_back(Drop());
    pictures.push_back(Heart());
    pictures.push_back(Gem());
    pictures.push_back(Wave());
    return pictures;
}

bool WritePicturePng(const Picture& picture, const std::string& path)
{
    std::vector<uint8_t> rgba(picture.alpha.size() * 4);
    for (size_t i = 0; i < picture.alpha.size(); ++i) {
        rgba[i * 4 + 0] = 255;
        rgba[i * 4 + 1] = 255;
        rgba[i * 4 + 2] = 255;
        rgba[i * 4 + 3] = picture.alpha[i];
    }
    return stbi_write_png(path.c_str(), picture.width, picture.height, 4, rgba.data(), picture.width * 4) == 0;
}
