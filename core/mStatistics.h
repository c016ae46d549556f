// Distribution functions for the tests of a fix's residuals: Student's t and
// Fisher's F with two numerator degrees of freedom (the 2-D confidence region).
#pragma once

// Given: a > 0, b > 0, x in [0, 1].
// Returned: the regularized incomplete beta function I_x(a, b), by the continued
// fraction of Numerical Recipes (3rd ed., 6.4) with the modified Lentz method;
// relative accuracy about 1e-12. NaN for arguments outside the domain.
double RegularizedIncompleteBeta(double a, double b, double x);

// Given: t; nu >= 1 degrees of freedom (not necessarily whole).
// Returned: P(T <= t) for Student's t distribution, 1 - I_{nu/(nu+t^2)}(nu/2, 1/2)/2 for t >= 0.
double StudentTCdf(double t, double nu);

// Given: p in (0, 1); nu >= 1.  Returned: the quantile t with StudentTCdf(t, nu) = p,
// by safeguarded Newton steps to 1e-12 relative (t_0.975(1) = 12.7062, t_0.975(10) = 2.2281).
// NaN outside the domain.
double StudentTQuantile(double p, double nu);

// Given: p in (0, 1); nu >= 1 denominator degrees of freedom.
// Returned: the quantile of F(2, nu), closed form: F = (nu/2) ((1 - p)^(-2/nu) - 1),
// from the cdf 1 - (1 + 2F/nu)^(-nu/2). F_0.95(2, 10) = 4.1028; as nu grows 2F tends
// to the chi-square quantile with 2 degrees of freedom, -2 ln(1 - p) (5.9915 at 0.95).
double FQuantile2(double p, double nu);
