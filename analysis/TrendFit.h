#pragma once
// Least-squares fitting of trend samples: a straight line in closed form, and a polynomial of 2 to 7
// coefficients through its normal equations, solved by Gauss-Jordan elimination with full pivoting.

#include <cstddef>
#include <span>
#include <vector>

namespace vantor {

inline constexpr int kFitSucceeded = 0;
inline constexpr int kFitFailed = -1;
inline constexpr int kFewestPolynomialCoefficients = 2;
inline constexpr int kMostPolynomialCoefficients = 7;

// Only the samples whose mask is non-zero take part in a fit.
// y = intercept + slope·x. kFitFailed when the three arrays differ in length, hold at most one
// sample or fewer than two masked-in samples.
int FitLine(std::span<const double> x, std::span<const double> y, std::span<const int> mask, double& slope,
            double& intercept);

// y = c0 + c1·x + … + c(n−1)·x^(n−1) with n = coefficients.size(), which must be 2 to 7 and fewer
// than or equal to the number of masked-in samples; kFitFailed otherwise (coefficients untouched).
// A singular system gives non-finite coefficients and still kFitSucceeded.
int FitPolynomial(std::span<const double> x, std::span<const double> y, std::span<const int> mask,
                  std::vector<double>& coefficients);

// b0 = 1, b(i) = x·b(i−1) for i = 1 .. basis.size() − 1.
void PolynomialBasis(double x, std::span<double> basis);

// The polynomial with these coefficients (c0 first) at x.
double EvaluatePolynomial(std::span<const double> coefficients, double x);

// A square matrix, rows one after another.
class SquareMatrix {
public:
    explicit SquareMatrix(std::size_t n) : n_(n), values_(n * n, 0.0) {}
    std::size_t Size() const { return n_; }
    double& operator()(std::size_t row, std::size_t column) { return values_[row * n_ + column]; }
    double operator()(std::size_t row, std::size_t column) const { return values_[row * n_ + column]; }

private:
    std::size_t n_;
    std::vector<double> values_;
};

// Solves a·X = b in place (b becomes X, a its inverse) with full pivoting. Among pivot candidates of
// equal magnitude the last one scanned (rows, then columns) is taken. A zero pivot is traced as
// "gaussj: Singular Matrix" and the elimination goes on with its infinite reciprocal; the result is
// then not finite. Returns false when that happened.
bool GaussJordan(SquareMatrix& a, std::span<double> b);

} // namespace vantor
