#include "analysis/TrendFit.h"

#include "analysis/Log.h"

#include <cmath>
#include <limits>
#include <utility>

namespace vantor {
namespace {

std::size_t MaskedIn(std::span<const int> mask) {
    std::size_t count = 0;
    for (const int m : mask) {
        count += m != 0 ? 1 : 0;
    }
    return count;
}

// 1 / pivot; an exact zero gives the infinity of its sign, as IEEE division would.
double Reciprocal(double pivot) {
    if (pivot == 0.0) {
        return std::copysign(std::numeric_limits<double>::infinity(), pivot);
    }
    return 1.0 / pivot;
}

} // namespace

int FitLine(std::span<const double> x, std::span<const double> y, std::span<const int> mask, double& slope,
            double& intercept) {
    if (x.size() != y.size() || x.size() != mask.size() || x.size() <= 1 || MaskedIn(mask) < 2) {
        return kFitFailed;
    }
    double sx = 0;
    double sy = 0;
    double sxx = 0;
    double sxy = 0;
    double n = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (mask[i] == 0) {
            continue;
        }
        sx += x[i];
        sy += y[i];
        sxx += x[i] * x[i];
        sxy += x[i] * y[i];
        n += 1;
    }
    const double meanY = sy / n;
    const double meanX = sx / n;
    slope = (sxy - sx * meanY) / (sxx - sx * meanX);
    intercept = meanY - meanX * slope;
    return kFitSucceeded;
}

int FitPolynomial(std::span<const double> x, std::span<const double> y, std::span<const int> mask,
                  std::vector<double>& coefficients) {
    const std::size_t n = coefficients.size();
    if (x.size() != y.size() || mask.size() != x.size() || n < kFewestPolynomialCoefficients ||
        n > kMostPolynomialCoefficients || !(MaskedIn(mask) > n - 1)) {
        return kFitFailed;
    }
    SquareMatrix alpha(n);
    std::vector<double> beta(n, 0.0);
    std::vector<double> basis(n);
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (mask[i] == 0) {
            continue;
        }
        PolynomialBasis(x[i], basis);
        for (std::size_t j = 0; j < n; ++j) {
            for (std::size_t k = 0; k <= j; ++k) {
                alpha(j, k) += basis[j] * basis[k];
            }
            beta[j] += y[i] * basis[j];
        }
    }
    for (std::size_t j = 1; j < n; ++j) {
        for (std::size_t k = 0; k < j; ++k) {
            alpha(k, j) = alpha(j, k);
        }
    }
    GaussJordan(alpha, beta);
    coefficients = std::move(beta);
    return kFitSucceeded;
}

void PolynomialBasis(double x, std::span<double> basis) {
    if (basis.empty()) {
        return;
    }
    basis[0] = 1.0;
    for (std::size_t i = 1; i < basis.size(); ++i) {
        basis[i] = x * basis[i - 1];
    }
}

double EvaluatePolynomial(std::span<const double> coefficients, double x) {
    double value = 0.0;
    for (std::size_t i = coefficients.size(); i-- > 0;) {
        value = value * x + coefficients[i];
    }
    return value;
}

bool GaussJordan(SquareMatrix& a, std::span<double> b) {
    const std::size_t n = a.Size();
    std::vector<int> used(n, 0);
    std::vector<std::size_t> pivotRow(n, 0);
    std::vector<std::size_t> pivotColumn(n, 0);
    bool regular = true;
    for (std::size_t i = 0; i < n; ++i) {
        double largest = 0.0;
        std::size_t row = 0;
        std::size_t column = 0;
        for (std::size_t j = 0; j < n; ++j) {
            if (used[j] != 0) {
                continue;
            }
            for (std::size_t k = 0; k < n; ++k) {
                if (used[k] == 0 && std::fabs(a(j, k)) >= largest) {
                    largest = std::fabs(a(j, k));
                    row = j;
                    column = k;
                }
            }
        }
        used[column] = 1;
        if (row != column) {
            for (std::size_t l = 0; l < n; ++l) {
                std::swap(a(row, l), a(column, l));
            }
            std::swap(b[row], b[column]);
        }
        pivotRow[i] = row;
        pivotColumn[i] = column;
        if (a(column, column) == 0.0) {
            qCDebug(lcAnalysis) << "trend fit: singular matrix, the line is not fitted";
            regular = false;
        }
        const double inverse = Reciprocal(a(column, column));
        a(column, column) = 1.0;
        for (std::size_t l = 0; l < n; ++l) {
            a(column, l) *= inverse;
        }
        b[column] *= inverse;
        for (std::size_t other = 0; other < n; ++other) {
            if (other == column) {
                continue;
            }
            const double factor = a(other, column);
            a(other, column) = 0.0;
            for (std::size_t l = 0; l < n; ++l) {
                a(other, l) -= a(column, l) * factor;
            }
            b[other] -= b[column] * factor;
        }
    }
    for (std::size_t l = n; l-- > 0;) {
        if (pivotRow[l] != pivotColumn[l]) {
            for (std::size_t k = 0; k < n; ++k) {
                std::swap(a(k, pivotRow[l]), a(k, pivotColumn[l]));
            }
        }
    }
    return regular;
}

} // namespace vantor
