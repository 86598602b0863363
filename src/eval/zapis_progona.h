// The record a calculation run keeps while it goes: the lines of its
// definitions as given, the definition under evaluation, and the outcome it
// fills (messages with their lines, warnings with their lines and spans).
// One per run, owned by the run body; the evaluator reaches the run of its
// own thread through Tekushaya(), which is null outside a run, so nothing of
// a run outlives it and two runs on two threads never meet.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "eval/ishod.h"
#include "eval/yazik.h"
#include "text/tansistring.h"

class IOknoVichisleniya;

class TZapisProgona {
  public:
    // Becomes the run of the calling thread until destroyed; every message
    // shown on this thread meanwhile (ShowError) is recorded in ishod and
    // handed to okno.Soobshit.
    TZapisProgona(IOknoVichisleniya& okno, TIshod& ishod, const std::vector<TAnsiString>& stroki);
    ~TZapisProgona();
    TZapisProgona(const TZapisProgona&) = delete;
    TZapisProgona& operator=(const TZapisProgona&) = delete;

    // The run of the calling thread, or null.
    static TZapisProgona* Tekushaya();

    // While one lives, the definition of line indeks + 1 is the one under
    // evaluation (they nest as the evaluation of names does); indeks -1:
    // none (a record outside the table).
    class TVOpredelenii {
      public:
        explicit TVOpredelenii(std::int32_t indeks);
        ~TVOpredelenii();
        TVOpredelenii(const TVOpredelenii&) = delete;
        TVOpredelenii& operator=(const TVOpredelenii&) = delete;

      private:
        TZapisProgona* zapis_;
        std::int32_t prezhnyaya_;
    };

    // Line (1-based) of the definition under evaluation, 0 when none.
    std::int32_t TekushayaStroka() const { return stroka_; }
    // The given line (1-based) as given; empty when there is none.
    std::string_view Stroka(std::int32_t stroka) const;
    std::int32_t ChisloStrok() const { return static_cast<std::int32_t>(stroki_.size()); }

    // Warnings kept at most; one more says that the rest were dropped.
    static constexpr std::size_t PREDEL_PREDUPREZHDENIY = 1000;

    // A warning about the current definition's line at a known span (-1:
    // none). tekst is UTF-8; each warning is kept once.
    void Predupredit(TVidPreduprezhdeniya vid, std::int32_t stroka, std::int32_t nachalo,
                     std::int32_t dlina, const std::string& tekst);
    // The same at the span of fragment in the expression of the current
    // definition's line, when it occurs there exactly once (with vizov, the
    // fragment is a function name and the span runs to its closing bracket).
    void PredupreditOFragmente(TVidPreduprezhdeniya vid, std::string_view fragment, bool vizov,
                               const std::string& tekst);
    // False when a warning of this key was given already in this run, or
    // no more are kept: the caller need not make it (its line is not
    // searched again for every term of a long line). Notes the key.
    bool Novoe(std::string klyuch);
    // The span of fragment as PredupreditOFragmente finds it; false when none.
    bool NaitiFragment(std::int32_t stroka, std::string_view fragment, bool vizov,
                       std::int32_t& nachalo, std::int32_t& dlina);

    // The next message shown on this thread is about fragment: the outcome
    // takes its span, when it can be found, as the place of the failure.
    void OtmetitFragment(std::string_view fragment, bool vizov);

    // Where a failed run failed: the line and name of its innermost failed
    // definition (record indeks, -1 none); takes the span noted for it.
    void ZapomnitNeudachu(std::int32_t indeks, const TAnsiString& imya);

  private:
    static void Perehvatit(void* zapis, const TAnsiString& tekst);

    IOknoVichisleniya& okno_;
    TIshod& ishod_;
    const std::vector<TAnsiString>& stroki_;
    std::int32_t stroka_ = 0;
    std::unordered_set<std::string> klyuchi_; // warnings given, to keep each once
    // The span of the first message that named its fragment, by line.
    std::int32_t strokaFragmenta_ = 0, nachaloFragmenta_ = -1, dlinaFragmenta_ = 0;
    std::string ozhidaemiyFragment_;
    // The tokens of the expression of line strokaLeksem_ (0: none yet).
    std::int32_t strokaLeksem_ = 0;
    std::size_t nachaloVirazheniya_ = 0, dlinaVirazheniya_ = 0;
    std::vector<TLeksema> leksemy_;
    bool ozhidaemiyVizov_ = false;
    TZapisProgona* prezhnyaya_;
};
