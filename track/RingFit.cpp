// Fitting closed B-spline rings: the basis weights, the normal equations of the least-squares
// fit, the parameter correction towards each row's nearest point and the search for a count.
#include "track/RingFit.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kParameterRounds = 4;  // corrections of the parameters after the first fit
constexpr int kNewtonSteps = 2;      // steps towards a row's nearest point per round
// Weight of the smoothing term (squared second differences of the control points) against the
// rows, per row and control point: far too faint to move a fitted ring, enough to fix the points
// no row reaches.
constexpr double kSmoothing = 1e-6;

struct Place {
    int first;  // control index of the first of the four weighted points (segment - 1, mod n)
    double t;   // local parameter in the segment
};

Place locate(double u, int n) {
    u -= std::floor(u);
    const double s = u * n;
    const int segment = std::min(static_cast<int>(s), n - 1);
    return {(segment - 1 + n) % n, s - segment};
}

// The uniform cubic B-spline's weights of points i - 1 .. i + 2 at t, and their first and second
// derivatives with respect to t.
void weights(double t, double w[4]) {
    const double s = 1.0 - t, t2 = t * t, t3 = t2 * t;
    w[0] = s * s * s / 6.0;
    w[1] = (3.0 * t3 - 6.0 * t2 + 4.0) / 6.0;
    w[2] = (-3.0 * t3 + 3.0 * t2 + 3.0 * t + 1.0) / 6.0;
    w[3] = t3 / 6.0;
}
void slopeWeights(double t, double w[4]) {
    w[0] = -0.5 * (1.0 - t) * (1.0 - t);
    w[1] = 1.5 * t * t - 2.0 * t;
    w[2] = -1.5 * t * t + t + 0.5;
    w[3] = 0.5 * t * t;
}
void bendWeights(double t, double w[4]) {
    w[0] = 1.0 - t;
    w[1] = 3.0 * t - 2.0;
    w[2] = 1.0 - 3.0 * t;
    w[3] = t;
}

Vec3 combine(const std::vector<Vec3>& control, const Place& at, const double w[4], double scale) {
    const int n = static_cast<int>(control.size());
    Vec3 out{0.0, 0.0, 0.0};
    for (int a = 0; a < 4; ++a) {
        const Vec3& p = control[(at.first + a) % n];
        for (int k = 0; k < 3; ++k) out[k] += w[a] * scale * p[k];
    }
    return out;
}

double distance(const Vec3& a, const Vec3& b) { return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]); }

// The normal equations of the fit at fixed parameters, factored once (Cholesky) so that the track
// and its guide offsets are solved with the same factor. n is at most 100, so the dense factor
// costs well under a millisecond; assembling it from the rows (16 products each) is what scales.
class NormalEquations {
public:
    NormalEquations(const std::vector<double>& params, int n) : n_(n), places_(params.size()), factor_(n * n, 0.0) {
        for (std::size_t r = 0; r < params.size(); ++r) {
            places_[r] = locate(params[r], n);
            double w[4];
            weights(places_[r].t, w);
            for (int a = 0; a < 4; ++a)
                for (int b = 0; b < 4; ++b) at((places_[r].first + a) % n, (places_[r].first + b) % n) += w[a] * w[b];
        }
        const double smoothing = kSmoothing * std::max<double>(1.0, params.size()) / n;
        const double second[3] = {1.0, -2.0, 1.0};
        for (int i = 0; i < n; ++i)
            for (int a = 0; a < 3; ++a)
                for (int b = 0; b < 3; ++b) at((i + a) % n, (i + b) % n) += smoothing * second[a] * second[b];
        factor();
    }

    std::vector<Vec3> solve(const std::vector<Vec3>& targets) const {
        std::vector<Vec3> x(n_, Vec3{0.0, 0.0, 0.0});
        for (std::size_t r = 0; r < targets.size(); ++r) {
            double w[4];
            weights(places_[r].t, w);
            for (int a = 0; a < 4; ++a)
                for (int k = 0; k < 3; ++k) x[(places_[r].first + a) % n_][k] += w[a] * targets[r][k];
        }
        for (int i = 0; i < n_; ++i) {  // L y = b
            for (int j = 0; j < i; ++j)
                for (int k = 0; k < 3; ++k) x[i][k] -= get(i, j) * x[j][k];
            for (int k = 0; k < 3; ++k) x[i][k] /= get(i, i);
        }
        for (int i = n_ - 1; i >= 0; --i) {  // L^T x = y
            for (int j = i + 1; j < n_; ++j)
                for (int k = 0; k < 3; ++k) x[i][k] -= get(j, i) * x[j][k];
            for (int k = 0; k < 3; ++k) x[i][k] /= get(i, i);
        }
        return x;
    }

private:
    double& at(int i, int j) { return factor_[i * n_ + j]; }
    double get(int i, int j) const { return factor_[i * n_ + j]; }

