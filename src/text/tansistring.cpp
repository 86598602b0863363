#include "text/tansistring.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "text/operacii_s_pamyatyu.h"
#include "text/operacii_so_strokami.h"

namespace {
// A body holding a copy of n bytes plus the NUL; null if it cannot be had.
SAnsiString* NovoeTelo(const char* s, int n) {
    auto* telo = new (std::nothrow) SAnsiString;
    if (telo == nullptr) return nullptr;
    if (!telo->elements.SetSize(std::uint32_t(n) + 1, false, true, false)) {
        delete telo;
        return nullptr;
    }
    KopirovatPamyat(telo->elements.data, s, std::uint32_t(n), true);
    telo->elements.data[n] = '\0';
    return telo;
}

// Out of memory while copying a body that already fits in memory: there is
// no state to fall back to, and writing into a shared body would change
// other texts, so the process ends.
[[noreturn]] void NetPamyati() {
    std::fputs("ciframer: out of memory while copying a text\n", stderr);
    std::abort();
}
} // namespace

TAnsiString::TAnsiString(const char* s) {
    const int n = DlinaStroki(s);
    if (n > 0) body_ = NovoeTelo(s, n);
}

TAnsiString::TAnsiString(const char* s, int n) {
    if (s != nullptr && n > 0) body_ = NovoeTelo(s, n);
}

TAnsiString::TAnsiString(char c) {
    body_ = NovoeTelo(&c, 1);
}

TAnsiString::TAnsiString(const TAnsiString& other) : body_(other.body_) {
    if (body_) ++body_->references;
}

TAnsiString::TAnsiString(TAnsiString&& other) noexcept : body_(other.body_) {
    other.body_ = nullptr;
}

TAnsiString& TAnsiString::operator=(const TAnsiString& other) {
    if (body_ == other.body_) return *this;
    if (other.body_) ++other.body_->references;
    Release();
    body_ = other.body_;
    return *this;
}

TAnsiString& TAnsiString::operator=(TAnsiString&& other) noexcept {
    if (this == &other) return *this;
    Release();
    body_ = other.body_;
    other.body_ = nullptr;
    return *this;
}

TAnsiString& TAnsiString::operator=(const char* s) {
    const int n = DlinaStroki(s);
    if (n == 0) {
        Release();
        return *this;
    }
    if (body_ != nullptr) {
        const char* buf = body_->elements.data;
        if (buf != nullptr && s >= buf && s < buf + body_->elements.count) {
            // s lies in our own buffer, which the resize may move: copy first.
            TAnsiString kopiya(s, n);
            return *this = kopiya;
        }
    }
    if (body_ == nullptr) {
        body_ = NovoeTelo(s, n);
        return *this;
    }
    Unshare();
    auto& el = body_->elements;
    if (!el.SetSize(std::uint32_t(n) + 1, false, true, false)) {
        // Kept buffer, empty contents.
        if (el.data != nullptr && el.count > 0) el.data[0] = '\0';
        return *this;
    }
    KopirovatPamyat(el.data, s, std::uint32_t(n), true);
    el.data[n] = '\0';
    return *this;
}

TAnsiString::~TAnsiString() {
    Release();
}

void TAnsiString::Release() {
    if (body_ == nullptr) return;
    if (--body_->references == 0) delete body_;
    body_ = nullptr;
}

void TAnsiString::Unshare() {
    if (body_ == nullptr || body_->references == 1) return;
    auto* telo = new (std::nothrow) SAnsiString{body_->elements, 1};
    if (telo == nullptr || (body_->elements.count > 0 && telo->elements.data == nullptr))
        NetPamyati();
    --body_->references;
    body_ = telo;
}

int TAnsiString::Length() const {
    if (body_ == nullptr || body_->elements.data == nullptr) return 0;
    const auto& el = body_->elements;
    const void* nul = std::memchr(el.data, 0, el.count);
    return nul ? int(static_cast<const char*>(nul) - el.data) : int(el.count);
}

char* TAnsiString::c_str() {
    if (body_ == nullptr) return nullptr;
    Unshare();
    auto& el = body_->elements;
    if (el.data == nullptr || el.count == 0) return nullptr;
    el.data[el.count - 1] = '\0';
    return el.data;
}

const char* TAnsiString::Data() const {
    return body_ ? body_->elements.data : nullptr;
}

