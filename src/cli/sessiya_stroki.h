// How the session keeps a line it is given: literals bound to the radix they
// were typed in, and the names that stand for earlier results replaced by
// those results, so that a kept line means the same under any later
// setting. Texts are UTF-8; the literal rules need an engine (TDvigatel) to
// exist. Main thread, while no calculation runs.
#pragma once

#include <string>

// The name the last result of the session goes by; no line may define it.
constexpr const char* ImyaOtveta = "ans";

// The line with the radix mark of osnovanie added to each literal of its
// expression that has none ("a = 10" under radix 10 becomes "a = 10r10").
// The name left of "=" is left alone.
std::string SMetkamiOsnovaniya(const std::string& stroka, int osnovanie);

// The line with each use of the name imya in its expression (not as a
// function name) replaced by "(znachenie)". zameneno tells whether any was.
std::string PodstavitZnachenie(const std::string& stroka, const std::string& imya,
                               const std::string& znachenie, bool& zameneno);

// True when the expression of the line uses the name imya.
bool IspolzuetImya(const std::string& stroka, const std::string& imya);