    // In place, lower triangle. The smoothing term makes the matrix positive definite; a pivot
    // that rounding takes below a tiny share of its diagonal is held there, so nothing divides by 0.
    void factor() {
        for (int j = 0; j < n_; ++j) {
            double d = at(j, j);
            for (int k = 0; k < j; ++k) d -= at(j, k) * at(j, k);
            at(j, j) = std::sqrt(std::max(d, 1e-12 * at(j, j) + 1e-300));
            for (int i = j + 1; i < n_; ++i) {
                double s = at(i, j);
                for (int k = 0; k < j; ++k) s -= at(i, k) * at(j, k);
                at(i, j) = s / at(j, j);
            }
        }
    }

    int n_;
    std::vector<Place> places_;  // each row's segment and local parameter
    std::vector<double> factor_;
};

// Each row's share of the closed polyline's length; even shares when the rows all coincide.
std::vector<double> chordParams(const std::vector<Vec3>& rows) {
    const std::size_t m = rows.size();
    std::vector<double> params(m, 0.0);
    double length = 0.0;
    for (std::size_t r = 1; r < m; ++r) params[r] = length += distance(rows[r], rows[r - 1]);
    length += distance(rows.front(), rows.back());
    for (std::size_t r = 0; r < m; ++r) params[r] = length > 0.0 ? params[r] / length : static_cast<double>(r) / m;
    return params;
}

// Moves each parameter towards its row's nearest ring point (Newton's steps on the squared
// distance, each at most half a segment long, so a row never jumps to another part of the track
// that passes near) and returns the largest distance left.
double project(const std::vector<Vec3>& control, const std::vector<Vec3>& rows, std::vector<double>* params) {
    const double maxStep = 0.5 / control.size();
    double within = 0.0;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        double& u = (*params)[r];
        for (int step = 0; step < kNewtonSteps; ++step) {
            Vec3 d1, d2;
            const Vec3 p = ringPoint(control, u, &d1, &d2);
            double slope = 0.0, speed = 0.0, bend = 0.0;
            for (int k = 0; k < 3; ++k) {
                slope += (p[k] - rows[r][k]) * d1[k];
                speed += d1[k] * d1[k];
                bend += (p[k] - rows[r][k]) * d2[k];
            }
            const double curvature = speed + bend > 0.0 ? speed + bend : speed;
            if (!(curvature > 0.0)) break;
            u += std::clamp(-slope / curvature, -maxStep, maxStep);
            u -= std::floor(u);
        }
        within = std::max(within, distance(ringPoint(control, u), rows[r]));
    }
    return within;
}

RingFit fitFrom(const std::vector<Vec3>& rows, std::vector<double> params, int n) {
    RingFit fit;
    fit.params = std::move(params);
    for (int round = 0;; ++round) {
        fit.control = fitAtParams(rows, fit.params, n);
        fit.within = project(fit.control, rows, &fit.params);
        if (round == kParameterRounds) return fit;
    }
}

}  // namespace

Vec3 ringPoint(const std::vector<Vec3>& control, double u, Vec3* d1, Vec3* d2) {
    const int n = static_cast<int>(control.size());
    const Place at = locate(u, n);
    double w[4];
    if (d1) slopeWeights(at.t, w), *d1 = combine(control, at, w, n);
    if (d2) bendWeights(at.t, w), *d2 = combine(control, at, w, static_cast<double>(n) * n);
    weights(at.t, w);
    return combine(control, at, w, 1.0);
}

std::vector<Vec3> fitAtParams(const std::vector<Vec3>& targets, const std::vector<double>& params, int n) {
    return NormalEquations(params, n).solve(targets);
}

RingFit fitRing(const std::vector<Vec3>& rows, int n) { return fitFrom(rows, chordParams(rows), n); }

RingFit fitFewestPoints(const std::vector<Vec3>& rows, int fewest, int most,
                        const std::function<bool(const RingFit&)>& good) {
    const std::vector<double> start = chordParams(rows);
    int bad = fewest - 1, n = fewest;
    RingFit best = fitFrom(rows, start, n);
    while (!good(best)) {
        if (n == most) return best;
        bad = n;
        n = std::min(most, 2 * n);
        best = fitFrom(rows, start, n);
    }
    while (n - bad > 1) {
        const int middle = (bad + n) / 2;
        RingFit fit = fitFrom(rows, start, middle);
        if (good(fit)) {
            n = middle;
            best = std::move(fit);
        } else {
            bad = middle;
        }
    }
    return best;
}