bool TAnsiString::SetLength(int n) {
    if (n < 0) return false;
    if (n == 0) {
        Release();
        return true;
    }
    if (body_ == nullptr) {
        auto* telo = new (std::nothrow) SAnsiString;
        if (telo == nullptr) return false;
        if (!telo->elements.SetSize(std::uint32_t(n) + 1, false, true, false)) {
            delete telo;
            return false;
        }
        telo->elements.data[n] = '\0';
        body_ = telo;
        return true;
    }
    Unshare();
    auto& el = body_->elements;
    if (!el.SetSize(std::uint32_t(n) + 1, false, true, false)) return false;
    el.data[n] = '\0';
    return true;
}

TAnsiString TAnsiString::SubString(int pos, int count) const {
    if (pos < 1 || count <= 0) return TAnsiString();
    const int len = Length();
    if (std::int64_t(pos) + count - 1 > len) return TAnsiString();
    return TAnsiString(Data() + (pos - 1), count);
}

int TAnsiString::Pos(const TAnsiString& s) const {
    const int n = Length();
    const int m = s.Length();
    if (n == 0 || m == 0 || m > n) return 0;
    const char* a = Data();
    const char* b = s.Data();
    for (int i = 0; i + m <= n; ++i)
        if (a[i] == b[0] && SravnitPamyat(a + i, b, std::uint32_t(m))) return i + 1;
    return 0;
}

void TAnsiString::Insert(const TAnsiString& s, int pos) {
    const int m = s.Length();
    if (m == 0) return;
    if (body_ == nullptr) {
        if (pos == 1) *this = s;
        return;
    }
    const int len = Length();
    if (pos < 1 || pos > len + 1) return;
    // Hold s's body: if s is this very text, the resize below must not
    // change what is inserted.
    const TAnsiString vstavka(s);
    Unshare();
    if (!SetLength(len + m)) return;
    char* d = body_->elements.data;
    KopirovatPamyat(d + (pos - 1) + m, d + (pos - 1), std::uint32_t(len - (pos - 1)), false);
    KopirovatPamyat(d + (pos - 1), vstavka.Data(), std::uint32_t(m), true);
    d[len + m] = '\0';
}

void TAnsiString::Delete(int pos, int count) {
    if (pos < 1 || count < 1) return;
    const int len = Length();
    if (std::int64_t(pos) + count - 1 > len) return;
    if (count == len) {
        Release();
        return;
    }
    Unshare();
    char* d = body_->elements.data;
    const int hvost = len - (pos - 1) - count;
    KopirovatPamyat(d + (pos - 1), d + (pos - 1) + count, std::uint32_t(hvost), true);
    const int novaya = len - count;
    if (!SetLength(novaya)) {
        // Shrinking could not get its smaller buffer: keep the larger one.
        d[novaya] = '\0';
        body_->elements.count = std::uint32_t(novaya) + 1;
    }
}

bool TAnsiString::EstNul() const {
    if (body_ == nullptr || body_->elements.data == nullptr || body_->elements.count == 0)
        return false;
    return std::uint32_t(Length()) + 1 < body_->elements.count;
}

TAnsiString TAnsiString::Trim() const {
    const int len = Length();
    const auto* d = reinterpret_cast<const unsigned char*>(Data());
    int nachalo = 0;
    while (nachalo < len && d[nachalo] <= 32) ++nachalo;
    int konec = len;
    while (konec > nachalo && d[konec - 1] <= 32) --konec;
    return SubString(nachalo + 1, konec - nachalo);
}

int TAnsiString::Compare(const TAnsiString& a, const TAnsiString& b) {
    const int la = a.Length();
    const int lb = b.Length();
    if (la == 0) return lb == 0 ? 0 : -1;
    if (lb == 0) return 1;
    const int n = la < lb ? la : lb;
    const auto* pa = reinterpret_cast<const signed char*>(a.Data());
    const auto* pb = reinterpret_cast<const signed char*>(b.Data());
    for (int i = 0; i < n; ++i) {
        if (pa[i] < pb[i]) return -1;
        if (pa[i] > pb[i]) return 1;
    }
    if (la == lb) return 0;
    return la < lb ? -1 : 1;
}

std::string TAnsiString::ToStd() const {
    const int n = Length();
    return n == 0 ? std::string() : std::string(Data(), std::size_t(n));
}

std::uint32_t TAnsiString::References() const {
    return body_ ? body_->references : 0;
}

TAnsiString operator+(const TAnsiString& a, const TAnsiString& b) {
    TAnsiString r(a);
    r.Insert(b, r.Length() + 1);
    return r;
}
