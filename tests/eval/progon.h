// Helpers of the evaluator tests: one calculation run through the run body
// with a scripted window, its messages and its log collected.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/test_support.h"
#include "eval/zapusk.h"

struct TItogProgona {
    bool gotovo = false;                  // the run body returned true
    std::string rezultat;                 // the result text (UTF-8) when gotovo
    std::vector<std::string> soobsheniya; // every ShowError text, in order
    std::string zhurnal;                  // the log texts concatenated (UTF-8)
    TIshod ishod;                         // the engine's outcome of the run
};

struct TNastroyki {
    std::int32_t osnovanie = 10;
    std::int32_t razryadi = 100;
    std::uint8_t ugol = 1;
    std::string imya = "y";
    int otmenaNaZapisi = 0; // > 0: request a stop at that log write
};

// Runs the definitions (UTF-8 lines) through the engine, on its calculation
// thread, and collects what the user would see.
TItogProgona Progon(const std::vector<std::string>& stroki, const TNastroyki& n = {});

// Single line 'y = <virazhenie>' run with the given settings.
TItogProgona Vichislit(const std::string& virazhenie, const TNastroyki& n = {});

// True when a and b (literals with radix marks, or plain decimal) differ by
// less than base^-(cifr) relative to a.
bool BlizkieChisla(const std::string& a, const std::string& b, int cifr);

// True when the literal a is zero or below base^-(cifr) in magnitude.
bool PochtiNol(const std::string& a, int cifr);
